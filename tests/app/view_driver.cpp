#include "view_driver.h"

#include <memory>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include "app/box_tree_model.h"
#include <QWebEnginePage>

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (deadline.hasExpired()) return done();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

QVariant RunJs(CCorvel_UIDlg& w, const QString& script) {
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    w.HtmlView()->page()->runJavaScript(script, [result](const QVariant& v) { *result = {true, v}; });
    WaitUntil([&] { return result->first; });
    return result->second;
}

bool WaitPageReady(CCorvel_UIDlg& w) {
    const bool ready = WaitUntil([&] { return RunJs(w, QStringLiteral("document.readyState")).toString() == "complete"; });
    QTest::qWait(100);
    return ready;
}

bool WaitFrame(CCorvel_UIDlg& w, const QString& selector) {
    const bool ready = WaitUntil([&] {
        return RunJs(w, QStringLiteral("!!%1 && %1.readyState === 'complete' && !!%1.querySelector('%2')")
                            .arg(kFrameDoc, selector))
            .toBool();
    });
    QTest::qWait(100);
    return ready;
}

void ClickCell(CCorvel_UIDlg& w, const QString& document, const QString& text) {
    RunJs(w, QStringLiteral("Array.from(%1.querySelectorAll('td')).find(function (td) {"
                            " return td.textContent === '%2'; }).click(); 0;")
                 .arg(document, text));
}

void Choose(CCorvel_UIDlg& w, const char* id, int nth, int option) {
    RunJs(w, QStringLiteral("var s = document.querySelectorAll('[id=%1]')[%2]; s.selectedIndex = %3;"
                            "s.dispatchEvent(new Event('change', {bubbles: true})); 0;")
                 .arg(QLatin1String(id))
                 .arg(nth)
                 .arg(option));
}

QModelIndex FindItem(CCorvel_UIDlg& w, const QString& path, int nth) {
    const QAbstractItemModel& model = *w.TreeModel();
    QModelIndex item = w.TreeModel()->FileIndex();
    const QStringList codes = path.split(QLatin1Char('/'));
    for (int c = 0; c < codes.size() && item.isValid(); ++c) {
        QModelIndex next;
        int skip = c + 1 == codes.size() ? nth : 0;
        for (int i = 0; i < model.rowCount(item) && !next.isValid(); ++i)
            if (model.index(i, 0, item).data().toString() == codes[c] && skip-- == 0) next = model.index(i, 0, item);
        item = next;
    }
    return item;
}
