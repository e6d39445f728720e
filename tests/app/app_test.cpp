#include "app_test.h"

#include <functional>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QLocale>
#include <QFontDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QRawFont>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/about_dlg.h"
#include "app/box_tree_model.h"
#include "app/check_runner.h"
#include "check/check_context.h"
#include "app/dump_pane.h"
#include "app/findings_page.h"
#include "app/hex_dump.h"
#include "app/keys_dlg.h"
#include "app/open_button.h"
#include "app/recent_files.h"
#include "app/size_setting.h"
#include "app/splitter_wnd.h"
#include "samples/sample_lookup.h"
#include "view_driver.h"

namespace {
const QString kCorpus = QStringLiteral(CORPUS_DIR "/");
const QString kBframes = kCorpus + QStringLiteral("avc_aac_bframes.mp4");

// Whether the view comes to show a pixel of a colour.
bool ViewShows(CCorvel_UIDlg& w, const std::function<bool(const QColor&)>& wanted) {
    return WaitUntil([&] {
        const QImage shot = w.HtmlView()->grab().toImage();
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2)
                if (wanted(shot.pixelColor(x, y))) return true;
        return false;
    });
}

// Runs `action`, which shows a modal dialog of type T; `look` sees it, then it is closed.
template <class T>
void WithModal(const std::function<void()>& action, const std::function<void(T*)>& look) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll.stop();
            seen = true;
            look(dlg);
            if (dlg->isVisible()) dlg->reject();  // unless `look` closed it
        }
    });
    poll.start(10);
    action();
    QVERIFY2(seen, "no modal dialog appeared");
}

QString MessageOf(const std::function<void()>& action) {
    QString text;
    WithModal<QMessageBox>(action, [&](QMessageBox* box) { text = box->text(); });
    return text;
}

QByteArray FileBytes(const QString& path, qint64 offset, qint64 count) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset)) return {};
    return file.read(count);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The dump pane's text for the file's bytes at an offset, CR LF read as one line end.
QString ExpectedDump(const QString& path, qint64 offset, qint64 count) {
    const QByteArray bytes = FileBytes(path, offset, count);
    const std::string dump = FormatHexDump(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size()));
    return QString::fromLatin1(dump.data(), qsizetype(dump.size())).replace(QStringLiteral("\r\n"), "\n");
}

const CBox* BoxOf(const QModelIndex& item) { return CBoxTreeModel::BoxAt(item); }
QString ToolTip(const QModelIndex& item) { return item.data(Qt::ToolTipRole).toString(); }
// The notes of a cut box: its tooltip before the check's lines.
QString Notes(const QModelIndex& item) {
    QStringList lines = ToolTip(item).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(QStringLiteral("error: ")) || lines[i].startsWith(QStringLiteral("warning: ")))
            lines.erase(lines.begin() + i, lines.end());
    return lines.join(QLatin1Char('\n'));
}
QModelIndex FileRow(CCorvel_UIDlg& w) { return w.TreeModel()->FileIndex(); }
int Rows(const QModelIndex& item) { return item.model()->rowCount(item); }

// The tree as `corvel tree` prints it: indent, type, start offset, size, and the
// notes of a truncated box.
void TreeText(const QModelIndex& item, int depth, QString& out) {
    QString code = item.data().toString();
    for (QChar& c : code)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char('.');
    out += QString(depth * 2, QLatin1Char(' ')) + code +
           QStringLiteral(" %1 %2").arg(BoxOf(item)->m_startOffset).arg(BoxOf(item)->BoxSize());
    out += Notes(item).isEmpty() ? QStringLiteral("\n") : QLatin1Char(' ') + Notes(item) + QLatin1Char('\n');
    for (int i = 0; i < Rows(item); ++i) TreeText(item.model()->index(i, 0, item), depth + 1, out);
}

void CompareWithCorvelTree(CCorvel_UIDlg& w, const QString& path) {
    QString shown;
    const QModelIndex root = FileRow(w);
    for (int i = 0; root.isValid() && i < Rows(root); ++i) TreeText(root.model()->index(i, 0, root), 0, shown);
    QProcess corvel;
    corvel.start(QStringLiteral(CORVEL_EXE), {QStringLiteral("tree"), path});
    corvel.waitForFinished(30000);
    QCOMPARE(shown, QString::fromUtf8(corvel.readAllStandardOutput()));
}

int g_loads = 0;

void SelectAndWait(CCorvel_UIDlg& w, const QModelIndex& item) {
    QVERIFY(item.isValid());
    const int before = g_loads;
    w.Tree()->setCurrentIndex(item);
    QVERIFY(WaitUntil([&] { return g_loads > before; }));
    QCOMPARE(w.HtmlView()->url(), QUrl::fromLocalFile(w.Folder().pagePath));
}

#define USER_SETTINGS QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvanel")
}  // namespace

CCorvel_UIDlg& AppTest::NewWindow() {
    m_window.reset();
    m_window = std::make_unique<CCorvel_UIDlg>(m_lib);
    m_window->Checker()->SetProgram(QStringLiteral(CORVEL_EXE));
    QObject::connect(m_window->HtmlView(), &QWebEngineView::loadFinished, [](bool) { ++g_loads; });
    m_window->show();
    return *m_window;
}

void AppTest::cleanup() {
    m_window.reset();
    QSettings(USER_SETTINGS).clear();
}

void AppTest::dumpFormatAndNumbers() {
    // A 20-byte run: a full line and a line of 4 bytes, padded with 36 blanks. Only
    // printable ASCII stands as itself: 0x7F and 0x80 would show as a box glyph.
    uint8_t bytes[20];
    for (int i = 0; i < 20; ++i) bytes[i] = uint8_t(0x70 + i);
    bytes[16] = 0x1F, bytes[17] = 0x7F, bytes[18] = 0x80, bytes[19] = 0x81;
    QCOMPARE(QByteArray::fromStdString(FormatHexDump(bytes, 20)),
             QByteArray("70 71 72 73 74 75 76 77 78 79 7A 7B 7C 7D 7E 7F ; pqrstuvwxyz{|}~.\r\n"
                        "1F 7F 80 81 ") +
                 QByteArray(36, ' ') + QByteArray("; ....\r\n"));
    QVERIFY(FormatHexDump(bytes, 0).empty());
    QVERIFY(!ParseDecimal("12a") && !ParseDecimal("-1") && !ParseDecimal("") && !ParseDecimal(" 1"));
    QCOMPARE(*ParseDecimal("2048"), uint64_t(2048));
    for (const char* bad : {"", "abc", "1|2", "10|20|30|40", "900|600|-1", "900|600|901", "0|600|10", "9x|600|10"})
        QVERIFY2(!ParseSizeValue(QString::fromLatin1(bad)), bad);
}

