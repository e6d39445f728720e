#include "boxes/sampleentry/sample_description_box.h"

#include <memory>

#include "base/log.h"
#include "boxes/child_loop.h"
#include "boxes/presentation/free_space_box.h"
#include "boxes/sampleentry/audio_sample_entries.h"
#include "boxes/sampleentry/hint_sample_entries.h"
#include "boxes/sampleentry/metadata_sample_entries.h"
#include "boxes/sampleentry/text_sample_entry.h"
#include "boxes/sampleentry/timecode_sample_entry.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "boxes/sampleentry/xml_subtitle_sample_entry.h"

namespace {
bool IsMpeg4SystemHandler(uint32_t handlerType) {
    switch (handlerType) {
        case FourCC("odsm"): case FourCC("crsm"): case FourCC("sdsm"): case FourCC("m7sm"):
        case FourCC("ocsm"): case FourCC("ipsm"): case FourCC("mjsm"):
            return true;
        default:
            return false;
    }
}

// The entry's class by the handler type, then its type; null when this program does
// not decode it (a plain box whose bytes are read through). A version-1 stsd holds ISO
// entries only, never QuickTime's longer sound descriptions.
std::unique_ptr<CBox> MakeEntry(uint32_t handlerType, uint32_t stsdVersion, const CBox& h) {
    const uint32_t type = h.m_type;
    if (IsMpeg4SystemHandler(handlerType)) return std::make_unique<CMPEGSampleEntry>(h);
    switch (handlerType) {
        case FourCC("hint"):
            LogDispatch(19, "##### Sample Description Box('hint')");
            if (type == FourCC("rtp ")) return std::make_unique<CRtpHintSampleEntry>(h);
            return std::make_unique<CHintSampleEntry>(h);
        case FourCC("meta"):
            LogDispatch(19, "##### Sample Description Box('meta')");
            if (type == FourCC("metx")) return std::make_unique<CXMLMetaDataSampleEntry>(h);
            if (type == FourCC("mett")) return std::make_unique<CTextMetaDataSampleEntry>(h);
            if (type == FourCC("urim")) return std::make_unique<CURIMetaSampleEntry>(h);
            return std::make_unique<CBoxesSampleEntry>(h);
        case FourCC("soun"):
            LogDispatch(19, "##### Sample Description Box('%s')", FourCCText(type).c_str());
            if (type == FourCC("mp4a")) return std::make_unique<CMPEG4AudioSampleEntry>(h, stsdVersion == 0);
            return std::make_unique<CAudioSampleEntry>(h, stsdVersion == 0);
        case FourCC("vide"):
        case FourCC("pict"):  // an image sequence
            LogDispatch(19, "##### Sample Description Box('%s')", FourCCText(type).c_str());
            switch (type) {
                case FourCC("avc1"): case FourCC("avcC"): return std::make_unique<CAVCSampleEntrty>(h);
                case FourCC("hvc1"): case FourCC("hev1"): return std::make_unique<CHEVCSampleEntry>(h);
                case FourCC("mp4v"): return std::make_unique<CMPEG4VisualSampleEntry>(h);
                default: return std::make_unique<CVisualSampleEntry>(h);
            }
        case FourCC("text"):
        case FourCC("sbtl"):
        case FourCC("subt"):
            // The text layout is that of tx3g (and of text, its QuickTime code); other
            // entries of these tracks (stpp, wvtt) are laid out otherwise.
            if (type == FourCC("tx3g") || type == FourCC("text")) return std::make_unique<CTextSampleEntry>(h);
            if (type == FourCC("stpp")) return std::make_unique<CXMLSubtitleSampleEntry>(h);
            return std::make_unique<CBoxesSampleEntry>(h);
        case FourCC("tmcd"):
            if (type == FourCC("tmcd")) return std::make_unique<CTimecodeSampleEntry>(h);
            break;
        case FourCC("clcp"):
        case FourCC("data"):  // Flash's AMF0 data tracks (amf0)
            return std::make_unique<CBoxesSampleEntry>(h);
        default:
            break;
    }
    CORVEL_LOG("[CSampleDescriptionBox::ParseBox] not implemented ... - %s", FourCCText(type).c_str());
    return nullptr;
}
}  // namespace

int CSampleDescriptionBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(32, m_entryCount) < 0) return -1;
    CORVEL_LOG("[Sample Descriptor Box] Entry Count :(%ld)", static_cast<long>(m_entryCount));
    // Every entry takes at least its 8 header bytes: a count beyond the payload fails
    // once the bytes are used up.
    for (uint32_t i = 0; i < m_entryCount; ++i) {
        const int64_t start = m_startOffset + static_cast<int64_t>(reader.BitPosition / 8);
        const uint64_t size = PeekBoxSize(reader);
        CBitStreamReader entryReader = reader.SubReader(size == 0 ? reader.RemainingBytes() : size);
        const uint64_t entryBits = entryReader.RemainingBits;
        CBox header;
        header.m_startOffset = start;
        if (header.ParseBox(entryReader) < 0) return -1;
        std::unique_ptr<CBox> entry = MakeEntry(m_handlerType, m_version, header);
        int status = 0;
        if (entry) {
            status = entry->ParseBox(entryReader);
            NoteUnread(*entry, entryReader);
        } else {
            entry = std::make_unique<CBox>(header);
        }
        reader.SkipBits(entryBits);
        AddChildBox(std::move(entry));
        if (status < 0) return -1;
    }
    // Writers that reserve room for a later entry leave free space after the last one.
    while (reader.RemainingBytes() >= 8) {
        const uint32_t type = PeekBoxType(reader);
        const uint64_t size = PeekBoxSize(reader);
        if ((type != FourCC("free") && type != FourCC("skip")) || size < 8 || size > reader.RemainingBytes()) break;
        if (ParseChild<CFreeSpaceBox>(*this, reader, /*keepFailed=*/true) != ChildStatus::Parsed) return -1;
    }
    return 0;
}
