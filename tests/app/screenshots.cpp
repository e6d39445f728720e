// tessaly_screenshots CORPUS_DIR OUT_DIR: the real window, driven as a user drives it,
// photographed for the user guide: a box page beside the tree, a sample sub page with a
// sample's bytes dumped, an FLV tag page of an F4F fragment, and the findings of a file
// with faults. Run by scripts/screenshots.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLoggingCategory>
#include <QTest>
#include <QTreeView>
#include <cstdio>

#include "app/box_tree_model.h"
#include "app/check_runner.h"
#include "app/dump_pane.h"
#include "boxes/containers/corvel.h"
#include "view_driver.h"

namespace {
// Selects the item at `path` and waits for its page.
bool Show(CCorvel_UIDlg& w, const QString& path, int nth = 0) {
    const QModelIndex item = FindItem(w, path, nth);
    if (!item.isValid()) return false;
    w.Tree()->setCurrentIndex(item);
    w.Tree()->scrollTo(item);  // its parents open
    return WaitPageReady(w);
}

// Clicks the nth button of the sub page in the frame and waits for the dump pane.
bool DumpSample(CCorvel_UIDlg& w, int nth) {
    if (!WaitFrame(w, QStringLiteral("BUTTON"))) return false;
    RunJs(w, QStringLiteral("%1.querySelectorAll('BUTTON')[%2].click(); 0;").arg(kFrameDoc).arg(nth));
    return WaitUntil([&] { return !w.DumpPane()->toPlainText().isEmpty(); });
}

bool Save(CCorvel_UIDlg& w, const QString& path) {
    QTest::qWait(500);  // the view paints what it has loaded
    const bool saved = w.grab().toImage().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessaly_screenshots CORPUS_DIR OUT_DIR\n");
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1])), out(QString::fromLocal8Bit(argv[2]));
    CCorvelLib lib;
    CCorvel_UIDlg w(lib);
    w.Checker()->SetProgram(QStringLiteral(CORVEL_EXE));
    w.resize(1280, 760);
    w.show();
    WaitUntil([] { return false; }, 1500);  // the welcome page

    bool ok = w.OpenFile(corpus.filePath(QStringLiteral("avc_aac_bframes.mp4"))) &&
              Show(w, QStringLiteral("moov/trak/mdia/minf/stbl/stsd/avc1/avcC")) &&
              Save(w, out.filePath(QStringLiteral("box_page.png")));
    ok = ok && Show(w, QStringLiteral("mdat")) && (Choose(w, "SUB_PAGE", 0, 1), DumpSample(w, 2)) &&
         Save(w, out.filePath(QStringLiteral("sample_dump.png")));
    ok = ok && w.OpenFile(corpus.filePath(QStringLiteral("hds_abst_frag1.f4f"))) && Show(w, QStringLiteral("mdat")) &&
         (Choose(w, "FLV_PAGE", 0, 2), WaitUntil([&] { return !w.DumpPane()->toPlainText().isEmpty(); })) &&
         Save(w, out.filePath(QStringLiteral("flv_tag.png")));
    // The findings of a file with faults, on the root page, the tree open at a box marked.
    ok = ok && w.OpenFile(corpus.filePath(QStringLiteral("pub_go-mp4_sample_qt.mp4"))) &&
         WaitUntil([&] { return w.FindingsReady(); }) && Show(w, QStringLiteral("moov/trak/mdia/minf/stbl/stco")) &&
         (w.Tree()->setCurrentIndex(w.TreeModel()->FileIndex()), WaitPageReady(w)) &&
         Save(w, out.filePath(QStringLiteral("findings.png")));
    return ok ? 0 : 1;
}
