#include "app/check_runner.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

namespace {
constexpr qint64 kMaxCheckOutput = qint64(64) << 20;

QString DefaultProgram() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/corvel");
    return QFileInfo(beside).isExecutable() ? beside : QStandardPaths::findExecutable(QStringLiteral("corvel"));
}

bool SeverityOf(const QString& text, Severity& severity) {
    for (Severity s : {Severity::Error, Severity::Warning, Severity::Info})
        if (text == QLatin1String(SeverityText(s))) {
            severity = s;
            return true;
        }
    return false;
}
}  // namespace

CCheckRunner::CCheckRunner(QObject* parent) : QObject(parent), m_program(DefaultProgram()) {}

CCheckRunner::~CCheckRunner() { Cancel(); }

void CCheckRunner::Start(const QString& path, const QString& init) {
    Cancel();
    if (m_program.isEmpty()) return;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardErrorFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &CCheckRunner::Finished);
    // A hostile file can break a rule once per box: past this much said, the check is
    // ended and tells nothing, rather than the window holding all of it.
    connect(m_process, &QProcess::readyReadStandardOutput, this, [this] {
        if (m_process && m_process->bytesAvailable() > kMaxCheckOutput) Cancel();
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) Finished();
    });
    // "--" keeps a file named like an option a file; --init's value is taken as it is.
    m_arguments = {QStringLiteral("check"), QStringLiteral("--json")};
    if (!init.isEmpty()) m_arguments << QStringLiteral("--init") << init;
    m_arguments << QStringLiteral("--") << path;
    m_process->start(m_program, m_arguments);
}

void CCheckRunner::Cancel() {
    if (!m_process) return;
    QProcess* process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    process->kill();
    process->waitForFinished(5000);
    process->deleteLater();  // this may run inside one of its signals
}

void CCheckRunner::Finished() {
    if (!m_process) return;
    QProcess* process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    // Exit status 0 or 1 and its document: the check ran (1: it found an error); else it
    // tells nothing.
    std::vector<Finding> findings;
    const bool ran = process->exitStatus() == QProcess::NormalExit && process->exitCode() <= 1 &&
                     ParseFindingsJson(process->readAllStandardOutput(), findings);
    process->deleteLater();
    if (ran) emit checked(findings);
}

bool ParseFindingsJson(const QByteArray& json, std::vector<Finding>& findings) {
    findings.clear();
    const QJsonValue document = QJsonDocument::fromJson(json).object().value(QStringLiteral("findings"));
    if (!document.isArray()) return false;
    const QJsonArray list = document.toArray();
    for (const QJsonValue& value : list) {
        const QJsonObject o = value.toObject();
        const QJsonArray at = o.value(QStringLiteral("at")).toArray();
        Finding f;
        if (!SeverityOf(o.value(QStringLiteral("severity")).toString(), f.severity) || at.size() != 2) continue;
        f.rule = o.value(QStringLiteral("rule")).toString().toStdString();
        f.box = o.value(QStringLiteral("box")).toString().toStdString();
        // Offsets up to 2^53 are exact in a JSON number as Qt reads it.
        f.offset = uint64_t(std::max(0.0, at[0].toDouble()));
        f.length = uint64_t(std::max(0.0, at[1].toDouble()));
        f.message = o.value(QStringLiteral("message")).toString().toStdString();
        findings.push_back(std::move(f));
    }
    return true;
}
