#pragma once
#include <functional>

#include <QString>
#include <QVariant>

class QWebEngineView;

// Helpers shared by the desktop tests.
inline const QString kCorpus = QStringLiteral(CORPUS_DIR "/");

// Runs the event loop until `done` holds or the time is up (woken at least every 20 ms).
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000);
// Runs a script in the view's page and waits for its result.
QVariant RunJs(QWebEngineView* view, const QString& script);
