#pragma once
#include <QObject>
#include <memory>

#include "app/corvel_ui_dlg.h"
#include "boxes/core/corvel.h"

// The sample lists of the mdat page in the real view: an option writes its sub page
// into the frame, a sample's "..." button dumps that sample's bytes.
class SamplePagesAppTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void trackListPagesAndDumps();
    void fragmentListPagesAndDumps();

private:
    CCorvelLib m_lib;
    std::unique_ptr<CCorvel_UIDlg> m_window;
};
