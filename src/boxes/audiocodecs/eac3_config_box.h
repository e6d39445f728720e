#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// dec3: an E-AC-3 stream's data rate and its independent substreams, each with the
// dependent substreams that go with it.
class CEAC3ConfigBox : public CBox {
public:
    struct Substream {
        uint32_t fscod = 0;        // 2
        uint32_t bsid = 0;         // 5
        uint32_t reserved1 = 0;    // 1
        uint32_t asvc = 0;         // 1
        uint32_t bsmod = 0;        // 3
        uint32_t acmod = 0;        // 3
        uint32_t lfeon = 0;        // 1
        uint32_t reserved2 = 0;    // 3
        uint32_t numDepSub = 0;    // 4
        uint32_t chanLoc = 0;      // 9 with dependent substreams, else a reserved bit
    };
    explicit CEAC3ConfigBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_dataRate = 0;   // 13, kbit/s
    uint32_t m_numIndSub = 0;  // 3: one less than the independent substreams
    std::vector<Substream> m_substreams;
};
