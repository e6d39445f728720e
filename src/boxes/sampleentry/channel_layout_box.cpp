#include "boxes/sampleentry/channel_layout_box.h"

#include "boxes/sampletable/table_reader.h"

int CChannelLayoutBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(32, m_layoutTag) < 0 || reader.ReadBits(32, m_channelBitmap) < 0 ||
        reader.ReadBits(32, m_descriptionCount) < 0)
        return -1;
    return ReadEach(reader, m_descriptionCount, 20, m_descriptions, [&reader](Description& d) {
        for (uint32_t* field : {&d.label, &d.flags, &d.coordinates[0], &d.coordinates[1], &d.coordinates[2]})
            if (reader.ReadBits(32, *field) < 0) return -1;
        return 0;
    });
}