void AppTest::workFolderAndWelcomePage() {
    QString page, sub;
    {
        CCorvel_UIDlg& w = NewWindow();
        page = w.Folder().pagePath;
        sub = w.Folder().subPageFolder;
        QVERIFY(QDir(sub).exists());
        // Pages may only be written straight into the sub-page folder.
        QVERIFY(IsSubPagePath(w.Folder(), sub + QStringLiteral("400.html")));
        for (const QString& other : {sub + QStringLiteral("../x.html"), sub + QStringLiteral("a/x.html"),
                                     sub + QStringLiteral("x.txt"), page, QStringLiteral("/tmp/x.html")})
            QVERIFY2(!IsSubPagePath(w.Folder(), other), qPrintable(other));
        QCOMPARE(w.StatusLine()->text(), QStringLiteral("Please open the file."));
        QVERIFY(FileBytes(page, 0, 1 << 20).contains("<img src = \"" + QFile::encodeName(QCoreApplication::applicationDirPath()) +
                                                      "/Img/kesto_logo.png\">"));
        QVERIFY(ViewShows(w, [](const QColor& c) { return c == QColor(34, 68, 150); }));  // the logo's frame
    }
    m_window.reset();
    QVERIFY(!QFile::exists(page));
    QVERIFY(!QDir(sub).exists());
}

