// udta and meta: the containers of descriptive data.
#include "base/log.h"
#include "boxes/child_loop.h"
#include "boxes/containers/containers.h"
#include "boxes/metadata/chapter_list_box.h"
#include "boxes/metadata/hint_information_boxes.h"
#include "boxes/metadata/id3_tag_box.h"
#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_list_box.h"
#include "boxes/metadata/item_location_box.h"
#include "boxes/metadata/location_box.h"
#include "boxes/metadata/metadata_keys_box.h"
#include "boxes/metadata/name_box.h"
#include "boxes/metadata/tag_boxes.h"
#include "boxes/metadata/track_grouping_boxes.h"
#include "boxes/metadata/user_data_text_box.h"
#include "boxes/metadata/xml_boxes.h"
#include "boxes/items/item_data_box.h"
#include "boxes/items/item_reference_box.h"
#include "boxes/items/primary_item_box.h"
#include "boxes/presentation/free_space_box.h"
#include "boxes/presentation/handler_box.h"

int CUserDataBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("udta")) {
        CORVEL_LOG("[CUserDataBox::ParseBox] box_type is not 'udta' but %s", TypeText().c_str());
        return -1;
    }
    static const ContainerTexts texts{"[CUserDataBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CUserDataBox::ParseBox] Box parsing error",
                                      "[CUserDataBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [this](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("hnti"):
                // The hint information of the movie or of a track, by the udta's own parent.
                if (m_parentType == FourCC("moov")) return Known<CMovieHintInformation>(h);
                if (m_parentType == FourCC("trak")) return Known<CTrackHintInformation>(h);
                return Placeholder(h);
            case FourCC("cprt"):
                return Known<CCopyrightBox>(h);
            case FourCC("meta"):
                return Known<CMetaBox>(h);
            case FourCC("tsel"):
                return Known<CTrackSelectionBox>(h);
            // The 3GPP text tags.
            case FourCC("titl"):
            case FourCC("auth"):
            case FourCC("dscp"):
            case FourCC("perf"):
            case FourCC("gnre"):
            case FourCC("albm"):
                return Known<CTagBox>(h);
            case FourCC("chpl"):
                return Known<CChapterListBox>(h);
            case FourCC("loci"):
                return Known<CLocationBox>(h);
            case FourCC("name"):
                return Known<CNameBox>(h);
            case FourCC("free"):  // padding left for edits of the tags
            case FourCC("skip"):
                return Known<CFreeSpaceBox>(h);
            case FourCC("strk"):
                CORVEL_LOG("[CUserDataBox::ParseBox] not implemented ... - %s", FourCCText(h.m_type).c_str());
                return Placeholder(h);
            default:
                if (CUserDataTextBox::IsTextType(h.m_type)) return Known<CUserDataTextBox>(h);
                return FreeSpaceOrUnknown(h);
        }
    });
}

namespace {
// The first bytes of a QuickTime meta are its first child's header: a size, then four
// printable characters. An ISO meta starts with its version and flags, all zero.
bool StartsWithChildHeader(const CBitStreamReader& reader) {
    uint32_t size = 0;
    if (reader.PeekBits(32, size) < 0 || size == 0) return false;
    const std::string type = FourCCText(PeekBoxType(reader));
    for (char c : type)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}
}  // namespace

int CMetaBox::ParseBox(CBitStreamReader& reader) {
    if (StartsWithChildHeader(reader)) {
        m_hasVersionAndFlags = false;
    } else if (CFullBox::ParseBox(reader) < 0) {
        return -1;
    }
    static const ContainerTexts texts{"[CMetaBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CMetaBox::ParseBox] Box parsing error",
                                      "[CMetaBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("hdlr"):
                return Known<CHandlerBox>(h);
            case FourCC("dinf"):
                return Known<CDataInformationBox>(h);
            case FourCC("iinf"):
                return Known<CItemInfoBox>(h);
            case FourCC("iloc"):
                return Known<CItemLocationBox>(h);
            case FourCC("ilst"):
                return Known<CIlstBox>(h);
            case FourCC("keys"):
                return Known<CMetadataKeysBox>(h);
            case FourCC("ID32"):
                return Known<CID3TagBox>(h);
            case FourCC("xml "):
                return Known<CXMLBox>(h);
            case FourCC("bxml"):
                return Known<CBinaryXMLBox>(h);
            case FourCC("iprp"):
                return Known<CItemPropertiesBox>(h);
            case FourCC("pitm"):
                return Known<CPrimaryItemBox>(h);
            case FourCC("iref"):
                return Known<CItemReferenceBox>(h);
            case FourCC("idat"):
                return Known<CItemDataBox>(h);
            case FourCC("grpl"):
                return Known<CGroupsListBox>(h);
            case FourCC("free"):
            case FourCC("skip"):
                return Known<CFreeSpaceBox>(h);
            case FourCC("fiin"):
            case FourCC("ipmc"):
            case FourCC("ipro"):
                CORVEL_LOG("[CMetaBox::ParseBox] not implemented  Box Type - %s", FourCCText(h.m_type).c_str());
                return Placeholder(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}
