#include "sample_pages_app_test.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <functional>

#include "app/hex_dump.h"
#include "test_util.h"

namespace {
// The top-level item of the nth box of a type (the tree's root item holds the file).
QTreeWidgetItem* TopItem(QTreeWidget* tree, const QString& code, int nth = 0) {
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i)
        if (root->child(i)->text(0) == code && nth-- == 0) return root->child(i);
    return nullptr;
}

QString ExpectedDump(const QString& path, qint64 offset, qint64 count) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset)) return {};
    const QByteArray bytes = file.read(count);
    const std::string dump = FormatHexDump(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()));
    return QString::fromLatin1(dump.data(), qsizetype(dump.size()))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Shows the mdat page of `path`, chooses option `option` of select `nid` of the list
// `id`, waits for the sub page in the frame, presses the "..." of row `row` and
// checks the dump pane against the file bytes at the offset and size of that row,
// which must be `offset` and `size`.
void ChooseAndDump(CCorvel_UIDlg& w, const QString& path, int mdat, const char* id, int nid, int option, int row,
                   qint64 offset, qint64 size) {
    QVERIFY(w.OpenFile(path));
    int loads = 0;
    auto connection = QObject::connect(w.HtmlView(), &QWebEngineView::loadFinished, [&](bool) { ++loads; });
    w.Tree()->setCurrentItem(TopItem(w.Tree(), QStringLiteral("mdat"), mdat));
    QVERIFY(WaitUntil([&] { return loads > 0; }));
    QObject::disconnect(connection);
    QVERIFY(WaitUntil([&] {
        return RunJs(w.HtmlView(), QStringLiteral("document.readyState")).toString() == QStringLiteral("complete");
    }));
    QTest::qWait(100);  // the view's event script is in place once the page is ready

    const QString frame = QStringLiteral("document.getElementById('iframe_sub_page')");
    RunJs(w.HtmlView(),
          QStringLiteral("var s = document.querySelectorAll('[id=%1]')[%2];"
                         "s.selectedIndex = %3; s.dispatchEvent(new Event('change', {bubbles: true})); 0;")
              .arg(QLatin1String(id))
              .arg(nid)
              .arg(option));
    // The sub page is in the frame, and has set the frame's height to its own.
    QVERIFY(WaitUntil([&] {
        return RunJs(w.HtmlView(), QStringLiteral("(function () { var f = %1; return f.contentDocument && "
                                                  "f.contentDocument.querySelectorAll('BUTTON').length > %2 &&"
                                                  " Number(f.height) > 100; })()")
                                       .arg(frame)
                                       .arg(row))
            .toBool();
    }));
    const QString onclick =
        RunJs(w.HtmlView(), QStringLiteral("%1.contentDocument.querySelectorAll('BUTTON')[%2].getAttribute('onClick')")
                                .arg(frame)
                                .arg(row))
            .toString();
    QCOMPARE(onclick, QStringLiteral("parent.fncOnClick(%1, %2)").arg(size).arg(offset));

    w.DumpPane()->clear();
    RunJs(w.HtmlView(),
          QStringLiteral("%1.contentDocument.querySelectorAll('BUTTON')[%2].click(); 0;").arg(frame).arg(row));
    const QString expected = ExpectedDump(path, offset, size);
    QVERIFY(WaitUntil([&] { return w.DumpPane()->toPlainText() == expected; }));
}
}  // namespace

void SamplePagesAppTest::cleanup() { m_window.reset(); }

void SamplePagesAppTest::trackListPagesAndDumps() {
    m_window = std::make_unique<CCorvel_UIDlg>(m_lib);
    m_window->show();
    // The audio track (second select), first page, second sample: ffprobe reads
    // 251 bytes at 2784 for it.
    ChooseAndDump(*m_window, kCorpus + QStringLiteral("avc_aac_bframes.mp4"), 0, "SUB_PAGE", 1, 1, 1, 2784, 251);
}

void SamplePagesAppTest::fragmentListPagesAndDumps() {
    m_window = std::make_unique<CCorvel_UIDlg>(m_lib);
    m_window->show();
    // The second mdat's fragment, its first traf: 267 bytes at 7331 first.
    ChooseAndDump(*m_window, kCorpus + QStringLiteral("frag_default_base_moof.mp4"), 1, "LIST_PAGE", 0, 1, 0, 7331,
                  267);
}
