#include "app/dump_pane.h"

#include <algorithm>

#include <QLocale>
#include <QTextBlock>

#include "app/hex_dump.h"
#include "boxes/containers/corvel.h"

namespace {
// A dump line: 16 "XX " groups, "; ", 16 characters (the last line padded alike).
constexpr int kHexColumns = 16 * 3, kCharColumn = kHexColumns + 2;
// How much of the file a dump around a field shows before it.
constexpr uint64_t kContextBefore = 256;
}  // namespace

CDumpPane::CDumpPane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setAcceptDrops(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(10);  // a 12-pixel cell: 16 bytes and their characters fit the pane
    setFont(font);
    QPalette white = palette();
    white.setColor(QPalette::Base, Qt::white);
    setPalette(white);
}

void CDumpPane::Show(const CCorvelLib& lib, int64_t offset, uint64_t count, const std::string& after) {
    // Only while a file is open: a request queued before a failed open finds nothing.
    m_offset = offset;
    m_bytes = 0;
    SetText(lib.Parser() ? DumpFileBytes(lib, offset, count, &m_bytes) + after : std::string());
}

void CDumpPane::Clear() {
    m_offset = 0;
    m_bytes = 0;
    clear();
}

void CDumpPane::SetText(const std::string& text) {
    QString pane = QString::fromLatin1(text.data(), qsizetype(text.size()));
    pane.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(pane);
}

bool CDumpPane::Highlight(const CCorvelLib& lib, const Span& span) {
    const uint64_t first = span.Offset();
    const uint64_t shownEnd = uint64_t(m_offset) + m_bytes;
    if (first < uint64_t(m_offset) || first >= shownEnd)
        Show(lib, int64_t(first - std::min(first, kContextBefore)), kMaxDumpBytes);
    const uint64_t from = std::max<uint64_t>(first, uint64_t(m_offset));
    const uint64_t to = std::min<uint64_t>(first + span.Length(), uint64_t(m_offset) + m_bytes);
    QList<QTextEdit::ExtraSelection> lit;
    QTextCharFormat format;
    format.setBackground(QColor(255, 224, 102));
    for (uint64_t b = from; b < to;) {
        // One line at a time: the hexadecimal pairs, then the characters.
        const uint64_t i = b - uint64_t(m_offset);
        const int line = int(i / 16), column = int(i % 16);
        const int n = int(std::min<uint64_t>(16 - column, to - b));
        const int start = document()->findBlockByNumber(line).position();
        for (auto [at, length] : {std::pair{3 * column, 3 * n - 1}, std::pair{kCharColumn + column, n}}) {
            QTextEdit::ExtraSelection s;
            s.format = format;
            s.cursor = QTextCursor(document());
            s.cursor.setPosition(start + at);
            s.cursor.setPosition(start + at + length, QTextCursor::KeepAnchor);
            lit.append(s);
        }
        b += n;
    }
    setExtraSelections(lit);
    if (lit.isEmpty()) return false;
    QTextCursor caret = lit.front().cursor;
    caret.clearSelection();
    setTextCursor(caret);
    ensureCursorVisible();
    return true;
}

QString CDumpPane::Describe(const Span& span) {
    const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    const uint64_t first = span.Offset(), length = span.Length();
    QString text = QStringLiteral("bytes %1-%2 (%3)")
                       .arg(grouped.toString(qulonglong(first)), grouped.toString(qulonglong(first + length - 1)),
                            grouped.toString(qulonglong(length)));
    if (span.Packed())
        text += QStringLiteral(", %1 bits from bit %2").arg(span.bits).arg(span.bit % 8);
    return text;
}
