// stbl: the sample table leaf boxes of a track.
#include "boxes/core/container_loop.h"
#include "boxes/core/containers.h"
#include "boxes/core/log.h"

int CSampleTableBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CSampleTableBox] box size is larger than 8bytes - %d",
                                      "[CSampleTableBox::ParseBox] Box parsing error",
                                      "[CSampleTableBox::ParseBox] unknow box type ... - %s",
                                      "[CSampleTableBox::ParseBox] Box parsing is failed", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("stsd"):
                LogDispatch(15, "##### Sample Description Box('stsd')");
                return Placeholder(h);
            case FourCC("stts"):
                LogDispatch(15, "##### Time to Sample Box('stts')");
                return Placeholder(h);
            case FourCC("ctts"):
                LogDispatch(15, "##### Composition Offset Box('ctts')");
                return Placeholder(h);
            case FourCC("cslg"):
                LogDispatch(15, "##### Composition to Decode box('cslg')");
                return Placeholder(h);
            case FourCC("stsc"):
                LogDispatch(15, "##### Sample to Chunk Box('stsc')");
                return Placeholder(h);
            case FourCC("stsz"):
                LogDispatch(15, "##### Sample Size Box('stsz')");
                return Placeholder(h);
            case FourCC("stz2"):
                LogDispatch(15, "##### Compact Sample Size box('stz2')");
                return Placeholder(h);
            case FourCC("stco"):
            case FourCC("co64"):
                LogDispatch(15, "##### Chunk Offset Box('%s')", FourCCString(h.m_type).c_str());
                return Placeholder(h);
            case FourCC("stss"):
                LogDispatch(15, "##### Sync Sample Box('stss')");
                return Placeholder(h);
            case FourCC("stsh"):
                LogDispatch(15, "##### Shadow Sync Sample box('stsh')");
                return Placeholder(h);
            case FourCC("padb"):
                LogDispatch(15, "##### Padding Bits box('padb')");
                return Placeholder(h);
            case FourCC("subs"):
                LogDispatch(15, "##### Sub Sample Information Box('subs')");
                return Placeholder(h);
            case FourCC("saiz"):
                LogDispatch(15, "##### Sample Auxiliary Information Sizes Box('saiz')");
                return Placeholder(h);
            case FourCC("saio"):
                LogDispatch(15, "##### Sample Auxiliary Information Offsets Box('saio')");
                return Placeholder(h);
            case FourCC("sdtp"):
                LogDispatch(15, "##### Sample Dependency Type Box('sdtp')");
                return Placeholder(h);
            case FourCC("stdp"):
                LogDispatch(15, "##### Degradation Priority Box('stdp')");
                return Placeholder(h);
            case FourCC("sdep"):
                LogDispatch(15, "##### Sample Dependency Box('sdep')");
                return Placeholder(h);
            case FourCC("sbgp"):
                LogDispatch(15, "##### Sample To Group Box('sbgp')");
                return Placeholder(h);
            case FourCC("sgpd"):
                LogDispatch(15, "##### Sample Group Description Box('sgpd')");
                return Placeholder(h);
            case FourCC("avcp"):
                LogDispatch(15, "##### AVC Prarmeter Sample Entry('avcp')");
                return Placeholder(h);
            default:
                return Unknown();
        }
    });
}
