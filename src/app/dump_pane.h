#pragma once
#include <cstdint>
#include <string>

#include <QPlainTextEdit>

#include "base/span.h"

class CCorvelLib;

// The read-only hexadecimal dump pane: at most kMaxDumpBytes of the file from an
// offset, and the bytes of one field lit.
class CDumpPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CDumpPane(QWidget* parent);

    // Dumps at most kMaxDumpBytes at a file offset (only while a file is open), then
    // `after` (lines ending in "\r\n", below the bytes so a lit field's lines stay put).
    void Show(const CCorvelLib& lib, int64_t offset, uint64_t count, const std::string& after = {});
    void Clear();
    // Lights the bytes of `span` that the pane shows, first dumping the bytes around it
    // when its first byte is not shown, and scrolls to them. False when none is shown.
    bool Highlight(const CCorvelLib& lib, const Span& span);
    // The bytes lit, as the status bar says them: "bytes 21,831-21,834 (4)".
    static QString Describe(const Span& span);

    int64_t ShownOffset() const { return m_offset; }
    uint64_t ShownBytes() const { return m_bytes; }

private:
    void SetText(const std::string& text);

    int64_t m_offset = 0;  // the file offset of the first byte shown
    uint64_t m_bytes = 0;  // how many bytes are shown
};
