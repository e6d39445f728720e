#include "boxes/presentation/track_reference_type_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CTrackReferenceTypeBox::ParseBox(CBitStreamReader& reader) {
    // IDs up to the end of the payload; a remainder shorter than an ID fails the box.
    return ReadTable(reader, (reader.RemainingBits + 31) / 32, 4, m_trackIDs, [this](const uint8_t* p) {
        CORVEL_LOG("[CTrackReferenceTypeBox::ParseBox] [%ld] track_ID: %ld", static_cast<long>(m_trackIDs.size() + 1),
                   static_cast<long>(Be32(p)));
        return Be32(p);
    });
}
