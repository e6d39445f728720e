#include "view_driver.h"

#include <memory>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
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

QTreeWidgetItem* FindItem(QTreeWidget* tree, const QString& path, int nth) {
    QTreeWidgetItem* item = tree->topLevelItem(0);
    const QStringList codes = path.split(QLatin1Char('/'));
    for (int c = 0; c < codes.size(); ++c) {
        QTreeWidgetItem* next = nullptr;
        int skip = c + 1 == codes.size() ? nth : 0;
        for (int i = 0; item && i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == codes[c] && skip-- == 0) next = item->child(i);
        item = next;
    }
    return item;
}
