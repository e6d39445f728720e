#pragma once
#include <cstdint>
#include <string>

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWebEngineView>

#include "report/page_protocol.h"

class QWebChannel;
class QWebEngineProfile;


// What a sub-page selector asks for: the sub-page file to write, the boxes named by
// the select's attributes (identity numbers, 0 when absent) and the page number.
struct PageRequest {
    QString value;
    uint32_t box = 0;
    uint32_t moofBox = 0;
    uint32_t mdatBox = 0;
    int32_t index = 0;  // the chosen option's index less one
    uint32_t nid = 0;   // the select's place among the page's selects of its id
};

// The window that carries out the commands; calls are synchronous, so a sub page
// exists when OnPageCommand returns.
class CPageCommandTarget {
public:
    virtual ~CPageCommandTarget() = default;
    virtual void OnPageCommand(int command, const PageRequest& request) = 0;
    virtual void OnDumpCommand(const QStringList& countAndOffset) = 0;
    // The dump request of the FLV tag a 3005 request named (its stored size and its start
    // offset, decimal), sent after the tag's page; empty when the box holds no such tag.
    virtual QStringList FlvTagDump(const PageRequest& request) = 0;
    // A click on row `row` (from 0, the title row included) of report table `table`
    // (from 0) of the page, or of the sub page at the path `subPage` when it is not empty.
    virtual void OnRowClicked(const QString& subPage, int table, int row) = 0;
};

// The embedded browser view. The page files are shown exactly as written; a script
// injected into a world of its own watches clicks (and select changes) on the
// elements the pages raise events on (report/page_protocol.h) and reports their
// attributes over a web channel.
class CHtmlViewCtrl : public QWebEngineView {
    Q_OBJECT
public:
    CHtmlViewCtrl(const QString& pagePath, CPageCommandTarget* target, QWidget* parent);
    ~CHtmlViewCtrl() override;

    void Navigate(const QString& path);
    // Loads a sub page into the frame "iframe_sub_page" of the current page.
    void LoadIntoFrame(const QString& path);
    // One event from the page: the watched element's id, the event type and attributes.
    void OnPageEvent(const QVariantMap& event);
    void OnRowClicked(const QString& subPage, int table, int row);

signals:
    // After a command was handed to the host (box 0 and value "count|offset" for a dump).
    void commandSent(int command, quint32 box, const QString& value);
    // After a row click was handed to the host.
    void rowClicked(const QString& subPage, int table, int row);

private:
    void OnSelector(int command, const QVariantMap& event);

    QString m_pagePath;
    CPageCommandTarget* m_target;
    QWebEngineProfile* m_profile;
    QWebChannel* m_channel;
    QString m_frameShown;  // the sub page last loaded into the frame of the current page
};
