#include "boxes/box.h"

#include <algorithm>
#include <cstdio>

#include "base/log.h"
#include "boxes/box_arena.h"

BoxList::~BoxList() = default;

void BoxList::push_back(Item item) {
    if (m_count == m_capacity) {
        // Most containers hold a few children: one allocation for them, not one per doubling.
        const uint32_t capacity = m_capacity ? m_capacity * 2 : 4;
        auto items = std::make_unique<Item[]>(capacity);
        std::move(m_items.get(), m_items.get() + m_count, items.get());
        m_items = std::move(items);
        m_capacity = capacity;
    }
    m_items[m_count++] = std::move(item);
}

void BoxList::shrink_to_fit() {
    if (m_count == m_capacity) return;
    auto items = m_count ? std::make_unique<Item[]>(m_count) : nullptr;
    std::move(m_items.get(), m_items.get() + m_count, items.get());
    m_items = std::move(items);
    m_capacity = m_count;
}

CBox::CBox(const CBox& header) : m_startOffset(header.m_startOffset), m_size(header.m_size), m_type(header.m_type) {
    if (header.m_size == 1 && header.LargeSize()) SetLargeSize(header.LargeSize());
    if (header.m_rare && header.m_type == FourCC("uuid")) std::copy_n(header.m_rare->userType, 16, MakeRare().userType);
}

CBox::~CBox() = default;

void* CBox::operator new(size_t bytes) { return BoxArena::AllocateBox(bytes); }

void CBox::operator delete(void* p) noexcept { BoxArena::FreeBox(p); }

CBox::Rare& CBox::MakeRare() {
    if (!m_rare) m_rare = std::make_unique<Rare>();
    return *m_rare;
}

void CBox::SetLargeSize(uint64_t size) {
    if (size || m_rare) MakeRare().largeSize = size;
}

const uint8_t* CBox::UserType() const {
    static const uint8_t kNone[16] = {};
    return m_rare ? m_rare->userType : kNone;
}

void CBox::SetUserType(const uint8_t (&userType)[16]) { std::copy_n(userType, 16, MakeRare().userType); }

void CBox::SetUnreadBytes(uint64_t bytes) {
    if (bytes || m_rare) MakeRare().unreadBytes = bytes;
}

void CBox::SetSizes(uint64_t declared, uint64_t present) {
    // Nearly every box is all there as its header says: nothing to keep.
    if (!m_rare && declared == BoxSize() && present == declared) return;
    Rare& rare = MakeRare();
    rare.declaredSize = declared;
    rare.presentSize = present;
    rare.sizesKept = true;
}

int CBox::ParseBox(CBitStreamReader& reader) {
    CORVEL_LOG("[CBox::ParseBox] start_offset: %lld", static_cast<long long>(m_startOffset));
    if (reader.ReadBits(32, m_size) < 0) return -1;
    if (reader.ReadBits(32, m_type) < 0) return -1;
    CORVEL_LOG(" [CBox::ParseBox] Box Type - %s", FourCCText(m_type).c_str());
    if (m_size == 1) {
        uint64_t large = 0;
        if (reader.Read64(large) < 0) return -1;
        SetLargeSize(large);
        CORVEL_LOG(" [CBox::ParseBox] Box Size - %llu", static_cast<unsigned long long>(large));
    } else if (m_size == 0) {
        CORVEL_LOG("[CBox::ParseBox] - box_size - 0,,,,  ");
    } else {
        CORVEL_LOG(" [CBox::ParseBox] Box Size - %u", m_size);
    }
    if (m_type == FourCC("uuid")) {
        uint8_t userType[16];
        if (reader.Peek16Bytes(userType) < 0) return -1;
        reader.SkipBits(128);
        SetUserType(userType);
        if (corvel_log::g_enabled) {
            std::string text;
            char byte[8];
            for (uint8_t b : userType) {
                std::snprintf(byte, sizeof byte, text.empty() ? "0x%02x" : " 0x%02x", b);
                text += byte;
            }
            corvel_log::Write(" [CBox::ParseBox] user_type - %s", text.c_str());
        }
    }
    return 0;
}

CBox* CBox::RetrieveChildBox(uint32_t key, bool byType) const {
    if (!byType) return GetChild(key);
    for (const auto& child : m_children) {
        if (child && child->m_type == key) {
            CORVEL_LOG("[CBox::RetrieveChildBox] box_type : %s ", FourCCText(key).c_str());
            return child.get();
        }
    }
    return nullptr;
}

void CBox::AddChildBox(std::unique_ptr<CBox> child) {
    if (child) m_children.push_back(std::move(child));
}

int CFullBox::ParseBox(CBitStreamReader& reader) {
    int status = reader.ReadBits(8, m_version);
    if (status == 0) status = reader.ReadBits(24, m_flags);
    return status;
}

uint64_t PeekBoxSize(const CBitStreamReader& reader) {
    uint32_t size = 0;
    if (reader.PeekBits(32, size) < 0) return 0;
    if (size != 1) return size;
    uint8_t bytes[16];
    if (reader.Peek16Bytes(bytes) < 0) return 0;
    uint64_t large = 0;
    for (int i = 8; i < 16; ++i) large = (large << 8) | bytes[i];
    return large;
}

uint32_t PeekBoxType(const CBitStreamReader& reader) {
    uint64_t v = 0;
    if (reader.Peek64(v) < 0) return 0;
    return static_cast<uint32_t>(v & 0xFFFFFFFFu);
}

int ReadVersionedValue(CBitStreamReader& reader, uint32_t version, uint64_t& out) {
    return reader.ReadBits(version == 1 ? 64 : 32, out);
}

const CBox* FindBox(const CBox& root, uint32_t id) {
    std::vector<const CBox*> pending{&root};
    while (!pending.empty()) {
        const CBox* box = pending.back();
        pending.pop_back();
        if (box->m_id == id) return box;
        for (const auto& child : box->m_children)
            if (child) pending.push_back(child.get());
    }
    return nullptr;
}

CBox* FindNumberedBox(BoxRun boxes, uint32_t id, CBox** parent) {
    CBox* above = nullptr;
    while (id != 0 && !boxes.empty()) {
        // The last sibling numbered at or before `id`: the box itself or its ancestor.
        auto it = std::upper_bound(boxes.begin(), boxes.end(), id,
                                   [](uint32_t key, const std::unique_ptr<CBox>& box) { return key < box->m_id; });
        if (it == boxes.begin()) break;
        CBox* box = std::prev(it)->get();
        if (box->m_id == id) {
            if (parent) *parent = above;
            return box;
        }
        above = box;
        boxes = BoxRun(box->m_children.begin(), box->m_children.size());
    }
    if (parent) *parent = nullptr;
    return nullptr;
}
