#include "samples/sample_encryption.h"

#include <algorithm>

#include "boxes/containers/corvel.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/protection/sample_encryption_box.h"
#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "samples/track_protection.h"

namespace {
// A fragment's sample-to-group index above this points into the fragment's own descriptions.
constexpr uint32_t kFragmentLocalIndex = 0x10000;
}  // namespace

uint64_t AuxInfoBase(const CBox& container, const CBox* moof) {
    if (container.m_type != FourCC("traf")) return 0;
    const auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(container.RetrieveChildBox(FourCC("tfhd"), true));
    if (tfhd && (tfhd->m_flags & CTrackFragmentHeaderBox::kBaseDataOffsetPresent)) return tfhd->m_baseDataOffset;
    return moof ? moof->m_startOffset : 0;
}

ContainerEncryption::ContainerEncryption(const CBox& container, const TrackProtection& track, const CCorvel* file,
                                         uint64_t auxBase)
    : m_track(track), m_file(file), m_auxBase(auxBase) {
    for (const auto& child : container.m_children) {
        // The first of each kind serves: the auxiliary information of Common Encryption is
        // the only kind files hold.
        if (!child) continue;
        if (const auto* saiz = dynamic_cast<const CSaizBox*>(child.get()); saiz && !m_saiz)
            m_saiz = saiz;
        else if (const auto* saio = dynamic_cast<const CSaioBox*>(child.get()); saio && !m_saio)
            m_saio = saio;
        else if (const auto* senc = dynamic_cast<const CSampleEncryptionBox*>(child.get()); senc && !m_senc)
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
    // Sizes stored per sample: the offsets of one run add up (no more than the table holds).
    end = 0;
    for (uint32_t i = 0; m_saiz && !m_senc && i < m_saiz->GetStoredEntryCount(); ++i) {
        m_auxStarts.push_back(end);
        end += m_saiz->GetSampleInfoSize(i);
    }
}

void ContainerEncryption::ReadAuxInfo(uint64_t k, uint32_t ivSize, SampleEncryption& e) const {
    e.missing = "no sample encryption record";
    if (!m_file || !m_saiz || !m_saio || m_saio->GetStoredEntryCount() == 0 || k >= m_saiz->GetSampleCount()) return;
    const bool perSample = m_saio->GetStoredEntryCount() > 1;
    if (perSample && k >= m_saio->GetStoredEntryCount()) return;
    const uint32_t size = m_saiz->m_defaultSampleInfoSize ? m_saiz->m_defaultSampleInfoSize
                          : k < m_auxStarts.size()         ? m_saiz->GetSampleInfoSize(uint32_t(k))
                                                           : 0;
    if (size == 0) return;
    uint64_t at = m_auxBase + m_saio->GetOffset(perSample ? uint32_t(k) : 0);
    if (!perSample) at += m_saiz->m_defaultSampleInfoSize ? k * m_saiz->m_defaultSampleInfoSize : m_auxStarts[k];
    uint8_t info[255];
    if (m_file->ReadBytes(at, info, size) < size) {
        e.missing = "auxiliary information past the end of the file";
        return;
    }
    // The IV, then (with room for them) the subsample count and pairs.
    e.missing = "auxiliary information shorter than its IV";
    if (size < ivSize) return;
    e.missing = nullptr;
    if (ivSize) e.iv.assign(info, info + ivSize);
    if (size < ivSize + 2) return;
    const uint32_t count = uint32_t(info[ivSize]) << 8 | info[ivSize + 1];
    for (uint32_t i = 0, p = ivSize + 2; i < count; ++i, p += 6) {
        if (p + 6 > size) {
            e.missing = "subsamples past the auxiliary information";
            return;
        }
        e.subsamples.emplace_back(uint32_t(info[p]) << 8 | info[p + 1],
                                  uint32_t(info[p + 2]) << 24 | uint32_t(info[p + 3]) << 16 |
                                      uint32_t(info[p + 4]) << 8 | info[p + 5]);
    }
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
    if (!m_senc) {
        ReadAuxInfo(k, d.m_perSampleIvSize, e);
        // A constant IV serves where the information holds subsamples only.
        if (e.missing && d.HasConstantIv()) e.missing = nullptr;
        return e;
    }
    if (k >= m_senc->m_records.size()) {
        // An IV of 0 bytes and no subsamples leaves no records to hold.
        if (e.iv.empty() && !(m_senc->m_ivSize == 0 && k < m_senc->m_sampleCount))
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

std::string HexText(const uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < count; ++i) {
        s += kDigits[bytes[i] >> 4];
        s += kDigits[bytes[i] & 15];
    }
    return s;
}

std::string IvText(const SampleEncryption& e) { return HexText(e.iv.data(), e.iv.size()); }

std::string SubsampleText(const SampleEncryption& e) {
    std::string s;
    for (const auto& [clear, prot] : e.subsamples) {
        if (!s.empty()) s += ' ';
        s += std::to_string(clear) + '/' + std::to_string(prot);
    }
    return s;
}
