#include "samples/sample_decryption.h"

#include <algorithm>
#include <memory>

#include <openssl/evp.h>

#include "base/fourcc.h"
#include "samples/sample_encryption.h"

namespace {
bool HexBytes(const std::string& text, std::array<uint8_t, 16>& out) {
    if (text.size() != 32) return false;
    for (size_t i = 0; i < 16; ++i) {
        unsigned value = 0;
        for (char c : text.substr(2 * i, 2)) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) return false;
            value = value << 4 | unsigned(digit);
        }
        out[i] = uint8_t(value);
    }
    return true;
}

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

// One AES-128 decryption stream: CTR keeps its place in the key stream between calls, CBC
// chains on from the last block it took.
class AesStream {
public:
    AesStream(bool cbc, const std::array<uint8_t, 16>& key, const std::vector<uint8_t>& iv)
        : m_ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free), m_key(key) {
        // An 8-byte IV is the counter block's first half; the block counter starts at 0.
        std::copy(iv.begin(), iv.end(), m_iv.begin());
        m_ok = m_ctx && EVP_DecryptInit_ex(m_ctx.get(), cbc ? EVP_aes_128_cbc() : EVP_aes_128_ctr(), nullptr,
                                           m_key.data(), m_iv.data()) == 1 &&
               EVP_CIPHER_CTX_set_padding(m_ctx.get(), 0) == 1;
    }
    // Starts again from the IV (cbcs does so at each subsample).
    void Restart() { m_ok = m_ok && EVP_DecryptInit_ex(m_ctx.get(), nullptr, nullptr, nullptr, m_iv.data()) == 1; }
    void Decrypt(uint8_t* data, size_t count) {
        // The cipher takes an int's worth at a time; the pieces stay whole blocks.
        for (size_t done = 0; m_ok && done < count;) {
            const size_t piece = std::min<size_t>(count - done, size_t{1} << 30);
            int written = 0;
            m_ok = EVP_DecryptUpdate(m_ctx.get(), data + done, &written, data + done, int(piece)) == 1 &&
                   size_t(written) == piece;
            done += piece;
        }
    }
    bool Ok() const { return m_ok; }

private:
    CipherContext m_ctx;
    std::array<uint8_t, 16> m_key;
    std::array<uint8_t, 16> m_iv{};
    bool m_ok = false;
};

// Decrypts one protected range: with a pattern, `crypt` blocks of 16 bytes out of every
// `crypt + skip`; without one, all of it. CBC leaves a last partial block clear.
void DecryptRange(AesStream& aes, bool cbc, uint32_t crypt, uint32_t skip, uint8_t* data, size_t count) {
    if (crypt == 0 && skip == 0) {
        aes.Decrypt(data, cbc ? count / 16 * 16 : count);
        return;
    }
    for (size_t at = 0; at < count;) {
        const size_t cryptBytes = std::min<size_t>(size_t{crypt} * 16, count - at);
        const size_t whole = cryptBytes / 16 * 16;
        // A crypt run shorter than a block is clear in both pattern schemes.
        aes.Decrypt(data + at, whole);
        at += cryptBytes + size_t{skip} * 16;
    }
}
}  // namespace

bool KeyRing::Add(const std::string& text, std::string& error) {
    const size_t colon = text.find(':');
    std::array<uint8_t, 16> kid{}, key{};
    const std::string keyText = colon == std::string::npos ? text : text.substr(colon + 1);
    if ((colon != std::string::npos && !HexBytes(text.substr(0, colon), kid)) || !HexBytes(keyText, key)) {
        error = "a key is KID:KEY or KEY, each 32 hexadecimal digits: " + text;
        return false;
    }
    if (colon == std::string::npos)
        m_anyKid = key;
    else
        m_keys[kid] = key;
    return true;
}

const std::array<uint8_t, 16>* KeyRing::KeyFor(const std::array<uint8_t, 16>& kid) const {
    if (auto it = m_keys.find(kid); it != m_keys.end()) return &it->second;
    return m_anyKid ? &*m_anyKid : nullptr;
}

std::string DecryptSample(const SampleEncryption& e, const KeyRing& keys, std::vector<uint8_t>& bytes) {
    if (!e.isProtected) return "";
    if (e.missing) return e.missing;
    const std::array<uint8_t, 16>* key = keys.KeyFor(e.kid);
    if (!key) return "no key for its KID";
    if (e.iv.size() != 8 && e.iv.size() != 16) return "no IV of 8 or 16 bytes";
    const bool cbc = e.scheme == FourCC("cbc1") || e.scheme == FourCC("cbcs");
    const bool pattern = e.scheme == FourCC("cens") || e.scheme == FourCC("cbcs");
    if (!cbc && e.scheme != FourCC("cenc") && e.scheme != FourCC("cens")) return "an unknown scheme";
    const uint32_t crypt = pattern ? e.cryptBlocks : 0, skip = pattern ? e.skipBlocks : 0;
    AesStream aes(cbc, *key, e.iv);
    if (e.subsamples.empty()) {
        DecryptRange(aes, cbc, crypt, skip, bytes.data(), bytes.size());
    } else {
        size_t at = 0;
        for (const auto& [clear, prot] : e.subsamples) {
            if (prot > bytes.size() || clear > bytes.size() - prot || at > bytes.size() - clear - prot)
                return "subsamples past the sample's bytes";
            if (e.scheme == FourCC("cbcs")) aes.Restart();
            DecryptRange(aes, cbc, crypt, skip, bytes.data() + at + clear, prot);
            at += size_t{clear} + prot;
        }
    }
    return aes.Ok() ? "" : "the cipher failed";
}
