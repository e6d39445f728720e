// The pages of the audio codec configurations inside sample entries: dOps, dfLa, dac3,
// dec3, the ALAC magic cookie and damr.
#include <string>

#include "boxes/audiocodecs/ac3_config_box.h"
#include "boxes/audiocodecs/alac_config_box.h"
#include "boxes/audiocodecs/amr_config_box.h"
#include "boxes/audiocodecs/eac3_config_box.h"
#include "boxes/audiocodecs/flac_config_box.h"
#include "boxes/audiocodecs/opus_config_box.h"
#include "boxes/sampleentry/sample_description_box.h"
#include "report/box_entry.h"
#include "report/box_page.h"

namespace {
// A coded number with its meaning beside it: "7 (0X7) 3/2".
void Coded(PageBuilder& page, const char* label, const uint32_t& field, const char* meaning) {
    page.Row(label, Format("%u (0X%X)", field, field) + (meaning && *meaning ? std::string(" ") + meaning : ""), {field});
}
// A small number in hexadecimal too, without a meaning: "16 (0X10)".
void Small(PageBuilder& page, const char* label, const uint32_t& field) { Coded(page, label, field, nullptr); }


// The AC-3 and E-AC-3 codes, as their bit stream syntax defines them.
const char* SampleRateCode(uint32_t fscod) { return NameOf({"48 kHz", "44.1 kHz", "32 kHz", "reserved"}, fscod); }
const char* ServiceMode(uint32_t bsmod, uint32_t acmod) {
    // bsmod 7 is a voice over with one channel, karaoke with more.
    if (bsmod == 7) return acmod == 1 ? "voice over" : "karaoke";
    return NameOf({"complete main", "music and effects", "visually impaired", "hearing impaired", "dialogue",
                  "commentary", "emergency"},
                 bsmod);
}
// Front channels / rear channels.
const char* CodingMode(uint32_t acmod) { return NameOf({"1+1", "1/0", "2/0", "3/0", "2/1", "3/1", "2/2", "3/2"}, acmod); }
const char* LfeText(uint32_t lfeon) { return lfeon ? "LFE" : "no LFE"; }
// The channels of a dependent substream's chan_loc, its first bit the most significant.
std::string ChannelLocationsText(uint32_t chanLoc) {
    static const char* const kLocations[] = {"Lc/Rc", "Lrs/Rrs", "Cs", "Ts", "Lsd/Rsd", "Lw/Rw", "Lvh/Rvh", "Cvh", "LFE2"};
    std::string text = Format("%u (0X%X)", chanLoc, chanLoc);
    bool first = true;
    for (int bit = 0; bit < 9; ++bit)
        if (chanLoc & (1u << (8 - bit))) {
            text += std::string(first ? " " : ", ") + kLocations[bit];
            first = false;
        }
    return text;
}

void Ac3Rows(PageBuilder& page, const CAC3ConfigBox& b) {
    static const uint32_t kRates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448, 512, 576, 640};
    page.Table();
    Coded(page, "Sample rate code", b.m_fscod, SampleRateCode(b.m_fscod));
    Small(page, "Bit stream identification", b.m_bsid);
    Coded(page, "Bit stream mode", b.m_bsmod, ServiceMode(b.m_bsmod, b.m_acmod));
    Coded(page, "Audio coding mode", b.m_acmod, CodingMode(b.m_acmod));
    Coded(page, "Low frequency effects", b.m_lfeon, LfeText(b.m_lfeon));
    const std::string rate = b.m_bitRateCode < std::size(kRates) ? Format("%u kbit/s", kRates[b.m_bitRateCode]) : "";
    Coded(page, "Bit rate code", b.m_bitRateCode, rate.c_str());
    Small(page, "Reserved", b.m_reserved);
}

