#pragma once
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/fourcc.h"
#include "reader/bit_stream_reader.h"

class CBox;

// The children of a box: an array of owned boxes that grows as they are appended. A
// pointer and two 32-bit counts, so that a leaf (most boxes) costs 16 bytes and
// nothing on the heap.
class BoxList {
public:
    using Item = std::unique_ptr<CBox>;
    BoxList() = default;
    BoxList(const BoxList&) = delete;
    BoxList& operator=(const BoxList&) = delete;
    ~BoxList();

    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const Item& operator[](size_t i) const { return m_items[i]; }
    const Item* begin() const { return m_items.get(); }
    const Item* end() const { return m_items.get() + m_count; }
    std::reverse_iterator<const Item*> rbegin() const { return std::reverse_iterator<const Item*>(end()); }
    std::reverse_iterator<const Item*> rend() const { return std::reverse_iterator<const Item*>(begin()); }
    void push_back(Item item);
    // Gives back the room beyond the items held (once a container's children are read).
    void shrink_to_fit();

private:
    std::unique_ptr<Item[]> m_items;
    uint32_t m_count = 0;
    uint32_t m_capacity = 0;
};

// The base of every box. A box object is made in two steps: a temporary CBox
// reads the header, then the real class is created as a header copy and its
// ParseBox reads what follows the header.
//
// A file of a million fragments holds millions of boxes, so a box keeps only what
// nearly every box has (offset, size, type, identity, children); what few boxes have
// (a large size, a user type, unread bytes, a size that differs from the header's or
// bytes the file lacks) lives in a block of its own, made for those boxes only.
class CBox {
public:
    CBox() = default;
    // Header copy: the header fields only; the new box has no children.
    CBox(const CBox& header);
    CBox& operator=(const CBox&) = delete;
    virtual ~CBox();
    // Boxes of a kept parse run live in its arena (boxes/box_arena.h).
    static void* operator new(size_t bytes);
    static void operator delete(void* p) noexcept;
    // Reads the header (size, type, largesize, user type).
    virtual int ParseBox(CBitStreamReader& reader);

    // The box's size in bytes: the large size when the size field is 1.
    uint64_t BoxSize() const { return m_size == 1 ? LargeSize() : m_size; }
    std::string TypeText() const { return FourCCText(m_type); }

    size_t GetChildCount() const { return m_children.size(); }
    CBox* GetChild(size_t index) const { return index < m_children.size() ? m_children[index].get() : nullptr; }
    // byType false: key is an index; true: key is a four-CC, the first match.
    CBox* RetrieveChildBox(uint32_t key, bool byType) const;
    void AddChildBox(std::unique_ptr<CBox> child);

    // The 64-bit size that follows a size field of 1 (0 when there is none).
    uint64_t LargeSize() const { return m_rare ? m_rare->largeSize : 0; }
    void SetLargeSize(uint64_t size);
    // The 16 bytes of a uuid box's user type (zeros for any other box).
    const uint8_t* UserType() const;
    void SetUserType(const uint8_t (&userType)[16]);
    // Payload bytes the box's parse left unread (the next box starts at its declared end anyway).
    uint64_t UnreadBytes() const { return m_rare ? m_rare->unreadBytes : 0; }
    void SetUnreadBytes(uint64_t bytes);
    // The box's size (a size field of 0: to the end of its container) and how many of
    // those bytes the file holds; set once the whole file is walked (the header's size
    // and all of it until then).
    uint64_t DeclaredSize() const { return m_rare && m_rare->sizesKept ? m_rare->declaredSize : BoxSize(); }
    uint64_t PresentSize() const { return m_rare && m_rare->sizesKept ? m_rare->presentSize : DeclaredSize(); }
    void SetSizes(uint64_t declared, uint64_t present);
    // The box's declared end lies past the end of the file.
    bool IsTruncated() const { return PresentSize() < DeclaredSize(); }

    // The members are laid out so that the box ends in four bytes of padding, where a
    // derived class puts its first 32-bit field (a full box's version).
    int64_t m_startOffset = 0;
    BoxList m_children;

private:
    struct Rare {
        uint64_t largeSize = 0;
        uint64_t unreadBytes = 0;
        uint64_t declaredSize = 0;
        uint64_t presentSize = 0;
        bool sizesKept = false;
        uint8_t userType[16] = {};
    };
    Rare& MakeRare();
    std::unique_ptr<Rare> m_rare;

public:
    uint32_t m_size = 0;
    uint32_t m_type = 0;
    uint32_t m_id = 0;  // identity within the parse run (tree order, from 1); 0 = not numbered
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
// The box of identity `id` under a run of numbered sibling boxes (the top-level boxes),
// and the box whose child it is (null for one of the run itself). Identities grow in
// tree order, so the search follows one path down, halving each run of siblings.
using BoxRun = std::span<const std::unique_ptr<CBox>>;
CBox* FindNumberedBox(BoxRun boxes, uint32_t id, CBox** parent = nullptr);
// Reads a version-1 64-bit value, else a 32-bit one zero-extended.
int ReadVersionedValue(CBitStreamReader& reader, uint32_t version, uint64_t& out);
