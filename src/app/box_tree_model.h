#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <QAbstractItemModel>
#include <QString>

#include "boxes/box.h"
#include "check/finding.h"

class CCorvel;

// The open file's boxes as the tree view shows them: one row for the file, under it the
// top-level boxes, under each box its children. The view asks for the rows it shows
// and the model answers from the parse run's boxes (an index holds the box it names),
// so a file of a million boxes costs the view nothing per box it never shows.
class CBoxTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit CBoxTreeModel(QObject* parent = nullptr);

    // The file's row named `fileName` with the top-level boxes of `parser` under it (none
    // when null). The boxes must outlive the model's use of them: Clear before they go.
    void Reset(const QString& fileName, const CCorvel* parser);
    // No rows at all.
    void Clear() { Reset(QString(), nullptr); }

    // The file's row, or an invalid index when there is none.
    QModelIndex FileIndex() const;
    // The box of a row; null for the file's row.
    static const CBox* BoxAt(const QModelIndex& index);
    // The row of the box of identity `id` (an invalid index when no box has it).
    QModelIndex IndexOf(uint32_t id) const;
    // The check's errors and warnings mark their boxes (`boxes`: the identity of each
    // finding's box): an icon, and the messages after the tooltip's notes. Reset drops them.
    void SetFindings(const std::vector<Finding>& findings, const std::vector<uint32_t>& boxes);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // The row of a box among its siblings (those of the run `siblings`).
    static int RowIn(BoxRun siblings, const CBox& box);
    QModelIndex IndexOfBox(const CBox& box, const CBox* parent) const;
    BoxRun TopLevel() const;

    // What the check says of a box: its worst severity and its findings' lines.
    struct Marks {
        Severity worst = Severity::Info;
        QString text;
        size_t lines = 0;
    };
    std::unordered_map<uint32_t, Marks> m_marks;
    QString m_fileName;
    bool m_hasFile = false;
    const CCorvel* m_parser = nullptr;
};
