#pragma once
#include <cstdint>
#include <string>

#include "boxes/box.h"

// dref: the data references of a track; its entries (url , urn ) are its children.
class CDataReferencebox : public CFullBox {
public:
    explicit CDataReferencebox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_entryCount = 0;
};

// url : where the media data lies; flag 1 (and no location) means in this file.
class CDataEntryUrlBox : public CFullBox {
public:
    explicit CDataEntryUrlBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string GetLocation() const { return m_location; }

    std::string m_location;  // every payload byte, a terminating zero included
};

// urn : a name and a location, each ending in a zero byte (kept).
class CDataEntryUrnBox : public CFullBox {
public:
    explicit CDataEntryUrnBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string GetName() const { return m_name; }
    std::string GetLocation() const { return m_location; }

    std::string m_name;
    std::string m_location;
};
