#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "boxes/box.h"

// iinf: the item information entries (infe) of a meta box, as its children.
class CItemInfoBox : public CFullBox {
public:
    explicit CItemInfoBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_entryCount = 0;  // 16 bits in version 0, else 32
};

// The base of the extensions an item info entry of version 1 may carry.
class CItemInfoExtension : public CBox {
public:
    explicit CItemInfoExtension(const CBox& header) : CBox(header) {}
};

// fdel: how an item is delivered over FLUTE.
class CFDItemInfoExtension : public CItemInfoExtension {
public:
    explicit CFDItemInfoExtension(const CBox& header) : CItemInfoExtension(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_contentLocation;  // zero byte included
    std::string m_contentMD5;       // zero byte included
    uint64_t m_contentLength = 0;
    uint64_t m_transferLength = 0;
    uint32_t m_entryCount = 0;  // 8 bits
    std::vector<uint32_t> m_groupIds;
};

// infe: one item: its ID, name and type (versions 2 and 3: a four-CC, with a MIME
// type or a URI type), or (versions 0 and 1) its content type and encoding.
class CItemInfoEntry : public CFullBox {
public:
    explicit CItemInfoEntry(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_itemID = 0;  // 16 bits, 32 in version 3
    uint32_t m_itemProtectionIndex = 0;  // 16 bits
    std::string m_itemName;  // strings: their zero byte included
    std::string m_contentType;
    std::string m_contentEncoding;
    uint32_t m_extensionType = 0;  // version 1
    uint32_t m_itemType = 0;       // versions 2 and 3
    std::string m_itemUriType;
    // A version 1 extension written as the fields alone (no box header) after its
    // type, as the format lays it out; one written as a box is a child instead.
    std::unique_ptr<CFDItemInfoExtension> m_extension;
};
