#include "boxes/metadata/track_grouping_boxes.h"

#include "base/log.h"
#include "boxes/child_loop.h"
#include "boxes/sampletable/table_reader.h"

int CTrackSelectionBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(32, m_switchGroup) < 0) return -1;
    // Attributes up to the end of the payload; a remainder shorter than one fails the box.
    return ReadTable(reader, (reader.RemainingBits + 31) / 32, 4, m_attributes, [](const uint8_t* p) { return Be32(p); });
}

int CTrackGroupbox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CTrackGroupbox] box size is larger than 8bytes - %d",
                                      "[CTrackGroupbox::ParseBox] Box parsing error",
                                      "[CTrackGroupbox::ParseBox] unknow box type ... - %s",
                                      "[CTrackGroupbox::ParseBox] Box parsing is failed", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type != FourCC("msrc")) return Unknown();
        LogDispatch(1, "##### Track Group Type Box('msrc')");
        return Known<CTrackGroupTypeBox>(h);
    });
}

int CTrackGroupTypeBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return reader.ReadBits(32, m_trackGroupId);
}
