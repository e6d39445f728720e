#include "app/corvel_ui_dlg.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTreeView>

#include "app/about_dlg.h"
#include "app/box_tree_model.h"
#include "app/check_runner.h"
#include "app/dump_pane.h"
#include "app/findings_page.h"
#include "report/file_info.h"
#include "report/page_html.h"
#include "app/hex_dump.h"
#include "app/keys_dlg.h"
#include "app/open_button.h"
#include "app/recent_files.h"
#include "app/size_setting.h"
#include "app/splitter_wnd.h"
#include "boxes/containers/corvel.h"
#include "boxes/containers/media_data_box.h"
#include "flv/flv_tag.h"
#include "report/box_page.h"
#include "report/flv_tag_page.h"
#include "report/page_html.h"
#include "report/sub_pages.h"
#include "samples/fragment_samples.h"
#include "samples/sample_context.h"
#include "samples/sample_lookup.h"
#include "samples/track_samples.h"

const QString kMakerName = QStringLiteral("Orvanel");

namespace {
constexpr int kSplitterId = 1003;

std::string Local8(const QString& path) { return QFile::encodeName(path).toStdString(); }

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// The window's client size when nothing was saved: 719 x 415 dialog units of a 9-point font.
QSize DefaultClientSize(const QFont& base) {
    QFont font = base;
    font.setPointSize(9);
    const QFontMetrics fm(font);
    const int unitX =
        (fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    const int unitY = fm.height();
    return {719 * unitX / 4, 415 * unitY / 8};
}
}  // namespace

CCorvel_UIDlg::CCorvel_UIDlg(CCorvelLib& lib, QWidget* parent) : QMainWindow(parent), m_lib(lib) {
    m_folder = MakeWorkFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), TickCount());
    PrepareWorkFolder(m_folder);
    m_iconPath = ImageFolder() + QStringLiteral("/icon_right.png");
    m_logoPath = ImageFolder() + QStringLiteral("/kesto_logo.png");

    setWindowTitle(QStringLiteral("Tessaly"));
    setWindowIcon(QIcon(m_logoPath));
    CreateMenus();

    m_client = new QWidget(this);
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    m_openButton = new COpenButton(ImageFolder() + QStringLiteral("/btn_open.png"), m_client);
    connect(m_openButton, &QAbstractButton::clicked, this, &CCorvel_UIDlg::OnFileOpen);
    m_status = new QLabel(m_client);

    CreateTree();
    m_dump = new CDumpPane(m_client);

    // The welcome page is in the page file before the view first shows it.
    WriteWelcomePage(m_folder.pagePath, m_logoPath, kMakerName);
    m_view = new CHtmlViewCtrl(m_folder.pagePath, this, m_client);

    m_splitter = new CxSplitterWnd(m_client, kSplitterId);
    m_checker = new CCheckRunner(this);
    connect(m_checker, &CCheckRunner::checked, this, &CCorvel_UIDlg::OnChecked);

    FirstLayout();
    setAcceptDrops(true);
    m_status->setText(QStringLiteral("Please open the file."));
    m_splitter->SetNeighbours({m_tree}, {m_view});
    m_layoutDone = true;
}

CCorvel_UIDlg::~CCorvel_UIDlg() {
    delete m_checker;  // ends a check still going
    m_checker = nullptr;
    WriteSavedSize({m_client->width(), m_client->height(), m_tree->width()});
    m_tree->selectionModel()->blockSignals(true);
    ClearTree();  // no row outlives the boxes
    m_lib.Uninit();
    m_splitter->Detach();
    delete m_view;
    m_view = nullptr;
    RemoveWorkFolder(m_folder);
}

void CCorvel_UIDlg::CreateTree() {
    m_tree = new QTreeView(m_client);
    m_model = new CBoxTreeModel(m_tree);
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);  // no row is measured but those shown
    // The column is as wide as the names shown: a nested box's name scrolls into view
    // rather than being cut short.
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_tree->setRootIsDecorated(true);                                  // buttons and lines at the root as well
    QStyle* lines = QStyleFactory::create(QStringLiteral("Windows"));  // draws the branch lines
    if (lines) {
        lines->setParent(m_tree);
        m_tree->setStyle(lines);
    }
    QPalette palette = m_tree->palette();  // the selection stays shown without focus
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    m_tree->setPalette(palette);
    m_tree->setAcceptDrops(false);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { OnSelectionChanged(current); });
}

