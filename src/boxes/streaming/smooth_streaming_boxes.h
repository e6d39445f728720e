#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"
#include "boxes/child_loop.h"

// The Smooth Streaming uuid boxes of a track fragment: tfxd tells the fragment's
// absolute time and duration, tfrf the times of fragments that follow it. Bytes after
// their fields are read as child boxes.

class CTfxdBox : public CFullBox {
public:
    explicit CTfxdBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // 64 bits each in version 1, else 32.
    uint64_t m_fragmentAbsoluteTime = 0;
    uint64_t m_fragmentDuration = 0;
};

class CTfrfBox : public CFullBox {
public:
    struct Fragment {
        uint64_t absoluteTime = 0;  // 64 bits each in version 1, else 32
        uint64_t duration = 0;
    };
    explicit CTfrfBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_fragmentCount = 0;  // 8 bits
    std::vector<Fragment> m_fragments;
};

// A uuid child of a track fragment (or of a tfxd or tfrf): tfxd, tfrf and PIFF's sample
// encryption box by their user types, any other a plain box whose payload is read through.
ChildMade UserExtensionChild(const CBox& header);
