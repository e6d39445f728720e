#include "app/box_tree_model.h"

#include <algorithm>

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QStyle>

#include "boxes/containers/corvel.h"
#include "boxes/containers/media_data_box.h"

namespace {
// The file's row has no box: its index holds no pointer.
const CBox* Box(const QModelIndex& index) { return static_cast<const CBox*>(index.internalPointer()); }

// A tooltip tells this many findings of a box; the root page lists more.
constexpr size_t kTipFindings = 10;
}  // namespace

CBoxTreeModel::CBoxTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void CBoxTreeModel::Reset(const QString& fileName, const CCorvel* parser) {
    beginResetModel();
    m_fileName = fileName;
    m_hasFile = !fileName.isEmpty();
    m_parser = m_hasFile ? parser : nullptr;
    m_marks.clear();
    endResetModel();
}

void CBoxTreeModel::SetFindings(const std::vector<Finding>& findings, const std::vector<uint32_t>& boxes) {
    std::vector<uint32_t> changed;
    for (size_t i = 0; i < findings.size() && i < boxes.size(); ++i) {
        const Finding& f = findings[i];
        if (f.severity == Severity::Info || !boxes[i]) continue;
        Marks& marks = m_marks[boxes[i]];
        if (marks.lines == 0) changed.push_back(boxes[i]);
        if (f.severity < marks.worst || marks.lines == 0) marks.worst = f.severity;
        if (marks.lines++ == kTipFindings) marks.text += QStringLiteral("\n...");
        if (marks.lines > kTipFindings) continue;
        if (!marks.text.isEmpty()) marks.text += QLatin1Char('\n');
        marks.text += QStringLiteral("%1: %2 [%3]")
                          .arg(QLatin1String(SeverityText(f.severity)), QString::fromStdString(f.message),
                               QString::fromStdString(f.rule));
    }
    for (uint32_t id : changed) {
        const QModelIndex row = IndexOf(id);
        if (row.isValid()) emit dataChanged(row, row, {Qt::DecorationRole, Qt::ToolTipRole});
    }
}

BoxRun CBoxTreeModel::TopLevel() const { return m_parser ? m_parser->TopLevel() : BoxRun(); }

QModelIndex CBoxTreeModel::FileIndex() const { return m_hasFile ? createIndex(0, 0, nullptr) : QModelIndex(); }

const CBox* CBoxTreeModel::BoxAt(const QModelIndex& index) { return index.isValid() ? Box(index) : nullptr; }

int CBoxTreeModel::RowIn(BoxRun siblings, const CBox& box) {
    // Siblings are numbered in file order: a binary search by identity.
    auto it = std::lower_bound(siblings.begin(), siblings.end(), box.m_id,
                               [](const std::unique_ptr<CBox>& b, uint32_t id) { return b->m_id < id; });
    return it != siblings.end() && it->get() == &box ? int(it - siblings.begin()) : -1;
}

QModelIndex CBoxTreeModel::IndexOfBox(const CBox& box, const CBox* parent) const {
    const int row = RowIn(parent ? BoxRun(parent->m_children.begin(), parent->m_children.size()) : TopLevel(), box);
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<CBox*>(&box));
}

QModelIndex CBoxTreeModel::IndexOf(uint32_t id) const {
    CBox* parent = nullptr;
    const CBox* box = m_parser ? m_parser->FindBox(id, parent) : nullptr;
    return box ? IndexOfBox(*box, parent) : QModelIndex();
}

QModelIndex CBoxTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0) return {};
    if (!parent.isValid()) return row == 0 ? FileIndex() : QModelIndex();
    const CBox* box = Box(parent);
    const BoxRun children = box ? BoxRun(box->m_children.begin(), box->m_children.size()) : TopLevel();
    return size_t(row) < children.size() ? createIndex(row, 0, children[size_t(row)].get()) : QModelIndex();
}

QModelIndex CBoxTreeModel::parent(const QModelIndex& child) const {
    const CBox* box = BoxAt(child);
    if (!box || !m_parser) return {};
    CBox* parent = nullptr;
    if (!m_parser->FindBox(box->m_id, parent) || !parent) return FileIndex();
    CBox* grandparent = nullptr;
    m_parser->FindBox(parent->m_id, grandparent);
    return IndexOfBox(*parent, grandparent);
}

int CBoxTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_hasFile ? 1 : 0;
    const CBox* box = Box(parent);
    // A QTreeView counts rows in int: more top-level boxes than that are not shown.
    return int(std::min<size_t>(box ? box->GetChildCount() : TopLevel().size(), INT32_MAX));
}

int CBoxTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool CBoxTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant CBoxTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const CBox* box = Box(index);
    switch (role) {
        case Qt::DisplayRole: {
            if (!box) return m_fileName;
            // Apple's codes (©nam) read as Mac Roman, as corvel prints them.
            const std::string code = FourCCUtf8(box->m_type);
            return QString::fromUtf8(code.data(), qsizetype(code.size()));
        }
        case Qt::FontRole:
            if (!box) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        // The file ends inside this box, or an F4F mdat ends in a tag it does not hold
        // whole: red, and the tooltip says so.
        case Qt::ForegroundRole:
            return box && !BoxNotes(*box).empty() ? QVariant(QColor(200, 0, 0)) : QVariant();
        case Qt::DecorationRole: {
            const auto it = box ? m_marks.find(box->m_id) : m_marks.end();
            if (it == m_marks.end()) return {};
            return QApplication::style()->standardIcon(it->second.worst == Severity::Error
                                                           ? QStyle::SP_MessageBoxCritical
                                                           : QStyle::SP_MessageBoxWarning);
        }
        // The notes of a cut box, then what the check found in it.
        case Qt::ToolTipRole: {
            if (!box) return {};
            QString tip = QString::fromStdString(BoxNotes(*box));
            const auto it = m_marks.find(box->m_id);
            if (it != m_marks.end()) tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + it->second.text;
            return tip.isEmpty() ? QVariant() : QVariant(tip);
        }
        default:
            return {};
    }
}
