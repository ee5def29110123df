// Value rules for setting texts and the codec-name mappings.
#include "CodecNames.h"
#include "MemoryCombo.h"
#include "SettingText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {
namespace {

using TCases = std::vector<std::pair<std::string, std::string>>;

TEST(NumberBeforeBlank, CutsAtTheFirstBlank)
{
    const TCases cases{{"512 Kbps", "512"},  {"384  Kbps", "384"}, {"8000  bps", "8000"},
                       {"29.97 fps [NTSC]", "29.97"}, {"Auto", ""}, {"", ""},
                       {" 5 Kbps", ""}};
    for (const auto& [text, number] : cases)
        EXPECT_EQ(NumberBeforeBlank(text), number) << '"' << text << '"';
}

TEST(SettingInteger, AcceptsWholeNumbersThatFit)
{
    EXPECT_EQ(SettingInteger("7400"), 7400);
    EXPECT_EQ(SettingInteger("1200000"), 1200000);
    EXPECT_EQ(SettingInteger("000"), 0);
}

TEST(SettingInteger, RaisesOnAnythingElse)
{
    for (const char* text : {"", "abc", "12x", "2.5", "1 2", "99999999999", "Auto000"})
        EXPECT_THROW(SettingInteger(text), ESettingTextError) << '"' << text << '"';
}

TEST(RealNumber, ReadsOnlyAWholeNumber)
{
    const std::vector<std::pair<std::string, std::optional<double>>> cases{
        {"29.97", 29.97}, {" 2 ", 2.0},     {"-1.5", -1.5},       {"1e2", 100.0},
        {"", std::nullopt}, {"  ", std::nullopt}, {"12x", std::nullopt},
        {"1 2", std::nullopt}, {"x1", std::nullopt}, {"1e999", std::nullopt}};
    for (const auto& [text, number] : cases)
        EXPECT_EQ(RealNumber(text), number) << '"' << text << '"';
}

TEST(NormalizeFrameSize, DropsTheNameAndTheBlanks)
{
    const TCases cases{{"176 x 144 (QCIF)", "176x144"}, {"320 x 240 ", "320x240"},
                       {"1920 x 1072", "1920x1072"},    {"Original Video Size", "original"},
                       {"704 x 576 (4CIF)", "704x576"}, {"", ""}};
    for (const auto& [text, size] : cases)
        EXPECT_EQ(NormalizeFrameSize(text), size) << '"' << text << '"';
}

TEST(FrameRateText, AutoInAnyCaseAndSpacingGives25)
{
    const TCases cases{{"Auto", "25"},         {"auto", "25"},          {"  AUTO ", "25"},
                       {"29.97 fps [NTSC]", "29.97"}, {"15.0 fps", "15.0"}, {"11 fps", "11"},
                       {"", ""}};
    for (const auto& [text, rate] : cases) {
        TMemoryCombo combo;
        combo.Add(text);
        combo.SetItemIndex(0);
        EXPECT_EQ(FrameRateText(combo), rate) << '"' << text << '"';
    }
}

TEST(CodecNames, VideoLabelsMapToEncoders)
{
    const TCases cases{{"mpeg4", "mpeg4"},   {"h264", "libx264"},  {"xvid", "libxvid"},
                       {"wmv2x", "wmv2"},    {"mpeg4_qt", "mpeg4"}, {"h263", "h263"},
                       {"wmv2", "wmv2"},     {"mpeg2video", "mpeg2video"},
                       {"rawvideo", "rawvideo"}, {"", ""}};
    for (const auto& [label, encoder] : cases)
        EXPECT_EQ(VideoEncoderName(label), encoder) << label;
}

TEST(CodecNames, AudioLabelsMapToEncoders)
{
    const TCases cases{{"aac", "libfaac"},       {"ac3", "ac3"},           {"flac", "flac"},
                       {"asf", "mp3"},           {"mp3", "libmp3lame"},    {"m4a", "mpeg4aac"},
                       {"mpeg4aac", "libfaac"},  {"ra", "ac3"},            {"wma7x", "wmav2"},
                       {"wav", "pcm_s16le"},     {"mpeg4aac_qt", "libfaac"},
                       {"amr_nb", "libamr_nb"},  {"mp2", "mp2"},           {"wmav2", "wmav2"},
                       {"pcm_s16be", "pcm_s16be"}, {"vorbis", "vorbis"}};
    for (const auto& [label, encoder] : cases)
        EXPECT_EQ(AudioEncoderName(label), encoder) << label;
}

TEST(CodecNames, DeviceMappingChangesOnlyH264AndXviD)
{
    const TCases cases{{"h264", "libx264"}, {"xvid", "libxvid"}, {"mpeg4", "mpeg4"},
                       {"h263", "h263"},    {"wmv2x", "wmv2x"}};
    for (const auto& [label, encoder] : cases)
        EXPECT_EQ(DeviceVideoEncoderName(label), encoder) << label;
}

}  // namespace
}  // namespace tavrin
