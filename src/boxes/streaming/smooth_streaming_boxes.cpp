#include "boxes/streaming/smooth_streaming_boxes.h"

#include "base/log.h"
#include "boxes/protection/sample_encryption_box.h"
#include "boxes/sampletable/table_reader.h"
#include "boxes/streaming/user_types.h"

namespace {
ChildMade TrailingChild(const CBox& header) {
    if (header.m_type != FourCC("uuid")) return Unknown();
    LogDispatch(11, "##### User Extension Box('uuid')");
    return UserExtensionChild(header);
}
}  // namespace

ChildMade UserExtensionChild(const CBox& header) {
    if (HasUserType(header, kTfxdUserType)) return Known<CTfxdBox>(header);
    if (HasUserType(header, kTfrfUserType)) return Known<CTfrfBox>(header);
    if (HasUserType(header, kPiffSampleEncryptionUserType)) return Known<CSampleEncryptionBox>(header);
    return Placeholder(header);
}

int CTfxdBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || ReadVersionedValue(reader, m_version, m_fragmentAbsoluteTime) < 0 ||
        ReadVersionedValue(reader, m_version, m_fragmentDuration) < 0)
        return -1;
    CORVEL_LOG("[Tfxd Box] Fragmenet Absolute Time Stamp :%lld", static_cast<long long>(m_fragmentAbsoluteTime));
    CORVEL_LOG("[Tfxd Box] Fragmenet Duration :%lld", static_cast<long long>(m_fragmentDuration));
    // Nested tfxd and tfrf boxes go through the child loop, which bounds their depth.
    static const ContainerTexts texts{
        "[CTfxdBox] box size is larger than 8bytes - %d", "[CTfxdBox::ParseBox] Box parsing error",
        "[CTfxdBox::ParseBox] unknow box type ... - %s", "[CTfxdBox::ParseBox] Box parsing is failed", nullptr};
    return ParseChildren(*this, reader, texts, TrailingChild);
}

int CTfrfBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(8, m_fragmentCount) < 0) return -1;
    CORVEL_LOG("[Tfrf Box] Fragment Count :%ld", static_cast<long>(m_fragmentCount));
    const uint32_t bits = m_version == 1 ? 64 : 32;
    int status = ReadEach(reader, m_fragmentCount, 2 * bits / 8, m_fragments, [&](Fragment& f) {
        if (reader.ReadBits(bits, f.absoluteTime) < 0 || reader.ReadBits(bits, f.duration) < 0) return -1;
        CORVEL_LOG("[Tfrf Box] Fragment Absolute Time :%lld", static_cast<long long>(f.absoluteTime));
        CORVEL_LOG("[Tfrf Box] Fragment Duration :%lld", static_cast<long long>(f.duration));
        return 0;
    });
    if (status < 0) return status;
    static const ContainerTexts texts{"[CTfrfBox::ParseBox] box size is larger than 8bytes - %d", nullptr,
                                      "[CTfrfBox::ParseBox] unknow box type ... - %s",
                                      "[CTfrfBox::ParseBox] Box parsing is failed", nullptr};
    return ParseChildren(*this, reader, texts, TrailingChild);
}
