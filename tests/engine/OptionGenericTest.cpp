// Targets, the generic option path with its old names, and the option notices.
#include "OptionTestSupport.h"
#include "binding/PrivateOptions.h"

namespace tavrin::test {
namespace {

using OptionTargets = OptionTask;
using OptionGeneric = OptionTask;
using OptionNotices = OptionTask;

int64_t FormatOption(TCustomFFmpeg& t, const char* name) {
    int64_t v = 0;
    EXPECT_GE(av_opt_get_int(t.OptionContexts().format.get(), name, 0, &v), 0) << name;
    return v;
}

TEST_F(OptionTargets, PalVcdSetsTheWholeRow) {
    task->DispatchOption("target", " pal-vcd ");
    const TOptionSettings& o = task->Opt;
    EXPECT_EQ(o.FrameWidth, 352);
    EXPECT_EQ(o.FrameHeight, 288);
    EXPECT_EQ(o.FrameRate, (TRational{25, 1}));
    EXPECT_EQ(CodecOption(mkVideo, "g"), 15);
    EXPECT_EQ(CodecOption(mkVideo, "b"), 1150000);
    EXPECT_EQ(CodecOption(mkVideo, "bufsize"), 327680);
    EXPECT_EQ(CodecOption(mkAudio, "b"), 224000);
    EXPECT_EQ(o.VideoCodecName, "mpeg1video");
    EXPECT_EQ(o.AudioCodecName, "mp2");
    EXPECT_EQ(o.ForcedOutputFormat, "vcd");
    EXPECT_EQ(FormatOption(*task, "packetsize"), 2324);
    EXPECT_EQ(o.MuxerPrivateOptions, (TPrivateOptions{{"muxrate", "1411200"}}));
    EXPECT_FLOAT_EQ(o.MuxPreload, 0.44f);
    EXPECT_FLOAT_EQ(o.FrameAspectRatio, 4.0f / 3.0f);
    EXPECT_EQ(o.AudioSampleRate, 44100);
}

TEST_F(OptionTargets, AutomaticNormFollowsTheFrameRateAndIsLogged) {
    BindLog();
    task->DispatchOption("r", "30000/1001");
    task->DispatchOption("target", "vcd");
    EXPECT_EQ(task->Opt.FrameWidth, 352);
    EXPECT_EQ(task->Opt.FrameHeight, 240);
    EXPECT_EQ(CodecOption(mkVideo, "g"), 18);
    EXPECT_TRUE(Logged("Assuming NTSC for target."));
    logs.clear();
    task->DispatchOption("target", "ntsc-vcd");  // a given norm is not announced
    EXPECT_FALSE(Logged("Assuming NTSC for target."));
}

TEST_F(OptionTargets, WithoutAFrameRateTheAutomaticNormFails) {
    EXPECT_EQ(ErrorOf("target", "vcd"), "frame_rate is invalid.");
    EXPECT_EQ(ErrorOf("target", "film-dvd"), "");
    EXPECT_EQ(task->Opt.FrameRate, (TRational{24000, 1001}));
    EXPECT_EQ(task->Opt.FrameHeight, 480);
}

TEST_F(OptionTargets, UndecidedRatesAskTheInputsThenTheFallBack) {
    ASSERT_TRUE(task->OpenInput(Fixture("clip.avi")));  // 25 frames/s
    task->DispatchOption("r", "10");
    task->ApplyTarget("dvd", "auto", "ntsc");
    EXPECT_EQ(task->Opt.FrameHeight, 576);
    auto fresh = std::make_shared<TFFmpeg>();
    fresh->ResetOptions();
    fresh->DispatchOption("r", "10");
    fresh->ApplyTarget("dvd", "auto", "ntsc");
    EXPECT_EQ(fresh->Opt.FrameHeight, 480);
    EXPECT_EQ(fresh->Opt.FrameRate, (TRational{30000, 1001}));
}

TEST_F(OptionTargets, SvcdAndDvdDetailsAndDvPixelFormats) {
    task->Opt.AudioChannels = 1;
    task->DispatchOption("aspect", "16:9");
    task->DispatchOption("target", "pal-svcd");
    EXPECT_EQ(task->Opt.AudioChannels, 2);
    EXPECT_FLOAT_EQ(task->Opt.FrameAspectRatio, 16.0f / 9.0f);  // kept, as it was set
    EXPECT_EQ(task->Opt.EncoderPrivateOptions[mkVideo], (TPrivateOptions{{"scan_offset", "1"}}));
    EXPECT_EQ(CodecOption(mkVideo, "maxrate"), 2516000);
    task->Opt.AudioChannels = 6;
    task->DispatchOption("target", "ntsc-dvd");
    EXPECT_EQ(task->Opt.AudioChannels, 6);
    EXPECT_EQ(task->Opt.AudioCodecName, "ac3");
    EXPECT_EQ(task->Opt.AudioSampleRate, 48000);
    struct Case { const char* target; AVPixelFormat fmt; };
    for (const Case c : {Case{"pal-dv", AV_PIX_FMT_YUV420P}, Case{"ntsc-dv", AV_PIX_FMT_YUV411P},
                         Case{"pal-dv50", AV_PIX_FMT_YUV422P}, Case{"ntsc-dv50", AV_PIX_FMT_YUV422P}}) {
        task->DispatchOption("target", c.target);
        EXPECT_EQ(task->Opt.FramePixFmt, c.fmt) << c.target;
        EXPECT_EQ(task->Opt.ForcedOutputFormat, "dv");
    }
}

TEST_F(OptionGeneric, OldNamesAndPrefixesReachTodaysOptions) {
    EXPECT_TRUE(task->SetGenericOption("gop", "12"));
    EXPECT_TRUE(task->SetGenericOption("ab", "96000"));
    EXPECT_TRUE(task->SetGenericOption("vb", "800000"));
    EXPECT_TRUE(task->SetGenericOption("sws_flags", "bilinear"));
    EXPECT_EQ(CodecOption(mkVideo, "g"), 12);
    EXPECT_EQ(CodecOption(mkAudio, "b"), 96000);
    EXPECT_EQ(CodecOption(mkVideo, "b"), 800000);
    EXPECT_EQ(task->Opt.GenericOptionNames, (std::vector<std::string>{"g", "ab", "b", "sws_flags"}));
}

TEST_F(OptionGeneric, BitRateIsForVideoOnlyAndSharedOptionsReachEveryKindTheyServe) {
    task->DispatchOption("b", "900000");
    EXPECT_EQ(CodecOption(mkVideo, "b"), 900000);
    EXPECT_NE(CodecOption(mkAudio, "b"), 900000);
    EXPECT_TRUE(task->SetGenericOption("maxrate", "3000000"));
    EXPECT_EQ(CodecOption(mkData, "maxrate"), 3000000);
    EXPECT_TRUE(task->SetGenericOption("ar", "22050"));  // audio-only codec option
    EXPECT_EQ(CodecOption(mkAudio, "ar"), 22050);
    EXPECT_EQ(CodecOption(mkVideo, "ar"), 0);
}

TEST_F(OptionGeneric, EmptyUnknownAndCaseDifferingNamesAreTakenByNothing) {
    EXPECT_FALSE(task->SetGenericOption(" ", "1"));
    EXPECT_FALSE(task->SetGenericOption("g", " "));
    EXPECT_FALSE(task->SetGenericOption("no_such_option_anywhere", "1"));
    task->DispatchOption("S", "640x480");  // not "s": the generic path ignores it
    EXPECT_EQ(task->Opt.FrameWidth, 0);
    EXPECT_TRUE(task->Opt.GenericOptionNames.empty());
}

TEST_F(OptionGeneric, PrivateEncoderOptionsAreKeptForTheEncodersThatKnowThem) {
    EXPECT_TRUE(task->SetGenericOption("crf", "23"));
    EXPECT_EQ(task->Opt.EncoderPrivateOptions[mkVideo], (TPrivateOptions{{"crf", "23"}}));
    EXPECT_TRUE(task->Opt.EncoderPrivateOptions[mkAudio].empty());
    CodecContextPtr enc(avcodec_alloc_context3(avcodec_find_encoder_by_name("mpeg2video")));
    ASSERT_TRUE(enc);
    EXPECT_EQ(ApplyPrivateOptions(enc.get(), TPrivateOptions{{"scan_offset", "1"}, {"crf", "23"}}), 1);
    EXPECT_THROW(ApplyPrivateOptions(enc.get(), TPrivateOptions{{"scan_offset", "maybe"}}), FFMpegException);
}

TEST_F(OptionGeneric, DebugFlagsRaiseTheVerbosity) {
    task->SetGenericOption("debug", "mb_type");
    EXPECT_EQ(task->Verbosity, 2);
    task->SetVerbosity(1);
}

TEST_F(OptionNotices, IgnoredOptionsAndLowBitRatesAreAnnouncedWhenALogIsBound) {
    task->DispatchOption("y", "");  // no handler yet: dropped
    BindLog();
    task->DispatchOption("y", "");
    task->DispatchOption("ab", "128");
    task->DispatchOption("vb", "1500");
    EXPECT_EQ(Logs(), (std::vector<std::string>{
                          "Do nothing: option - y",
                          "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s"}));
}

TEST_F(OptionNotices, PixelFormatListAndPgmYuvNotice) {
    task->DispatchOption("pix_fmt", "list");
    BindLog();
    task->DispatchOption("pix_fmt", "list");
    const auto lines = Logs();
    ASSERT_GT(lines.size(), 41u);
    EXPECT_EQ(lines[0].rfind("name", 0), 0u);
    EXPECT_EQ(lines[1].rfind("yuv420p", 0), 0u);
    EXPECT_EQ(task->Opt.FramePixFmt, -1);
    task->DispatchOption("f", "pgmyuv");
    EXPECT_TRUE(Logged("pgmyuv format is deprecated, use image2"));
}

}  // namespace
}  // namespace tavrin::test
