#pragma once
// Driving the real window as a user would, for the desktop tests and the screenshots.
#include <functional>

#include <QString>
#include <QVariant>

#include "app/corvel_ui_dlg.h"

#include <QModelIndex>

// Runs the event loop until `done` holds or the time is up (woken at least every 20 ms).
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000);
// Runs a script in the page of the view and returns its value.
QVariant RunJs(CCorvel_UIDlg& w, const QString& script);
// True once the page is loaded; the view's event script is in place a moment after.
bool WaitPageReady(CCorvel_UIDlg& w);
// The document of the sub page in the box page's frame, as a script expression.
inline const QString kFrameDoc = QStringLiteral("document.getElementById('iframe_sub_page').contentDocument");
// True once the frame's sub page is loaded and holds `selector`; waits a moment more
// for its event script.
bool WaitFrame(CCorvel_UIDlg& w, const QString& selector);
// Clicks the first table cell of a document (a script expression) whose text is `text`.
void ClickCell(CCorvel_UIDlg& w, const QString& document, const QString& text);
// Chooses an option of the nth select with an id, as the user's choice would.
void Choose(CCorvel_UIDlg& w, const char* id, int nth, int option);
// The row at a path of four-character codes under the file's row ("moov/trak/tkhd");
// the last code's nth match. Invalid when there is none.
QModelIndex FindItem(CCorvel_UIDlg& w, const QString& path, int nth = 0);
