#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"

// abst (HTTP Dynamic Streaming): the bootstrap of a presentation: its servers,
// qualities and times, with its segment run tables (asrt) and fragment run tables
// (afrt) as child boxes, segment run tables first.
class CBootStrapInfoBox : public CFullBox {
public:
    // A server base URL or a quality segment URL modifier. `length` counts the bytes of
    // the text, not its terminating zero.
    struct TextEntry {
        uint32_t length = 0;
        std::string data;
    };

    explicit CBootStrapInfoBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    const std::string& GetMovieIdentifier() const { return m_MovieIdentifier; }
    const std::string& GetDrmData() const { return m_DrmData; }
    const std::string& GetMetaData() const { return m_MetaData; }
    // Null at or past the entries read.
    const TextEntry* GetServerEntry(size_t i) const { return i < m_servers.size() ? &m_servers[i] : nullptr; }
    const TextEntry* GetQualityEntry(size_t i) const { return i < m_qualities.size() ? &m_qualities[i] : nullptr; }

    uint32_t m_BootstrapinfoVersion = 0;
    uint32_t m_Profile = 0;   // 2 bits
    uint32_t m_Live = 0;      // 1 when the bit is set
    uint32_t m_Update = 0;    // 1 when the bit is set
    uint32_t m_reserved = 0;  // 4 bits
    uint32_t m_TimeScale = 0;
    uint64_t m_CurrentMediaTime = 0;
    uint64_t m_SmpteTimeCodeOffset = 0;
    std::string m_MovieIdentifier;
    uint32_t m_ServerEntryCount = 0;  // 8 bits
    std::vector<TextEntry> m_servers;
    uint32_t m_QualityEntryCount = 0;  // 8 bits
    std::vector<TextEntry> m_qualities;
    std::string m_DrmData;
    std::string m_MetaData;
    uint32_t m_SegmentRunTableCount = 0;   // 8 bits
    uint32_t m_FragmentRunTableCount = 0;  // 8 bits

private:
    int ReadSegmentRunTableElement(CBitStreamReader& reader);
    int ReadFragmentRunTableElement(CBitStreamReader& reader);
    // One run table box of class T from the rest of the payload, appended as a child.
    template <class T>
    int ReadRunTable(CBitStreamReader& reader, const char* headerError, const char* failure);
    int ReadTextEntries(CBitStreamReader& reader, uint32_t count, std::vector<TextEntry>& out, const char* logFormat);
};