void AppTest::openFillsTreeFromDialogAndDrop() {
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(!w.RecentMenu()->isEnabled());  // nothing opened yet
    // Opening again rebuilds from scratch: the same tree, nothing doubled. Apple's codes
    // (moov/udta/©enc) read as Mac Roman, as corvel prints them.
    for (const char* name : {"avc_aac_bframes.mp4", "kitchen_sink.mp4", "frag_mehd_sdtp_subs.mp4",
                             "pub_go-mp4_sample_qt.mp4", "avc_aac_bframes.mp4"}) {
        const QString path = kCorpus + QLatin1String(name);
        QVERIFY(w.OpenFile(path));
        // Open Recent offers the file at once: a disabled submenu is never about to show.
        QVERIFY(w.RecentMenu()->isEnabled());
        QCOMPARE(w.RecentMenu()->actions().at(0)->text(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(w.TreeModel()->rowCount(), 1);
        QCOMPARE(FileRow(w).data().toString(), QString::fromLatin1(name));
        QCOMPARE(w.StatusLine()->text(), QStringLiteral("Completed."));
        CompareWithCorvelTree(w, path);
    }
    QCOMPARE(w.windowTitle(), QStringLiteral("avc_aac_bframes.mp4 - Tessaly"));
    // The menu, Ctrl+O and the open button lead to the file dialog, in the folder it was
    // last left in; cancelling it keeps the file.
    QAction* open = w.menuBar()->actions().at(0)->menu()->actions().at(0);
    QCOMPARE(open->shortcut(), QKeySequence(QKeySequence::Open));
    RememberOpenFolder(kCorpus);
    for (const std::function<void()>& start : {std::function<void()>([&] { open->trigger(); }),
                                               std::function<void()>([&] { w.OpenButton()->click(); })})
        WithModal<QFileDialog>(start, [](QFileDialog* dialog) {
            QVERIFY(dialog->nameFilters()[0].startsWith(QStringLiteral("Video Files(*.ismv;*.mp4;*.f4f;*.vh4;*.dat)")));
            // Every type the desktop entry opens shows under the default filter.
            const QStringList patterns = dialog->nameFilters()[0].section(QLatin1Char('('), -1).chopped(1).split(' ');
            for (const char* type : {"ismv", "mp4", "f4f", "m4a", "m4v", "mov", "3gp", "3g2", "m4s", "f4v"})
                QVERIFY2(patterns.contains(QStringLiteral("*.%1").arg(QLatin1String(type))), type);
            QCOMPARE(dialog->directory().absolutePath() + QLatin1Char('/'), QDir(kCorpus).absolutePath() + QLatin1Char('/'));
        });
    QCOMPARE(FileRow(w).data().toString(), QStringLiteral("avc_aac_bframes.mp4"));

    // Open Recent: the files opened, newest first, each once; choosing one opens it.
    QStringList recent;
    for (QAction* action : w.RecentMenu()->actions()) recent << QFileInfo(action->text()).fileName();
    QCOMPARE(recent, QStringList({"avc_aac_bframes.mp4", "pub_go-mp4_sample_qt.mp4", "frag_mehd_sdtp_subs.mp4",
                                  "kitchen_sink.mp4"}));
    w.RecentMenu()->actions().at(3)->trigger();
    QCOMPARE(FileRow(w).data().toString(), QStringLiteral("kitchen_sink.mp4"));

    // F5 reads the file again as it is on disk now: a box added since shows.
    const QString changing = QDir::tempPath() + QStringLiteral("/tessaly_reload.mp4");
    WriteFile(changing, FileBytes(kBframes, 0, 1 << 30));
    QVERIFY(w.OpenFile(changing));
    WriteFile(changing, FileBytes(kBframes, 0, 1 << 30) + QByteArray("\0\0\0\x08" "free", 8));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F5);
    CompareWithCorvelTree(w, changing);
    QFile::remove(changing);

    // Dropping several files opens the last.
    const QString last = kCorpus + QStringLiteral("smooth.ismv");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(kBframes), QUrl::fromLocalFile(last)});
    QDragEnterEvent enter(w.Tree()->geometry().center(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(w.Tree()->geometry().center(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    QCOMPARE(FileRow(w).data().toString(), QStringLiteral("smooth.ismv"));
    CompareWithCorvelTree(w, last);
}

void AppTest::selectionShowsPageAndDump() {
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(w.OpenFile(kBframes));

    // vmhd's 20 bytes are dumped; its page renders with the title icon's blue.
    const QModelIndex vmhd = FindItem(w, "moov/trak/mdia/minf/vmhd");
    SelectAndWait(w, vmhd);
    QCOMPARE(w.DumpPane()->toPlainText(), ExpectedDump(kBframes, BoxOf(vmhd)->m_startOffset, 20));
    QVERIFY(ViewShows(w, [](const QColor& c) {
        return std::abs(c.red() - 40) < 8 && std::abs(c.green() - 80) < 8 && std::abs(c.blue() - 200) < 8;
    }));

    // The mdat shows no bytes; the root item brings the welcome page back and empties the pane.
    SelectAndWait(w, FindItem(w, "mdat"));
    QVERIFY(w.DumpPane()->toPlainText().isEmpty());
    SelectAndWait(w, vmhd);
    SelectAndWait(w, FileRow(w));
    QVERIFY(w.DumpPane()->toPlainText().isEmpty());
    QVERIFY(FileBytes(w.Folder().pagePath, 0, 100).startsWith("<html><head></head>"));

    // A box over 32000 bytes dumps its first 32000.
    const QString big = kCorpus + QStringLiteral("pub_go-mp4_sample_qt.mp4");
    QVERIFY(w.OpenFile(big));
    const QModelIndex bigMoov = FindItem(w, "moov");
    QVERIFY(BoxOf(bigMoov)->BoxSize() > 32000);
    SelectAndWait(w, bigMoov);
    QCOMPARE(w.DumpPane()->toPlainText(), ExpectedDump(big, BoxOf(bigMoov)->m_startOffset, 32000));
}

// A fragment list of an mdat page, chosen with a real mouse: the popup opens on "Select",
// the click on the fragment sends one command, not one per click. Its sub page goes into
// the frame, which takes the sub page's height, and a sample's "..." button dumps that
// sample (267 bytes at 7331, as ffprobe reads them).
void AppTest::subPagesLoadAndDump() {
    CCorvel_UIDlg& w = NewWindow();
    const QString frag = kCorpus + QStringLiteral("frag_default_base_moof.mp4");
    QVERIFY(w.OpenFile(frag));
    std::vector<int> commands;
    QObject::connect(w.HtmlView(), &CHtmlViewCtrl::commandSent,
                     [&](int id, quint32, const QString&) { commands.push_back(id); });
    SelectAndWait(w, FindItem(w, QStringLiteral("mdat"), 1));
    QVERIFY(WaitPageReady(w));
    const QVariantList r = RunJs(w, QStringLiteral("var r = document.getElementById('LIST_PAGE')"
                                                   ".getBoundingClientRect(); [r.x, r.y, r.width, r.height]"))
                               .toList();
    const QPoint centre(int(r[0].toDouble() + r[2].toDouble() / 2), int(r[1].toDouble() + r[3].toDouble() / 2));
    QTest::mouseClick(w.HtmlView()->focusProxy(), Qt::LeftButton, {}, centre);
    QVERIFY(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* target = popup->focusProxy() ? popup->focusProxy() : popup;
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(popup->width() / 2, popup->height() * 3 / 4));
    QVERIFY(WaitFrame(w, QStringLiteral("BUTTON")));
    QCOMPARE(commands, std::vector<int>{kCmdFragmentSamples});
    QVERIFY(WaitUntil([&] { return RunJs(w, QStringLiteral("Number(document.getElementById('iframe_sub_page').height) > 100")).toBool(); }));
    RunJs(w, kFrameDoc + QStringLiteral(".querySelector('BUTTON').click(); 0;"));
    QString expected = ExpectedDump(frag, 7331, 267);
    QVERIFY(WaitUntil([&] { return w.DumpPane()->toPlainText() == expected; }));
    // A dump value with one number is dropped; 40000 bytes from 0 stop at the file's end.
    RunJs(w, QStringLiteral("var h = document.getElementById('HEX_INPUT'); h.value = '100|'; h.click();"
                            "fncOnClick(40000, 0); 0;"));
    expected = ExpectedDump(frag, 0, 40000);
    QVERIFY(WaitUntil([&] { return w.DumpPane()->toPlainText() == expected; }));
    QCOMPARE(commands, (std::vector<int>{kCmdFragmentSamples, kCmdHexDump, kCmdHexDump}));

    // An F4F mdat's FLV tags: choosing one writes its page into the frame and dumps its
    // bytes (the AVC sequence header, 63 bytes at 630); a row of its page lights its field.
    const QString path = kCorpus + QStringLiteral("f4f_handmade.f4f");
    QVERIFY(w.OpenFile(path));
    SelectAndWait(w, FindItem(w, QStringLiteral("mdat")));
    QVERIFY(WaitPageReady(w));
    Choose(w, "FLV_PAGE", 0, 2);
    expected = ExpectedDump(path, 630, 63);
    QVERIFY(WaitUntil([&] { return w.DumpPane()->toPlainText() == expected; }));
    QVERIFY(WaitFrame(w, QStringLiteral("td")));
    ClickCell(w, kFrameDoc, QStringLiteral("Data size"));  // 3 bytes after the tag's first byte
    QVERIFY(WaitUntil([&] { return w.statusBar()->currentMessage() == QStringLiteral("bytes 631-633 (3)"); }));
    // Another tag: the bytes of the field of the tag before are no longer told.
    Choose(w, "FLV_PAGE", 0, 1);
    QVERIFY(WaitUntil([&] { return w.statusBar()->currentMessage().isEmpty(); }));
    ClickCell(w, kFrameDoc, QStringLiteral("Data size"));
    QVERIFY(WaitUntil([&] { return !w.statusBar()->currentMessage().isEmpty(); }));

    // Cut inside the last previous-tag-size: the tree marks the mdat as corvel does; the
    // bytes told of the file before go.
    QTemporaryDir dir;
    const QString cut = dir.filePath(QStringLiteral("cut.f4f"));
    WriteFile(cut, FileBytes(path, 0, 714));
    QCOMPARE(MessageOf([&] { QVERIFY(w.OpenFile(cut)); }), QStringLiteral("Did not perform as expected."));
    QVERIFY(w.statusBar()->currentMessage().isEmpty());
    QVERIFY(Notes(FindItem(w, QStringLiteral("mdat"))).endsWith(QStringLiteral("incomplete FLV tag at 712")));
    CompareWithCorvelTree(w, cut);
}

// A row of a box page or of a sub page lights the bytes of its field or its sample in
// the dump pane, and the status bar tells where they are.
void AppTest::rowClickLightsItsBytes() {
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(w.OpenFile(kBframes));
    auto lit = [&] {
        QStringList texts;
        for (const QTextEdit::ExtraSelection& s : w.DumpPane()->extraSelections()) texts << s.cursor.selectedText();
        return texts;
    };
    auto bytesAt = [](qint64 at, int n) {
        return QStringLiteral("bytes %1-%2 (%3)")
            .arg(QLocale(QLocale::English).toString(at), QLocale(QLocale::English).toString(at + n - 1))
            .arg(n);
    };

    // The video mdhd (version 0): its time scale, 12800, lies 20 bytes into the box.
    const QModelIndex mdhd = FindItem(w, "moov/trak/mdia/mdhd");
    SelectAndWait(w, mdhd);
    QVERIFY(WaitPageReady(w));
    ClickCell(w, QStringLiteral("document"), QStringLiteral("Time scale"));
    QVERIFY(WaitUntil([&] { return !lit().isEmpty(); }));
    QCOMPARE(lit(), (QStringList{QStringLiteral("00 00 32 00"), QStringLiteral("..2.")}));
    QCOMPARE(w.statusBar()->currentMessage(), bytesAt(BoxOf(mdhd)->m_startOffset + 20, 4));

    // The second sample of the audio track, from the mdat page's list: its 251 bytes,
    // dumped around them since the mdat page shows none; its "..." button dumps them alone.
    SelectAndWait(w, FindItem(w, QStringLiteral("mdat")));
    QVERIFY(WaitPageReady(w));
    Choose(w, "SUB_PAGE", 1, 1);
    QVERIFY(WaitFrame(w, QStringLiteral("BUTTON")));
    ClickCell(w, kFrameDoc, QStringLiteral("2"));
    QVERIFY(WaitUntil([&] { return w.statusBar()->currentMessage() == bytesAt(2784, 251); }));
    QVERIFY(w.DumpPane()->ShownOffset() <= 2784);
    QCOMPARE(lit().first(), ExpectedDump(kBframes, 2784, 16).left(47));
    RunJs(w, kFrameDoc + QStringLiteral(".querySelectorAll('BUTTON')[1].click(); 0;"));
    const QString sample = ExpectedDump(kBframes, 2784, 251);
    QVERIFY(WaitUntil([&] { return w.DumpPane()->toPlainText() == sample; }));
}

namespace {
// The bytes of the dump pane that are lit.
QStringList LitText(CCorvel_UIDlg& w) {
    QStringList texts;
    for (const QTextEdit::ExtraSelection& s : w.DumpPane()->extraSelections()) texts << s.cursor.selectedText();
    return texts;
}

// A copy of avc_aac_bframes.mp4 with its video's first chunk past the end of the file
// (an error on stco) and mvhd's next track ID 1 (a warning on mvhd).
QString WriteBrokenCopy(const QTemporaryDir& dir, uint64_t stcoOffset, uint64_t mvhdEnd) {
    QByteArray bytes = FileBytes(kBframes, 0, 1 << 30);
    bytes.replace(qsizetype(stcoOffset) + 16, 4, QByteArray("\x7F\xFF\xFF\xF0", 4));  // after count
    bytes.replace(qsizetype(mvhdEnd) - 4, 4, QByteArray("\0\0\0\1", 4));              // its last field
    const QString path = dir.filePath(QStringLiteral("broken.mp4"));
    WriteFile(path, bytes);
    return path;
}

// The root page's finding rows, each as corvel check prints a finding.
QString RootPageFindings(CCorvel_UIDlg& w, const QString& path) {
    const QVariantList rows =
        RunJs(w, QStringLiteral("Array.from(document.querySelectorAll('table[cellpadding=\"3\"]')).filter(function (t) {"
                                " return t.rows[0].textContent.trim().startsWith('Findings'); })"
                                ".flatMap(function (t) { return Array.from(t.rows).slice(2); })"
                                ".map(function (tr) { return Array.from(tr.cells).map(function (td) {"
                                " return td.textContent; }); })"))
            .toList();
    QString text;
    for (const QVariant& row : rows) {
        const QStringList c = row.toStringList();
        if (c.size() != 4) return QStringLiteral("a row of %1 cells").arg(c.size());
        text += QStringLiteral("%1: %2: %3: %4 [%5]\n").arg(path, c[0], c[2], c[3], c[1]);
    }
    return text;
}

QString CorvelCheck(const QString& path) {
    QProcess corvel;
    corvel.start(QStringLiteral(CORVEL_EXE), {QStringLiteral("check"), path});
    corvel.waitForFinished(30000);
    return QString::fromUtf8(corvel.readAllStandardOutput());
}
}  // namespace

// The check runs once the tree shows; its findings fill the root page below the welcome
// content, as corvel check tells them; a click on one selects its box and lights its
// bytes as a row click does.
void AppTest::findingsOnRootPageLeadToTheirBytes() {
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(w.OpenFile(kBframes));
    const uint64_t stco = BoxOf(FindItem(w, "moov/trak/mdia/minf/stbl/stco"))->m_startOffset;
    const CBox* mvhd = BoxOf(FindItem(w, "moov/mvhd"));
    QTemporaryDir dir;
    const QString path = WriteBrokenCopy(dir, stco, mvhd->m_startOffset + mvhd->BoxSize());
    QVERIFY(w.OpenFile(path));
    QVERIFY(!w.FindingsReady());  // the tree did not wait for the check
    QVERIFY(WaitUntil([&] { return w.FindingsReady(); }));
    QVERIFY(WaitUntil([&] { return !RootPageFindings(w, path).isEmpty(); }));
    const QString listed = RootPageFindings(w, path);
    QCOMPARE(listed, CorvelCheck(path));
    QVERIFY(listed.contains(QStringLiteral("[stco-offset-past-eof]")) && listed.contains(QStringLiteral("[next-track-id]")));

    // The welcome content stays as it is; the findings follow it.
    const QString bare = dir.filePath(QStringLiteral("welcome.html"));
    QVERIFY(WriteWelcomePage(bare, ImageFolder() + QStringLiteral("/kesto_logo.png"), kMakerName));
    const QByteArray welcome = FileBytes(bare, 0, 1 << 20), page = FileBytes(w.Folder().pagePath, 0, 1 << 20);
    const QByteArray foot("</body></html>");
    QVERIFY(welcome.endsWith(foot) && page.endsWith(foot));
    QVERIFY(page.startsWith(welcome.chopped(foot.size())) && page.size() > welcome.size());
    // The welcome content fills the view; the page opens on the findings (at its top, or
    // whole at its foot).
    const QString inView = QStringLiteral(
        "var r = document.querySelector('table[cellpadding=\"3\"]').getBoundingClientRect();"
        "r.top >= 0 && (r.top < 10 || r.bottom <= innerHeight + 1) && r.top < innerHeight");
    QVERIFY(WaitUntil([&] { return RunJs(w, inView).toBool(); }));

    // The stco error: its box selected (the tree opened down to it), its 4 bytes lit.
    QVERIFY(WaitPageReady(w));
    ClickCell(w, QStringLiteral("document"), QStringLiteral("stco-offset-past-eof"));
    const QModelIndex stcoItem = FindItem(w, "moov/trak/mdia/minf/stbl/stco");
    QVERIFY(WaitUntil([&] { return !LitText(w).isEmpty(); }));
    QCOMPARE(w.Tree()->currentIndex(), stcoItem);
    QVERIFY(w.Tree()->isExpanded(stcoItem.parent()));
    QCOMPARE(LitText(w), (QStringList{QStringLiteral("7F FF FF F0"), QStringLiteral("....")}));
    QCOMPARE(w.statusBar()->currentMessage(), CDumpPane::Describe(Span::Bytes(stco + 16, 4)));

    // Below the findings, the tracks as corvel info tells them; a click selects the trak.
    SelectAndWait(w, FileRow(w));
    QVERIFY(WaitPageReady(w));
    const QString tracks = RunJs(w, QStringLiteral("Array.from(document.querySelectorAll('table[cellpadding=\"3\"]'))"
                                                   ".pop().innerText")).toString().trimmed();
    QVERIFY2(tracks.startsWith(QStringLiteral("Tracks")) && tracks.contains(QStringLiteral("avc1.")) &&
                 tracks.contains(QStringLiteral("mp4a.40.2")),
             qPrintable(tracks));
    ClickCell(w, QStringLiteral("document"), QStringLiteral("soun"));
    QVERIFY(WaitUntil([&] { return w.Tree()->currentIndex() == FindItem(w, "moov/trak", 1); }));

    // Back on the root page the list is there at once; the mvhd warning lights its field.
    SelectAndWait(w, FileRow(w));
    QVERIFY(WaitPageReady(w));
    QCOMPARE(RootPageFindings(w, path), listed);
    ClickCell(w, QStringLiteral("document"), QStringLiteral("next-track-id"));
    QVERIFY(WaitUntil([&] { return w.Tree()->currentIndex() == FindItem(w, "moov/mvhd"); }));
    QVERIFY(WaitUntil([&] { return LitText(w).value(0) == QStringLiteral("00 00 00 01"); }));

    // A file read again drops the findings of the read before until its own are known.
    // A file opened while a check runs ends it; only the last one's findings show.
    QVERIFY(w.OpenFile(kBframes));
    QVERIFY(!w.FindingsReady() && w.Findings().empty());
    QVERIFY(w.OpenFile(path) && w.OpenFile(kBframes));
    QVERIFY(w.Checker()->Running());
    QVERIFY(WaitUntil([&] { return w.FindingsReady(); }));
    QVERIFY(WaitUntil([&] { return RootPageFindings(w, kBframes) == CorvelCheck(kBframes); }));
    QVERIFY(!w.Checker()->Running());
}

// An item whose box has an error or a warning carries an icon by the worst of them and
// their messages as its tooltip, after the notes of a cut box.
void AppTest::findingsMarkTreeItems() {
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(w.OpenFile(kBframes));
    const CBox* mvhd = BoxOf(FindItem(w, "moov/mvhd"));
    QTemporaryDir dir;
    const QString path =
        WriteBrokenCopy(dir, BoxOf(FindItem(w, "moov/trak/mdia/minf/stbl/stco"))->m_startOffset,
                        mvhd->m_startOffset + mvhd->BoxSize());
    QVERIFY(w.OpenFile(path));
    QVERIFY(WaitUntil([&] { return w.FindingsReady(); }));
    auto iconIs = [](const QModelIndex& item, QStyle::StandardPixmap kind) {
        const QIcon icon = item.data(Qt::DecorationRole).value<QIcon>();
        return !icon.isNull() &&
               icon.pixmap(16).toImage() == QApplication::style()->standardIcon(kind).pixmap(16).toImage();
    };
    const QModelIndex stco = FindItem(w, "moov/trak/mdia/minf/stbl/stco");
    QVERIFY(iconIs(stco, QStyle::SP_MessageBoxCritical));
    QCOMPARE(ToolTip(stco), QStringLiteral("error: chunk 1 at 2147483632 lies past the end of the file (%1 bytes) "
                                           "[stco-offset-past-eof]")
                                .arg(QFileInfo(path).size()));
    QVERIFY(iconIs(FindItem(w, "moov/mvhd"), QStyle::SP_MessageBoxWarning));
    QVERIFY(ToolTip(FindItem(w, "moov/mvhd")).startsWith(QStringLiteral("warning: the next track ID is 1")));
    // moov-after-mdat is info: no mark; a sound box has none either.
    for (const char* sound : {"moov", "moov/trak/tkhd"})
        QVERIFY2(FindItem(w, sound).data(Qt::DecorationRole).isNull() && ToolTip(FindItem(w, sound)).isEmpty(), sound);

    // A cut file, checked while its failure is told: the mdat keeps its note first; the
    // check's lines follow.
    const QString cut = kCorpus + QStringLiteral("truncated_mdat.mp4");
    WithModal<QMessageBox>([&] { QVERIFY(w.OpenFile(cut)); },
                           [&](QMessageBox*) { QVERIFY(WaitUntil([&] { return w.FindingsReady(); })); });
    QVERIFY(w.FindingsReady());
    QCOMPARE(ToolTip(FindItem(w, "mdat")),
             QStringLiteral("truncated: 9385 of 18771 bytes present\nerror: the file ends inside the mdat box at 2372 "
                            "(9385 of 18771 bytes present) [file-truncated]"));
    QVERIFY(iconIs(FindItem(w, "mdat"), QStyle::SP_MessageBoxCritical));

    // Not a media file: nothing is checked, the root page stays the welcome.
    MessageOf([&] { QVERIFY(w.OpenFile(kCorpus + QStringLiteral("flv_ffmpeg.flv"))); });
    QTest::qWait(300);
    QVERIFY(!w.FindingsReady());
    QVERIFY(!FileBytes(w.Folder().pagePath, 0, 1 << 20).contains("Findings"));
}

// A rule broken once per entry of a long table must not make a page or a tooltip of that
// length: the root page lists the first findings and says how many there are, a
// tooltip its box's first ten. Text from the file stays text.
void AppTest::findingsShownAreBounded() {
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(w.OpenFile(kBframes));
    QVERIFY(WaitUntil([&] { return w.FindingsReady(); }));
    const QModelIndex stts = FindItem(w, "moov/trak/mdia/minf/stbl/stts");
    std::vector<Finding> many(kMaxFindingRows + 500);
    for (size_t i = 0; i < many.size(); ++i)
        many[i] = {Severity::Warning, "r", "moov/<b>", 0, 4, "entry " + std::to_string(i)};
    const ReportTable table = FindingsTable(many);
    QCOMPARE(table.listRows.size(), kMaxFindingRows);
    QCOMPARE(QString::fromStdString(table.title), QStringLiteral("Findings (the first 1000 of 1500)"));
    QVERIFY(FindingsHtml(many, "").find("moov/<wbr>&lt;b&gt;") != std::string::npos);
    w.TreeModel()->SetFindings(many, std::vector<uint32_t>(many.size(), BoxOf(stts)->m_id));
    const QStringList tip = ToolTip(stts).split(QLatin1Char('\n'));
    QCOMPARE(tip.size(), 11);
    QCOMPARE(tip.at(9), QStringLiteral("warning: entry 9 [r]"));
    QCOMPARE(tip.at(10), QStringLiteral("..."));
}

// The check is a program of its own: one missing, failing, printing no document or
// too much shows no findings; one that hangs is ended by the next file and by closing
// the window, which do not wait for it.
void AppTest::checkerThatFailsOrHangsLeavesTheWindow() {
    QTemporaryDir dir;
    const QString hang = dir.filePath(QStringLiteral("hang.sh"));
    WriteFile(hang, "#!/bin/sh\necho '{\"findings\": []}'\nexec sleep 30\n");
    QFile::setPermissions(hang, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // One that says more than the window takes (a document of 70 MB) is ended as it says it.
    const QString chatty = dir.filePath(QStringLiteral("chatty.sh"));
    WriteFile(chatty, "#!/bin/sh\nprintf '{\"findings\": ['\nhead -c 70000000 /dev/zero | tr '\\0' ' '\nprintf ']}'\n");
    QFile::setPermissions(chatty, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    CCorvel_UIDlg& w = NewWindow();
    for (const QString& program : {dir.filePath(QStringLiteral("missing")), QStringLiteral("/bin/false"),
                                   QStringLiteral("/bin/echo"), chatty}) {
        w.Checker()->SetProgram(program);
        QVERIFY(w.OpenFile(kBframes));
        QVERIFY2(WaitUntil([&] { return !w.Checker()->Running(); }), qPrintable(program));
        QTest::qWait(50);
        QVERIFY2(!w.FindingsReady(), qPrintable(program));
    }
    w.Checker()->SetProgram(hang);
    QVERIFY(w.OpenFile(kBframes));
    QTest::qWait(200);
    QVERIFY(w.Checker()->Running() && !w.FindingsReady());
    w.Checker()->SetProgram(QStringLiteral(CORVEL_EXE));
    QVERIFY(w.OpenFile(kBframes));
    QVERIFY(WaitUntil([&] { return w.FindingsReady(); }));
    w.Checker()->SetProgram(hang);
    QVERIFY(w.OpenFile(kBframes));
    QVERIFY(WaitUntil([&] { return w.Checker()->Running(); }));
    QElapsedTimer clock;
    clock.start();
    m_window.reset();
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

void AppTest::badInputIsIgnored() {
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(w.OpenFile(kBframes));
    w.DumpPane()->setPlainText(QStringLiteral("unchanged"));
    for (const QStringList& bad : {QStringList{"100"}, QStringList{"-5", "0"}, QStringList{"abc", "1"},
                                   QStringList{"5", "-1"}, QStringList{"5", "1x"}, QStringList{"5", "99999999999999999999"}})
        w.OnDumpCommand(bad);
    QCOMPARE(w.DumpPane()->toPlainText(), QStringLiteral("unchanged"));

    // Bytes past the end of the file are not shown: 10 bytes remain of the 100 asked for.
    const qint64 size = QFileInfo(kBframes).size();
    w.OnDumpCommand({QStringLiteral("100"), QString::number(size - 10)});
    QCOMPARE(w.DumpPane()->toPlainText(), ExpectedDump(kBframes, size - 10, 10));
    w.OnDumpCommand({QStringLiteral("100"), QString::number(size + 10)});
    QVERIFY(w.DumpPane()->toPlainText().isEmpty());

    // Page requests naming no loaded box, the wrong kind of box, or a file outside the
    // sub-page folder write nothing.
    const QString sub = w.Folder().subPageFolder;
    const QString page = sub + QStringLiteral("0.html");
    const QString outside = QDir::tempPath() + QStringLiteral("/tessaly_outside.html");
    const quint32 stts = BoxOf(FindItem(w, "moov/trak/mdia/minf/stbl/stts"))->m_id;
    QFile::remove(outside);
    w.OnPageCommand(kCmdEntries, {page, 99999, 0, 0, 0});
    w.OnPageCommand(kCmdEntries, {page, stts, 0, 0, -1});
    w.OnPageCommand(kCmdTrackSamples, {page, stts, 0, 0, 0});
    w.OnPageCommand(kCmdFlvTag, {page, stts, 0, 0, 0});
    w.OnPageCommand(kCmdEntries, {outside, stts, 0, 0, 0});
    w.OnPageCommand(kCmdEntries, {sub + QStringLiteral("../escape.html"), stts, 0, 0, 0});
    QVERIFY(!QFile::exists(outside) && !QFile::exists(sub + QStringLiteral("../escape.html")) && !QFile::exists(page));

    // With a box selected, a file that cannot be opened: the old boxes are gone, so is
    // every item naming them.
    SelectAndWait(w, FindItem(w, "moov"));
    const QString missing = QDir::tempPath() + QStringLiteral("/no_such_dir/missing.mp4");
    bool opened = true;
    const QString message = MessageOf([&] { opened = w.OpenFile(missing); });
    QVERIFY(!opened);
    QVERIFY2(message.contains(missing) && message.contains(QStringLiteral("No such file or directory")),
             qPrintable(message));
    QCOMPARE(w.TreeModel()->rowCount(), 1);
    QCOMPARE(Rows(FileRow(w)), 0);
    QVERIFY(w.DumpPane()->toPlainText().isEmpty());
    w.OnDumpCommand({QStringLiteral("16"), QStringLiteral("0")});  // no bytes of the file shown before
    QVERIFY(w.DumpPane()->toPlainText().isEmpty());
    QCOMPARE(w.StatusLine()->text(), QStringLiteral("Please open the file."));
    QVERIFY(FileBytes(w.Folder().pagePath, 0, 100).startsWith("<html><head></head>"));

    // A parse that fails halfway keeps the boxes read so far, and says so
    // (ftyp and moov, then a box whose size of 4 cannot even hold its header).
    const QString bad = QDir(w.Folder().subPageFolder).filePath(QStringLiteral("../bad_box.mp4"));
    WriteFile(bad, FileBytes(kCorpus + QStringLiteral("avc_aac_faststart.mp4"), 0, 2364) +
                       QByteArray("\0\0\0\4junkjunk", 12));
    QCOMPARE(MessageOf([&] { QVERIFY(w.OpenFile(bad)); }), QStringLiteral("Did not perform as expected."));
    QCOMPARE(w.StatusLine()->text(),
             QStringLiteral("Stopped at a box that could not be read: the boxes before it are shown."));
    QCOMPARE(FileRow(w).model()->index(1, 0, FileRow(w)).data().toString(), QStringLiteral("moov"));
    CompareWithCorvelTree(w, bad);
    QFile::remove(bad);

    // A file cut short: its tree, the box it ends inside in red with how much is there,
    // and the failure said after the tree is shown.
    const QString cut = kCorpus + QStringLiteral("truncated_mdat.mp4");
    QCOMPARE(MessageOf([&] { QVERIFY(w.OpenFile(cut)); }), QStringLiteral("Did not perform as expected."));
    CompareWithCorvelTree(w, cut);
    QCOMPARE(FindItem(w, "mdat").data(Qt::ForegroundRole).value<QColor>(), QColor(200, 0, 0));
    // The status line says what happened, as corvel does.
    QCOMPARE(w.StatusLine()->text(),
             QStringLiteral("Incomplete: the file ends inside the mdat box at 2372 (9385 of 18771 bytes present)."));
    // Not a media file at all: the failure, and no boxes.
    QCOMPARE(MessageOf([&] { QVERIFY(w.OpenFile(kCorpus + QStringLiteral("flv_ffmpeg.flv"))); }),
             QStringLiteral("Did not perform as expected."));
    QCOMPARE(Rows(FileRow(w)), 0);
    QCOMPARE(w.StatusLine()->text(), QStringLiteral("Not an ISO base media file."));
}


// The saved size and tree width lay the window out; the splitter moves within limits;
// closing saves the layout.
void AppTest::layoutSettingsAndSplitter() {
    QSettings settings(USER_SETTINGS);
    settings.setValue(QStringLiteral("Size"), QStringLiteral("1000|640|300"));
    settings.sync();
    int treeWidth = 0;
    {
        CCorvel_UIDlg& w = NewWindow();
        auto panes = [&] {
            return QList<QRect>{w.Tree()->geometry(), w.HtmlView()->geometry(), w.DumpPane()->geometry()};
        };
        QVERIFY(WaitUntil([&] { return w.Client()->size() == QSize(1000, 640); }));
        QCOMPARE(panes(), (QList<QRect>{QRect(5, 30, 300, 605), QRect(310, 30, 250, 605), QRect(565, 30, 430, 605)}));

        CxSplitterWnd* bar = w.Splitter();
        auto mouse = [&](QEvent::Type type, Qt::MouseButton button, int parentX) {
            const QPointF local(parentX - bar->x(), 10);
            QMouseEvent e(type, local, bar->mapToGlobal(local), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton),
                          Qt::NoModifier);
            QApplication::sendEvent(bar, &e);
        };
        const int viewRight = w.HtmlView()->geometry().right();
        // Drag 40 pixels to the right (grabbed 2 pixels into the bar).
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, 307);
        mouse(QEvent::MouseMove, Qt::NoButton, 347);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 347);
        QCOMPARE(w.Tree()->width(), 340);
        QCOMPARE(w.HtmlView()->x(), 350);
        QCOMPARE(w.HtmlView()->geometry().right(), viewRight);
        // Far to the left: the tree keeps 100 pixels; far to the right: the view keeps 100.
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, 347);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 0);
        QCOMPARE(w.Tree()->width(), 100);
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, 107);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 2000);
        QCOMPARE(w.HtmlView()->width(), 100);
        QCOMPARE(w.HtmlView()->geometry().right(), viewRight);
        treeWidth = w.Tree()->width();
    }
    m_window.reset();
    settings.sync();
    QCOMPARE(settings.value(QStringLiteral("Size")).toString(), QStringLiteral("1000|640|%1").arg(treeWidth));

    // A malformed value gives the default layout with a tree 220 pixels wide.
    settings.setValue(QStringLiteral("Size"), QStringLiteral("1100|690"));
    settings.sync();
    CCorvel_UIDlg& w = NewWindow();
    QCOMPARE(w.Tree()->geometry().width(), 220);
    QCOMPARE(w.HtmlView()->x(), 230);
}

