#pragma once
#include <cstdint>
#include <cstring>

#include "boxes/box.h"

// The extended types (uuid boxes) the system knows, as they stand in the file.
inline constexpr uint8_t kXmpUserType[16] = {0xBE, 0x7A, 0xCF, 0xCB, 0x97, 0xA9, 0x42, 0xE8,
                                             0x9C, 0x71, 0x99, 0x94, 0x91, 0xE3, 0xAF, 0xAC};
// Smooth Streaming, inside a track fragment.
inline constexpr uint8_t kTfxdUserType[16] = {0x6D, 0x1D, 0x9B, 0x05, 0x42, 0xD5, 0x44, 0xE6,
                                              0x80, 0xE2, 0x14, 0x1D, 0xAF, 0xF7, 0x57, 0xB2};
inline constexpr uint8_t kTfrfUserType[16] = {0xD4, 0x80, 0x7E, 0xF2, 0xCA, 0x39, 0x46, 0x95,
                                              0x8E, 0x54, 0x26, 0xCB, 0x9E, 0x46, 0xA7, 0x9F};

// A uuid box of that user type (all 16 bytes equal).
inline bool HasUserType(const CBox& box, const uint8_t (&userType)[16]) {
    return box.m_type == FourCC("uuid") && std::memcmp(box.UserType(), userType, 16) == 0;
}
