#include "boxes/videocodecs/h263_config_box.h"

#include "boxes/child_loop.h"
#include "boxes/presentation/free_space_box.h"

int CH263ConfigBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(32, m_vendor) < 0 || reader.ReadBits(8, m_decoderVersion) < 0 ||
        reader.ReadBits(8, m_level) < 0 || reader.ReadBits(8, m_profile) < 0)
        return -1;
    // A bitr box may follow; it and anything else stay undecoded children.
    static const ContainerTexts texts{nullptr, "[CH263ConfigBox::ParseBox] Box parsing error",
                                      "[CH263ConfigBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, FreeSpaceOrUnknown);
}