// Return does nothing in a page; the pages' text is read as UTF-8.
void AppTest::returnIsSwallowed() {
    CCorvel_UIDlg& w = NewWindow();
    WriteFile(w.Folder().pagePath,
              "<html><body><button id=b onclick=\"clicks++\">\xED\x99\x95\xEC\x9D\xB8</button>"
              "<script>var keys = [], clicks = 0; document.addEventListener('keyup', function (e) { keys.push(e.key); });"
              "document.getElementById('b').focus();</script></body></html>");
    w.HtmlView()->Navigate(w.Folder().pagePath);
    QVERIFY(WaitPageReady(w));
    w.HtmlView()->setFocus();
    QVERIFY(WaitUntil([&] { return w.HtmlView()->focusProxy() != nullptr; }));
    QTest::keyClick(w.HtmlView()->focusProxy(), Qt::Key_Return);
    QTest::keyClick(w.HtmlView()->focusProxy(), Qt::Key_Space);  // the same button still reacts to a space
    QVERIFY(WaitUntil([&] { return RunJs(w, QStringLiteral("keys.join(',')")).toString() == QStringLiteral("Enter, "); }));
    QCOMPARE(RunJs(w, QStringLiteral("clicks")).toInt(), 1);
    QCOMPARE(RunJs(w, QStringLiteral("document.getElementById('b').innerText")).toString(), QString::fromUtf8("확인"));
}

