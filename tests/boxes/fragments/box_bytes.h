#pragma once
// Builds box bytes for the fragment tests.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "boxes/core/box.h"

namespace fragtest {

struct Bytes {
    std::vector<uint8_t> data;
    Bytes& U8(uint32_t v) {
        data.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Bytes& U32(uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) data.push_back(static_cast<uint8_t>(v >> s));
        return *this;
    }
    Bytes& U64(uint64_t v) { return U32(static_cast<uint32_t>(v >> 32)).U32(static_cast<uint32_t>(v)); }
    Bytes& Append(const std::vector<uint8_t>& more) {
        data.insert(data.end(), more.begin(), more.end());
        return *this;
    }
    Bytes& FullHeader(uint32_t version, uint32_t flags) { return U32((version << 24) | (flags & 0xFFFFFF)); }
};

// A whole box: size, type, then the payload.
inline std::vector<uint8_t> Box(const char (&type)[5], const std::vector<uint8_t>& payload) {
    Bytes b;
    b.U32(static_cast<uint32_t>(payload.size() + 8)).U32(FourCC(type)).Append(payload);
    return b.data;
}

// Reads the header of `bytes` and parses them as a T; returns the ParseBox status.
template <class T>
int Parse(const std::vector<uint8_t>& bytes, T*& out, std::unique_ptr<CBox>& owner, int64_t startOffset = 0) {
    CBitStreamReader r(bytes.data(), bytes.size() * 8);
    CBox header;
    header.m_startOffset = startOffset;
    header.ParseBox(r);
    auto box = std::make_unique<T>(header);
    int status = box->ParseBox(r);
    out = box.get();
    owner = std::move(box);
    return status;
}

}  // namespace fragtest