void CCorvel_UIDlg::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File (&F)"));
    file->addAction(QStringLiteral("Open (&O)"), QKeySequence::Open, this, &CCorvel_UIDlg::OnFileOpen);
    m_recentMenu = file->addMenu(QStringLiteral("Open Recent (&R)"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &CCorvel_UIDlg::FillRecentMenu);
    FillRecentMenu();
    file->addAction(QStringLiteral("Open Segment with Init... (&I)"), this, &CCorvel_UIDlg::OnOpenSegment);
    file->addAction(QStringLiteral("Keys... (&K)"), this, &CCorvel_UIDlg::OnKeys);
    file->addAction(QStringLiteral("Reload (&L)"), QKeySequence(Qt::Key_F5), this, &CCorvel_UIDlg::OnReload);
    file->addAction(QStringLiteral("Close (&X)"), this, &QWidget::close);
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help (&H)"));
    help->addAction(QStringLiteral("About (&A)"), this, &CCorvel_UIDlg::OnAbout);
    statusBar();  // where a clicked field's bytes are told
}

void CCorvel_UIDlg::FirstLayout() {
    int w = 0, h = 0, tw = kDefaultTreeWidth;
    if (const auto saved = ReadSavedSize()) {
        w = saved->width;
        h = saved->height;
        tw = saved->treeWidth;
    } else {
        const QSize size = DefaultClientSize(font());
        w = size.width();
        h = size.height();
    }
    m_client->resize(w, h);
    resize(w, h + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

    m_tree->setGeometry(5, 30, tw, h - 35);
    m_splitter->setGeometry(tw + 5, 30, 5, h - 35);
    m_view->setGeometry(tw + 10, 30, std::max(0, w - tw - 450), h - 35);
    m_dump->setGeometry(w - 435, 30, 430, h - 35);
    m_openButton->setGeometry(5, 3, 25, 25);
    m_status->setGeometry(35, 7, 500, 20);
}

void CCorvel_UIDlg::Relayout() {
    const int w = m_client->width();
    const int h = m_client->height();
    const int tw = m_tree->width();
    const int dw = m_dump->width();
    m_tree->setGeometry(5, 30, tw, h - 35);
    m_splitter->setGeometry(tw + 5, 30, 5, h - 35);
    m_dump->setGeometry(w - dw - 5, 30, 430, h - 35);
    m_view->setGeometry(tw + 10, 30, std::max(0, w - tw - 450), h - 35);
}

bool CCorvel_UIDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize && m_layoutDone) Relayout();
    return QMainWindow::eventFilter(watched, event);
}

void CCorvel_UIDlg::FillRecentMenu() {
    m_recentMenu->clear();
    for (const QString& path : RecentFiles())
        m_recentMenu->addAction(path, this, [this, path] { OpenFile(path); });
    m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

void CCorvel_UIDlg::OnFileOpen() {
    const QString path =
        QFileDialog::getOpenFileName(this, QString(), LastOpenFolder(), QString::fromLatin1(kOpenFilter));
    if (path.isEmpty()) return;
    RememberOpenFolder(QFileInfo(path).absolutePath());
    OpenFile(path);
}

void CCorvel_UIDlg::OnOpenSegment() {
    const QString filter = QString::fromLatin1(kOpenFilter);
    const QString init =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open the Init Segment"), LastOpenFolder(), filter);
    if (init.isEmpty()) return;
    RememberOpenFolder(QFileInfo(init).absolutePath());
    const QString segment = QFileDialog::getOpenFileName(this, QStringLiteral("Open the Media Segment"),
                                                         QFileInfo(init).absolutePath(), filter);
    if (segment.isEmpty()) return;
    OpenSegment(init, segment);
}

void CCorvel_UIDlg::OnReload() {
    if (!m_openPath.isEmpty()) Open(m_openPath, m_initPath);
}

void CCorvel_UIDlg::OnKeys() {
    CKeysDlg keys(m_keyText, this);
    if (keys.exec() != QDialog::Accepted) return;
    m_keyText = keys.Text();
    m_keys = keys.Keys();
}

void CCorvel_UIDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CCorvel_UIDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

// Several files dropped at once: the last one is opened.
void CCorvel_UIDlg::dropEvent(QDropEvent* event) {
    QString last;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) last = url.toLocalFile();
    if (last.isEmpty()) return;
    event->acceptProposedAction();
    OpenFile(last);
}

bool CCorvel_UIDlg::OpenFile(const QString& path) { return Open(path, QString()); }

