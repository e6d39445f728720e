#include "boxes/descriptors/es_descriptor.h"

#include <algorithm>

#include "base/log.h"

int CExtensionDescriptor::Parse(CBitStreamReader& reader) {
    if (m_tag != kExtensionProfileLevelDescrTag && (m_tag < kExtDescrTagFirst || m_tag > kExtDescrTagLast)) {
        CORVEL_LOG("[CExtensionDescriptor::Parse] 0x%x is not included from ExtDescrTagStartRage(0x%x) to "
                   "ExtDescrTagEndRagne(0x%x) or ExtensionProfileLevelDescrTag(0x%x",
                   m_tag, kExtDescrTagFirst, kExtDescrTagLast, kExtensionProfileLevelDescrTag);
        return -1;
    }
    reader.SkipBits(reader.RemainingBits);
    return 0;
}

int CExtensionProfileLevelDescriptor::Parse(CBitStreamReader& reader) {
    CBitStreamReader range = reader;  // the range check reads nothing
    if (CExtensionDescriptor::Parse(range) < 0) return -1;
    if (m_tag != kExtensionProfileLevelDescrTag) {
        CORVEL_LOG("[CExtensionProfileLevelDescriptor] 0x%x is not ExtensionProfileLevelDescrTag(0x%x)", m_tag,
                   kExtensionProfileLevelDescrTag);
        return -1;
    }
    if (reader.ReadBits(8, m_profileLevelIndicationIndex) < 0) return -1;
    CORVEL_LOG("[CExtensionProfileLevelDescriptor::Parse] profileLevelIndicationIndex: %ld",
               static_cast<long>(m_profileLevelIndicationIndex));
    return 0;
}

int CDecoderConfigDescriptor::Parse(CBitStreamReader& reader) {
    if (m_tag != kDecoderConfigDescrTag) {
        CORVEL_LOG("[CDecoderConfigDescriptor::Parse] 0x%x is not DecoderConfigDescrTag(0x%x)", m_tag,
                   kDecoderConfigDescrTag);
        return -1;
    }
    if (reader.ReadBits(8, m_objectTypeIndication) < 0) return -1;
    CORVEL_LOG("[CDecoderConfigDescriptor::Parse] objectTypeIndication(8) - 0x%x (0x01: ISO/IEC 14496-1, 0x02: "
               "ISO/IEC 14496-11, 0x40 : ISO/IEC 14496-3, 0x20 : ISO/IEC 14496-2", m_objectTypeIndication);
    if (reader.ReadBits(6, m_streamType) < 0) return -1;
    CORVEL_LOG("[CDecoderConfigDescriptor::Parse] streamType(6) - 0x%x ( 0x01: ObjectDescriptorStream, 0x03: "
               "SceneDescriptionStream(ISO/IEC 14496-11), 0x5 : AudioStream, 0x4: VisualStream", m_streamType);
    if (ReadLoggedFields(reader, {
            {m_upStream, 1, "[CDecoderConfigDescriptor::Parse] upStream(1) - %ld"},
            {m_reserved, 1, "[CDecoderConfigDescriptor::Parse] reserved(1) - %ld"},
            {m_bufferSizeDB, 24, "[CDecoderConfigDescriptor::Parse] bufferSizeDB(24) - %ld"},
            {m_maxBitrate, 32, "[CDecoderConfigDescriptor::Parse] maxBitrate(32) - %ld"},
            {m_avgBitrate, 32, "[CDecoderConfigDescriptor::Parse] avgBitrate(32) - %ld"},
        }) < 0)
        return -1;

    uint32_t next = 0;
    if (!PeekDescriptorTag(reader, next)) return 0;
    if (next == kDecSpecificInfoTag) {
        // Decoded for MPEG-4 audio only; the other object types keep the header.
        if (m_objectTypeIndication == 0x40) {
            CORVEL_LOG("[CDecoderConfigDescriptor::Parse] ISO/IEC 14496-3, Audio Specific Information");
            m_decoderSpecificInfo = std::make_unique<CAudioSpecificConfig>();
        } else {
            if (m_objectTypeIndication == 1 || m_objectTypeIndication == 2)
                CORVEL_LOG("[CDecoderConfigDescriptor::Parse] ISO/IEC 14496-11");
            else if (m_objectTypeIndication == 0x20)
                CORVEL_LOG("[CDecoderConfigDescriptor::Parse] ISO/IEC 14496-2");
            else
                CORVEL_LOG("[CDecoderConfigDescriptor::Parse] unsupported Object Type Indication - 0x%x",
                           m_objectTypeIndication);
            m_decoderSpecificInfo = std::make_unique<CDecoderSpecificInfo>();
        }
        if (ReadDescriptorHeader(reader, *m_decoderSpecificInfo) < 0 ||
            ParseDescriptorBody(reader, *m_decoderSpecificInfo) < 0) {
            CORVEL_LOG("[CDecoderConfigDescriptor::Parse] Fail to Parsing a Decoder Specific Config");
            return -1;
        }
    } else if (next == kExtensionProfileLevelDescrTag) {
        // The profile level descriptors that follow, each read into the same object.
        m_profileLevelDescriptor = std::make_unique<CExtensionProfileLevelDescriptor>();
        while (reader.RemainingBits > 0) {
            if (ReadDescriptorHeader(reader, *m_profileLevelDescriptor) < 0 ||
                ParseDescriptorBody(reader, *m_profileLevelDescriptor) < 0) {
                CORVEL_LOG("[CDecoderConfigDescriptor::Parse] Fail to Parsing a Profile Level Indication Index Descriptor");
                reader.SkipBits(reader.RemainingBits);
            }
        }
    }
    return 0;
}

