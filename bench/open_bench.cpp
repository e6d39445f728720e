// open_bench FILE...: opens each file in the desktop program, offscreen, and times the
// open from the call to the tree being filled, then to the root page shown in the view.
// Each file is opened ROUNDS times (env TESSALY_BENCH_ROUNDS, default 7) in turn.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QEventLoop>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/corvel_ui_dlg.h"
#include "boxes/containers/corvel.h"

namespace {
double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs the event loop until `loaded` turns true (or 30 s pass).
void WaitFor(const bool& loaded) {
    QElapsedTimer clock;
    clock.start();
    while (!loaded && clock.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int rounds = std::max(1, qEnvironmentVariableIntValue("TESSALY_BENCH_ROUNDS") ?: 7);
    CCorvelLib lib;
    CCorvel_UIDlg window(lib);
    bool loaded = false;
    QObject::connect(window.HtmlView(), &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
    window.show();
    WaitFor(loaded);  // the welcome page: the browser view has started

    std::vector<std::vector<double>> toTree(argc), toPage(argc);
    for (int round = 0; round < rounds; ++round) {
        for (int i = 1; i < argc; ++i) {
            loaded = false;
            QElapsedTimer clock;
            clock.start();
            if (!window.OpenFile(QString::fromLocal8Bit(argv[i]))) return 1;
            toTree[i].push_back(clock.nsecsElapsed() / 1e6);
            WaitFor(loaded);
            toPage[i].push_back(clock.nsecsElapsed() / 1e6);
        }
    }
    std::printf("%-40s %8s %14s %14s\n", "file", "items", "to tree ms", "to page ms");
    for (int i = 1; i < argc; ++i) {
        window.OpenFile(QString::fromLocal8Bit(argv[i]));
        int items = 0;
        for (QTreeWidgetItemIterator it(window.Tree()); *it; ++it) ++items;
        std::printf("%-40s %8d %14.1f %14.1f\n", QFileInfo(argv[i]).fileName().toLocal8Bit().constData(), items,
                    Median(toTree[i]), Median(toPage[i]));
    }
    return 0;
}
