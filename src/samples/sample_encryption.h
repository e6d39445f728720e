#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CBox;
class CCorvel;
class CSaioBox;
class CSaizBox;
class CSampleEncryptionBox;
class CSampletoGroupBox;
class CSampleGroupDescBox;
struct EncryptionDefaults;
struct TrackProtection;

// How one sample of a protected track is encrypted: plain values for the sample lists,
// `corvel samples` and the decryption.
struct SampleEncryption {
    bool isProtected = false;
    uint32_t scheme = 0;  // cenc, cbc1, cens or cbcs (PIFF's samples as cenc or cbc1, by its algorithm)
    std::array<uint8_t, 16> kid{};
    std::vector<uint8_t> iv;  // the sample's own IV, else the constant IV
    uint32_t cryptBlocks = 0, skipBlocks = 0;
    // (clear, protected) byte counts; none: the whole sample is protected.
    std::vector<std::pair<uint32_t, uint32_t>> subsamples;
    // Why the sample's IV is not known (no record for it), or null.
    const char* missing = nullptr;
};

// The encryption of the samples of one traf or stbl of a protected track: its sample
// encryption box (senc or PIFF's uuid box), its seig sample groups, the track's defaults.
// Without a senc, the auxiliary information its saiz and saio point at is read from
// `file` (null: not read); a traf's saio offsets count from `auxBase` (AuxInfoBase).
class ContainerEncryption {
public:
    ContainerEncryption(const CBox& trafOrStbl, const TrackProtection& track, const CCorvel* file = nullptr,
                        uint64_t auxBase = 0);
    // Sample k (from 0) of the traf or stbl.
    SampleEncryption Of(uint64_t k) const;
    // The per-sample IV size the track tells: the container's first seig description's, else
    // the tenc's; `from` names which ("seig", "tenc").
    uint32_t KnownIvSize(const char*& from) const;

private:
    const EncryptionDefaults* GroupOf(uint64_t k) const;
    // The IV and subsamples of sample k from its auxiliary information in the file.
    void ReadAuxInfo(uint64_t k, uint32_t ivSize, SampleEncryption& e) const;

    const TrackProtection& m_track;
    const CSampleEncryptionBox* m_senc = nullptr;
    const CSampletoGroupBox* m_sbgp = nullptr;
    const CSampleGroupDescBox* m_sgpd = nullptr;  // the container's own seig descriptions
    std::vector<uint64_t> m_groupEnds;            // the sample after each sbgp run
    const CSaizBox* m_saiz = nullptr;
    const CSaioBox* m_saio = nullptr;
    const CCorvel* m_file = nullptr;
    uint64_t m_auxBase = 0;
    std::vector<uint64_t> m_auxStarts;  // with sizes per sample: where each sample's starts, from the first
};

// What a traf's saio offsets count from: its tfhd's base data offset, else the first byte
// of its moof. An stbl's are file offsets (0).
uint64_t AuxInfoBase(const CBox& trafOrStbl, const CBox* moof);

// Bytes as hexadecimal digits: "0a0b0c".
std::string HexText(const uint8_t* bytes, size_t count);
// A sample's IV in hex ("0a0b0c0d0e0f1011") and its subsamples as clear/protected byte
// counts ("3/1200 10/400"), as the sample lists show them.
std::string IvText(const SampleEncryption& e);
std::string SubsampleText(const SampleEncryption& e);
