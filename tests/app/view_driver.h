#pragma once
// Driving the real window as a user would, for the desktop tests and the screenshots.
#include <functional>

#include <QString>
#include <QVariant>

#include "app/corvel_ui_dlg.h"

class QTreeWidget;
class QTreeWidgetItem;

// Runs the event loop until `done` holds or the time is up (woken at least every 20 ms).
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000);
// Runs a script in the page of the view and returns its value.
QVariant RunJs(CCorvel_UIDlg& w, const QString& script);
// True once the page is loaded; the view's event script is in place a moment after.
bool WaitPageReady(CCorvel_UIDlg& w);
// Chooses an option of the nth select with an id, as the user's choice would.
void Choose(CCorvel_UIDlg& w, const char* id, int nth, int option);
// The item at a path of four-character codes under the root ("moov/trak/tkhd"); the
// last code's nth match.
QTreeWidgetItem* FindItem(QTreeWidget* tree, const QString& path, int nth = 0);
