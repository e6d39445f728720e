#include "boxes/sampleentry/sound_wave_boxes.h"

#include "boxes/child_loop.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/protection/protection_boxes.h"
#include "boxes/sampleentry/sample_entry.h"

int CSoundWaveBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CSoundWaveBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CSoundWaveBox::ParseBox] Box parsing error",
                                      "[CSoundWaveBox::ParseBox] Unknown Box Type - %s", " Fail to parse a wave ~~",
                                      nullptr};
    // The codec's atom carries the entry's code; any other box is one an entry may hold.
    // A wave inside a wave is read as one: the child loop bounds the nesting.
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("frma"): return Known<COriginalFormatBox>(h);
            case FourCC("mp4a"): return Known<CWaveFormatBox>(h);
            case FourCC("enda"): return Known<CEndianBox>(h);
            default: return EntryChild(h);
        }
    });
}
