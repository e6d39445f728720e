// tapt against ffprobe's stream (a mov made once with ffmpeg, pixels 4:3): the encoded
// pixels are the coded size, the clean and production apertures that width stretched
// by the pixel width-to-height ratio (ffmpeg writes its whole part).
#include <gtest/gtest.h>

#include <cmath>

#include "boxes/presentation/track_aperture_dimensions_box.h"
#include "corpus/corpus_refs.h"

TEST(TrackAperture, DimensionsAgreeWithFfprobe) {
    const CorpusFile f(std::string(TEST_DATA_DIR) + "/qt_keys.mov");
    const std::string json = ReadText(std::string(TEST_DATA_DIR) + "/qt_keys.mov.ffprobe.json");
    auto field = [&](const std::string& key) { return Matches(json, "\"" + key + "\": \"?([\\d:]+)")[0][0]; };
    const double width = std::stod(field("width")), height = std::stod(field("height"));
    const std::string sar = field("sample_aspect_ratio");
    const double stretched = width * std::stod(sar) / std::stod(sar.substr(sar.find(':') + 1));
    const auto boxes = f.All<CTrackApertureDimensionsBox>();
    ASSERT_EQ(boxes.size(), 3u);
    for (const auto* b : boxes) {
        SCOPED_TRACE(b->TypeText());
        EXPECT_NEAR(b->m_width / 65536.0, b->m_type == FourCC("enof") ? width : stretched, 0.5);
        EXPECT_EQ(b->m_height / 65536.0, height);
    }
}
