#include "boxes/box.h"

#include <cstdio>

#include "base/log.h"

CBox::CBox(const CBox& header)
    : m_startOffset(header.m_startOffset),
      m_size(header.m_size),
      m_largeSize(header.m_size == 1 ? header.m_largeSize : 0),
      m_type(header.m_type) {
    std::copy(std::begin(header.m_userType), std::end(header.m_userType), m_userType);
}

CBox::~CBox() = default;

int CBox::ParseBox(CBitStreamReader& reader) {
    CORVEL_LOG("[CBox::ParseBox] start_offset: %lld", static_cast<long long>(m_startOffset));
    if (reader.ReadBits(32, m_size) < 0) return -1;
    if (reader.ReadBits(32, m_type) < 0) return -1;
    CORVEL_LOG(" [CBox::ParseBox] Box Type - %s", FourCCText(m_type).c_str());
    if (m_size == 1) {
        if (reader.Read64(m_largeSize) < 0) return -1;
        CORVEL_LOG(" [CBox::ParseBox] Box Size - %llu", static_cast<unsigned long long>(m_largeSize));
    } else if (m_size == 0) {
        CORVEL_LOG("[CBox::ParseBox] - box_size - 0,,,,  ");
    } else {
        CORVEL_LOG(" [CBox::ParseBox] Box Size - %u", m_size);
    }
    if (m_type == FourCC("uuid")) {
        if (reader.Peek16Bytes(m_userType) < 0) return -1;
        reader.SkipBits(128);
        if (corvel_log::g_enabled) {
            std::string text;
            char byte[8];
            for (uint8_t b : m_userType) {
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
    if (!child) return;
    // Most containers hold a few children: one allocation for them, not one per doubling.
    if (m_children.empty()) m_children.reserve(4);
    m_children.push_back(std::move(child));
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