namespace {
// A time stamp of `length` bits (up to 255), most significant first; the bits above
// the lowest 64 are lost.
int ReadTimeStamp(CBitStreamReader& reader, uint32_t length, uint64_t& out) {
    for (uint32_t i = 0; i < length; ++i) {
        uint32_t bit = 0;
        if (ReadDropped(reader, 1, bit) < 0) return -1;
        out = (out << 1) | bit;
    }
    return 0;
}
}  // namespace

int CSLConfigDescriptor::Parse(CBitStreamReader& reader) {
    if (m_tag != kSLConfigDescrTag) {
        CORVEL_LOG("[CSLConfigDescriptor::Parse] 0x%x is not SLConfigDescrTag(0x%x)", m_tag, kSLConfigDescrTag);
        return -1;
    }
    if (reader.ReadBits(8, m_predefined) < 0) return -1;
    CORVEL_LOG("[CSLConfigDescriptor::Parse] predefined - 0x%x", m_predefined);
    if (m_predefined == 0) {
        if (ReadLoggedFields(reader, {
                {m_useAccessUnitStartFlag, 1, "[CSLConfigDescriptor::Parse] useAccessUnitStartFlag - %ld"},
                {m_useAccessUnitEndFlag, 1, "[CSLConfigDescriptor::Parse] useAccessUnitEndFlag - %ld"},
                {m_useRandomAccessPointFlag, 1, "[CSLConfigDescriptor::Parse] useRandomAccessPointFlag - %ld"},
                {m_hasRandomAccessUnitsOnlyFlag, 1, "[CSLConfigDescriptor::Parse] hasRandomAccessUnitsOnlyFlag - %ld"},
                {m_usePaddingFlag, 1, "[CSLConfigDescriptor::Parse] usePaddingFlag - %ld"},
                {m_useTimeStampsFlag, 1, "[CSLConfigDescriptor::Parse] useTimeStampsFlag - %ld"},
                {m_useIdleFlag, 1, "[CSLConfigDescriptor::Parse] useIdleFlag - %ld"},
                {m_durationFlag, 1, "[CSLConfigDescriptor::Parse] durationFlag - %ld"},
                {m_timeStampResolution, 32, "[CSLConfigDescriptor::Parse] timeStampResolution - %ld"},
                {m_OCRResolution, 32, "[CSLConfigDescriptor::Parse] OCRResolution - %ld"},
                {m_timeStampLength, 8, "[CSLConfigDescriptor::Parse] timeStampLength - %ld"},
                {m_OCRLength, 8, "[CSLConfigDescriptor::Parse] OCRLength - %ld"},
                {m_AU_Length, 8, "[CSLConfigDescriptor::Parse] AU_Length - %ld"},
                {m_instantBitrateLength, 8, "[CSLConfigDescriptor::Parse] instantBitrateLength - %ld"},
                {m_degradationPriorityLength, 4, "[CSLConfigDescriptor::Parse] degradationPriorityLength - %ld"},
                {m_AU_seqNumLength, 5, "[CSLConfigDescriptor::Parse] AU_seqNumLength - %ld"},
                {m_packetSeqNumLength, 5, "[CSLConfigDescriptor::Parse] packetSeqNumLength - %ld"},
            }) < 0)
            return -1;
        if (reader.ReadBits(2, m_reserved) < 0) return -1;
        CORVEL_LOG("[CSLConfigDescriptor::Parse] reserved - 0x%x", m_reserved);
    } else if (m_predefined == 1) {
        m_timeStampResolution = 1000;
        m_timeStampLength = 32;
    } else if (m_predefined == 2) {
        m_useTimeStampsFlag = 1;
    }
    if (m_durationFlag) {
        if (reader.ReadBits(32, m_timeScale) < 0 || reader.ReadBits(16, m_accessUnitDuration) < 0 ||
            reader.ReadBits(16, m_compositionUnitDuration) < 0)
            return -1;
        CORVEL_LOG("[CSLConfigDescriptor::Parse] timeScale - %ld", static_cast<long>(m_timeScale));
        CORVEL_LOG("[CSLConfigDescriptor::Parse] accessUnitDuration - %ld", static_cast<long>(m_accessUnitDuration));
        CORVEL_LOG("[CSLConfigDescriptor::Parse] compositionUnitDuration - %ld", static_cast<long>(m_compositionUnitDuration));
    }
    if (!m_useTimeStampsFlag) {
        if (ReadTimeStamp(reader, m_timeStampLength, m_startDecodingTimeStamp) < 0 ||
            ReadTimeStamp(reader, m_timeStampLength, m_startCompositionTimeStamp) < 0)
            return -1;
        CORVEL_LOG("[CSLConfigDescriptor::Parse] startDecodingTimeStamp - %lld",
                   static_cast<long long>(m_startDecodingTimeStamp));
        CORVEL_LOG("[CSLConfigDescriptor::Parse] startCompositionTimeStamp - %lld",
                   static_cast<long long>(m_startCompositionTimeStamp));
    }
    return 0;
}

