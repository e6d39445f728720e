#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "reader/binary_data.h"

// The open media file. The file is mapped read-only, so handing out a top-level
// box costs nothing and bytes that are never parsed (an ordinary mdat) are never
// touched. The box buffers are views into the mapping.
class CReadBitStreamFile {
public:
    // The largest top-level box parsed in full; a larger one is parsed from its first bytes.
    static constexpr uint64_t kMaxBoxBytes = 268435455;

    CReadBitStreamFile() = default;
    virtual ~CReadBitStreamFile();
    CReadBitStreamFile(const CReadBitStreamFile&) = delete;
    CReadBitStreamFile& operator=(const CReadBitStreamFile&) = delete;

    int Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int64_t FileSize() const { return m_fileSize; }
    int64_t Position() const { return m_position; }
    void SetPosition(int64_t pos) { m_position = pos; }
    // errno of the last failed Open, for messages to the user.
    int LastError() const { return m_lastError; }

    int64_t RetrieveBoxSize();
    int64_t ExtractBox(std::unique_ptr<CBinaryData>& slot);
    // ExtractBox for the box at `offset`, leaving the walk's position where it was.
    int64_t ExtractBoxAt(int64_t offset, std::unique_ptr<CBinaryData>& slot);
    // Reads raw bytes through a descriptor of its own, so the walk's position never moves.
    static int64_t ReadFileAt(const std::string& path, int64_t offset, uint8_t* buffer, uint32_t count);

private:
    // Copies up to `count` bytes at `offset` from the mapping; returns the count copied.
    uint64_t Copy(int64_t offset, uint8_t* out, uint64_t count) const;

    int m_fd = -1;
    int64_t m_fileSize = 0;
    int64_t m_position = 0;
    int m_lastError = 0;
    const uint8_t* m_map = nullptr;
};