void Eac3Rows(PageBuilder& page, const CEAC3ConfigBox& b) {
    page.Table();
    page.Row("Data rate", Format("%u (0X%X) kbit/s", b.m_dataRate, b.m_dataRate), {b.m_dataRate});
    page.Row("Independent substreams", Format("%u (0X%X) %u", b.m_numIndSub, b.m_numIndSub, b.m_numIndSub + 1),
             {b.m_numIndSub});
    for (size_t i = 0; i < b.m_substreams.size(); ++i) {
        const CEAC3ConfigBox::Substream& s = b.m_substreams[i];
        page.Table(Format("Independent substream %zu", i));
        Coded(page, "Sample rate code", s.fscod, SampleRateCode(s.fscod));
        Small(page, "Bit stream identification", s.bsid);
        Small(page, "Reserved", s.reserved1);
        Coded(page, "Associated service", s.asvc, s.asvc ? "yes" : "no");
        Coded(page, "Bit stream mode", s.bsmod, ServiceMode(s.bsmod, s.acmod));
        Coded(page, "Audio coding mode", s.acmod, CodingMode(s.acmod));
        Coded(page, "Low frequency effects", s.lfeon, LfeText(s.lfeon));
        Small(page, "Reserved", s.reserved2);
        Small(page, "Dependent substreams", s.numDepSub);
        if (s.numDepSub) page.Row("Channel locations", ChannelLocationsText(s.chanLoc), {s.chanLoc});
        else Small(page, "Reserved", s.chanLoc);
    }
}

const char* FlacBlockName(uint32_t type) {
    if (type == 127) return "invalid";
    return NameOf({"STREAMINFO", "PADDING", "APPLICATION", "SEEKTABLE", "VORBIS_COMMENT", "CUESHEET", "PICTURE"}, type);
}

void FlacRows(PageBuilder& page, const CFlacConfigBox& b) {
    page.List("Metadata blocks", {"Last", "Block type", "Length"});
    for (const CFlacConfigBox::Block& block : b.m_blocks)
        page.ListEntry({Decimal(uint64_t{block.last}), Format("%u %s", block.type, FlacBlockName(block.type)),
                        Decimal(uint64_t{block.length})},
                       {block});
    if (!b.m_hasStreamInfo) return;
    const CFlacConfigBox::StreamInfo& s = b.m_streamInfo;
    page.Table("STREAMINFO");
    page.U32("Minimum block size", s.minBlockSize);
    page.U32("Maximum block size", s.maxBlockSize);
    page.U32("Minimum frame size", s.minFrameSize);
    page.U32("Maximum frame size", s.maxFrameSize);
    page.Row("Sample rate", Format("%u (0X%X) Hz", s.sampleRate, s.sampleRate), {s.sampleRate});
    page.Row("Channels", Format("%u (0X%X) %u channels", s.channelsMinus1, s.channelsMinus1, s.channelsMinus1 + 1),
             {s.channelsMinus1});
    page.Row("Bits per sample", Format("%u (0X%X) %u bits", s.bitsPerSampleMinus1, s.bitsPerSampleMinus1,
                                       s.bitsPerSampleMinus1 + 1),
             {s.bitsPerSampleMinus1});
    page.U64("Total samples", s.totalSamples);
    page.Row("MD5 signature", FormatBytesText(s.md5.data(), s.md5.size()), {s.md5});
}

const char* MappingFamilyName(uint32_t family) {
    switch (family) {
        case 0: return "mono or stereo";
        case 1: return "Vorbis channel order";
        case 2: return "ambisonics";
        case 3: return "ambisonics with demixing";
        case 255: return "unordered channels";
        default: return "";
    }
}

