#pragma once
#include <string>
#include <vector>

#include "boxes/box.h"

// uri  inside a urim entry: the URI that names the metadata's format.
class CURIBox : public CFullBox {
public:
    explicit CURIBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_uri;  // up to its zero byte, which is read too
};

// uriI inside a urim entry: initialization data for that format, as it stands.
class CURIInitBox : public CFullBox {
public:
    explicit CURIInitBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::vector<uint8_t> m_data;
};