bool CCorvel_UIDlg::OpenSegment(const QString& init, const QString& segment) { return Open(segment, init); }

// By value: a reload passes the paths held now, which this empties.
bool CCorvel_UIDlg::Open(QString path, QString init) {
    // The tree and the file's facts go before the boxes they point at.
    ClearTree();
    m_lib.Uninit();
    m_initLib.reset();
    m_initPath.clear();
    statusBar()->clearMessage();  // the bytes of a field of the file before
    m_checker->Cancel();
    m_findings.clear();
    m_findingBoxes.clear();
    m_findingsReady = false;
    m_tracks.reset();
    m_trackBoxes.clear();
    if (!init.isEmpty()) {
        auto lib = std::make_unique<CCorvelLib>();
        if (lib->Init(Local8(init)) < 0) {
            OpenFailed(init, QStringLiteral("The init segment could not be opened."), lib->LastError());
            return false;
        }
        lib->Go();  // what it holds up to a fault serves, as for corvel --init
        m_initLib = std::move(lib);
    }
    if (m_lib.Init(Local8(path)) < 0) {
        m_initLib.reset();
        OpenFailed(path, QStringLiteral("The file could not be opened."), m_lib.LastError());
        return false;
    }
    m_openPath = path;
    m_initPath = init;
    setWindowTitle(init.isEmpty() ? QFileInfo(path).fileName() + QStringLiteral(" - Tessaly")
                                  : QStringLiteral("%1 with %2 - Tessaly")
                                        .arg(QFileInfo(path).fileName(), QFileInfo(init).fileName()));
    RememberRecentFile(path);
    FillRecentMenu();  // a submenu that is disabled never asks to be filled
    m_status->setText(QStringLiteral("Parsing..."));
    FillTree(path);
    return true;
}

void CCorvel_UIDlg::OpenFailed(const QString& path, const QString& what, int error) {
    std::fputs(" Initialize failed.. \n", stdout);
    std::fflush(stdout);
    m_model->Reset(QFileInfo(path).fileName(), nullptr);
    m_tree->setCurrentIndex(m_model->FileIndex());
    m_openPath.clear();
    setWindowTitle(QStringLiteral("Tessaly"));
    m_status->setText(QStringLiteral("Please open the file."));
    ShowMessage(QStringLiteral("%1\n%2\n%3").arg(what, path, QString::fromLocal8Bit(std::strerror(error))));
}

// The tree and the file's facts go before the boxes they point at.
void CCorvel_UIDlg::ClearTree() {
    m_model->Clear();
    m_samples.reset();
}

void CCorvel_UIDlg::FillTree(const QString& path) {
    WaitCursor wait;
    ClearTree();
    const bool parsed = m_lib.Go() >= 0;
    m_model->Reset(QFileInfo(path).fileName(), m_lib.Parser());
    const QModelIndex file = m_model->FileIndex();
    m_tree->expand(file);
    m_tree->setCurrentIndex(file);
    FitTreeWidth();
    m_status->setText(OutcomeText(parsed));
    // The tree shows first; the findings come when the check is done, also while the
    // failure is told.
    if (m_lib.Parser() && !m_lib.Parser()->NotMediaHeader()) m_checker->Start(path, m_initPath);
    if (!parsed) ShowMessage(QStringLiteral("Did not perform as expected."));
}

const SampleContext* CCorvel_UIDlg::Samples() const {
    if (!m_samples && m_lib.Parser())
        m_samples = std::make_unique<SampleContext>(*m_lib.Parser(), m_initLib ? m_initLib->Parser() : nullptr);
    return m_samples.get();
}

QString CCorvel_UIDlg::OutcomeText(bool parsed) const {
    if (parsed) return QStringLiteral("Completed.");
    const CCorvel* parser = m_lib.Parser();
    if (!parser || parser->NotMediaHeader()) return QStringLiteral("Not an ISO base media file.");
    if (const CBox* cut = parser->FirstTruncated()) {
        const std::string code = FourCCText(cut->m_type);
        return QStringLiteral("Incomplete: the file ends inside the %1 box at %2 (%3 of %4 bytes present).")
            .arg(QString::fromLatin1(code.data(), qsizetype(code.size())))
            .arg(cut->m_startOffset)
            .arg(cut->PresentSize())
            .arg(cut->DeclaredSize());
    }
    return QStringLiteral("Stopped at a box that could not be read: the boxes before it are shown.");
}

