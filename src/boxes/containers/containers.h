#pragma once
#include "boxes/box.h"
#include "boxes/presentation/free_space_box.h"

// The container boxes: each reads its payload as child boxes through its own
// table of four-character codes (ParseChildren does the common loop).

class CMovieBox : public CBox {  // moov
public:
    explicit CMovieBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CMovieFragmentBox : public CBox {  // moof
public:
    explicit CMovieFragmentBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CMovieFragmentRandomAccessBox : public CBox {  // mfra
public:
    explicit CMovieFragmentRandomAccessBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CMecoBox : public CBox {  // meco
public:
    explicit CMecoBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CDataInformationBox : public CBox {  // dinf
public:
    explicit CDataInformationBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CTrackBox : public CBox {  // trak
public:
    explicit CTrackBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CMovieExtendsBox : public CBox {  // mvex
public:
    explicit CMovieExtendsBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CTrackFragmentBox : public CBox {  // traf
public:
    explicit CTrackFragmentBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CEditBox : public CBox {  // edts
public:
    explicit CEditBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CMediaBox : public CBox {  // mdia
public:
    explicit CMediaBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CTrackReferenceBox : public CBox {  // tref
public:
    explicit CTrackReferenceBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CMediaInformationBox : public CBox {  // minf
public:
    CMediaInformationBox(const CBox& header, uint32_t handlerType) : CBox(header), m_handlerType(handlerType) {}
    int ParseBox(CBitStreamReader& reader) override;
    uint32_t m_handlerType;
};

class CSampleTableBox : public CBox {  // stbl
public:
    CSampleTableBox(const CBox& header, uint32_t handlerType) : CBox(header), m_handlerType(handlerType) {}
    int ParseBox(CBitStreamReader& reader) override;
    uint32_t m_handlerType;
};

class CUserDataBox : public CBox {  // udta
public:
    // `parentType`: the four-CC of the box holding it (moov, trak; 0 at the top level).
    CUserDataBox(const CBox& header, uint32_t parentType) : CBox(header), m_parentType(parentType) {}
    int ParseBox(CBitStreamReader& reader) override;
    // Tells a movie's hint information from a track's.
    uint32_t m_parentType;
};

class CMetaBox : public CFullBox {  // meta: an ISO full box, or the QuickTime form without version and flags
public:
    explicit CMetaBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CItemPropertiesBox : public CBox {  // iprp: the item properties (ipco) and their associations (ipma)
public:
    explicit CItemPropertiesBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CItemPropertyContainerBox : public CBox {  // ipco: the properties, indexed from 1 in file order
public:
    explicit CItemPropertyContainerBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CGroupsListBox : public CBox {  // grpl: the groups of items and tracks
public:
    explicit CGroupsListBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CGenericMediaHeaderBox : public CBox {  // gmhd (QuickTime): the media information of text, timecode and other tracks
public:
    explicit CGenericMediaHeaderBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CTimecodeMediaBox : public CBox {  // tmcd in a gmhd: holds tcmi (not the sample entry of that code)
public:
    explicit CTimecodeMediaBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

class CTrackApertureBox : public CBox {  // tapt (QuickTime): the track's aperture dimensions
public:
    explicit CTrackApertureBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};
