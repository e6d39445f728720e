#include "boxes/sampleentry/audio_sample_entries.h"

#include "base/log.h"

int CAudioSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0 || reader.ReadBits(16, m_soundVersion) < 0 ||
        reader.ReadBits(16, m_revision) < 0 || reader.ReadBits(32, m_vendor) < 0 ||
        reader.ReadBits(16, m_channelCount) < 0 || reader.ReadBits(16, m_sampleSize) < 0 ||
        reader.ReadBits(16, m_preDefined) < 0 || reader.ReadBits(16, m_reserved3) < 0 ||
        reader.ReadBits(32, m_sampleRate) < 0) {
        CORVEL_LOG("[CAudioSampleEntry::ParseBox] Parsing Error");
        return -1;
    }
    if (m_type != FourCC("mp4a")) ReadThrough(reader);
    return 0;
}

int CMPEG4AudioSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("mp4a")) {
        CORVEL_LOG("[CMPEG4AudioSampleEntry::ParseBox] box type is not 'mp4a but %s", TypeText().c_str());
        return -1;
    }
    if (CAudioSampleEntry::ParseBox(reader) < 0) {
        CORVEL_LOG("[CMPEG4AudioSampleEntry::ParseBox] Parsing Error");
        return -1;
    }
    static const EsdsEntryTexts texts{"[CMPEG4AudioSampleEntry::ParseBox] Parsing Error",
                                      "[CMPEG4AudioSampleEntry::ParseBox] Parsign Error - ES Descriptor Box ",
                                      {"[CMPEG4AudioSampleEntry::ParseBox] box size is larger than 8bytes - %d",
                                       "[CMPEG4AudioSampleEntry::ParseBox] Box parsing error",
                                       "[CMPEG4AudioSampleEntry::ParseBox] Unknown Box Type - %s",
                                       " Fail to parse a MPEG4 Audio Sample Entry ~~", nullptr}};
    return ParseEsdsAndAfter(*this, reader, texts, /*esdsMayFail=*/true);
}

int CMPEGSampleEntry::ParseBox(CBitStreamReader& reader) {
    static const EsdsEntryTexts texts{"[CMPEGSampleEntry::ParseBox] Parsing Error",
                                      "[CMPEGSampleEntry::ParseBox] Parsign Error - ES Descriptor Box ",
                                      {"[CMPEGSampleEntry::ParseBox] box size is larger than 8bytes - %d",
                                       "[CMPEGSampleEntry::ParseBox] Box parsing error",
                                       "[CMPEGSampleEntry::ParseBox] Unknown Box Type - %s",
                                       " Fail to parse a MPEG Sample Entry ~~", nullptr}};
    if (CSampleEntry::ParseBox(reader) < 0) {
        CORVEL_LOG("%s", texts.headerError);
        return -1;
    }
    return ParseEsdsAndAfter(*this, reader, texts, /*esdsMayFail=*/false);
}
