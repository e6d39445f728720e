#include "app/html_view_ctrl.h"

#include <limits>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "app/hex_dump.h"

namespace {
// Registered on the channel as "host"; the injected script calls pageEvent.
class CPageBridge : public QObject {
    Q_OBJECT
public:
    explicit CPageBridge(CHtmlViewCtrl* view) : QObject(view), m_view(view) {}
    Q_INVOKABLE void pageEvent(const QVariantMap& event) { m_view->OnPageEvent(event); }
    // A click on row `row` of report table `table`; `page` is the sub page's address, or
    // empty for the page itself.
    Q_INVOKABLE void rowClicked(const QString& page, int table, int row) {
        m_view->OnRowClicked(page.isEmpty() ? QString() : QUrl(page).toLocalFile(), table, row);
    }

private:
    CHtmlViewCtrl* m_view;
};

// In the page: finds the selector the way the host asks for it (the element at
// position "nid" among the page's elements with the clicked element's id, its selected
// option), and reports a click on a row of a report table (the tables a page opens
// with cellpadding 3) by the table's and the row's positions. In a sub page (a frame)
// a row click goes to the page, which reports it with the sub page's address.
// %1: the watched ids, %2: the attributes to report, %3: the hidden dump element,
// %4: the position attribute.
const char kWatchScript[] = R"JS(
(function () {
  document.addEventListener('keydown', function (e) {
    if (e.key === 'Enter') { e.preventDefault(); e.stopPropagation(); }
  }, true);
  function rowOf(target) {
    for (var el = target; el && el.nodeType === 1; el = el.parentNode) {
      if (el.tagName === 'BUTTON' || el.tagName === 'SELECT' || el.tagName === 'OPTION') return null;
      if (el.tagName !== 'TR') continue;
      var table = el.parentNode;
      while (table && table.tagName !== 'TABLE') table = table.parentNode;
      if (!table || table.getAttribute('cellpadding') !== '3') return null;
      var tables = document.querySelectorAll('table[cellpadding="3"]');
      return { table: Array.prototype.indexOf.call(tables, table), row: Array.prototype.indexOf.call(table.rows, el) };
    }
    return null;
  }
  if (window.top !== window) {
    document.addEventListener('click', function (e) {
      var at = rowOf(e.target);
      if (at) window.top.postMessage({ tessalyRow: at, page: location.href }, '*');
    }, true);
    return;
  }
  var watched = %1;
  new QWebChannel(qt.webChannelTransport, function (channel) {
    var host = channel.objects.host;
    function report(el, type) {
      var ev = { id: el.id, type: type };
      %2.forEach(function (name) {
        var v = el.getAttribute(name);
        if (v !== null) ev[name] = v;
      });
      if (el.id === %3) {
        ev.value = el.value;
      } else {
        var all = document.getElementsByTagName('*'), same = [];
        for (var i = 0; i < all.length; ++i) if (all[i].id === el.id) same.push(all[i]);
        var nid = Number(el.getAttribute(%4));
        var select = Number.isInteger(nid) ? same[nid] : undefined;
        if (!select || !select.options) return;
        var k = select.selectedIndex;
        if (k < 0 || !select.options[k]) return;
        ev.option = select.options[k].value;
        ev.index = k;
      }
      host.pageEvent(ev);
    }
    function onEvent(e) {
      for (var el = e.target; el && el.nodeType === 1; el = el.parentNode)
        if (watched.indexOf(el.id) >= 0) { report(el, e.type); return; }
      var at = e.type === 'click' ? rowOf(e.target) : null;
      if (at) host.rowClicked('', at.table, at.row);
    }
    document.addEventListener('click', onEvent, true);
    document.addEventListener('change', onEvent, true);
    window.addEventListener('message', function (e) {
      var d = e.data;
      if (d && d.tessalyRow) host.rowClicked(String(d.page), d.tessalyRow.table, d.tessalyRow.row);
    });
  });
})();
)JS";

