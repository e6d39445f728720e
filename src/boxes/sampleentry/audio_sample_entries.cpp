#include "boxes/sampleentry/audio_sample_entries.h"

#include "base/log.h"

int CAudioSampleEntry::ParseBox(CBitStreamReader& reader) {
    return ReadAudioFields(reader) < 0 ? -1 : ParseEntryChildren(*this, reader);
}

int CAudioSampleEntry::ReadAudioFields(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0 || reader.ReadBits(16, m_soundVersion) < 0 ||
        reader.ReadBits(16, m_revision) < 0 || reader.ReadBits(32, m_vendor) < 0 ||
        reader.ReadBits(16, m_channelCount) < 0 || reader.ReadBits(16, m_sampleSize) < 0 ||
        reader.ReadBits(16, m_preDefined) < 0 || reader.ReadBits(16, m_reserved3) < 0 ||
        reader.ReadBits(32, m_sampleRate) < 0) {
        CORVEL_LOG("[CAudioSampleEntry::ParseBox] Parsing Error");
        return -1;
    }
    if (HasSoundVersion1()) {
        for (uint32_t* field : {&m_samplesPerPacket, &m_bytesPerPacket, &m_bytesPerFrame, &m_bytesPerSample})
            if (reader.ReadBits(32, *field) < 0) return -1;
    } else if (HasSoundVersion2()) {
        if (reader.ReadBits(32, m_structSize) < 0 || reader.Read64(m_audioSampleRate) < 0) return -1;
        for (uint32_t* field : {&m_audioChannels, &m_always7F000000, &m_bitsPerChannel, &m_formatFlags,
                                &m_constBytesPerPacket, &m_constFramesPerPacket})
            if (reader.ReadBits(32, *field) < 0) return -1;
    }
    return 0;
}

int CMPEG4AudioSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("mp4a")) {
        CORVEL_LOG("[CMPEG4AudioSampleEntry::ParseBox] box type is not 'mp4a but %s", TypeText().c_str());
        return -1;
    }
    if (ReadAudioFields(reader) < 0) {
        CORVEL_LOG("[CMPEG4AudioSampleEntry::ParseBox] Parsing Error");
        return -1;
    }
    if (HasSoundVersion1() || HasSoundVersion2()) return ParseEntryChildren(*this, reader);
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
