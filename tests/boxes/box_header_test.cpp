// The large size and uuid forms are read in the corpus (largesize_mdat.mp4, the uuid
// boxes of smooth.ismv and xmp_uuid.mp4); here the forms and cuts it lacks.
#include <gtest/gtest.h>

#include "boxes/box.h"
#include "support/box_builder.h"

namespace {
CBitStreamReader ReaderOver(const std::string& bytes) {
    return CBitStreamReader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() * 8);
}
}  // namespace

TEST(BoxHeader, FormsCutsAndPeeks) {
    // size 0 is accepted here; the walkers decide what it covers. Short headers fail:
    // fewer than 8 bytes, a large size cut short, a uuid cut short.
    for (const std::string& header : {U32(0) + "mdat", U32(8) + "fr", U32(1) + "free" + U32(0), Box("uuid", "1234")}) {
        CBitStreamReader r = ReaderOver(header);
        CBox box;
        EXPECT_EQ(box.ParseBox(r), header.size() == 8 ? 0 : -1) << header.size();
    }
    // The header copy keeps the header, never the children.
    const std::string large = U32(1) + "free" + U64(24) + std::string(8, '\0');  // the reader does not own it
    CBitStreamReader r = ReaderOver(large);
    CBox box;
    ASSERT_EQ(box.ParseBox(r), 0);
    box.AddChildBox(std::make_unique<CBox>());
    CBox copy(box);
    EXPECT_EQ(copy.BoxSize(), 24u);
    EXPECT_EQ(copy.GetChildCount(), 0u);

    // A peek does not consume; a large size that cannot be read in full peeks as 0.
    const std::string bytes = U32(1) + "moov" + U64(0x100000010ull) + U32(0);
    r = ReaderOver(bytes);
    EXPECT_EQ(PeekBoxSize(r), 0x100000010ull);
    EXPECT_EQ(PeekBoxType(r), FourCC("moov"));
    EXPECT_EQ(r.BitPosition, 0u);
    EXPECT_EQ(PeekBoxSize(ReaderOver(U32(1) + "moov" + U32(0))), 0u);
    EXPECT_EQ(PeekBoxType(ReaderOver(U32(8))), 0u);
}

TEST(BoxHeader, ChildLookupSkipsNullAndFindsTheFirst) {
    CBox parent;
    for (uint32_t type : {FourCC("mvhd"), FourCC("trak"), FourCC("trak"), 0u}) {
        auto c = type ? std::make_unique<CBox>() : nullptr;
        if (c) c->m_type = type;
        parent.AddChildBox(std::move(c));
    }
    EXPECT_EQ(parent.GetChildCount(), 3u);
    EXPECT_EQ(parent.RetrieveChildBox(FourCC("trak"), true), parent.GetChild(1));
}
