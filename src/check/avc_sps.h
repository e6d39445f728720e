#pragma once
#include <cstdint>
#include <vector>

// The picture size an H.264 sequence parameter set gives, after its cropping.
struct AvcPictureSize {
    uint32_t width = 0, height = 0;
};

// Reads the size from a sequence parameter set NAL unit (its header byte first); false
// when the bytes end first or hold a value no encoder writes.
bool ReadAvcPictureSize(const std::vector<uint8_t>& nal, AvcPictureSize& size);
