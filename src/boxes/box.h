#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/fourcc.h"
#include "reader/bit_stream_reader.h"

// The base of every box. A box object is made in two steps: a temporary CBox
// reads the header, then the real class is created as a header copy and its
// ParseBox reads what follows the header.
class CBox {
public:
    CBox() = default;
    // Header copy: the header fields only; the new box has no children.
    CBox(const CBox& header);
    CBox& operator=(const CBox&) = delete;
    virtual ~CBox();
    // Reads the header (size, type, largesize, user type).
    virtual int ParseBox(CBitStreamReader& reader);

    // The box's size in bytes: the large size when the size field is 1.
    uint64_t BoxSize() const { return m_size == 1 ? m_largeSize : m_size; }
    std::string TypeText() const { return FourCCText(m_type); }

    size_t GetChildCount() const { return m_children.size(); }
    CBox* GetChild(size_t index) const { return index < m_children.size() ? m_children[index].get() : nullptr; }
    // byType false: key is an index; true: key is a four-CC, the first match.
    CBox* RetrieveChildBox(uint32_t key, bool byType) const;
    void AddChildBox(std::unique_ptr<CBox> child);

    int64_t m_startOffset = 0;
    uint32_t m_size = 0;
    uint64_t m_largeSize = 0;
    uint32_t m_type = 0;
    uint8_t m_userType[16] = {};
    std::vector<std::unique_ptr<CBox>> m_children;
    uint32_t m_id = 0;  // identity within the parse run (tree order, from 1); 0 = not numbered
    // Payload bytes the box's parse left unread (the next box starts at its declared end anyway).
    uint64_t m_unreadBytes = 0;
    // The box's size (a size field of 0: to the end of its container) and how many of
    // those bytes the file holds; set once the whole file is walked.
    uint64_t m_declaredSize = 0;
    uint64_t m_presentSize = 0;
    // The box's declared end lies past the end of the file.
    bool IsTruncated() const { return m_presentSize < m_declaredSize; }
};

// A box with version (8 bits) and flags (24 bits).
class CFullBox : public CBox {
public:
    CFullBox() = default;
    explicit CFullBox(const CBox& header) : CBox(header) {}
    // Reads version and flags.
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_version = 0;
    uint32_t m_flags = 0;
    // False for a box of a full-box type written without them (the QuickTime meta):
    // its page then shows no version and flags.
    bool m_hasVersionAndFlags = true;
};

// Size of the next box without consuming: 0 when 0 or unreadable; the largesize when 1.
uint64_t PeekBoxSize(const CBitStreamReader& reader);
// The type of the next box without consuming; 0 when fewer than 8 bytes remain.
uint32_t PeekBoxType(const CBitStreamReader& reader);
// The box of the subtree whose identity is `id`; null when there is none.
const CBox* FindBox(const CBox& root, uint32_t id);
// Reads a version-1 64-bit value, else a 32-bit one zero-extended.
int ReadVersionedValue(CBitStreamReader& reader, uint32_t version, uint64_t& out);
