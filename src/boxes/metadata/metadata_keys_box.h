#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"

// keys (QuickTime, in a meta whose handler is mdta): the names of the metadata items.
// The ilst beside it types each item by a key's index, counted from 1.
class CMetadataKeysBox : public CFullBox {
public:
    struct Key {
        uint32_t size = 0;       // of the key's record, these 8 bytes included
        uint32_t keyNamespace = 0;  // mdta: a reverse DNS name, udta: a user data code
        std::string name;        // size - 8 bytes
    };

    explicit CMetadataKeysBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    // The key an ilst item of type `index` names (from 1); null past the keys read.
    const Key* KeyAt(uint32_t index) const {
        return index >= 1 && index <= m_keys.size() ? &m_keys[index - 1] : nullptr;
    }

    uint32_t m_entryCount = 0;
    std::vector<Key> m_keys;  // those the payload holds
};

// The keys box among a meta's children; null when it has none.
const CMetadataKeysBox* KeysOf(const CBox& meta);
