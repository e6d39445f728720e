#pragma once
#include <cstdint>
#include <vector>

// The picture size a sequence parameter set gives, after its cropping.
struct PictureSize {
    uint32_t width = 0, height = 0;
};

// Read from an SPS NAL unit (its header first): H.264 (type 7) or HEVC (type 33). False
// when the bytes end first or hold a value no encoder writes.
bool ReadAvcPictureSize(const std::vector<uint8_t>& nal, PictureSize& size);
bool ReadHevcPictureSize(const std::vector<uint8_t>& nal, PictureSize& size);
