#include "boxes/containers/media_data_box.h"

#include "base/log.h"
#include "flv/flv_tag.h"

CMediaDataBox::CMediaDataBox(const CBox& header, bool flvInMdat) : CBox(header), m_flv(flvInMdat) {}

CMediaDataBox::~CMediaDataBox() = default;

int CMediaDataBox::ParseBox(CBitStreamReader& reader) {
    // FLV tags are read once the FLV tag classes exist; until then the payload is
    // skipped like any media data, without touching its bytes.
    CORVEL_LOG("[Media Data Box] - length : %lld bytes", static_cast<long long>(reader.RemainingBytes()));
    reader.SkipBits(reader.RemainingBits);
    return 0;
}