void OpusRows(PageBuilder& page, const COpusConfigBox& b) {
    page.Table();
    Small(page, "Version", b.m_version);
    Small(page, "Output channel count", b.m_outputChannelCount);
    page.Row("Pre-skip", Format("%u (0X%X) samples", b.m_preSkip, b.m_preSkip), {b.m_preSkip});
    page.Row("Input sample rate", Format("%u (0X%X) Hz", b.m_inputSampleRate, b.m_inputSampleRate),
             {b.m_inputSampleRate});
    const int16_t gain = static_cast<int16_t>(b.m_outputGain);
    page.Row("Output gain", Format("%d (0X%04X) %.2f dB", gain, b.m_outputGain, gain / 256.0), {b.m_outputGain});
    Coded(page, "Channel mapping family", b.m_channelMappingFamily, MappingFamilyName(b.m_channelMappingFamily));
    if (b.m_channelMappingFamily == 0) return;
    Small(page, "Stream count", b.m_streamCount);
    Small(page, "Coupled count", b.m_coupledCount);
    page.Row("Channel mapping", FormatBytesText(b.m_channelMapping.data(), b.m_channelMapping.size()),
             {b.m_channelMapping});
}

void AlacRows(PageBuilder& page, const CALACConfigBox& b) {
    page.Table();
    page.U32("Frame length", b.m_frameLength);
    Small(page, "Compatible version", b.m_compatibleVersion);
    Small(page, "Bit depth", b.m_bitDepth);
    Small(page, "Rice history mult (pb)", b.m_pb);
    Small(page, "Rice initial history (mb)", b.m_mb);
    Small(page, "Rice parameter limit (kb)", b.m_kb);
    Small(page, "Channels", b.m_numChannels);
    Small(page, "Max run", b.m_maxRun);
    page.U32("Max frame bytes", b.m_maxFrameBytes);
    page.U32("Average bit rate", b.m_avgBitRate);
    page.U32("Sample rate", b.m_sampleRate);
}

// The modes of an AMR mode set: bit n for mode n.
std::string ModeSetText(uint32_t modes) {
    std::string text = Format("%u (0X%04X)", modes, modes);
    const char* separator = " modes ";
    for (int mode = 0; mode < 16; ++mode)
        if (modes & (1u << mode)) {
            text += separator + std::to_string(mode);
            separator = ", ";
        }
    return text;
}

void AmrRows(PageBuilder& page, const CAMRConfigBox& b) {
    page.Table();
    page.Row("Vendor", FourCCValue(b.m_vendor) + Text(Format(" (0X%08X)", b.m_vendor)), {b.m_vendor});
    Small(page, "Decoder version", b.m_decoderVersion);
    page.Row("Mode set", ModeSetText(b.m_modeSet), {b.m_modeSet});
    Small(page, "Mode change period", b.m_modeChangePeriod);
    Small(page, "Frames per sample", b.m_framesPerSample);
}

// alac names both the entry of an ALAC track and the cookie inside it.
std::string AlacTitle(const CBox* parent, const CBox&) {
    if (auto* stsd = dynamic_cast<const CSampleDescriptionBox*>(parent)) return SampleEntryTitle(stsd->GetHandlerType());
    return "ALAC Configuration Box";
}
void AlacEntryOrCookieRows(PageBuilder& page, const CBox& box) {
    if (auto* cookie = dynamic_cast<const CALACConfigBox*>(&box)) AlacRows(page, *cookie);
    else SampleEntryRows(page, box);
}

constexpr BoxEntry kEntries[] = {
    {FourCC("dOps"), "Opus Configuration Box", nullptr, RowsOf<COpusConfigBox, OpusRows>},
    {FourCC("dfLa"), "FLAC Configuration Box", nullptr, RowsOf<CFlacConfigBox, FlacRows>},
    {FourCC("dac3"), "AC-3 Configuration Box", nullptr, RowsOf<CAC3ConfigBox, Ac3Rows>},
    {FourCC("dec3"), "E-AC-3 Configuration Box", nullptr, RowsOf<CEAC3ConfigBox, Eac3Rows>},
    {FourCC("alac"), nullptr, AlacTitle, AlacEntryOrCookieRows},
    {FourCC("damr"), "AMR Configuration Box", nullptr, RowsOf<CAMRConfigBox, AmrRows>},
};
}  // namespace

std::span<const BoxEntry> AudioCodecEntries() { return kEntries; }