// The program itself: it starts on a file, writes its working folder, and a termination
// request (Ctrl+C, kill) closes the window so the folder's files are deleted; also while
// the file it started on shows its failure in a dialog.
void AppTest::programCleansUpOnTerminate() {
    for (const QString& file : {kBframes, kCorpus + QStringLiteral("flv_ffmpeg.flv")}) {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            env.insert(QString::fromLatin1(name), home.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TESSALY_EXE), {file});
        QVERIFY(program.waitForStarted());
        const QDir corvel(home.path() + QStringLiteral("/Documents/Corvel"));
        QVERIFY(WaitUntil([&] { return corvel.entryList({QStringLiteral("temp*.html")}, QDir::Files).size() == 1; }));
        QVERIFY(corvel.entryList({QStringLiteral("SubFolder*")}, QDir::Dirs).size() == 1);
        QTest::qWait(1000);  // the file is open, or its dialog up
        program.terminate();
        QVERIFY2(program.waitForFinished(20000), qPrintable(file));
        QVERIFY(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0);
        QVERIFY(corvel.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        QSettings saved(home.path() + QStringLiteral("/Orvanel.conf"), QSettings::IniFormat);
        QVERIFY(ParseSizeValue(saved.value(QStringLiteral("Size")).toString()).has_value());
    }
}

