#include "support/box_builder.h"

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {
// The low `n` bytes of v, big-endian.
std::string BigEndian(uint64_t v, int n) {
    std::string s;
    for (int i = n - 1; i >= 0; --i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}
}  // namespace

std::string U8(uint8_t v) { return BigEndian(v, 1); }
std::string U16(uint16_t v) { return BigEndian(v, 2); }
std::string U24(uint32_t v) { return BigEndian(v, 3); }
std::string U32(uint32_t v) { return BigEndian(v, 4); }
std::string U64(uint64_t v) { return BigEndian(v, 8); }

std::string Box(const std::string& type, const std::string& payload) {
    return U32(static_cast<uint32_t>(8 + payload.size())) + type.substr(0, 4) + payload;
}

std::string FullBox(const std::string& type, uint8_t version, uint32_t flags, const std::string& payload) {
    return Box(type, U8(version) + U24(flags) + payload);
}

std::string LargeBox(const std::string& type, const std::string& payload) {
    return U32(1) + type.substr(0, 4) + U64(16 + payload.size()) + payload;
}

std::string UuidBox(const uint8_t userType[16], const std::string& payload) {
    return Box("uuid", std::string(reinterpret_cast<const char*>(userType), 16) + payload);
}

std::string Hdlr(const std::string& handler) {
    return FullBox("hdlr", 0, 0, U32(0) + handler + U32(0) + U32(0) + U32(0) + std::string("name\0", 5));
}

std::string TempDir() {
    static const std::string dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("tessaly_tests_" + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir;
}

std::string WriteTempFile(const std::string& name, const std::string& bytes) {
    std::string path = TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}
