#include "boxes/sampleentry/visual_sample_entries.h"

#include "base/log.h"
#include "boxes/child_loop.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/sampleentry/entry_boxes.h"

int CVisualSampleEntry::ParseBox(CBitStreamReader& reader) {
    return ReadVisualFields(reader) < 0 ? -1 : ParseEntryChildren(*this, reader);
}

int CVisualSampleEntry::ReadVisualFields(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    for (uint32_t* field : {&m_preDefined1, &m_reserved1})
        if (reader.ReadBits(16, *field) < 0) return -1;
    for (uint32_t& field : m_preDefined2)
        if (reader.ReadBits(32, field) < 0) return -1;
    if (reader.ReadBits(16, m_width) < 0 || reader.ReadBits(16, m_height) < 0 ||
        reader.ReadBits(32, m_horizResolution) < 0 || reader.ReadBits(32, m_vertResolution) < 0 ||
        reader.ReadBits(32, m_reserved2) < 0 || reader.ReadBits(16, m_frameCount) < 0)
        return -1;
    // The name is all 31 bytes after its length byte, whatever the length says.
    if (reader.ReadBits(8, m_compressorNameLength) < 0 || reader.ReadBytes(31, m_compressorName) < 0 ||
        reader.ReadBits(16, m_depth) < 0 || reader.ReadBits(16, m_preDefined3) < 0)
        return -1;

    if (PeekBoxType(reader) == FourCC("clap") &&
        ParseChild<CCleanAperturebox>(*this, reader, /*keepFailed=*/true) != ChildStatus::Parsed) {
        CORVEL_LOG("[CVisualSampleEntry::ParseBox] CleanApertureBox parsing error -");
        return -1;
    }
    if (PeekBoxType(reader) == FourCC("pasp") &&
        ParseChild<CPixelAspectRatioBox>(*this, reader, /*keepFailed=*/true) != ChildStatus::Parsed) {
        CORVEL_LOG("[CVisualSampleEntry::ParseBox] PixelAspectRatioBox parsing error -");
        return -1;
    }
    return 0;
}

int CAVCSampleEntrty::ParseBox(CBitStreamReader& reader) {
    if (ReadVisualFields(reader) < 0) {
        CORVEL_LOG("[CAVCSampleEntrty::ParseBox] parsing error");
        return -1;
    }
    static const ContainerTexts texts{"[CAVCSampleEntrty::ParseBox] box size is larger than 8bytes - %d",
                                      "[CAVCSampleEntrty::ParseBox] Box parsing error",
                                      "[CAVCSampleEntrty::ParseBox] Unknown Box Type - %s",
                                      " Fail to parse a AVC Sample Entry ~~", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("avcC"):
                LogDispatch(23, "##### AVC Sample Entry Box('avcC')");
                return Known<CAVCConfigurationBox>(h);
            case FourCC("uuid"):
                CORVEL_LOG("[CAVCSampleEntrty::ParseBox] not implemeted parsing a box - %s", FourCCText(h.m_type).c_str());
                return Placeholder(h);
            default:
                return EntryChild(h);
        }
    });
}

int CHEVCSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (ReadVisualFields(reader) < 0) {
        CORVEL_LOG("[CHEVCSampleEntry::ParseBox] parsing error");
        return -1;
    }
    static const ContainerTexts texts{"[CHEVCSampleEntry::ParseBox] box size is larger than 8bytes - %d",
                                      "[CHEVCSampleEntry::ParseBox] Box parsing error",
                                      "[CHEVCSampleEntry::ParseBox] Unknown Box Type - %s",
                                      " Fail to parse a AVC Sample Entry ~~", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("hvcC"):
                LogDispatch(23, "##### HEVC Sample Entry Box('hvcC')");
                return Known<CHEVCConfigurationBox>(h);
            default:
                return EntryChild(h);
        }
    });
}

int CMPEG4VisualSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (ReadVisualFields(reader) < 0) return -1;
    LogDispatch(23, "##### ES Descriptor Box('esds')");
    static const EsdsEntryTexts texts{"[CMPEG4VisualSampleEntry::ParseBox] Parsing Error",
                                      "[CMPEG4VisualSampleEntry::ParseBox] Parsign Error - ES Descriptor Box ",
                                      {"[CMPEG4VisualSampleEntry::ParseBox] box size is larger than 8bytes - %d",
                                       "[CMPEG4VisualSampleEntry::ParseBox] Box parsing error",
                                       "[CMPEG4VisualSampleEntry::ParseBox] Unknown Box Type - %s",
                                       " Fail to parse a MPEG4 Visual Sample Entry ~~", nullptr}};
    return ParseEsdsAndAfter(*this, reader, texts, /*esdsMayFail=*/false);
}

int CAVCParameterSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (ReadVisualFields(reader) < 0) {
        CORVEL_LOG("[CAVCParameterSampleEntry::ParseBox] parsing error");
        return -1;
    }
    static const ContainerTexts texts{"[CAVCParameterSampleEntry] box size is larger than 8bytes - %d",
                                      "[CAVCParameterSampleEntry::ParseBox] Box parsing error",
                                      "[CAVCParameterSampleEntry::ParseBox] Unknown Box Type - %s",
                                      " Fail to parse a AVCParameterSampleEntry ~~", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type == FourCC("avcC")) return Known<CAVCConfigurationBox>(h);
        return EntryChild(h);
    });
}
