#include "boxes/descriptors/object_descriptor_box.h"

#include "base/log.h"

namespace {
// A descriptor that is read through and dropped.
class CDroppedDescriptor : public CBaseDescriptor {
public:
    int Parse(CBitStreamReader& reader) override {
        reader.SkipBits(reader.RemainingBits);
        return 0;
    }
};

int DropDescriptor(CBitStreamReader& reader) {
    CDroppedDescriptor d;
    if (ReadDescriptorHeader(reader, d) < 0) return -1;
    if (d.m_tag >= kExtDescrTagFirst && d.m_tag <= kExtDescrTagLast)
        CORVEL_LOG("[CObjectDescriptor::SetDescriptor] not supported tag - 0x%x", d.m_tag);
    return ParseDescriptorBody(reader, d);
}

// Reads the descriptors of one run: each while its tag, looked at without consuming
// it, lies in [first, last]. The run ends without error at another tag or when no
// byte remains; every descriptor takes at least its 2 header bytes.
template <class Read>
int ReadRun(CBitStreamReader& reader, uint32_t first, uint32_t last, Read&& read) {
    uint32_t tag = 0;
    while (PeekDescriptorTag(reader, tag) && tag >= first && tag <= last)
        if (read(reader) < 0) return -1;
    return 0;
}

// The runs of descriptors that are read and dropped, in their order, after `first`
// (the ES_ID_Inc or ES_ID_Ref run, read by the caller).
int DropRuns(CBitStreamReader& reader, bool toolList) {
    if (ReadRun(reader, kOCIDescrTagFirst, kOCIDescrTagLast, DropDescriptor) < 0 ||
        ReadRun(reader, kIPMPDescrPointerTag, kIPMPDescrPointerTag, DropDescriptor) < 0 ||
        ReadRun(reader, kIPMPDescrTag, kIPMPDescrTag, DropDescriptor) < 0 ||
        (toolList && ReadRun(reader, kIPMPToolListDescrTag, kIPMPToolListDescrTag, DropDescriptor) < 0))
        return -1;
    return ReadRun(reader, kExtDescrTagFirst, kExtDescrTagLast, DropDescriptor);
}

// Reads a descriptor of class T into `list`, where it stays whatever its body's parse.
template <class T>
int ReadInto(CBitStreamReader& reader, std::vector<std::unique_ptr<T>>& list) {
    auto d = std::make_unique<T>();
    if (ReadDescriptorHeader(reader, *d) < 0) return -1;
    T& kept = *list.emplace_back(std::move(d));
    return ParseDescriptorBody(reader, kept);
}
}  // namespace

int CES_ID_Inc::Parse(CBitStreamReader& reader) {
    if (m_tag != kES_ID_IncTag) {
        CORVEL_LOG("[CES_ID_Inc::Parse] Tag is not ES_ID_IncTag(0x%x) but %ld", kES_ID_IncTag, static_cast<long>(m_tag));
        return -1;
    }
    if (reader.ReadBits(32, m_trackID) < 0) return -1;
    CORVEL_LOG("[CES_ID_Inc::Parse] Track_ID: 0x%x", m_trackID);
    return 0;
}

int CES_ID_Ref::Parse(CBitStreamReader& reader) {
    if (m_tag != kES_ID_RefTag) {
        CORVEL_LOG("[CES_ID_Ref::Parse] Tag is not ES_ID_RefTag(0x%x) but %ld", kES_ID_RefTag, static_cast<long>(m_tag));
        return -1;
    }
    if (reader.ReadBits(16, m_refIndex) < 0) return -1;
    CORVEL_LOG("[CES_ID_Ref::Parse] ref_index: %u", m_refIndex);
    return 0;
}

int CObjectDescriptorBase::ReadUrl(CBitStreamReader& reader, const char* lengthLog, const char* stringLog) {
    if (reader.ReadBits(8, m_urlLength) < 0) return -1;
    CORVEL_LOG(lengthLog, static_cast<long>(m_urlLength));
    if (reader.ReadBytes(m_urlLength, m_urlString) < 0) return -1;
    CORVEL_LOG(stringLog, m_urlString.c_str());
    return 0;
}

