#include "boxes/metadata/metadata_keys_box.h"

#include <algorithm>

#include "base/log.h"

int CMetadataKeysBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(32, m_entryCount) < 0) return -1;
    // Each key takes 8 bytes at least: the count sizes nothing the payload cannot hold.
    m_keys.reserve(std::min<uint64_t>(m_entryCount, reader.PresentBytes() / 8));
    for (uint32_t i = 0; i < m_entryCount; ++i) {
        if (m_keys.size() == m_keys.capacity()) {
            CORVEL_LOG("[CMetadataKeysBox::ParseBox] %u keys counted, the payload holds %zu", m_entryCount, m_keys.size());
            return -1;
        }
        Key& key = m_keys.emplace_back();
        if (reader.ReadBits(32, key.size) < 0 || reader.ReadBits(32, key.keyNamespace) < 0 || key.size < 8 ||
            reader.ReadBytes(key.size - 8, key.name) < 0) {
            m_keys.pop_back();
            return -1;
        }
    }
    return 0;
}

const CMetadataKeysBox* KeysOf(const CBox& meta) {
    for (const auto& child : meta.m_children)
        if (auto* keys = dynamic_cast<const CMetadataKeysBox*>(child.get())) return keys;
    return nullptr;
}
