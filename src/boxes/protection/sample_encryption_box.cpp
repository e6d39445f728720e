#include "boxes/protection/sample_encryption_box.h"

#include "boxes/sampletable/table_reader.h"

int CSampleEncryptionBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    const bool own = m_flags & kOverrideTrackEncryption;
    if (own && (reader.ReadBits(24, m_algorithmId) < 0 || reader.ReadBits(8, m_ivSize) < 0 ||
                reader.ReadBytes(16, m_kid) < 0))
        return -1;
    if (reader.ReadBits(32, m_sampleCount) < 0) return -1;
    if (own) {
        if ((m_ivSize != 0 && m_ivSize != 8 && m_ivSize != 16) || !Fills(reader, m_ivSize)) return -1;
    } else if (Fills(reader, 8)) {
        m_ivSize = 8;
    } else if (Fills(reader, 16)) {
        m_ivSize = 16;
    } else if (!Fills(reader, 0)) {
        return -1;  // the count or a subsample count runs past the bytes
    }
    return ReadRecords(reader);
}

bool CSampleEncryptionBox::Fills(CBitStreamReader reader, uint32_t ivSize) const {
    const bool subsamples = m_flags & kUseSubsampleEncryption;
    if (!subsamples) return uint64_t{m_sampleCount} * ivSize == reader.PresentBytes() &&
                            reader.PresentBytes() == reader.RemainingBytes();
    // Each record takes 2 bytes or more, so the walk ends within the bytes.
    for (uint32_t i = 0; i < m_sampleCount; ++i) {
        uint32_t count;
        if (reader.PresentBytes() < ivSize + 2) return false;
        reader.SkipBits(uint64_t{ivSize} * 8);
        if (reader.ReadBits(16, count) < 0 || reader.PresentBytes() < uint64_t{count} * 6) return false;
        reader.SkipBits(uint64_t{count} * 48);
    }
    return reader.RemainingBytes() == 0;
}

int CSampleEncryptionBox::ReadRecords(CBitStreamReader& reader) {
    const uint32_t minBytes = m_ivSize + (m_flags & kUseSubsampleEncryption ? 2 : 0);
    if (minBytes == 0) return 0;
    return ReadEach(reader, m_sampleCount, minBytes, m_records, [&](Record& r) {
        const uint64_t from = reader.FileBit();
        for (uint32_t k = 0; k < m_ivSize; ++k) {
            uint32_t byte;
            if (reader.ReadBits(8, byte) < 0) return -1;
            r.iv[k] = uint8_t(byte);
        }
        r.firstSubsample = uint32_t(m_subsamples.size());
        if (m_flags & kUseSubsampleEncryption) {
            if (reader.ReadBits(16, r.subsampleCount) < 0) return -1;
            // Read into locals: the table grows, so its elements cannot key spans.
            for (uint32_t k = 0; k < r.subsampleCount; ++k) {
                Subsample s;
                if (reader.ReadBits(16, s.clearBytes) < 0 || reader.ReadBits(32, s.protectedBytes) < 0) return -1;
                m_subsamples.push_back(s);
            }
        }
        reader.NoteSince(&r, from);
        return 0;
    });
}
