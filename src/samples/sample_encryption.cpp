#include "samples/sample_encryption.h"

#include <algorithm>
#include <cstdio>

#include "boxes/protection/sample_encryption_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "samples/track_protection.h"

namespace {
// A fragment's sample-to-group index above this points into the fragment's own descriptions.
constexpr uint32_t kFragmentLocalIndex = 0x10000;
}  // namespace

ContainerEncryption::ContainerEncryption(const CBox& container, const TrackProtection& track) : m_track(track) {
    for (const auto& child : container.m_children) {
        if (!child) continue;
        if (const auto* senc = dynamic_cast<const CSampleEncryptionBox*>(child.get()); senc && !m_senc)
            m_senc = senc;
        else if (const auto* sbgp = dynamic_cast<const CSampletoGroupBox*>(child.get());
                 sbgp && sbgp->m_groupingType == FourCC("seig") && !m_sbgp)
            m_sbgp = sbgp;
        else if (const auto* sgpd = dynamic_cast<const CSampleGroupDescBox*>(child.get());
                 sgpd && sgpd->m_groupingType == FourCC("seig") && !m_sgpd)
            m_sgpd = sgpd;
    }
    uint64_t end = 0;
    for (uint32_t i = 0; m_sbgp && i < m_sbgp->GetStoredEntryCount(); ++i)
        m_groupEnds.push_back(end += m_sbgp->GetSampleCount(i));
}

const EncryptionDefaults* ContainerEncryption::GroupOf(uint64_t k) const {
    const auto run = std::upper_bound(m_groupEnds.begin(), m_groupEnds.end(), k);
    if (run == m_groupEnds.end()) return nullptr;
    const uint32_t index = m_sbgp->GetGroupDescriptionIndex(uint32_t(run - m_groupEnds.begin()));
    if (index == 0) return nullptr;  // the track's defaults
    if (index > kFragmentLocalIndex)
        return m_sgpd ? dynamic_cast<const EncryptionDefaults*>(m_sgpd->GetGroupEntry(index - kFragmentLocalIndex - 1))
                      : nullptr;
    return index <= m_track.groups.size() ? &m_track.groups[index - 1] : nullptr;
}

uint32_t ContainerEncryption::KnownIvSize(const char*& from) const {
    from = "seig";
    if (m_sgpd)
        if (const auto* seig = dynamic_cast<const EncryptionDefaults*>(m_sgpd->GetGroupEntry(0)))
            return seig->m_perSampleIvSize;
    from = "tenc";
    return m_track.defaults.m_perSampleIvSize;
}

SampleEncryption ContainerEncryption::Of(uint64_t k) const {
    const EncryptionDefaults* group = GroupOf(k);
    const EncryptionDefaults& d = group ? *group : m_track.defaults;
    SampleEncryption e;
    e.isProtected = d.m_isProtected != 0;
    e.scheme = m_track.scheme;
    std::copy_n(d.m_kid.begin(), std::min<size_t>(16, d.m_kid.size()), e.kid.begin());
    e.cryptBlocks = d.m_cryptByteBlock;
    e.skipBlocks = d.m_skipByteBlock;
    if (e.scheme == FourCC("piff")) {
        // PIFF's defaults hold an algorithm ID (1 AES-CTR, 2 AES-CBC) where tenc has the protected flag.
        uint32_t algorithm = d.m_isProtected;
        if (m_senc && (m_senc->m_flags & CSampleEncryptionBox::kOverrideTrackEncryption)) {
            algorithm = m_senc->m_algorithmId;
            std::copy_n(m_senc->m_kid.begin(), std::min<size_t>(16, m_senc->m_kid.size()), e.kid.begin());
        }
        e.isProtected = algorithm != 0;
        e.scheme = algorithm == 2 ? FourCC("cbc1") : FourCC("cenc");
    }
    if (!e.isProtected) return e;
    if (d.HasConstantIv()) e.iv = d.m_constantIv;
    if (!m_senc || k >= m_senc->m_records.size()) {
        // An IV of 0 bytes and no subsamples leaves no records to hold.
        if (e.iv.empty() && !(m_senc && m_senc->m_ivSize == 0 && k < m_senc->m_sampleCount))
            e.missing = "no sample encryption record";
        return e;
    }
    const CSampleEncryptionBox::Record& r = m_senc->m_records[k];
    if (m_senc->m_ivSize) e.iv.assign(r.iv.begin(), r.iv.begin() + m_senc->m_ivSize);
    for (uint32_t i = 0; i < r.subsampleCount; ++i) {
        const auto& s = m_senc->m_subsamples[r.firstSubsample + i];
        e.subsamples.emplace_back(s.clearBytes, s.protectedBytes);
    }
    return e;
}

std::string IvText(const SampleEncryption& e) {
    std::string s;
    char hex[3];
    for (uint8_t b : e.iv) {
        std::snprintf(hex, sizeof hex, "%02x", b);
        s += hex;
    }
    return s;
}

std::string SubsampleText(const SampleEncryption& e) {
    std::string s;
    for (const auto& [clear, prot] : e.subsamples) {
        if (!s.empty()) s += ' ';
        s += std::to_string(clear) + '/' + std::to_string(prot);
    }
    return s;
}
