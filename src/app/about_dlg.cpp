#include "app/about_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/corvel_ui_dlg.h"

QString VersionCaption(const QString& version) {
    if (version.isEmpty()) return QStringLiteral("%1 Not Available").arg(QStringLiteral("FileVersion"));
    return QStringLiteral("Tessaly version ") + version;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Tessaly"));
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    m_version = new QLabel(VersionCaption(QStringLiteral(TESSALY_VERSION)), this);
    auto* maker = new QLabel(kMakerName, this);
    m_ok = new QPushButton(QString::fromUtf8("확인"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_version, 0, 1);
    layout->addWidget(maker, 1, 1);
    layout->addWidget(m_ok, 0, 2, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
