#include "boxes/audiocodecs/opus_config_box.h"

int COpusConfigBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(8, m_version) < 0 || reader.ReadBits(8, m_outputChannelCount) < 0 ||
        reader.ReadBits(16, m_preSkip) < 0 || reader.ReadBits(32, m_inputSampleRate) < 0 ||
        reader.ReadBits(16, m_outputGain) < 0 || reader.ReadBits(8, m_channelMappingFamily) < 0)
        return -1;
    if (m_channelMappingFamily == 0) return 0;
    if (reader.ReadBits(8, m_streamCount) < 0 || reader.ReadBits(8, m_coupledCount) < 0) return -1;
    return reader.ReadBytes(m_outputChannelCount, m_channelMapping);
}
