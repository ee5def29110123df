// Option lines and dispatch by name: stored kinds, checks and their messages.
#include <filesystem>

#include "OptionTestSupport.h"

namespace tavrin::test {
namespace {

using OptionLines = OptionTask;
using OptionChecks = OptionTask;
using OptionValues = OptionTask;

TEST_F(OptionLines, AFailingLineEndsTheBlockAndKeepsEarlierSettings) {
    try {
        task->ApplyOptionLines("vcodec=mpeg4\r\nqscale=0\nacodec=mp2");
        ADD_FAILURE() << "qscale 0 accepted";
    } catch (const FFMpegException& e) {
        EXPECT_STREQ(e.what(), "qscale must be > 0.0 and <= 255");
    }
    EXPECT_EQ(task->Opt.VideoCodecName, "mpeg4");
    EXPECT_FALSE(task->Opt.AudioCodecName.has_value());
}

TEST_F(OptionLines, NamesAndValuesAreNotTrimmedAndMatchCaseSensitively) {
    task->ApplyOptionLines("ar=22050\n ac=1\nVN\ng=33\nvn");
    EXPECT_EQ(task->Opt.AudioSampleRate, 22050);
    EXPECT_EQ(task->Opt.AudioChannels, 2);  // " ac" is no option name
    EXPECT_TRUE(task->Opt.VideoDisable);    // only the exact "vn" line
    EXPECT_EQ(CodecOption(mkVideo, "g"), 33);
    // "VN" reached the generic path and was taken by nothing.
    EXPECT_EQ(task->Opt.GenericOptionNames, std::vector<std::string>{"g"});
}

TEST_F(OptionChecks, MessagesOfTheCheckedOptions) {
    struct Case { const char* name; const char* value; const char* message; };
    const Case cases[] = {
        {"s", "321x240", "Frame size must be a multiple of 2"},
        {"s", "huge", "Incorrect frame size"},
        {"r", "fast", "Incorrect frame rate"},
        {"aspect", "16:0", "Incorrect aspect ratio specification."},
        {"aspect", "wide", "Incorrect aspect ratio specification."},
        {"croptop", "0", "Vertical crop dimensions are outside the range of the original image.\n"
                         "Remember to crop first and scale second."},
        {"cropleft", "0", "Horizontal crop dimensions are outside the range of the original image.\n"
                          "Remember to crop first and scale second."},
        {"cropbottom", "3", "Bottom crop size must be a multiple of 2"},
        {"cropright", "5", "Right crop size must be a multiple of 2"},
        {"padtop", "1", "Top pad size must be a multiple of 2"},
        {"padleft", "3", "Left pad size must be a multiple of 2"},
        {"qscale", "255.5", "qscale must be > 0.0 and <= 255"},
        {"vtag", "XVI", "video tag parameter must be 4 chars"},
        {"atag", "mp4aa", "audio tag parameter must be 4 chars"},
        {"pass", "3", "pass number can be only 1 or 2"},
        {"threads", "2", "TODO: option - threads"},
        {"vbsf", "h264_mp4toannexb", "TODO: option - vbsf"},
        {"f", "nosuchformat", "Unknown input or output format: nosuchformat"},
        {"t", "soon", "Invalid duration specification for t: soon"},
        {"timestamp", "someday", "Invalid date specification for timestamp: someday"},
        {"itsscale", "25:2", "stream index over MAX_STREAMS(20)"},
        {"itsscale", "-1:2", "stream index over MAX_STREAMS(20)"},
        {"target", "pal-cdi", "Unknown target type"},
        {"vframes", "many", "'many' is not a valid integer value"},
        {"aq", "1,5", "'1,5' is not a valid floating point value"},
        {"newvideo", "", "At least one output file must be specified"},
        {"vhook", "/no/such/hook.so", "Failed to add video hook function: /no/such/hook.so"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.name, c.value), c.message) << c.name << "=" << c.value;
}

TEST_F(OptionValues, FrameSizeCropsAndPads) {
    EXPECT_EQ(ErrorOf("s", "320x240"), "");
    EXPECT_EQ(ErrorOf("croptop", "-1"), "");
    EXPECT_EQ(ErrorOf("croptop", "8"), "");
    EXPECT_EQ(ErrorOf("cropleft", "10"), "");
    EXPECT_EQ(ErrorOf("padbottom", "-2"), "");
    EXPECT_EQ(ErrorOf("padright", "6"), "");
    EXPECT_EQ(task->Opt.CropTop, 8);
    EXPECT_EQ(task->Opt.FrameHeight, 232);
    EXPECT_EQ(task->Opt.FrameWidth, 310);
    EXPECT_EQ(task->Opt.PadBottom, 0);
    EXPECT_EQ(task->Opt.PadRight, 6);
    EXPECT_EQ(ErrorOf("s", "vga"), "");
    EXPECT_EQ(task->Opt.FrameWidth, 640);
    EXPECT_EQ(ErrorOf("croptop", "480"), "Vertical crop dimensions are outside the range of the original image.\n"
                                         "Remember to crop first and scale second.");
}

TEST_F(OptionValues, AspectFormsAndFrameRates) {
    task->DispatchOption("aspect", "1.7777");
    EXPECT_FLOAT_EQ(task->Opt.FrameAspectRatio, 1.7777f);
    task->DispatchOption("aspect", "4:3");
    EXPECT_FLOAT_EQ(task->Opt.FrameAspectRatio, 4.0f / 3.0f);
    task->DispatchOption("r", "30000/1001");
    EXPECT_EQ(task->Opt.FrameRate, (TRational{30000, 1001}));
    task->DispatchOption("r", "ntsc-film");
    EXPECT_EQ(task->Opt.FrameRate, (TRational{24000, 1001}));
}

TEST_F(OptionValues, PadColourConvertsAndDefaultsStay) {
    EXPECT_EQ(std::vector<int>(task->Opt.PadColor, task->Opt.PadColor + 3), (std::vector<int>{16, 128, 128}));
    task->DispatchOption("padcolor", "255");
    EXPECT_EQ(std::vector<int>(task->Opt.PadColor, task->Opt.PadColor + 3), (std::vector<int>{76, 85, 255}));
    task->DispatchOption("padcolor", "$FFFFFF");
    EXPECT_EQ(std::vector<int>(task->Opt.PadColor, task->Opt.PadColor + 3), (std::vector<int>{255, 128, 128}));
}

TEST_F(OptionValues, CodecNamesCopyAndTags) {
    task->DispatchOption("vcodec", "mpeg4");
    task->DispatchOption("vcodec", "copy");
    EXPECT_FALSE(task->Opt.VideoCodecName.has_value());
    EXPECT_TRUE(task->Opt.VideoStreamCopy);
    task->DispatchOption("vcodec", "libx264");
    EXPECT_EQ(task->Opt.VideoCodecName, "libx264");
    EXPECT_TRUE(task->Opt.VideoStreamCopy);  // a name does not switch copying off
    task->DispatchOption("scodec", "copy");
    EXPECT_TRUE(task->Opt.SubtitleStreamCopy);
    EXPECT_FALSE(task->Opt.AudioStreamCopy);
    task->DispatchOption("vtag", "XVID");
    task->DispatchOption("atag", "mp4a");
    EXPECT_EQ(task->Opt.VideoCodecTag, 0x44495658u);
    EXPECT_EQ(task->Opt.AudioCodecTag, 0x6134706Du);
}

TEST_F(OptionValues, StoredKindsReachTheirSettings) {
    task->ApplyOptionLines(
        "vframes=100\naframes=$10\ndframes=7\nfs=5000000000\nvol=512\ntop=1\nmuxpreload=0.25\n"
        "adrift_threshold=0.5\npasslogfile=log\nalang=eng\ntitle=First\ntitle=\nrc_override=0,10,2\n"
        "vstats_file=stats.log\nsameq\nshortest=no\ncopyts\nar=0\nac=6\npass=2\nv=2\n");
    const TOptionSettings& o = task->Opt;
    EXPECT_EQ(o.MaxFrames[0], 100);
    EXPECT_EQ(o.MaxFrames[1], 16);
    EXPECT_EQ(o.MaxFrames[2], 7);
    EXPECT_EQ(o.MaxFrames[3], 2147483647);
    EXPECT_EQ(o.FileSizeLimit, 5000000000LL);
    EXPECT_EQ(o.AudioVolume, 512);
    EXPECT_EQ(o.TopFieldFirst, 1);
    EXPECT_FLOAT_EQ(o.MuxPreload, 0.25f);
    EXPECT_FLOAT_EQ(o.AudioDriftThreshold, 0.5f);
    EXPECT_EQ(o.PassLogFileName, "log");
    EXPECT_EQ(o.AudioLanguage, "eng");
    EXPECT_EQ(o.Title, "First");  // an empty title leaves it
    EXPECT_EQ(o.VideoRcOverride, "0,10,2");
    EXPECT_EQ(o.VideoStatsFileName, "stats.log");
    EXPECT_TRUE(o.SameQuality && o.Shortest && o.CopyTimestamps);
    EXPECT_EQ(o.AudioSampleRate, 44100);
    EXPECT_EQ(o.AudioChannels, 6);
    EXPECT_EQ(o.DoPass, 2);
    EXPECT_EQ(task->Verbosity, 2);
    task->SetVerbosity(1);
}

TEST_F(OptionValues, VideoStatisticsNameIsTheProgramFolderAndTheTime) {
    task->DispatchOption("vstats", "ignored");
    ASSERT_TRUE(task->Opt.VideoStatsFileName.has_value());
    const std::filesystem::path name(*task->Opt.VideoStatsFileName);
    EXPECT_EQ(name.parent_path(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
    const std::string file = name.filename().string();
    ASSERT_EQ(file.size(), std::string("vstats_hhnnss.log").size()) << file;
    EXPECT_EQ(file.rfind("vstats_", 0), 0u);
    EXPECT_TRUE(std::all_of(file.begin() + 7, file.begin() + 13, ::isdigit)) << file;
}

TEST_F(OptionValues, TimesAndDates) {
    task->DispatchOption("t", "00:01:02.5");
    EXPECT_EQ(task->Opt.RecordingTime, 62500000);
    EXPECT_EQ(task->TotalOutputDuration, 62500);
    task->DispatchOption("t", "0.0005");  // below a millisecond: no limit set
    EXPECT_EQ(task->Opt.RecordingTime, 62500000);
    task->DispatchOption("ss", "1.5");
    EXPECT_EQ(task->Opt.StartTime, 1500000);
    task->DispatchOption("itsoffset", "-2");
    EXPECT_EQ(task->Opt.NextInputTsOffset, -2000000);
    task->DispatchOption("timestamp", "2008-01-02 03:04:05Z");
    EXPECT_EQ(task->Opt.RecTimestamp, 1199243045);
    task->DispatchOption("itsscale", "0x3:1.25");
    EXPECT_DOUBLE_EQ(task->Opt.InputTsScale[0][3], 1.25);
}

TEST_F(OptionValues, MapsWithAndWithoutSyncAndTheTwentyFirstIsRefused) {
    task->DispatchOption("map", "0:1");
    task->DispatchOption("map", "1:0x2:0:3");
    task->DispatchOption("map_meta_data", "0:1");
    EXPECT_EQ(task->Opt.StreamMaps[0], (TStreamMap{0, 1, 0, 1}));
    EXPECT_EQ(task->Opt.StreamMaps[1], (TStreamMap{1, 2, 0, 3}));
    EXPECT_EQ(task->Opt.MetaDataMaps[0], (TMetaDataMap{0, 1}));
    for (int i = 2; i < 20; ++i)
        task->DispatchOption("map", "0:" + std::to_string(i));
    EXPECT_EQ(ErrorOf("map", "0:20"), "Too many stream maps: at most 20 are allowed");
    EXPECT_EQ(task->Opt.StreamMaps.size(), 20u);
    for (int i = 1; i < 20; ++i)
        task->DispatchOption("map_meta_data", "0:0");
    EXPECT_EQ(ErrorOf("map_meta_data", "0:0"), "Too many metadata maps: at most 20 are allowed");
    EXPECT_EQ(task->Opt.MetaDataMaps.size(), 20u);
}

TEST_F(OptionValues, MatricesFormatsAndPixelFormats) {
    std::string m;
    for (int i = 0; i < 64; ++i) m += std::to_string(8 + i) + ",";
    task->DispatchOption("inter_matrix", m);
    ASSERT_TRUE(task->Opt.InterMatrix.has_value());
    EXPECT_EQ((*task->Opt.InterMatrix)[63], 71);
    EXPECT_FALSE(task->Opt.IntraMatrix.has_value());
    task->DispatchOption("f", "mp4");
    EXPECT_EQ(task->Opt.ForcedOutputFormat, "mp4");
    EXPECT_EQ(task->Opt.ForcedInputFormat, "mp4");
    task->DispatchOption("f", "pgmyuv");
    EXPECT_TRUE(task->Opt.PgmYuvCompat);
    EXPECT_EQ(task->Opt.ForcedInputFormat, "image2");
    task->DispatchOption("pix_fmt", "yuv422p");
    EXPECT_EQ(task->Opt.FramePixFmt, AV_PIX_FMT_YUV422P);
    task->DispatchOption("pix_fmt", "nonsense");
    EXPECT_EQ(task->Opt.FramePixFmt, -1);
}

TEST_F(OptionValues, ResetRestoresDefaultsAndFreshHolders) {
    task->ApplyOptionLines("s=640x480\ng=99\nvn\nmap=0:0");
    task->ResetOptions();
    EXPECT_EQ(task->Opt.FrameWidth, 0);
    EXPECT_FALSE(task->Opt.VideoDisable);
    EXPECT_TRUE(task->Opt.StreamMaps.empty());
    EXPECT_TRUE(task->Opt.GenericOptionNames.empty());
    EXPECT_TRUE(task->OptionContexts().allocated);
    EXPECT_EQ(CodecOption(mkVideo, "g"), 12);
}

}  // namespace
}  // namespace tavrin::test