int CESDescriptor::Parse(CBitStreamReader& reader) {
    if (m_tag != kESDescrTag) {
        CORVEL_LOG("[CESDescriptor::Parse] Tag is not ES_DescrTag(0x3) but %ld", static_cast<long>(m_tag));
        return -1;
    }
    if (reader.ReadBits(16, m_esId) < 0 || reader.ReadBits(1, m_streamDependenceFlag) < 0 ||
        reader.ReadBits(1, m_urlFlag) < 0 || reader.ReadBits(1, m_ocrStreamFlag) < 0 ||
        reader.ReadBits(5, m_streamPriority) < 0)
        return -1;
    CORVEL_LOG("[CESDescriptor::Parse] ES_ID(16) - %ld", static_cast<long>(m_esId));
    CORVEL_LOG("[CESDescriptor::Parse] streamDependenceFlag(1) - %d", m_streamDependenceFlag);
    CORVEL_LOG("[CESDescriptor::Parse] URL_Flag(1) - %d", m_urlFlag);
    CORVEL_LOG("[CESDescriptor::Parse] OCRstreamFlag(1) - %d", m_ocrStreamFlag);
    CORVEL_LOG("[CESDescriptor::Parse] streamPriority(5) - %d", m_streamPriority);
    // The optional fields: a field the bytes do not hold stays 0.
    if (m_streamDependenceFlag && reader.ReadBits(16, m_dependsOnEsId) == 0)
        CORVEL_LOG("[CESDescriptor::Parse] dependson_ES_ID(16) - %ld", static_cast<long>(m_dependsOnEsId));
    if (m_urlFlag && reader.ReadBits(8, m_urlLength) == 0) {
        CORVEL_LOG("[CESDescriptor::Parse] URLlength(8) - %ld", static_cast<long>(m_urlLength));
        reader.ReadBytes(std::min<uint64_t>(m_urlLength, reader.PresentBytes()), m_urlString);
        CORVEL_LOG("[CESDescriptor::Parse] URLstring - %s", m_urlString.c_str());
    }
    if (m_ocrStreamFlag && reader.ReadBits(16, m_ocrEsId) == 0)
        CORVEL_LOG("[CESDescriptor::Parse] OCR_ES_ID(16) - %ld", static_cast<long>(m_ocrEsId));

    // No decoder config descriptor: the ES descriptor ends here.
    auto config = std::make_unique<CDecoderConfigDescriptor>();
    if (ReadDescriptorHeader(reader, *config) < 0) return 0;
    m_decoderConfig = std::move(config);
    if (ParseDescriptorBody(reader, *m_decoderConfig) < 0) {
        CORVEL_LOG("[CESDescriptor::Parse] Fail to parsing a DecoderConfigDescriptor");
        return -1;
    }
    auto sl = std::make_unique<CSLConfigDescriptor>();
    if (ReadDescriptorHeader(reader, *sl) < 0) {
        CORVEL_LOG("[CESDescriptor::Parse] fail to parsing a SLConfigDescriptor");
        return -1;
    }
    m_slConfig = std::move(sl);
    if (ParseDescriptorBody(reader, *m_slConfig) != 0) {
        CORVEL_LOG("[CESDescriptor::Parse] fail to parsing a SLConfigDescriptor");
        return -1;
    }
    return 0;
}

int ESDescriptorBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[ESDescriptorBox::ParseBox] Parsing Error");
        return -1;
    }
    auto es = std::make_unique<CESDescriptor>();
    if (ReadDescriptorHeader(reader, *es) < 0) {
        CORVEL_LOG("[ESDescriptorBox::ParseBox] Fail to parsing a Base Descriptor");
        return -1;
    }
    m_esDescriptor = std::move(es);
    if (ParseDescriptorBody(reader, *m_esDescriptor) < 0) {
        CORVEL_LOG("[ESDescriptorBox::ParseBox] Fail to parsing a ESDescriptor");
        return -1;
    }
    CORVEL_LOG("[ESDescriptorBox::ParseBox] totally not implemented parsing ES_Descriptor ");
    reader.SkipBits(reader.RemainingBits);
    return 0;
}

const CAudioSpecificConfig* ESDescriptorBox::AudioConfig() const {
    const CDecoderConfigDescriptor* config = m_esDescriptor ? m_esDescriptor->m_decoderConfig.get() : nullptr;
    if (!config || config->m_objectTypeIndication != 0x40) return nullptr;
    return dynamic_cast<const CAudioSpecificConfig*>(config->m_decoderSpecificInfo.get());
}
