#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "reader/binary_data.h"

// The open media file. Boxes are read with positioned reads into buffers of their
// own, only as far as a box's class reads them: the payload of media data is never
// read. A file that shrinks while open only reads short (no signal, unlike a mapping).
class CReadBitStreamFile {
public:
    // The largest top-level box parsed in full; a larger one is parsed from its first bytes.
    static constexpr uint64_t kMaxBoxBytes = 268435455;
    // Enough to hold any box header: size, type, large size and user type.
    static constexpr uint64_t kHeaderBytes = 32;

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

    // The declared size of the box at the position: 0 when its size field cannot be
    // read (or is 0), -1 when no file is open.
    int64_t RetrieveBoxSize();
    // Reads the box at the position, at most `readLimit` of its bytes (those present in
    // the file), into a new buffer covering its declared size (at most kMaxBoxBytes),
    // and moves the position to the box's declared end. Returns the bytes read, 0 when
    // there is no box (no size, or size 0 before the last 8 bytes).
    int64_t ExtractBox(std::unique_ptr<CBinaryData>& slot, uint64_t readLimit = kMaxBoxBytes);
    // Reads up to kHeaderBytes at the position (the next box's header), without moving it.
    uint64_t PeekHeader(uint8_t (&out)[kHeaderBytes]) const { return Read(m_position, out, kHeaderBytes); }
    // Reads raw bytes through a descriptor of its own, so the walk's position never moves.
    static int64_t ReadFileAt(const std::string& path, int64_t offset, uint8_t* buffer, uint32_t count);

    // Reads up to `count` bytes at `offset` through the open descriptor; returns the count read.
    uint64_t Read(int64_t offset, uint8_t* out, uint64_t count) const;

private:
    uint64_t ReadDirect(int64_t offset, uint8_t* out, uint64_t count) const;

    // Small reads (box headers, most of all) come from one window read ahead of them,
    // so a file of many small boxes costs a read per window, not several per box.
    static constexpr uint64_t kWindowBytes = 65536;
    static constexpr uint64_t kSmallRead = 4096;
    mutable std::unique_ptr<uint8_t[]> m_window;
    mutable int64_t m_windowOffset = 0;
    mutable uint64_t m_windowBytes = 0;

    int m_fd = -1;
    int64_t m_fileSize = 0;
    int64_t m_position = 0;
    int m_lastError = 0;
};