// The tree is a view of the boxes: a row for each box of the file, found by its
// identity; the tree widens to its names, up to a third of the window, and scrolls
// sideways to nested ones.
void AppTest::treeShowsEveryBoxAndFitsItsNames() {
    CCorvel_UIDlg& w = NewWindow();
    QCOMPARE(w.Tree()->width(), 220);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a recording whose name is longer than a third of the window, "
                                                     "as some cameras name them.mp4"));
    QVERIFY(QFile::copy(kCorpus + QStringLiteral("kitchen_sink.mp4"), path));
    QVERIFY(w.OpenFile(path));
    CompareWithCorvelTree(w, path);
    const int third = w.Client()->width() / 3;
    QVERIFY2(w.Tree()->width() > 220 && w.Tree()->width() <= third, qPrintable(QString::number(w.Tree()->width())));
    QCOMPARE(w.HtmlView()->x(), w.Tree()->width() + 10);
    w.Tree()->expandAll();
    QVERIFY(WaitUntil([&] { return w.Tree()->horizontalScrollBar()->maximum() > 0; }));

    // The deepest box, chosen by its identity, opens its parents and shows its page.
    const CBox* deepest = nullptr;
    int depth = 0;
    std::function<void(const CBox&, int)> walk = [&](const CBox& box, int d) {
        if (d > depth) depth = d, deepest = &box;
        for (const auto& child : box.m_children) walk(*child, d + 1);
    };
    for (const auto& top : m_lib.Parser()->TopLevel()) walk(*top, 1);
    QVERIFY(deepest && depth >= 5);
    w.Tree()->collapseAll();
    const QModelIndex row = w.TreeModel()->IndexOf(deepest->m_id);
    QCOMPARE(BoxOf(row), deepest);
    int up = 0;
    for (QModelIndex at = row; at.isValid() && at != FileRow(w); at = at.parent()) ++up;
    QCOMPARE(up, depth);
    SelectAndWait(w, row);
    w.Tree()->scrollTo(row);
    QVERIFY(w.Tree()->isExpanded(row.parent()));
    QVERIFY(w.Tree()->visualRect(row).isValid());
    QVERIFY(!w.TreeModel()->IndexOf(0).isValid() && !w.TreeModel()->IndexOf(1u << 30).isValid());
}