void CCorvel_UIDlg::FitTreeWidth() {
    const int wanted = static_cast<QAbstractItemView*>(m_tree)->sizeHintForColumn(0) + 2 * m_tree->frameWidth() +
                       (m_tree->verticalScrollBar()->isVisible() ? m_tree->verticalScrollBar()->width() : 0);
    const int width = std::max(m_tree->width(), std::min(wanted, m_client->width() / 3));
    if (width == m_tree->width()) return;
    m_tree->resize(width, m_tree->height());
    Relayout();
}

void CCorvel_UIDlg::OnSelectionChanged(const QModelIndex& index) {
    statusBar()->clearMessage();  // the bytes of a field of the page before
    m_rootShown = false;
    if (!index.isValid()) return;
    WaitCursor wait;
    const CBox* box = CBoxTreeModel::BoxAt(index);
    if (!box) {
        m_rootShown = true;
        ShowWelcome();
        m_dump->Clear();
        return;
    }
    const CBox* parentBox = CBoxTreeModel::BoxAt(index.parent());
    // The page is made from the box read again with its spans: a row click then finds its bytes.
    QModelIndex top = index;
    while (CBoxTreeModel::BoxAt(top.parent())) top = top.parent();
    m_shownSpans = SpanMap();
    m_shown = m_lib.Parser()->Reparse(*CBoxTreeModel::BoxAt(top), m_shownSpans);
    const CBox* shown = m_shown ? FindBox(*m_shown, box->m_id) : nullptr;
    m_shownPage = BuildBoxPage(shown ? *shown : *box,
                               {parentBox, m_lib.Parser(), Samples(), shown ? &m_shownSpans : nullptr});
    {
        ReportPage page(Local8(m_folder.pagePath), Local8(m_iconPath), Local8(m_folder.subPageFolder));
        RenderPage(page, m_shownPage);
    }
    m_shownPage.box = nullptr;
    m_subPages.clear();  // the page emptied the sub-page folder
    m_view->Navigate(m_folder.pagePath);
    if (box->m_type == FourCC("mdat"))
        m_dump->Clear();
    else
        ShowDump(box->m_startOffset, box->BoxSize());
}

void CCorvel_UIDlg::ShowWelcome() {
    if (!m_tracks && !m_openPath.isEmpty() && m_lib.Parser()) {
        const FileInfo info = ReadFileInfo(*m_lib.Parser());
        m_tracks = TracksTable(info);
        for (const TrackInfo& t : info.tracks) m_trackBoxes.push_back(t.boxId);
    }
    QByteArray after;
    if (m_findingsReady) after = QByteArray::fromStdString(FindingsHtml(m_findings, Local8(m_iconPath)));
    if (m_tracks && !m_trackBoxes.empty())
        after += QByteArray::fromStdString(TableHtml(*m_tracks, Local8(m_iconPath), std::string(), nullptr));
    WriteWelcomePage(m_folder.pagePath, m_logoPath, kMakerName, after);
    m_view->Navigate(m_folder.pagePath);
}

void CCorvel_UIDlg::OnChecked(const std::vector<Finding>& findings) {
    if (m_openPath.isEmpty()) return;
    m_findings = findings;
    m_findingBoxes = m_lib.Parser() ? FindingBoxes(*m_lib.Parser(), m_findings) : std::vector<uint32_t>();
    m_findingsReady = true;
    m_model->SetFindings(m_findings, m_findingBoxes);
    if (m_rootShown) ShowWelcome();
}

void CCorvel_UIDlg::ShowFinding(size_t k) {
    if (k >= m_findings.size() || k >= kMaxFindingRows) return;
    const Finding f = m_findings[k];
    const QModelIndex item = m_model->IndexOf(k < m_findingBoxes.size() ? m_findingBoxes[k] : 0);
    if (item.isValid()) {
        m_tree->setCurrentIndex(item);
        m_tree->scrollTo(item);
    }
    const Span span = Span::Bytes(f.offset, f.length);
    if (span.Empty() || !m_dump->Highlight(m_lib, span)) return;
    statusBar()->showMessage(CDumpPane::Describe(span));
}

void CCorvel_UIDlg::ShowTrack(size_t k) {
    if (!m_tracks || k >= m_trackBoxes.size()) return;
    const QModelIndex item = m_model->IndexOf(m_trackBoxes[k]);
    if (item.isValid()) {
        m_tree->setCurrentIndex(item);
        m_tree->scrollTo(item);
    }
}

