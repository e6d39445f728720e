#include "app/work_folder.h"

#include <ctime>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "report/page_images.h"

uint32_t TickCount() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

WorkFolder MakeWorkFolder(const QString& documentsFolder, uint32_t tick) {
    const QString base = documentsFolder + QStringLiteral("/Corvel/");
    return {base + QStringLiteral("temp%1.html").arg(tick), base + QStringLiteral("SubFolder%1/").arg(tick)};
}

void PrepareWorkFolder(const WorkFolder& folder) {
    QFile::remove(folder.pagePath);
    QDir().mkpath(QFileInfo(folder.pagePath).absolutePath());
    QDir().mkpath(folder.subPageFolder);
}

void RemoveWorkFolder(const WorkFolder& folder) {
    QFile::remove(folder.pagePath);
    QDir(folder.subPageFolder).removeRecursively();
}

bool IsSubPagePath(const WorkFolder& folder, const QString& path) {
    const QFileInfo info(QDir::cleanPath(path));
    return info.fileName().endsWith(QLatin1String(".html")) &&
           QDir::cleanPath(info.path()) == QDir::cleanPath(folder.subPageFolder);
}

QString ImageFolder() { return QString::fromStdString(PageImageFolder()); }

bool WriteWelcomePage(const QString& pagePath, const QString& logoPath, const QString& caption,
                      const QByteArray& after) {
    QFile file(pagePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray html;
    html += "<html>";
    html += "<head>";
    html += "</head>";
    html +=
        "<body leftmargin = 0 topmargin = 0; rightmargin=0; bottommargin=0 oncontextmenu = \"return false\" "
        "ondragstart=\"return false\">";
    html +=
        "<table cellspacing = 0 cellpadding = 0 border = \"0\" width = \"100%\" height = \"100%\" align = "
        "\"center\" >";
    html += "<tr>";
    html +=
        "<td  align = center  style=\"filter=progid:DXImageTransform.Microsoft.Gradient(GradientType=0, "
        "StartColorStr=#EEF2FC, EndColorStr=#B1C7F9)\">";
    html += "<font size = \"5\"><b>";
    html += "<img src = \"";
    html += QFile::encodeName(logoPath);
    html += "\"></br></br>";
    html += caption.toUtf8();
    html += "</b></font>";
    html += "</br></br></td>";
    html += "</tr>";
    html += "</table>";
    html += after;
    html += "</body>";
    html += "</html>";
    return file.write(html) == html.size();
}