// The About box's caption on its button is Hangul: a font for it is installed (the
// package recommends one, scripts/setup installs it), so it shows as text, not boxes.
void AppTest::aboutBoxCaptionHasAFont() {
    CCorvel_UIDlg& w = NewWindow();
    WithModal<CAboutDlg>([&] { w.OnAbout(); }, [](CAboutDlg* about) {
        QCOMPARE(about->OkButton()->text(), QString::fromUtf8("확인"));
        const QRawFont font = QRawFont::fromFont(about->OkButton()->font(), QFontDatabase::Korean);
        QVERIFY2(font.isValid() && font.supportsCharacter(QChar(0xD655)) && font.supportsCharacter(QChar(0xC778)),
                 qPrintable(font.familyName()));
    });
}

namespace {
const QString kVideoKey = QStringLiteral("0123456789abcdef0123456789abcdef:00112233445566778899aabbccddeeff");

// The first video sample as the engine finds it, and the dump of its bytes.
std::pair<SampleRecord, QString> FirstSample(const QString& path) {
    CCorvelLib lib;
    lib.Init(QFile::encodeName(path).toStdString());
    lib.Go();
    const SampleRecord r = FindSample(SampleContext(*lib.Parser()), 1, 0).value().record;
    const std::vector<uint8_t> bytes = ReadSampleBytes(*lib.Parser(), r);
    return {r, QString::fromStdString(FormatHexDump(bytes.data(), bytes.size())).replace("\r\n", "\n")};
}

// Types keys into File > Keys... and presses OK; the faults the dialog then tells.
QString EnterKeys(CCorvel_UIDlg& w, const QString& text) {
    QString faults;
    QAction* item = w.menuBar()->actions().at(0)->menu()->actions().at(3);
    WithModal<CKeysDlg>([&] { item->trigger(); }, [&](CKeysDlg* keys) {
        keys->Edit()->setPlainText(text);
        keys->Buttons()->button(QDialogButtonBox::Ok)->click();
        faults = keys->Faults()->isVisible() ? keys->Faults()->text() : QString();
    });
    return faults;
}

// What the pane shows once the page's "..." button asks for a sample's bytes.
QString DumpOf(CCorvel_UIDlg& w, uint64_t offset, uint64_t size) {
    if (w.Tree()->currentIndex() != FindItem(w, "moof")) SelectAndWait(w, FindItem(w, "moof"));
    WaitPageReady(w);
    w.DumpPane()->clear();
    RunJs(w, QStringLiteral("fncOnClick(%1, %2); 0;").arg(size).arg(offset));
    WaitUntil([&] { return !w.DumpPane()->toPlainText().isEmpty(); });
    return w.DumpPane()->toPlainText();
}
}  // namespace