void CCorvel_UIDlg::ShowDump(int64_t offset, uint64_t count) { m_dump->Show(m_lib, offset, count); }

// Byte count and offset as decimal text; anything else (a sign, letters, a missing
// field, an offset beyond 64-bit signed) is ignored.
void CCorvel_UIDlg::OnDumpCommand(const QStringList& countAndOffset) {
    if (countAndOffset.size() < 2) return;
    const auto count = ParseDecimal(countAndOffset[0].toStdString());
    const auto offset = ParseDecimal(countAndOffset[1].toStdString());
    if (!count || !offset || *offset > uint64_t(INT64_MAX)) return;
    m_dump->Show(m_lib, static_cast<int64_t>(*offset), *count, DecryptedDump(*offset, *count));
}

std::string CCorvel_UIDlg::DecryptedDump(uint64_t offset, uint64_t size) const {
    const SampleContext* samples = m_keys.Empty() ? nullptr : Samples();
    if (!samples || !samples->HasProtection()) return {};
    const std::optional<FoundSample> found = FindSampleAt(*samples, offset, size);
    if (!found || !found->encryption || !found->encryption->isProtected) return {};
    std::vector<uint8_t> bytes;
    const std::string why = ReadDecrypted(*m_lib.Parser(), found->record, *found->encryption, m_keys, bytes);
    if (!why.empty()) return "\r\nNot decrypted: " + why + "\r\n";
    const std::string text = "\r\nDecrypted (KID " + HexText(found->encryption->kid.data(), 16) + "):\r\n";
    return text + FormatHexDump(bytes.data(), std::min<size_t>(bytes.size(), kMaxDumpBytes));
}

void CCorvel_UIDlg::OnPageCommand(int command, const PageRequest& request) {
    CCorvel* parser = m_lib.Parser();
    if (!parser || request.index < 0 || !IsSubPagePath(m_folder, request.value)) return;
    CBox* box = parser->FindBox(request.box);
    if (!box) return;
    ReportPage page(Local8(m_folder.pagePath), Local8(m_iconPath), Local8(m_folder.subPageFolder));
    const std::string path = Local8(request.value);
    const auto k = static_cast<uint32_t>(request.index);
    switch (command) {
        case kCmdTrackSamples:
            if (box->m_type == FourCC("stbl")) WriteTrackSamplesSubPage(page, *box, path, k, Samples());
            break;
        case kCmdFragmentSamples:
            if (box->m_type == FourCC("traf"))
                WriteFragmentSamplesSubPage(page, *box, path, k, parser->FindBox(request.moofBox),
                                            parser->FindBox(request.mdatBox), Samples());
            break;
        case kCmdEntries:
            WriteEntriesSubPage(page, *box, path, k);
            break;
        case kCmdFlvTag:
            if (auto* mdat = dynamic_cast<const CMediaDataBox*>(box)) WriteFlvTagSubPage(page, *mdat, path, k);
            break;
        case kCmdTableRows: {
            const std::vector<size_t> paged = PagedTables(PageOf(request.box, {}));
            if (request.nid >= paged.size()) return;
            WriteTableRowsSubPage(page, PageOf(request.box, {RowWindow::SubPage, paged[request.nid], k}),
                                  paged[request.nid], path);
            m_subPages[request.value] = {command, request.box, 0, 0, k, paged[request.nid]};
            statusBar()->clearMessage();
            return;
        }
        default:
            return;
    }
    m_subPages[request.value] = {command, request.box, request.moofBox, request.mdatBox, k};
    statusBar()->clearMessage();  // the bytes of a field of the sub page before
}

PageModel CCorvel_UIDlg::PageOf(uint32_t id, const RowWindow& window) const {
    CBox* parent = nullptr;
    const CBox* box = m_lib.Parser() ? m_lib.Parser()->FindBox(id, parent) : nullptr;
    if (!box) return {};
    const CBox* shown = m_shown ? FindBox(*m_shown, id) : nullptr;
    PageContext context{parent, m_lib.Parser(), Samples(), shown ? &m_shownSpans : nullptr};
    context.window = window;
    return BuildBoxPage(shown ? *shown : *box, context);
}

QStringList CCorvel_UIDlg::FlvTagDump(const PageRequest& request) {
    CCorvel* parser = m_lib.Parser();
    auto* mdat = parser ? dynamic_cast<const CMediaDataBox*>(parser->FindBox(request.box)) : nullptr;
    const CFLVTag* tag = mdat && request.index >= 0 ? mdat->GetTag(size_t(request.index)) : nullptr;
    if (!tag) return {};
    // The size stored after the tag covers its header and data.
    return {QString::number(mdat->GetPrevTagSize(size_t(request.index))), QString::number(tag->m_startOffset)};
}

