// moov, meco and the track containers below a trak.
#include "boxes/child_loop.h"
#include "boxes/containers/containers.h"
#include "base/log.h"
#include "boxes/metadata/tag_boxes.h"
#include "boxes/metadata/track_grouping_boxes.h"
#include "boxes/metadata/xml_boxes.h"
#include "boxes/presentation/data_reference_boxes.h"
#include "boxes/presentation/edit_list_box.h"
#include "boxes/descriptors/object_descriptor_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/track_load_settings_box.h"
#include "boxes/presentation/track_reference_type_box.h"
#include "boxes/protection/protection_boxes.h"

int CMovieBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{
        "[CMovieBox::ParseBox] box size is larger than 8bytes - %d", "[CMovieBox::ParseBox] Box parsing error",
        "[CMovieBox::ParseBox] Unknown Box Type - %s", " Fail to parse a Movie Box~~~", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("trak"):
                LogDispatch(3, "##### Movie Box('trak')");
                return Known<CTrackBox>(h);
            case FourCC("mvex"):
                LogDispatch(3, "##### Movie Extends Box('mvex')");
                return Known<CMovieExtendsBox>(h);
            case FourCC("mvhd"):
                LogDispatch(3, "##### Movie Box('mvhd')");
                return Known<CMovieHeaderBox>(h);
            case FourCC("iods"):
                LogDispatch(3, "##### Movie Box('iods')");
                return Known<CObjectDescriptorBox>(h);
            case FourCC("meta"):
                LogDispatch(3, "##### Movie Box('meta')");
                return Known<CMetaBox>(h);
            case FourCC("udta"):
                LogDispatch(3, "##### Movie Box('udta')");
                return Known<CUserDataBox>(h, FourCC("moov"));
            case FourCC("auth"):
            case FourCC("cprt"):
            case FourCC("dscp"):
            case FourCC("titl"):
                LogDispatch(3, "##### Movie Box('%s')", FourCCText(h.m_type).c_str());
                return Known<CTagBox>(h);
            case FourCC("ipmc"):
                CORVEL_LOG("[CMovieBox::ParseBox] not implemented - %s", FourCCText(h.m_type).c_str());
                return Placeholder(h);
            default:
                return ProtectionSystemChild(h);
        }
    });
}

int CMecoBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{nullptr, "[CMecoBox::ParseBox] Box parsing error",
                                      "[CMecoBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr,
                                      /*failOnHeader=*/true};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type == FourCC("mere")) {
            LogDispatch(3, "##### Metabox Relation Box('mere')");
            return Known<CMetaboxRelationBox>(h);
        }
        if (h.m_type == FourCC("meta")) return Known<CMetaBox>(h);  // the meta boxes the mere relates
        return FreeSpaceOrUnknown(h);
    });
}

int CTrackBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{
        "[CTrackBox::ParseBox] box size is larger than 8bytes - %d", "[CTrackBox::ParseBox] Box parsing error",
        "[CTrackBox::ParseBox] unknow box type ... - %s", " Fail to parse a Track Box~~~",
        " Success to parse a Track Box~~~"};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("tref"):
                LogDispatch(7, "##### Media Box('tref')");
                return Known<CTrackReferenceBox>(h);
            case FourCC("edts"):
                LogDispatch(7, "##### Edit Box('edts')");
                return Known<CEditBox>(h);
            case FourCC("mdia"):
                LogDispatch(7, "##### Media Box('mdia')");
                return Known<CMediaBox>(h);
            case FourCC("tkhd"):
                LogDispatch(7, "##### Track Header Box('tkhd')");
                return Known<CTrackHeaderBox>(h);
            case FourCC("meta"):
                LogDispatch(7, "##### Meta Box('meta')");
                return Known<CMetaBox>(h);
            case FourCC("trgr"):
                LogDispatch(7, "##### Track Group Box('trgr')");
                return Known<CTrackGroupbox>(h);
            case FourCC("udta"):
                LogDispatch(3, "##### User Data Box('udta')");
                return Known<CUserDataBox>(h, FourCC("trak"));
            case FourCC("tapt"):
                return Known<CTrackApertureBox>(h);
            case FourCC("load"):
                return Known<CTrackLoadSettingsBox>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}

int CEditBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{
        "[CEditBox::ParseBox] box size is larger than 8bytes - %d", "[CEditBox::ParseBox] Box parsing error",
        "[CEditBox::ParseBox] unknow box type ... - %s", " Fail to parse a Edit Box~~~", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type == FourCC("elst")) {
            LogDispatch(7, "##### Edit List Box('elst')");
            return Known<CEditListBox>(h);
        }
        return FreeSpaceOrUnknown(h);
    });
}

int CMediaBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{nullptr,
                                      "[CMediaBox::ParseBox] Box parsing error",
                                      "[CMediaBox::ParseBox] Box parsing error - Unsupported type ( %s)",
                                      "[CMediaBox::ParseBox] Box parsing error",
                                      " Success to parse a MediaBox Box~~~"};
    return ParseChildren(*this, reader, texts, [this](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("hdlr"):
                LogDispatch(7, "##### Handler Box('hdlr')");
                return Known<CHandlerBox>(h);
            case FourCC("minf"): {
                LogDispatch(7, "##### Media Information Box('minf')");
                // The handler type must be known before minf: an hdlr after it is not found.
                auto* hdlr = dynamic_cast<CHandlerBox*>(RetrieveChildBox(FourCC("hdlr"), true));
                if (!hdlr) {
                    CORVEL_LOG("[CMediaBox::ParseBox] can't retrieve handler type");
                    return {nullptr, ChildMade::Fail};
                }
                CORVEL_LOG(" Handler Type : %s", FourCCText(hdlr->GetHandlerType()).c_str());
                return Known<CMediaInformationBox>(h, hdlr->GetHandlerType());
            }
            case FourCC("mdhd"):
                LogDispatch(7, "##### Media Header Box('mdhd')");
                return Known<CMediaHeaderBox>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}

int CTrackReferenceBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CTrackReferenceBox] box size is larger than 8bytes - %d", nullptr, nullptr,
                                      nullptr, nullptr};
    // Every child is a reference type box: the type names the reference (hint, cdsc,
    // chap, ...), the payload holds track IDs whatever the type.
    return ParseChildren(*this, reader, texts, [](const CBox& h) { return Known<CTrackReferenceTypeBox>(h); });
}

int CMediaInformationBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CMediaInformationBox] box size is larger than 8bytes - %d",
                                      "[CMediaInformationBox::ParseBox] Box parsing error",
                                      "[CMediaInformationBox::ParseBox] unknow box type ... - %s",
                                      "[CMediaInformationBox::ParseBox] Box parsing error", nullptr};
    return ParseChildren(*this, reader, texts, [this](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("dinf"):
                LogDispatch(11, "##### Media Information Box('dinf')");
                return Known<CDataInformationBox>(h);
            case FourCC("stbl"):
                LogDispatch(11, "##### Media Information Box('stbl')");
                return Known<CSampleTableBox>(h, m_handlerType);
            case FourCC("vmhd"):
                LogDispatch(11, "##### Media Information Box('vmhd')");
                return Known<CVideoMediaHeaderBox>(h);
            case FourCC("smhd"):
                LogDispatch(11, "##### Media Information Box('smhd')");
                return Known<CSoundMediaHeaderBox>(h);
            case FourCC("nmhd"):
                LogDispatch(11, "##### Media Information Box('nmhd')");
                return Known<CMPEG4MediaHeaderBox>(h);
            case FourCC("hmhd"):
                LogDispatch(11, "##### Hint Media Header Box('hmhd')");
                return Known<CHintMediaHeaderBox>(h);
            case FourCC("crhd"):
            case FourCC("iphd"):
            case FourCC("m7hd"):
            case FourCC("mjhd"):
            case FourCC("ochd"):
            case FourCC("odhd"):
            case FourCC("sdhd"):
                LogDispatch(11, "##### Media Information Box('%s')", FourCCText(h.m_type).c_str());
                return Known<CNullMediaHeaderBox>(h);
            case FourCC("gmhd"):
                return Known<CGenericMediaHeaderBox>(h);
            case FourCC("hdlr"):  // QuickTime's data handler; the media's own hdlr is in mdia
                return Known<CHandlerBox>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}

int CDataInformationBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CDataInformationBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CDataInformationBox::ParseBox] Box parsing error",
                                      "[CDataInformationBox::ParseBox] unknow box type ... - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("dref"):
                LogDispatch(15, "##### Data Information Box('dref')");
                return Known<CDataReferencebox>(h);
            case FourCC("url "):
                LogDispatch(15, "##### Data Information Box('url ')");
                return Known<CDataEntryUrlBox>(h);
            case FourCC("urn "):
                LogDispatch(15, "##### Data Information Box('urn ')");
                return Known<CDataEntryUrnBox>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}
