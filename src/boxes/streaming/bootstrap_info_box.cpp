#include "boxes/streaming/bootstrap_info_box.h"

#include "base/log.h"
#include "boxes/child_loop.h"
#include "boxes/sampletable/table_reader.h"
#include "boxes/streaming/run_table_boxes.h"
#include "boxes/streaming/terminated_text.h"

int CBootStrapInfoBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_BootstrapinfoVersion) < 0 || reader.ReadBits(2, m_Profile) < 0 ||
        reader.ReadBits(1, m_Live) < 0 || reader.ReadBits(1, m_Update) < 0 || reader.ReadBits(4, m_reserved) < 0 ||
        reader.ReadBits(32, m_TimeScale) < 0 || reader.ReadBits(64, m_CurrentMediaTime) < 0 ||
        reader.ReadBits(64, m_SmpteTimeCodeOffset) < 0 || ReadZeroTerminated(reader, m_MovieIdentifier) < 0)
        return -1;
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] BootstrapinfoVersion: %ld", static_cast<long>(m_BootstrapinfoVersion));
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] Profile: %ld", static_cast<long>(m_Profile));
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] Live: %ld", static_cast<long>(m_Live));
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] Update: %ld", static_cast<long>(m_Update));
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] Reserved: %ld", static_cast<long>(m_reserved));
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] TimeScale: %ld", static_cast<long>(m_TimeScale));
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] CurrentMediaTime: %lld", static_cast<long long>(m_CurrentMediaTime));
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] SmpteTimeCodeOffset: %lld",
               static_cast<long long>(m_SmpteTimeCodeOffset));
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] MovieIdentifier: %s", m_MovieIdentifier.c_str());

    if (reader.ReadBits(8, m_ServerEntryCount) < 0) return -1;
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] ServerEntryCount: %ld", static_cast<long>(m_ServerEntryCount));
    if (ReadTextEntries(reader, m_ServerEntryCount, m_servers,
                        "[CBootStrapInfoBox::ParseBox] SERVERENTRY[%ld] ServerBaseURL: %s") < 0)
        return -1;
    if (reader.ReadBits(8, m_QualityEntryCount) < 0) return -1;
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] QualtiyEntryCount: %ld", static_cast<long>(m_QualityEntryCount));
    if (ReadTextEntries(reader, m_QualityEntryCount, m_qualities,
                        "[CBootStrapInfoBox::ParseBox] QUALITYENTRY[%ld] QualitySegmentUrlModifier: %s") < 0)
        return -1;
    if (ReadZeroTerminated(reader, m_DrmData) < 0 || ReadZeroTerminated(reader, m_MetaData) < 0) return -1;
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] DrmData: %s", m_DrmData.c_str());
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] MetaData: %s", m_MetaData.c_str());

    // The counts are 8 bits; a table that cannot be read ends the box.
    if (reader.ReadBits(8, m_SegmentRunTableCount) < 0) return -1;
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] SegmentRunTableCount: %ld", static_cast<long>(m_SegmentRunTableCount));
    for (uint32_t i = 0; i < m_SegmentRunTableCount; ++i)
        if (int status = ReadSegmentRunTableElement(reader); status < 0) return status;
    if (reader.ReadBits(8, m_FragmentRunTableCount) < 0) return -1;
    CORVEL_LOG("[CBootStrapInfoBox::ParseBox] FragmentRunTableCount: %ld", static_cast<long>(m_FragmentRunTableCount));
    for (uint32_t i = 0; i < m_FragmentRunTableCount; ++i)
        if (int status = ReadFragmentRunTableElement(reader); status < 0) return status;
    return 0;
}

int CBootStrapInfoBox::ReadTextEntries(CBitStreamReader& reader, uint32_t count, std::vector<TextEntry>& out,
                                       const char* logFormat) {
    return ReadEach(reader, count, 1, out, [&](TextEntry& e) {
        if (ReadZeroTerminated(reader, e.data) < 0) return -1;
        e.length = static_cast<uint32_t>(e.data.size());
        CORVEL_LOG(logFormat, static_cast<long>(out.size() - 1), e.data.c_str());
        return 0;
    });
}

int CBootStrapInfoBox::ReadSegmentRunTableElement(CBitStreamReader& reader) {
    return ReadRunTable<CSegmentRunTableBox>(reader,
                                             "[CBootStrapInfoBox::ReadSegmentRunTableElement] Box parsing error",
                                             "[CBootStrapInfoBox::ReadSegmentRunTableElement] Fail to parsing a "
                                             "box_type: 'asrt");
}

int CBootStrapInfoBox::ReadFragmentRunTableElement(CBitStreamReader& reader) {
    return ReadRunTable<CFragmentRunTableBox>(
        reader, "[CBootStrapInfoBox::ReadFragmentRunTableElement] Box parsing error", nullptr);
}

template <class T>
int CBootStrapInfoBox::ReadRunTable(CBitStreamReader& reader, const char* headerError, const char* failure) {
    // The child reader covers the box as its size field says, cut to what the payload
    // holds (size 0: all of it), as in any container.
    const uint64_t size = PeekBoxSize(reader);
    CBitStreamReader child = reader.SubReader(size == 0 ? reader.RemainingBytes() : size);
    const uint64_t childBits = child.RemainingBits;
    CBox header;
    header.m_startOffset = m_startOffset + static_cast<int64_t>(reader.BitPosition / 8);
    if (header.ParseBox(child) < 0) {
        CORVEL_LOG("%s", headerError);
        return -1;
    }
    auto table = std::make_unique<T>(header);
    const int status = table->ParseBox(child);
    NoteUnread(*table, child);
    // The next table starts at this one's declared end, whatever it read.
    reader.SkipBits(childBits);
    AddChildBox(std::move(table));
    if (status < 0) {
        if (failure) CORVEL_LOG("%s", failure);
        return -1;
    }
    return 0;
}