// A protected video sample's dump shows its bytes, then with its key those of the clear
// source's sample, also in the file cut into an init and a segment; keys are never saved.
void AppTest::keysDecryptProtectedSampleDumps() {
    const QString enc = kCorpus + QStringLiteral("enc_cbcs_frag.mp4");
    const auto [sample, encrypted] = FirstSample(enc);
    const QString decrypted = encrypted + QStringLiteral("\nDecrypted (KID %1):\n").arg(kVideoKey.left(32)) +
                              FirstSample(kCorpus + QStringLiteral("enc_source_frag.mp4")).second;
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(w.OpenFile(enc));
    QCOMPARE(DumpOf(w, sample.offset, sample.size), encrypted);
    QVERIFY(EnterKeys(w, QStringLiteral("\n0123:4567\n") + kVideoKey).startsWith(QStringLiteral("Line 2: ")));
    QCOMPARE(EnterKeys(w, QStringLiteral("  ") + kVideoKey + QStringLiteral("\n\n")), QString());
    QCOMPARE(DumpOf(w, sample.offset, sample.size), decrypted);

    QTemporaryDir dir;
    const qint64 moof = qint64(BoxOf(FindItem(w, QStringLiteral("moof")))->m_startOffset);
    WriteFile(dir.filePath(QStringLiteral("init.mp4")), FileBytes(enc, 0, moof));
    WriteFile(dir.filePath(QStringLiteral("seg.m4s")), FileBytes(enc, moof, 1 << 30));
    QVERIFY(w.OpenSegment(dir.filePath(QStringLiteral("init.mp4")), dir.filePath(QStringLiteral("seg.m4s"))));
    QCOMPARE(DumpOf(w, sample.offset - uint64_t(moof), sample.size), decrypted);

    QVERIFY(w.OpenFile(enc));
    QCOMPARE(EnterKeys(w, QString(32, 'f') + kVideoKey.mid(32)), QString());
    QVERIFY(DumpOf(w, sample.offset, sample.size) == encrypted + "\nNot decrypted: no key for its KID\n");
    const QSettings settings(USER_SETTINGS);  // holds the recent files
    QVERIFY(!settings.allKeys().isEmpty() && !FileBytes(settings.fileName(), 0, 1 << 20).contains("00112233445566"));
}

// A media segment opened with its init: the fragment's samples as `corvel samples --init`
// lists them; the check gets the init too; a reload keeps the pair, a file opened alone drops it.
void AppTest::segmentOpensWithItsInit() {
    const QString init = kCorpus + "dash_video_init.m4s", seg = kCorpus + "dash_video_seg1.m4s";
    CCorvel_UIDlg& w = NewWindow();
    QVERIFY(w.OpenSegment(init, seg));
    w.OnReload();
    QCOMPARE(w.windowTitle(), QStringLiteral("dash_video_seg1.m4s with dash_video_init.m4s - Tessaly"));
    QCOMPARE(w.Checker()->Arguments(), (QStringList{"check", "--json", "--init", init, "--", seg}));
    SelectAndWait(w, FindItem(w, QStringLiteral("mdat")));
    QVERIFY(WaitPageReady(w));
    Choose(w, "LIST_PAGE", 0, 1);
    QVERIFY(WaitFrame(w, QStringLiteral("BUTTON")));
    QProcess corvel;  // duration, size and offset of each sample, as the sub page's columns 1, 2 and 5
    corvel.start(QStringLiteral(CORVEL_EXE), {QStringLiteral("samples"), seg, QStringLiteral("--init"), init});
    corvel.waitForFinished(30000);
    QString expected = QString::fromUtf8(corvel.readAllStandardOutput()).section('\n', 1);
    expected.replace(QRegularExpression("^(?:[^,]*,){4}((?:[^,]*,){2}[^,]*),.*$", QRegularExpression::MultilineOption),
                     "\\1");
    const QString rows = QStringLiteral("Array.from(%1.querySelectorAll('tr')).slice(2).map(function (r) {"
                                        " return [1, 2, 5].map(function (c) { return parseInt(r.cells[c].textContent);"
                                        " }) + '\\n'; })");
    QCOMPARE(RunJs(w, rows.arg(kFrameDoc) + ".join('')").toString(), expected);
    QVERIFY(w.OpenFile(seg) && w.InitPath().isEmpty());
}
