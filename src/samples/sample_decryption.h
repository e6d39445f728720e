#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct SampleEncryption;

// The keys a user gives: each for one KID, or one for every KID.
class KeyRing {
public:
    // Adds "KID:KEY" or "KEY" (32 hex digits each); false with `error` set on a malformed one.
    bool Add(const std::string& text, std::string& error);
    // The key for `kid`, else the key for every KID; null without either.
    const std::array<uint8_t, 16>* KeyFor(const std::array<uint8_t, 16>& kid) const;
    bool Empty() const { return m_keys.empty() && !m_anyKid; }

private:
    std::map<std::array<uint8_t, 16>, std::array<uint8_t, 16>> m_keys;
    std::optional<std::array<uint8_t, 16>> m_anyKid;
};

// Decrypts one sample's bytes in place with AES-128 as its scheme says: cenc (CTR) and
// cbc1 (CBC) over each sample's protected bytes as one stream, cens (CTR) and cbcs (CBC,
// each subsample from the IV again) over the crypt blocks of their pattern. Returns ""
// when done (or when the sample is clear), else why it was not.
std::string DecryptSample(const SampleEncryption& e, const KeyRing& keys, std::vector<uint8_t>& bytes);
