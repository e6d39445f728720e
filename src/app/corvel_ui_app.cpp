#include "app/corvel_ui_app.h"

#include <clocale>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>

#include "app/corvel_ui_dlg.h"

namespace {
// Ctrl+C or a termination request closes the window like its close box, so the page
// file and the sub-page folder are deleted: the handler only writes to a socket the
// event loop watches.
int g_signalSockets[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(g_signalSockets[0], &byte, 1);
}

void QuitOnSignals(QObject* owner) {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSockets) != 0) return;
    auto* notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte = 0;
        [[maybe_unused]] ssize_t n = read(g_signalSockets[1], &byte, 1);
        // Every event loop ends, a modal dialog's too, and the window closes as its
        // close box closes it.
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
}  // namespace

CCorvel_UIApp::CCorvel_UIApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Tessaly"));
    setOrganizationName(QStringLiteral("Orvanel"));
    setApplicationVersion(QStringLiteral(TESSALY_VERSION));
    // The user's locale for everything but numbers: the pages print numbers with printf.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    QuitOnSignals(this);
}

int CCorvel_UIApp::Run(const QString& file) {
    CCorvel_UIDlg window(m_lib);
    window.show();
    // The file is opened once the event loop runs: a dialog its opening shows then runs
    // inside it, and Ctrl+C or a termination request still ends the program.
    if (!file.isEmpty()) QTimer::singleShot(0, &window, [&window, file] { window.OpenFile(file); });
    return exec();
}