void CCorvel_UIDlg::OnRowClicked(const QString& subPage, int table, int row) {
    // The root page's report tables: the findings once they are known, then the tracks.
    if (m_rootShown && subPage.isEmpty()) {
        const int tracksTable = m_findingsReady ? 1 : 0;
        if (row < 2) return;
        if (m_findingsReady && table == 0) ShowFinding(size_t(row) - 2);
        else if (table == tracksTable) ShowTrack(size_t(row) - 2);
        return;
    }
    const Span span = subPage.isEmpty() ? PageRowSpan(table, row) : SubPageRowSpan(subPage, table, row);
    if (span.Empty() || !m_dump->Highlight(m_lib, span)) return;
    statusBar()->showMessage(CDumpPane::Describe(span));
}

namespace {
// A key/value row follows its table's title row; a list row, the title and the headers.
Span RowSpan(const ReportTable& t, int row) {
    if (t.kind == TableKind::KeyValue && row >= 1 && size_t(row) <= t.rows.size()) return t.rows[size_t(row) - 1].span;
    if (t.kind == TableKind::List && row >= 2 && size_t(row) - 2 < t.listRows.size()) return t.listRows[size_t(row) - 2].span;
    return {};
}

// The rows of a page's tables; those of a paged table are not on the page, so a click
// there names none of them.
Span RowSpan(const PageModel& page, int table, int row) {
    if (table < 0 || size_t(table) >= page.tables.size() || page.tables[size_t(table)].Paged()) return {};
    return RowSpan(page.tables[size_t(table)], row);
}
}  // namespace

Span CCorvel_UIDlg::PageRowSpan(int table, int row) const { return RowSpan(m_shownPage, table, row); }

// A list sub page's rows follow its title and header rows: row r is entry or sample
// 200k + r - 2. An FLV tag page is key/value tables, made again from the mdat page's copy.
Span CCorvel_UIDlg::SubPageRowSpan(const QString& path, int table, int row) const {
    auto it = m_subPages.find(path);
    CCorvel* parser = m_lib.Parser();
    if (it == m_subPages.end() || !parser) return {};
    const SubPage& sub = it->second;
    if (sub.command == kCmdFlvTag) {
        auto* shown = m_shown ? dynamic_cast<const CMediaDataBox*>(FindBox(*m_shown, sub.box)) : nullptr;
        if (!shown) return {};
        const PageModel tag = BuildFlvTagPage(*shown, sub.k, &m_shownSpans);
        return table >= 0 && size_t(table) < tag.tables.size() ? RowSpan(tag.tables[size_t(table)], row) : Span{};
    }
    // A table's sub page holds that table alone.
    if (sub.command == kCmdTableRows) {
        const PageModel rows = PageOf(sub.box, {RowWindow::SubPage, sub.table, sub.k});
        return table == 0 && sub.table < rows.tables.size() ? RowSpan(rows.tables[sub.table], row) : Span{};
    }
    if (row < 2) return {};
    const uint64_t index = uint64_t(sub.k) * kRowsPerSubPage + uint64_t(row) - 2;
    const CBox* box = parser->FindBox(sub.box);
    if (!box) return {};
    switch (sub.command) {
        case kCmdEntries: {
            // Its fields' spans: those of the box page's copy.
            const CBox* shown = m_shown ? FindBox(*m_shown, sub.box) : nullptr;
            return shown ? EntrySpan(*shown, index, m_shownSpans) : Span{};
        }
        case kCmdTrackSamples: {
            const TrackSamples samples(*box, uint64_t(parser->FileSize()));
            if (index >= samples.Count()) return {};
            const SampleRecord r = samples.At(index);
            return Span::Bytes(r.offset, r.size);
        }
        case kCmdFragmentSamples: {
            const FragmentSamples samples(*box, parser->FindBox(sub.moof), parser->FindBox(sub.mdat), Samples());
            if (samples.From(index).Done()) return {};
            const SampleRecord r = samples.At(index);
            return Span::Bytes(r.offset, r.size);
        }
        default:
            return {};
    }
}

void CCorvel_UIDlg::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tessaly"), text, QMessageBox::Ok, this);
    box.exec();
}
