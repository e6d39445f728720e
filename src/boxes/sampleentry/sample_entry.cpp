#include "boxes/sampleentry/sample_entry.h"

#include <algorithm>

#include "base/log.h"
#include "boxes/audiocodecs/ac3_config_box.h"
#include "boxes/audiocodecs/alac_config_box.h"
#include "boxes/audiocodecs/amr_config_box.h"
#include "boxes/audiocodecs/eac3_config_box.h"
#include "boxes/audiocodecs/flac_config_box.h"
#include "boxes/audiocodecs/opus_config_box.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/presentation/free_space_box.h"
#include "boxes/protection/protection_boxes.h"
#include "boxes/sampleentry/channel_layout_box.h"
#include "boxes/sampleentry/entry_boxes.h"
#include "boxes/sampleentry/sound_wave_boxes.h"
#include "boxes/sampleentry/xml_subtitle_sample_entry.h"
#include "boxes/videocodecs/av1_configuration_box.h"
#include "boxes/videocodecs/coding_constraints_box.h"
#include "boxes/videocodecs/colour_information_box.h"
#include "boxes/videocodecs/content_light_box.h"
#include "boxes/videocodecs/content_light_level_box.h"
#include "boxes/videocodecs/dolby_vision_configuration_box.h"
#include "boxes/videocodecs/field_handling_box.h"
#include "boxes/videocodecs/h263_config_box.h"
#include "boxes/videocodecs/mastering_display_box.h"
#include "boxes/videocodecs/smpte_mastering_box.h"
#include "boxes/videocodecs/vp_configuration_box.h"

int CSampleEntry::ParseBox(CBitStreamReader& reader) {
    for (uint32_t& r : m_reserved)
        if (reader.ReadBits(8, r) < 0) return -1;
    if (reader.ReadBits(16, m_dataReferenceIndex) < 0) return -1;
    CORVEL_LOG("[Sample Entry] Data Reference Index :(%ld)", static_cast<long>(m_dataReferenceIndex));
    return 0;
}

int CBoxesSampleEntry::ParseBox(CBitStreamReader& reader) {
    return CSampleEntry::ParseBox(reader) < 0 ? -1 : ParseEntryChildren(*this, reader);
}

int ReadEntryString(CBitStreamReader& reader, std::string& out) {
    const uint8_t* first = reader.CurrentByte();
    const uint64_t present = reader.PresentBytes();
    const uint8_t* zero = present ? std::find(first, first + present, 0) : first;
    const bool terminated = zero != first + present;
    if (reader.ReadBytes(uint64_t(zero - first) + (terminated ? 1 : 0), out) < 0) return -1;
    if (terminated) out.pop_back();
    return 0;
}

ChildReader NextChild(const CBox& entry, const CBitStreamReader& reader) {
    ChildReader next;
    // The entry's reader starts at its first header byte.
    next.header.m_startOffset = entry.m_startOffset + static_cast<int64_t>(reader.BitPosition / 8);
    const uint64_t size = PeekBoxSize(reader);
    next.reader = reader.SubReader(size == 0 ? reader.RemainingBytes() : size);
    next.bits = next.reader.RemainingBits;
    next.headerRead = next.header.ParseBox(next.reader) == 0;
    return next;
}

int ParseEsdsAndAfter(CBox& entry, CBitStreamReader& reader, const EsdsEntryTexts& texts, bool esdsMayFail) {
    switch (ParseChild<ESDescriptorBox>(entry, reader, /*keepFailed=*/false)) {
        case ChildStatus::HeaderFailed:
            CORVEL_LOG("%s", texts.headerError);
            return -1;
        case ChildStatus::ParseFailed:
            CORVEL_LOG("%s", texts.esdsError);
            if (!esdsMayFail) return -1;
            ReadThrough(reader);
            return 0;
        case ChildStatus::Parsed:
            break;
    }
    return ParseChildren(entry, reader, texts.after, EntryChild);
}

int ParseEntryChildren(CBox& entry, CBitStreamReader& reader) {
    static const ContainerTexts texts{"[Sample Entry] box size is larger than 8bytes - %d", "[Sample Entry] Box parsing error",
                                      "[Sample Entry] Unknown Box Type - %s", " Fail to parse a Sample Entry ~~", nullptr};
    return ParseChildren(entry, reader, texts, EntryChild);
}

ChildMade EntryChild(const CBox& h) {
    switch (h.m_type) {
        case FourCC("btrt"): return Known<CBitRateBox>(h);
        // The configurations of entries whose code names no layout of its own (encv,
        // enca, avc3, avcp ...).
        case FourCC("avcC"): return Known<CAVCConfigurationBox>(h);
        case FourCC("hvcC"): return Known<CHEVCConfigurationBox>(h);
        case FourCC("esds"): return Known<ESDescriptorBox>(h);
        case FourCC("dOps"): return Known<COpusConfigBox>(h);
        case FourCC("dfLa"): return Known<CFlacConfigBox>(h);
        case FourCC("dac3"): return Known<CAC3ConfigBox>(h);
        case FourCC("dec3"): return Known<CEAC3ConfigBox>(h);
        case FourCC("alac"): return Known<CALACConfigBox>(h);
        case FourCC("damr"): return Known<CAMRConfigBox>(h);
        // A QuickTime sound's boxes.
        case FourCC("wave"): return Known<CSoundWaveBox>(h);
        case FourCC("chan"): return Known<CChannelLayoutBox>(h);
        case FourCC("mime"): return Known<CMIMEBox>(h);
        case FourCC("m4ds"): return Known<CMPEG4ExtensionDescriptorsBox>(h);
        case FourCC("pasp"): return Known<CPixelAspectRatioBox>(h);
        case FourCC("clap"): return Known<CCleanAperturebox>(h);
        case FourCC("av1C"): return Known<CAV1ConfigurationBox>(h);
        case FourCC("vpcC"): return Known<CVPConfigurationBox>(h);
        case FourCC("colr"): return Known<CColourInformationBox>(h);
        case FourCC("mdcv"): return Known<CMasteringDisplayBox>(h);
        case FourCC("clli"): return Known<CContentLightLevelBox>(h);
        case FourCC("SmDm"): return Known<CSmpteMasteringBox>(h);
        case FourCC("CoLL"): return Known<CContentLightBox>(h);
        case FourCC("fiel"): return Known<CFieldHandlingBox>(h);
        case FourCC("d263"): return Known<CH263ConfigBox>(h);
        case FourCC("ccst"): return Known<CCodingConstraintsBox>(h);
        case FourCC("dvcC"): case FourCC("dvvC"): return Known<CDolbyVisionConfigurationBox>(h);
        case FourCC("sinf"): case FourCC("rinf"): return Known<CProtectionSchemeInfoBox>(h);
        default: return FreeSpaceOrUnknown(h);
    }
}
