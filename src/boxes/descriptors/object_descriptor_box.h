#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "boxes/box.h"
#include "boxes/descriptors/base_descriptor.h"

// ES_ID_Inc (tag 0x0E): a track of the presentation.
class CES_ID_Inc : public CBaseDescriptor {
public:
    int Parse(CBitStreamReader& reader) override;
    uint32_t m_trackID = 0;
};

// ES_ID_Ref (tag 0x0F): one 16-bit index into the track's 'mpod' references.
class CES_ID_Ref : public CBaseDescriptor {
public:
    int Parse(CBitStreamReader& reader) override;
    uint32_t m_refIndex = 0;
};

// The fields an initial object descriptor and an object descriptor share.
class CObjectDescriptorBase : public CBaseDescriptor {
public:
    uint32_t m_objectDescriptorID = 0;  // 10
    uint32_t m_urlFlag = 0;             // 1
    uint32_t m_urlLength = 0;           // 8, with the URL flag
    std::string m_urlString;

protected:
    // The URL length and string.
    int ReadUrl(CBitStreamReader& reader, const char* lengthLog, const char* stringLog);
};

// MP4_IOD (tag 0x10): the profile levels and the ES_ID_Inc descriptors of a movie.
class CIntialObjectDescriptor : public CObjectDescriptorBase {
public:
    int Parse(CBitStreamReader& reader) override;
    // The descriptors of a tag: ES_ID_Inc only; another tag has none.
    size_t GetDescriptorCount(uint32_t tag) const { return tag == kES_ID_IncTag ? m_esIdIncs.size() : 0; }
    const CES_ID_Inc* GetDescriptor(uint32_t tag, size_t i) const {
        return i < GetDescriptorCount(tag) ? m_esIdIncs[i].get() : nullptr;
    }

    uint32_t m_includeInlineProfileLevelFlag = 0;
    uint32_t m_reserved = 0;  // 4
    uint32_t m_ODProfileLevelIndication = 0;
    uint32_t m_sceneProfileLevelIndication = 0;
    uint32_t m_audioProfileLevelIndication = 0;
    uint32_t m_visualProfileLevelIndication = 0;
    uint32_t m_graphicsProfileLevelIndication = 0;
    std::vector<std::unique_ptr<CES_ID_Inc>> m_esIdIncs;
};

// MP4_OD (tag 0x11): the ES_ID_Ref descriptors of an object.
class CObjectDescriptor : public CObjectDescriptorBase {
public:
    int Parse(CBitStreamReader& reader) override;
    size_t GetDescriptorCount(uint32_t tag) const { return tag == kES_ID_RefTag ? m_esIdRefs.size() : 0; }
    const CES_ID_Ref* GetDescriptor(uint32_t tag, size_t i) const {
        return i < GetDescriptorCount(tag) ? m_esIdRefs[i].get() : nullptr;
    }

    uint32_t m_reserved = 0;  // 5
    std::vector<std::unique_ptr<CES_ID_Ref>> m_esIdRefs;
};

// iods: the movie's object descriptor.
class CObjectDescriptorBox : public CFullBox {
public:
    explicit CObjectDescriptorBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::unique_ptr<CObjectDescriptorBase> m_descriptor;  // an MP4_IOD or MP4_OD, or none
};
