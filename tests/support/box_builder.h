#pragma once
#include <cstdint>
#include <string>

// Builds box bytes for tests: Box("moov", Box("mvhd", ...) + ...).
std::string U8(uint8_t v);
std::string U16(uint16_t v);
std::string U24(uint32_t v);
std::string U32(uint32_t v);
std::string U64(uint64_t v);
std::string Box(const std::string& type, const std::string& payload);
std::string FullBox(const std::string& type, uint8_t version, uint32_t flags, const std::string& payload);
std::string LargeBox(const std::string& type, const std::string& payload);  // size field 1
std::string UuidBox(const uint8_t userType[16], const std::string& payload);
// A minimal hdlr of the given handler type.
std::string Hdlr(const std::string& handler);

// Writes bytes to a fresh file in the test's temporary folder; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);
std::string TempDir();
