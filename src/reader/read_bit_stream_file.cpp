#include "reader/read_bit_stream_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

#include "base/log.h"

CReadBitStreamFile::~CReadBitStreamFile() { Close(); }

int CReadBitStreamFile::Open(const std::string& path) {
    Close();
    if (path.empty()) {
        CORVEL_LOG(" Check input file path - %s", path.c_str());
        m_lastError = ENOENT;
        return -1;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0 && (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
        m_lastError = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        fd = -1;
    } else if (fd < 0) {
        m_lastError = errno;
    }
    if (fd < 0) {
        CORVEL_LOG("[CReadBitStreamFile::Open] Fail to open %s (error: %d)", path.c_str(), m_lastError);
        return -1;
    }
    m_fd = fd;
    m_fileSize = st.st_size;
    m_position = 0;
    CORVEL_LOG("[CReadBitStreamFile::Open] Success to open %s", path.c_str());
    CORVEL_LOG("[CReadBitStreamFile::Open] File Size : %lld ", static_cast<long long>(m_fileSize));
    return 0;
}

void CReadBitStreamFile::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_fileSize = 0;
    m_position = 0;
    m_windowBytes = 0;
}

uint64_t CReadBitStreamFile::Read(int64_t offset, uint8_t* out, uint64_t count) const {
    if (count == 0) return 0;  // `out` may be null then
    if (count <= kSmallRead && offset >= 0 && m_fd >= 0) {
        const auto inWindow = [&] {
            return offset >= m_windowOffset && uint64_t(offset - m_windowOffset) + count <= m_windowBytes;
        };
        if (!inWindow()) {
            if (!m_window) m_window = std::make_unique<uint8_t[]>(kWindowBytes);
            m_windowOffset = offset;
            m_windowBytes = 0;
            m_windowBytes = ReadDirect(offset, m_window.get(), kWindowBytes);
        }
        // Near the end of the file the window holds less than asked for: that much is read.
        const uint64_t start = uint64_t(offset - m_windowOffset);
        const uint64_t n = start < m_windowBytes ? std::min(count, m_windowBytes - start) : 0;
        std::memcpy(out, m_window.get() + start, n);
        return n;
    }
    return ReadDirect(offset, out, count);
}

uint64_t CReadBitStreamFile::ReadDirect(int64_t offset, uint8_t* out, uint64_t count) const {
    uint64_t done = 0;
    while (m_fd >= 0 && offset >= 0 && done < count) {
        const ssize_t n = ::pread(m_fd, out + done, count - done, offset + static_cast<int64_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the end of the file (it may have shrunk), or an error
        done += static_cast<uint64_t>(n);
    }
    return done;
}

int64_t CReadBitStreamFile::RetrieveBoxSize() {
    if (m_fd < 0) {
        CORVEL_LOG("[CReadBitStreamFile::ExtractBox] - Fail to Current file position ");
        return -1;
    }
    const int64_t p = m_position;
    CORVEL_LOG("[CReadBitStreamFile::RetrieveBoxSize] Current File Position - %lld", static_cast<long long>(p));
    uint8_t head[16];
    if (Read(p, head, 4) < 4) {
        CORVEL_LOG("[CReadBitStreamFile::ExtractBox] - Fail to extract box size value");
        return 0;
    }
    uint64_t size = (uint64_t{head[0]} << 24) | (uint64_t{head[1]} << 16) | (uint64_t{head[2]} << 8) | head[3];
    if (size == 1) {
        if (Read(p + 4, head + 4, 12) < 12) {
            CORVEL_LOG("[CReadBitStreamFile::ExtractBox] - Fail to extract large box size value");
            return 0;
        }
        size = 0;
        for (int i = 8; i < 16; ++i) size = (size << 8) | head[i];
    }
    CORVEL_LOG("[CReadBitStreamFile::RetrieveBoxSize] SetFilePosition - %lld", static_cast<long long>(p));
    // A 64-bit size beyond what a signed offset holds cannot be walked past.
    if (size > static_cast<uint64_t>(INT64_MAX)) return 0;
    return static_cast<int64_t>(size);
}

int64_t CReadBitStreamFile::ExtractBox(std::unique_ptr<CBinaryData>& slot, uint64_t readLimit) {
    slot.reset();
    int64_t size = RetrieveBoxSize();
    const int64_t q = m_position;
    // A size field of 0 is a box that runs to the end of the file (valid for the
    // last top-level box, an mdat as a rule): take the rest of the file.
    if (size == 0 && m_fileSize - q >= 8) {
        uint8_t head[4];
        if (Read(q, head, 4) == 4 && (head[0] | head[1] | head[2] | head[3]) == 0) size = m_fileSize - q;
    }
    if (size <= 0) return 0;
    const uint64_t n = std::min<uint64_t>(static_cast<uint64_t>(size), kMaxBoxBytes);
    const uint64_t present = q < m_fileSize ? std::min<uint64_t>(n, static_cast<uint64_t>(m_fileSize - q)) : 0;
    slot = std::make_unique<CBinaryData>(n, std::min(present, readLimit));
    slot->Truncate(Read(q, slot->MutableData(), slot->Available()));
    // The next box starts at the declared end; past the file's end the walk is over.
    m_position = (INT64_MAX - q < size) ? INT64_MAX : q + size;
    return static_cast<int64_t>(slot->Available());
}

int64_t CReadBitStreamFile::ReadFileAt(const std::string& path, int64_t offset, uint8_t* buffer, uint32_t count) {
    if (!buffer || offset < 0) return -1;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    ssize_t r = ::pread(fd, buffer, count, offset);
    ::close(fd);
    return r < 0 ? -1 : r;
}
