#include "boxes/protection/track_encryption_box.h"

int EncryptionDefaults::Read(CBitStreamReader& reader) {
    if (reader.ReadBits(8, m_reserved) < 0 || reader.ReadBits(4, m_cryptByteBlock) < 0 ||
        reader.ReadBits(4, m_skipByteBlock) < 0 || reader.ReadBits(8, m_isProtected) < 0 ||
        reader.ReadBits(8, m_perSampleIvSize) < 0 || reader.ReadBytes(16, m_kid) < 0)
        return -1;
    // An IV is 8 or 16 bytes; any other size cannot be used and fails the box.
    if (m_perSampleIvSize != 0 && m_perSampleIvSize != 8 && m_perSampleIvSize != 16) return -1;
    if (!HasConstantIv()) return 0;
    if (reader.ReadBits(8, m_constantIvSize) < 0 || (m_constantIvSize != 8 && m_constantIvSize != 16)) return -1;
    return reader.ReadBytes(m_constantIvSize, m_constantIv);
}
