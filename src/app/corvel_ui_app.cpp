#include "app/corvel_ui_app.h"

#include <clocale>

#include "app/corvel_ui_dlg.h"

CCorvel_UIApp::CCorvel_UIApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Tessaly"));
    setOrganizationName(QStringLiteral("Orvanel"));
    setApplicationVersion(QStringLiteral(TESSALY_VERSION));
    // The user's locale for everything but numbers: the pages print numbers with printf.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
}

int CCorvel_UIApp::Run(const QString& file) {
    CCorvel_UIDlg window(m_lib);
    window.show();
    if (!file.isEmpty()) window.OpenFile(file);
    return exec();
}
