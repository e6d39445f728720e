// open_bench FILE...: the desktop program, offscreen (or on the display QT_QPA_PLATFORM
// names, xcb under Xvfb), on each file in a process of its own
// (so that the peak memory is that file's). Each file is opened ROUNDS times (env
// TESSALY_BENCH_ROUNDS, default 5); the medians of:
//   parse   the parse run alone (CCorvelLib::Go), for comparison
//   tree    the open, from the call to the tree painted (the parse included)
//   page    from the call to the file's page shown in the view
//   expand  every row under the last top-level moof opened, and painted
//   select  the last traf of that moof chosen, to its page shown (0 without a moof)
//   end     the tree scrolled to its last row, and painted
// and the process's peak resident memory (the view's page renderer runs apart).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTreeView>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/box_tree_model.h"
#include "app/corvel_ui_dlg.h"
#include "boxes/containers/corvel.h"

namespace {
double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs the event loop until `loaded` turns true (or 60 s pass).
void WaitFor(const bool& loaded) {
    QElapsedTimer clock;
    clock.start();
    while (!loaded && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

double Ms(const QElapsedTimer& clock) { return clock.nsecsElapsed() / 1e6; }

uint64_t CountBoxes(const CCorvel& parser) {
    uint64_t n = 0;
    std::vector<const CBox*> pending;
    for (const auto& top : parser.TopLevel()) pending.push_back(top.get());
    while (!pending.empty()) {
        const CBox* box = pending.back();
        pending.pop_back();
        ++n;
        for (const auto& child : box->m_children) pending.push_back(child.get());
    }
    return n;
}

// The last top-level moof, or the file's row when there is none.
QModelIndex LastMoof(const CBoxTreeModel& model) {
    const QModelIndex file = model.FileIndex();
    for (int row = model.rowCount(file); row-- > 0;)
        if (model.index(row, 0, file).data().toString() == QLatin1String("moof")) return model.index(row, 0, file);
    return file;
}

int MeasureOne(int argc, char** argv, const char* path) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int rounds = std::max(1, qEnvironmentVariableIntValue("TESSALY_BENCH_ROUNDS") ?: 5);
    const QString file = QString::fromLocal8Bit(path);
    CCorvelLib lib;
    CCorvel_UIDlg window(lib);
    bool loaded = false;
    QObject::connect(window.HtmlView(), &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
    window.resize(1280, 800);
    window.show();
    WaitFor(loaded);  // the welcome page: the browser view has started

    // The parse alone first: while the window holds the file, a second tree would count twice.
    std::vector<double> parse, tree, page, expand, select, end;
    uint64_t boxes = 0;
    for (int round = 0; round < rounds; ++round) {
        CCorvelLib alone;
        QElapsedTimer clock;
        clock.start();
        if (alone.Init(path) < 0) return 1;
        alone.Go();
        parse.push_back(Ms(clock));
        boxes = CountBoxes(*alone.Parser());
    }
    for (int round = 0; round < rounds; ++round) {
        loaded = false;
        QElapsedTimer clock;
        clock.start();
        if (!window.OpenFile(file)) return 1;
        window.Tree()->viewport()->repaint();
        tree.push_back(Ms(clock));
        WaitFor(loaded);
        page.push_back(Ms(clock));

        const QModelIndex moof = LastMoof(*window.TreeModel());
        clock.restart();
        window.Tree()->expandRecursively(moof);
        window.Tree()->viewport()->repaint();
        expand.push_back(Ms(clock));

        QModelIndex traf;
        for (int row = window.TreeModel()->rowCount(moof); row-- > 0 && !traf.isValid();)
            if (window.TreeModel()->index(row, 0, moof).data().toString() == QLatin1String("traf"))
                traf = window.TreeModel()->index(row, 0, moof);
        if (traf.isValid()) {
            loaded = false;
            clock.restart();
            window.Tree()->setCurrentIndex(traf);
            WaitFor(loaded);
            select.push_back(Ms(clock));
        }

        clock.restart();
        window.Tree()->scrollToBottom();
        window.Tree()->viewport()->repaint();
        end.push_back(Ms(clock));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%-28s %9llu %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.0f\n",
                QFileInfo(file).fileName().toLocal8Bit().constData(), static_cast<unsigned long long>(boxes),
                Median(parse), Median(tree), Median(page), Median(expand), Median(select), Median(end),
                usage.ru_maxrss / 1024.0);
    std::fflush(stdout);
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 2) return MeasureOne(argc, argv, argv[1]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: open_bench FILE...\n");
        return 2;
    }
    std::printf("%-28s %9s %8s %8s %8s %8s %8s %8s %8s\n", "file", "boxes", "parse", "tree", "page", "expand",
                "select", "end", "peak MB");
    std::printf("%-28s %9s %8s %8s %8s %8s %8s %8s %8s\n", "", "", "ms", "ms", "ms", "ms", "ms", "ms", "");
    std::fflush(stdout);
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            char* one[] = {argv[0], argv[i], nullptr};
            execv("/proc/self/exe", one);
            _exit(127);
        }
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "open_bench: %s failed\n", argv[i]);
            failed = 1;
        }
    }
    return failed;
}
