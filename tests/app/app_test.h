#pragma once
#include <memory>

#include <QObject>
#include <QString>

#include "app/corvel_ui_dlg.h"
#include "boxes/core/corvel.h"

class AppTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void dumpFormat();
    void workFolderAndWelcomePage();
    void openFillsTreeLikeCorvelTree();
    void selectionShowsPageAndDump();
    void pageEventsReachHost();
    void realBoxPage();
    void badRequestsAreIgnored();
    void failedOpenAndFailedParse();
    void dropOpensLastFile();
    void settingsRoundTrip();
    void splitterDrag();
    void aboutBox();
    void returnIsSwallowed();
    void programCleansUpOnTerminate();

private:
    CCorvel_UIDlg& NewWindow();

    CCorvelLib m_lib;
    std::unique_ptr<CCorvel_UIDlg> m_window;
};