QString JsString(const QString& s) {
    const QByteArray json = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString JsList(std::initializer_list<const char*> names) {
    QJsonArray list;
    for (const char* name : names) list.append(QString::fromLatin1(name));
    return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
}

QString WatchScript() {
    return QString::fromUtf8(kWatchScript)
        .arg(JsList({kTrackSamplesId, kFragmentSamplesId, kEntriesId, kFlvTagsId, kRowPagesId, kHexInputId}),
             JsList({kNidAttr, kBoxAttr, kMoofAttr, kMdatAttr}), JsString(QString::fromLatin1(kHexInputId)),
             JsString(QString::fromLatin1(kNidAttr)));
}

// An identity number from an attribute; 0 (names no box) when absent or malformed.
uint32_t BoxIdentity(const QVariant& attribute) {
    const auto n = ParseDecimal(attribute.toString().toStdString());
    return n && *n <= std::numeric_limits<uint32_t>::max() ? static_cast<uint32_t>(*n) : 0;
}

QString ReadResource(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
}  // namespace

CHtmlViewCtrl::CHtmlViewCtrl(const QString& pagePath, CPageCommandTarget* target, QWidget* parent)
    : QWebEngineView(parent), m_pagePath(pagePath), m_target(target) {
    // A profile of its own that keeps nothing on disk.
    m_profile = new QWebEngineProfile(this);
    auto* page = new QWebEnginePage(m_profile, this);
    setPage(page);
    setAcceptDrops(false);  // dropped files go to the main window
    // The pages name no character set; their text and paths are UTF-8.
    page->settings()->setDefaultTextEncoding(QStringLiteral("utf-8"));

    QWebEngineScript script;
    script.setName(QStringLiteral("tessaly-page-events"));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);  // sub pages report row clicks to the page
    script.setSourceCode(ReadResource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) +
                         WatchScript());
    page->scripts().insert(script);

    m_channel = new QWebChannel(this);
    m_channel->registerObject(QStringLiteral("host"), new CPageBridge(this));
    page->setWebChannel(m_channel, QWebEngineScript::ApplicationWorld);

    Navigate(m_pagePath);
}

CHtmlViewCtrl::~CHtmlViewCtrl() {
    // The page goes before its profile.
    delete page();
}

void CHtmlViewCtrl::Navigate(const QString& path) {
    m_frameShown.clear();
    load(QUrl::fromLocalFile(path));
}

void CHtmlViewCtrl::LoadIntoFrame(const QString& path) {
    QString slashed = path;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    m_frameShown = slashed;
    const QString url = QUrl::fromLocalFile(slashed).toString(QUrl::FullyEncoded);
    // The trailing 0 keeps the window object from being passed back.
    page()->runJavaScript(QStringLiteral("window.open(%1, 'iframe_sub_page'); 0;").arg(JsString(url)));
}

void CHtmlViewCtrl::OnPageEvent(const QVariantMap& event) {
    const QString id = event.value(QStringLiteral("id")).toString();
    if (id == QLatin1String(kHexInputId)) {
        if (event.value(QStringLiteral("type")).toString() != QLatin1String("click")) return;
        const QString value = event.value(QStringLiteral("value")).toString();
        const QStringList tokens = value.split(QLatin1Char('|'), Qt::SkipEmptyParts);
        if (tokens.size() < 2) return;
        m_target->OnDumpCommand({tokens[0], tokens[1]});
        emit commandSent(kCmdHexDump, 0, value);
    } else if (id == QLatin1String(kTrackSamplesId)) {
        OnSelector(kCmdTrackSamples, event);
    } else if (id == QLatin1String(kFragmentSamplesId)) {
        OnSelector(kCmdFragmentSamples, event);
    } else if (id == QLatin1String(kEntriesId)) {
        OnSelector(kCmdEntries, event);
    } else if (id == QLatin1String(kFlvTagsId)) {
        OnSelector(kCmdFlvTag, event);
    } else if (id == QLatin1String(kRowPagesId)) {
        OnSelector(kCmdTableRows, event);
    }
}

void CHtmlViewCtrl::OnRowClicked(const QString& subPage, int table, int row) {
    if (table < 0 || row < 0) return;
    m_target->OnRowClicked(subPage, table, row);
    emit rowClicked(subPage, table, row);
}

void CHtmlViewCtrl::OnSelector(int command, const QVariantMap& event) {
    if (!event.contains(QStringLiteral("option"))) return;
    QString path = event.value(QStringLiteral("option")).toString();
    if (path == QLatin1String("0")) return;  // the "Select" prompt
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A real mouse gives click, change, click: an option already in the frame is not loaded again.
    if (path == m_frameShown) return;
    if (QFileInfo::exists(path)) {
        LoadIntoFrame(path);
        return;
    }
    PageRequest request;
    request.value = path;
    request.box = BoxIdentity(event.value(QLatin1String(kBoxAttr)));
    if (command == kCmdFragmentSamples) {
        request.moofBox = BoxIdentity(event.value(QLatin1String(kMoofAttr)));
        request.mdatBox = BoxIdentity(event.value(QLatin1String(kMdatAttr)));
    }
    request.index = event.value(QStringLiteral("index")).toInt() - 1;
    request.nid = BoxIdentity(event.value(QLatin1String(kNidAttr)));
    m_target->OnPageCommand(command, request);
    emit commandSent(command, request.box, path);
    // A tag's page written anew also shows the tag's bytes.
    if (command == kCmdFlvTag) {
        const QStringList dump = m_target->FlvTagDump(request);
        if (dump.size() == 2) {
            m_target->OnDumpCommand(dump);
            emit commandSent(kCmdHexDump, 0, dump.join(QLatin1Char('|')));
        }
    }
    if (QFileInfo::exists(path))
        LoadIntoFrame(path);
    else
        m_frameShown = path;  // nothing was written for it: the click that follows the change asks no more
}

#include "html_view_ctrl.moc"
