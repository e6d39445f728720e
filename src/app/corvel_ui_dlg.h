#pragma once
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QMainWindow>
#include <QString>

#include "app/html_view_ctrl.h"
#include "app/work_folder.h"
#include "base/span_map.h"
#include "boxes/box.h"
#include "check/finding.h"
#include "report/page_model.h"
#include "samples/sample_decryption.h"

class CBoxTreeModel;
class CCheckRunner;
class CCorvelLib;
class CDumpPane;
class COpenButton;
class CxSplitterWnd;
class QLabel;
class QMenu;
class QModelIndex;
class QTreeView;
class SampleContext;

// The maker's name: the welcome page's caption and a line of the About box.
extern const QString kMakerName;

// The main window: the box tree, the splitter, the HTML view and the dump pane under
// the open button and the status line. It owns the working folder of the run: the
// page file and the sub-page folder are created with it and deleted with it.
class CCorvel_UIDlg : public QMainWindow, public CPageCommandTarget {
    Q_OBJECT
public:
    static constexpr int kDefaultTreeWidth = 220;
    // The caption of the first filter is the program's own; its patterns add every type
    // the desktop entry opens.
    static constexpr const char* kOpenFilter =
        "Video Files(*.ismv;*.mp4;*.f4f;*.vh4;*.dat) (*.ismv *.mp4 *.f4f *.vh4 *.dat *.m4a *.m4v *.mov *.3gp *.3g2 "
        "*.m4s *.f4v);;All Files(*.*) (*)";

    explicit CCorvel_UIDlg(CCorvelLib& lib, QWidget* parent = nullptr);
    ~CCorvel_UIDlg() override;

    // Opens and parses a file, shows its tree and selects its root. The file dialog,
    // the open button, the menu and dropped files all end here. False when the file
    // cannot be opened.
    bool OpenFile(const QString& path);
    // Opens a media segment with its init segment: the segment's tree and pages, its
    // samples read with the init's track defaults and protection, as if the two were one
    // file. Opening a file alone drops the init; a reload keeps it.
    bool OpenSegment(const QString& init, const QString& segment);
    void OnFileOpen();     // the file dialog, then OpenFile
    void OnOpenSegment();  // the file dialogs for the init and the segment, then OpenSegment
    void OnReload();       // the open file (and its init) read again, as on disk now
    // The keys dialog. Its keys are for this run only: never saved anywhere.
    void OnKeys();
    void OnAbout();

    // Dumps at most 32000 bytes at a file offset into the dump pane.
    void ShowDump(int64_t offset, uint64_t count);
    void OnPageCommand(int command, const PageRequest& request) override;
    void OnDumpCommand(const QStringList& countAndOffset) override;
    QStringList FlvTagDump(const PageRequest& request) override;
    // Lights the bytes of the field or the entry of the clicked row and tells them in
    // the status bar.
    void OnRowClicked(const QString& subPage, int table, int row) override;
    // Selects the box of finding `k` of the root page and lights its bytes.
    void ShowFinding(size_t k);

    // The open file's findings, once its check is done.
    // The keys the sample dumps decrypt with.
    const KeyRing& Keys() const { return m_keys; }
    // The init segment open with the file, or empty.
    const QString& InitPath() const { return m_initPath; }

    const std::vector<Finding>& Findings() const { return m_findings; }
    // The identity of each finding's box (0 where the tree has none).
    const std::vector<uint32_t>& FindingBoxIds() const { return m_findingBoxes; }
    bool FindingsReady() const { return m_findingsReady; }

    const WorkFolder& Folder() const { return m_folder; }
    const QString& IconPath() const { return m_iconPath; }
    QWidget* Client() const { return m_client; }
    QTreeView* Tree() const { return m_tree; }
    CBoxTreeModel* TreeModel() const { return m_model; }
    CDumpPane* DumpPane() const { return m_dump; }
    CCheckRunner* Checker() const { return m_checker; }
    CHtmlViewCtrl* HtmlView() const { return m_view; }
    CxSplitterWnd* Splitter() const { return m_splitter; }
    QLabel* StatusLine() const { return m_status; }
    COpenButton* OpenButton() const { return m_openButton; }
    QMenu* RecentMenu() const { return m_recentMenu; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool Open(QString path, QString init);
    // A failed open: nothing is open any more: an empty root, the welcome page, and the reason.
    void OpenFailed(const QString& path, const QString& what, int error);
    // Below a sample's dump: its bytes decrypted, or why not, when the sample is protected
    // and keys are set; else nothing.
    std::string DecryptedDump(uint64_t offset, uint64_t size) const;
    void CreateMenus();
    void FillRecentMenu();
    void CreateTree();
    void FirstLayout();
    void Relayout();
    void FillTree(const QString& path);
    void ClearTree();
    // Widens the tree to show its rows' names, up to a third of the window.
    void FitTreeWidth();
    void OnSelectionChanged(const QModelIndex& index);
    // What the status line says once a file is read.
    QString OutcomeText(bool parsed) const;
    // The page of the box of identity `id` with the rows `window` says (made from the
    // shown copy of the box, with its spans, when there is one).
    PageModel PageOf(uint32_t id, const RowWindow& window) const;
    // The welcome page, and below it the open file's findings once they are known and its tracks.
    void ShowWelcome();
    // Selects the trak of row k of the root page's tracks and lights its bytes.
    void ShowTrack(size_t k);
    void OnChecked(const std::vector<Finding>& findings);
    void ShowMessage(const QString& text);
    Span PageRowSpan(int table, int row) const;
    Span SubPageRowSpan(const QString& path, int table, int row) const;

    CCorvelLib& m_lib;
    std::unique_ptr<CCorvelLib> m_initLib;  // the init segment open with the file
    QString m_initPath;
    KeyRing m_keys;
    QString m_keyText;  // as typed, for the dialog's next showing
    // The open file's facts for the sample pages, gathered when a page first needs them.
    const SampleContext* Samples() const;
    mutable std::unique_ptr<SampleContext> m_samples;
    // The box page shown: made from a copy of the top-level box read with its spans.
    std::unique_ptr<CBox> m_shown;
    SpanMap m_shownSpans;
    PageModel m_shownPage;
    // The sub pages written for the page shown, by path.
    struct SubPage {
        int command;
        uint32_t box, moof, mdat, k;
        size_t table = 0;  // kCmdTableRows: the paged table's position on the page
    };
    std::map<QString, SubPage> m_subPages;
    WorkFolder m_folder;
    QString m_openPath;  // the file open now, or empty
    std::vector<Finding> m_findings;
    std::vector<uint32_t> m_findingBoxes;  // the identity of each finding's box (0: none)
    bool m_findingsReady = false;
    // The root page's tracks, made when it first shows; their identities by row.
    std::optional<ReportTable> m_tracks;
    std::vector<uint32_t> m_trackBoxes;
    bool m_rootShown = false;  // the page shown is the file's row's
    QString m_iconPath;
    QString m_logoPath;
    bool m_layoutDone = false;

    QWidget* m_client = nullptr;
    COpenButton* m_openButton = nullptr;
    QMenu* m_recentMenu = nullptr;
    QLabel* m_status = nullptr;
    QTreeView* m_tree = nullptr;
    CBoxTreeModel* m_model = nullptr;
    CxSplitterWnd* m_splitter = nullptr;
    CHtmlViewCtrl* m_view = nullptr;
    CDumpPane* m_dump = nullptr;
    CCheckRunner* m_checker = nullptr;
};
