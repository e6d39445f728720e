#include "check/picture_size.h"

#include <cstddef>

namespace {
// Bits of a NAL unit's payload with the emulation prevention bytes (00 00 03) taken out.
class RbspBits {
public:
    RbspBits(const std::vector<uint8_t>& nal, size_t headerBytes) {
        for (size_t i = headerBytes, zeros = 0; i < nal.size(); ++i) {
            if (zeros >= 2 && nal[i] == 3) {
                zeros = 0;
                continue;
            }
            zeros = nal[i] == 0 ? zeros + 1 : 0;
            m_bytes.push_back(nal[i]);
        }
    }
    bool Ok() const { return m_ok; }
    uint32_t U(int bits) {
        uint32_t v = 0;
        for (int i = 0; i < bits; ++i) v = v << 1 | Bit();
        return v;
    }
    // Exp-Golomb: a value of more than 31 bits is no encoder's (and would overflow).
    uint32_t Ue() {
        int zeros = 0;
        while (m_ok && Bit() == 0)
            if (++zeros > 31) m_ok = false;
        return m_ok ? (uint32_t((1ull << zeros) - 1) + U(zeros)) : 0;
    }
    int32_t Se() {
        const uint32_t v = Ue();
        return v & 1 ? int32_t((v + 1) / 2) : -int32_t(v / 2);
    }

private:
    uint32_t Bit() {
        if (m_bit >= m_bytes.size() * 8) {
            m_ok = false;
            return 0;
        }
        const uint32_t b = (m_bytes[m_bit / 8] >> (7 - m_bit % 8)) & 1;
        ++m_bit;
        return b;
    }
    std::vector<uint8_t> m_bytes;
    size_t m_bit = 0;
    bool m_ok = true;
};

bool HasChromaFields(uint32_t profile) {
    for (uint32_t p : {100u, 110u, 122u, 244u, 44u, 83u, 86u, 118u, 128u, 138u, 139u, 134u, 135u})
        if (p == profile) return true;
    return false;
}

// The cropping window of an SPS: its flag, then the four offsets when set.
struct Window {
    uint64_t left = 0, right = 0, top = 0, bottom = 0;
};

// The size left when the window is taken off, in units of `unitX` and `unitY` samples;
// false when it takes it all.
bool Crop(uint64_t width, uint64_t height, uint64_t unitX, uint64_t unitY, const Window& w, PictureSize& size) {
    if (unitX * (w.left + w.right) >= width || unitY * (w.top + w.bottom) >= height) return false;
    size.width = uint32_t(width - unitX * (w.left + w.right));
    size.height = uint32_t(height - unitY * (w.top + w.bottom));
    return true;
}

Window ReadWindow(RbspBits& bits) {
    Window w;
    if (bits.U(1)) {
        w.left = bits.Ue();
        w.right = bits.Ue();
        w.top = bits.Ue();
        w.bottom = bits.Ue();
    }
    return w;
}

void SkipScalingList(RbspBits& bits, int size) {
    int32_t last = 8, next = 8;
    for (int j = 0; j < size && bits.Ok(); ++j) {
        if (next != 0) next = (last + bits.Se() + 256) % 256;
        last = next == 0 ? last : next;
    }
}
}  // namespace

bool ReadAvcPictureSize(const std::vector<uint8_t>& nal, PictureSize& size) {
    if (nal.empty() || (nal[0] & 0x1f) != 7) return false;
    RbspBits bits(nal, 1);
    const uint32_t profile = bits.U(8);
    bits.U(16);  // constraint flags, level
    bits.Ue();   // seq_parameter_set_id
    uint32_t chroma = 1;
    bool separatePlanes = false;
    if (HasChromaFields(profile)) {
        chroma = bits.Ue();
        if (chroma > 3) return false;
        if (chroma == 3) separatePlanes = bits.U(1);
        bits.Ue();  // bit depths
        bits.Ue();
        bits.U(1);
        if (bits.U(1))  // seq_scaling_matrix_present_flag
            for (int i = 0; i < (chroma != 3 ? 8 : 12) && bits.Ok(); ++i)
                if (bits.U(1)) SkipScalingList(bits, i < 6 ? 16 : 64);
    }
    bits.Ue();  // log2_max_frame_num_minus4
    const uint32_t pocType = bits.Ue();
    if (pocType == 0) {
        bits.Ue();
    } else if (pocType == 1) {
        bits.U(1);
        bits.Se();
        bits.Se();
        const uint32_t cycle = bits.Ue();
        if (cycle > 255) return false;
        for (uint32_t i = 0; i < cycle && bits.Ok(); ++i) bits.Se();
    }
    bits.Ue();  // max_num_ref_frames
    bits.U(1);
    const uint64_t widthMbs = uint64_t(bits.Ue()) + 1;
    const uint64_t heightUnits = uint64_t(bits.Ue()) + 1;
    const uint32_t frameMbsOnly = bits.U(1);
    if (!frameMbsOnly) bits.U(1);
    bits.U(1);  // direct_8x8_inference_flag
    const Window window = ReadWindow(bits);
    if (!bits.Ok()) return false;
    const uint32_t arrayType = separatePlanes ? 0 : chroma;
    const uint64_t cropX = arrayType == 0 ? 1 : (arrayType == 3 ? 1 : 2);
    const uint64_t cropY = (arrayType == 1 ? 2 : 1) * (2 - frameMbsOnly);
    return Crop(widthMbs * 16, (2 - frameMbsOnly) * heightUnits * 16, cropX, cropY, window, size);
}

bool ReadHevcPictureSize(const std::vector<uint8_t>& nal, PictureSize& size) {
    if (nal.size() < 2 || ((nal[0] >> 1) & 0x3f) != 33) return false;
    RbspBits bits(nal, 2);
    bits.U(4);  // sps_video_parameter_set_id
    const uint32_t subLayers = bits.U(3);
    bits.U(1);
    // profile_tier_level: the general part, then what each sub-layer says it carries.
    bits.U(32), bits.U(32), bits.U(32);
    bool profilePresent[8] = {}, levelPresent[8] = {};
    for (uint32_t i = 0; i < subLayers; ++i) {
        profilePresent[i] = bits.U(1);
        levelPresent[i] = bits.U(1);
    }
    if (subLayers > 0)
        for (uint32_t i = subLayers; i < 8; ++i) bits.U(2);
    for (uint32_t i = 0; i < subLayers; ++i) {
        if (profilePresent[i]) bits.U(32), bits.U(32), bits.U(24);
        if (levelPresent[i]) bits.U(8);
    }
    bits.Ue();  // sps_seq_parameter_set_id
    const uint32_t chroma = bits.Ue();
    if (chroma > 3) return false;
    const bool separatePlanes = chroma == 3 && bits.U(1);
    const uint64_t width = bits.Ue(), height = bits.Ue();
    const Window window = ReadWindow(bits);
    if (!bits.Ok() || width == 0 || height == 0) return false;
    const uint32_t arrayType = separatePlanes ? 0 : chroma;
    const uint64_t unitX = arrayType == 1 || arrayType == 2 ? 2 : 1;
    const uint64_t unitY = arrayType == 1 ? 2 : 1;
    return Crop(width, height, unitX, unitY, window, size);
}
