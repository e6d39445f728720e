#include "test_util.h"

#include <memory>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

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

QVariant RunJs(QWebEngineView* view, const QString& script) {
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    view->page()->runJavaScript(script, [result](const QVariant& v) { *result = {true, v}; });
    WaitUntil([&] { return result->first; });
    return result->second;
}
