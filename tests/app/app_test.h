#pragma once
#include <memory>

#include <QObject>

#include "app/corvel_ui_dlg.h"
#include "boxes/containers/corvel.h"

class AppTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void dumpFormatAndNumbers();
    void workFolderAndWelcomePage();
    void openFillsTreeFromDialogAndDrop();
    void selectionShowsPageAndDump();
    void subPagesLoadAndDump();
    void rowClickLightsItsBytes();
    void findingsOnRootPageLeadToTheirBytes();
    void findingsMarkTreeItems();
    void findingsShownAreBounded();
    void checkerThatFailsOrHangsLeavesTheWindow();
    void badInputIsIgnored();
    void layoutSettingsAndSplitter();
    void returnIsSwallowed();
    void programCleansUpOnTerminate();
    void treeShowsEveryBoxAndFitsItsNames();
    void aboutBoxCaptionHasAFont();
    void keysDecryptProtectedSampleDumps();
    void segmentOpensWithItsInit();

private:
    CCorvel_UIDlg& NewWindow();

    CCorvelLib m_lib;
    std::unique_ptr<CCorvel_UIDlg> m_window;
};
