#include "boxes/fragments/movie_fragment_header_box.h"

#include "boxes/child_loop.h"
#include "base/log.h"

int CMovieFragmentHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CMovieFragmentHeaderBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_sequenceNumber) < 0) return -1;
    CORVEL_LOG("[Movie Fragment Header Box] sequence_number - %u", m_sequenceNumber);

    static const ContainerTexts texts{"[CMovieFragmentHeaderBox] box size is larger than 8bytes - %d",
                                      "[CMovieFragmentBox::ParseBox] Box parsing error", nullptr,
                                      "[CMovieFragmentBox::ParseBox] Box parsing is failed", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type == FourCC("uuid")) {
            LogDispatch(0, "##### User Extension Box('uuid')");
            return Placeholder(h);
        }
        CORVEL_LOG("[CMovieFragmentHeaderBox] unknow box type ... - %s", FourCCText(h.m_type).c_str());
        return {nullptr, ChildMade::Fail};
    });
}