int CIntialObjectDescriptor::Parse(CBitStreamReader& reader) {
    if (m_tag != kMP4_IOD_Tag) {
        CORVEL_LOG("[CObjectDescriptorBase::Parse] tag should be ObjectDescrTag(MP4_OD_Tag ) or "
                   "InitialObjectDescrTag(MP4_IOD_Tag) not 0x%x", m_tag);
        return -1;
    }
    if (reader.ReadBits(10, m_objectDescriptorID) < 0 || reader.ReadBits(1, m_urlFlag) < 0 ||
        reader.ReadBits(1, m_includeInlineProfileLevelFlag) < 0 || reader.ReadBits(4, m_reserved) < 0)
        return -1;
    CORVEL_LOG("[CIntialObjectDescriptor::Parse] ObjectDescriptorID(10) - 0x%x", m_objectDescriptorID);
    CORVEL_LOG("[CIntialObjectDescriptor::Parse] URL_Flag(1) - 0x%x", m_urlFlag);
    CORVEL_LOG("[CIntialObjectDescriptor::Parse] includeInlineProfileLevelFlag(1) - 0x%x", m_includeInlineProfileLevelFlag);
    CORVEL_LOG("[CIntialObjectDescriptor::Parse] reserved(4) - 0x%x", m_reserved);
    if (m_urlFlag) {
        if (ReadUrl(reader, "[CIntialObjectDescriptor::Parse] URLlength(8) - %ld",
                    "[CIntialObjectDescriptor::Parse] URLstring - %s") < 0)
            return -1;
        return ReadRun(reader, kExtDescrTagFirst, kExtDescrTagLast, DropDescriptor);
    }
    if (ReadLoggedFields(reader, {
            {m_ODProfileLevelIndication, 8, "[CIntialObjectDescriptor::Parse] ODProfileLevelIndication(8) - 0x%lx"},
            {m_sceneProfileLevelIndication, 8, "[CIntialObjectDescriptor::Parse] sceneProfileLevelIndication(8) - 0x%lx"},
            {m_audioProfileLevelIndication, 8, "[CIntialObjectDescriptor::Parse] audioProfileLevelIndication(8) - 0x%lx"},
            {m_visualProfileLevelIndication, 8, "[CIntialObjectDescriptor::Parse] visualProfileLevelIndication(8) - 0x%lx"},
            {m_graphicsProfileLevelIndication, 8, "[CIntialObjectDescriptor::Parse] graphicsProfileLevelIndication(8) - 0x%lx"},
        }) < 0)
        return -1;
    if (ReadRun(reader, kES_ID_IncTag, kES_ID_IncTag, [this](CBitStreamReader& r) { return ReadInto(r, m_esIdIncs); }) < 0)
        return -1;
    return DropRuns(reader, /*toolList=*/true);
}

int CObjectDescriptor::Parse(CBitStreamReader& reader) {
    if (m_tag != kMP4_OD_Tag) {
        if (m_tag == kObjectDescrTag || m_tag == kInitialObjectDescrTag || m_tag == kMP4_IOD_Tag)
            CORVEL_LOG("[CObjectDescriptor::Parse] the tag should be ObjectDescrTag(0x%x) not 0x%x", kMP4_OD_Tag, m_tag);
        else
            CORVEL_LOG("[CObjectDescriptorBase::Parse] tag should be ObjectDescrTag(MP4_OD_Tag ) or "
                       "InitialObjectDescrTag(MP4_IOD_Tag) not 0x%x", m_tag);
        return -1;
    }
    if (reader.ReadBits(10, m_objectDescriptorID) < 0 || reader.ReadBits(1, m_urlFlag) < 0 ||
        reader.ReadBits(5, m_reserved) < 0)
        return -1;
    CORVEL_LOG("[CObjectDescriptor::Parse] ObjectDescriptorID(10) - 0x%x", m_objectDescriptorID);
    CORVEL_LOG("[CObjectDescriptor::Parse] URL_Flag(1) - 0x%x", m_urlFlag);
    CORVEL_LOG("[CObjectDescriptor::Parse] reserved(5) - 0x%x", m_reserved);
    if (m_urlFlag) {
        if (ReadUrl(reader, "[CObjectDescriptor::Parse] URLlength(8) - %ld", "[CObjectDescriptor::Parse] URLstring - %s") < 0)
            return -1;
        return ReadRun(reader, kExtDescrTagFirst, kExtDescrTagLast, DropDescriptor);
    }
    if (ReadRun(reader, kES_ID_RefTag, kES_ID_RefTag, [this](CBitStreamReader& r) { return ReadInto(r, m_esIdRefs); }) < 0)
        return -1;
    return DropRuns(reader, /*toolList=*/false);
}

int CObjectDescriptorBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("iods")) {
        CORVEL_LOG("[CObjectDescriptorBox::ParseBox] box type is not 'iods' but %s", TypeText().c_str());
        return -1;
    }
    if (CFullBox::ParseBox(reader) < 0) return -1;
    uint32_t tag = 0;
    PeekDescriptorTag(reader, tag);
    if (tag == kMP4_IOD_Tag) m_descriptor = std::make_unique<CIntialObjectDescriptor>();
    else if (tag == kMP4_OD_Tag) m_descriptor = std::make_unique<CObjectDescriptor>();
    else {
        CDroppedDescriptor other;
        if (ReadDescriptorHeader(reader, other) < 0) return -1;
        CORVEL_LOG("[CObjectDescriptorBox::ParseBox] the tag should be MP4_IOD_Tag or MP4_OD_Tag not 0x%x", other.m_tag);
        return -1;
    }
    if (ReadDescriptorHeader(reader, *m_descriptor) < 0) {
        m_descriptor.reset();
        return -1;
    }
    if (ParseDescriptorBody(reader, *m_descriptor) < 0) {
        CORVEL_LOG("[CObjectDescriptorBox::ParseBox] Fail to Parsing a Object Descriptor");
        return -1;
    }
    return 0;
}
