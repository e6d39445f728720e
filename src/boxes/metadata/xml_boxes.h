#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"

// xml : XML text, ending in a zero byte.
class CXMLBox : public CFullBox {
public:
    explicit CXMLBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_xml;  // up to and including the zero byte
};

// bxml: binary XML, every payload byte.
class CBinaryXMLBox : public CFullBox {
public:
    explicit CBinaryXMLBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    size_t GetDataSize() const { return m_data.size(); }

    std::vector<uint8_t> m_data;
};

// mere: how two meta boxes of a meco relate (by their handler types).
class CMetaboxRelationBox : public CFullBox {
public:
    explicit CMetaboxRelationBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_firstMetaboxHandlerType = 0;
    uint32_t m_secondMetaboxHandlerType = 0;
    uint32_t m_metaboxRelation = 0;  // 8 bits
};
