// Opening inputs and creating outputs: what the settings take from an input, which
// streams an output gets, the encoder settings, and the failure texts.
#include "EngineTestSupport.h"
#include "common/FFMpegException.h"
#include "setup/TaskFiles.h"
#include "setup/EncoderChoices.h"

namespace tavrin::test {
namespace {

struct Setup : ::testing::Test {
    std::shared_ptr<TFFmpeg> task = std::make_shared<TFFmpeg>();
    std::filesystem::path dir = TempDir();

    std::vector<AVMediaType> OutputTypes(size_t file = 0) {
        std::vector<AVMediaType> types;
        const AVFormatContext* oc = task->Files().Outputs.at(file).Context.get();
        for (unsigned i = 0; i < oc->nb_streams; ++i)
            types.push_back(oc->streams[i]->codecpar->codec_type);
        return types;
    }
    AVCodecContext* Encoder(size_t stream, size_t file = 0) {
        return task->Files().Outputs.at(file).Streams.at(stream).Encoder.get();
    }
    std::string Out(const std::string& name) { return (dir / name).string(); }
};

TEST_F(Setup, AnInputHandsItsPictureAndSoundParametersToTheSettings) {
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4"))) << task->ErrorText;
    EXPECT_EQ(task->Opt.FrameWidth, 320);
    EXPECT_EQ(task->Opt.FrameHeight, 240);
    EXPECT_EQ(task->Opt.FrameRate, (TRational{25, 1}));
    EXPECT_EQ(task->Opt.FramePixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_FLOAT_EQ(task->Opt.FrameAspectRatio, 320.0f / 240.0f);
    EXPECT_EQ(task->Opt.AudioChannels, 2);
    EXPECT_EQ(task->Opt.AudioSampleRate, 44100);
    EXPECT_NEAR(task->TotalOutputDuration, 3000, 100);
    ASSERT_EQ(task->InputFileCount(), 1u);
    EXPECT_EQ(task->Files().Inputs[0].Streams.size(), 2u);
}

TEST_F(Setup, AStartTimeSeeksTheInputAndBecomesItsTimestampOffset) {
    task->Opt.StartTime = 1000000;
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mkv")));
    const int64_t start = task->Files().Inputs[0].Context->start_time;
    EXPECT_EQ(task->Opt.StartTime, 0);
    EXPECT_EQ(task->Files().Inputs[0].TsOffset, -(1000000 + (start == AV_NOPTS_VALUE ? 0 : start)));

    auto copyTs = std::make_shared<TFFmpeg>();
    copyTs->Opt.StartTime = 1000000;
    copyTs->Opt.CopyTimestamps = true;
    copyTs->Opt.NextInputTsOffset = 250000;
    ASSERT_TRUE(copyTs->OpenInput(Fixture("clip.mkv")));
    EXPECT_EQ(copyTs->Files().Inputs[0].TsOffset, 250000);
}

TEST_F(Setup, PerFileSettingsAreResetAfterAnInputWhetherItOpenedOrNot) {
    task->Opt.ForcedOutputFormat = "mp4";
    task->Opt.RateEmulation = true;
    task->Opt.VideoCodecName = "h264";
    EXPECT_FALSE(task->OpenInput(Out("missing.mp4")));
    EXPECT_EQ(task->ErrorText, Out("missing.mp4") + ": no such file or directory");
    EXPECT_TRUE(task->Opt.ForcedOutputFormat.empty());
    EXPECT_FALSE(task->Opt.RateEmulation);
    EXPECT_FALSE(task->Opt.VideoCodecName.has_value());

    task->Opt.VideoCodecName = "nosuchdecoder";
    EXPECT_FALSE(task->OpenInput(Fixture("clip.mp4")));
    EXPECT_EQ(task->ErrorText, "Unknown decoder 'nosuchdecoder'");
}

TEST_F(Setup, AnMp3OutputAfterAVideoInputGetsOnlyAudioUnlessVideoIsAskedFor) {
    ASSERT_TRUE(task->OpenInput(Fixture("clip.avi")));
    ASSERT_TRUE(task->CreateOutput(Out("a.mp3"))) << task->ErrorText;
    EXPECT_EQ(OutputTypes(), (std::vector<AVMediaType>{AVMEDIA_TYPE_AUDIO}));
    EXPECT_EQ(Encoder(0)->codec_id, AV_CODEC_ID_MP3);

    ASSERT_TRUE(task->CreateOutput(Out("b.mp4")));
    EXPECT_EQ(OutputTypes(1), (std::vector<AVMediaType>{AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}));
    // A later output inherits the input's size and rates.
    EXPECT_EQ(Encoder(0, 1)->width, 320);
    EXPECT_EQ(Encoder(0, 1)->time_base.den, 25);
    EXPECT_EQ(Encoder(1, 1)->sample_rate, 44100);
    EXPECT_EQ(Encoder(1, 1)->ch_layout.nb_channels, 2);
}

TEST_F(Setup, AnAudioOnlyInputGivesNoVideoStreamAndDisabledKindsAreDropped) {
    ASSERT_TRUE(task->OpenInput(Fixture("audio.wav")));
    ASSERT_TRUE(task->CreateOutput(Out("a.mp4")));
    EXPECT_EQ(OutputTypes(), (std::vector<AVMediaType>{AVMEDIA_TYPE_AUDIO}));

    auto video = std::make_shared<TFFmpeg>();
    ASSERT_TRUE(video->OpenInput(Fixture("clip.mp4")));
    video->Opt.AudioDisable = true;
    ASSERT_TRUE(video->CreateOutput(Out("v.mp4")));
    EXPECT_EQ(video->Files().Outputs[0].Context->nb_streams, 1u);
}

TEST_F(Setup, EncoderNamesThatDoNotFitFailTheOutputWithTheirText) {
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4")));
    task->Opt.VideoCodecName = "nosuchencoder";
    EXPECT_FALSE(task->CreateOutput(Out("x.mp4")));
    EXPECT_EQ(task->ErrorText, "new_video_stream fail: Unknown encoder 'nosuchencoder'");
    EXPECT_FALSE(std::filesystem::exists(Out("x.mp4")));

    task->Opt.VideoCodecName = "aac";
    EXPECT_FALSE(task->CreateOutput(Out("x.mp4")));
    EXPECT_EQ(task->ErrorText, "new_video_stream fail: Invalid encoder type 'aac'");

    task->Opt.AudioCodecName = "mpeg4";
    EXPECT_FALSE(task->CreateOutput(Out("x.mp4")));
    EXPECT_EQ(task->ErrorText, "new_audio_stream fail: Invalid encoder type 'mpeg4'");
    EXPECT_EQ(task->OutputFileCount(), 0u);
}

TEST_F(Setup, OutputNamesThatCannotWorkFailWithTheirText) {
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4")));
    EXPECT_FALSE(task->CreateOutput(Out("x.nosuchext")));
    EXPECT_EQ(task->ErrorText, "Unable to find a suitable output format for '" + Out("x.nosuchext") + "'");
    EXPECT_FALSE(task->CreateOutput(Out("img.jpg")));
    EXPECT_EQ(task->ErrorText.rfind(Out("img.jpg") + ": Incorrect image filename syntax.", 0), 0u);
    EXPECT_TRUE(task->CreateOutput(Out("img%d.jpg"))) << task->ErrorText;
    EXPECT_FALSE(task->CreateOutput((dir / "no" / "such" / "dir.mp4").string()));
    EXPECT_EQ(task->ErrorText, "Could not open '" + (dir / "no" / "such" / "dir.mp4").string() + "': No such file or directory");
}

TEST_F(Setup, AnOutputNamingAnOpenedInputIsRefusedAndTheSourceIsUntouched) {
    const auto source = dir / "source.mp4";
    std::filesystem::copy_file(Fixture("clip.mp4"), source);
    const auto size = std::filesystem::file_size(source);
    ASSERT_TRUE(task->OpenInput(source.string()));
    const std::string other = (dir / "." / "source.mp4").string();
    EXPECT_FALSE(task->CreateOutput(other));
    EXPECT_NE(task->ErrorText.find("is the input file"), std::string::npos) << task->ErrorText;
    std::filesystem::create_symlink(source, dir / "link.mp4");
    EXPECT_FALSE(task->CreateOutput((dir / "link.mp4").string()));
    task->ReleaseFiles();
    EXPECT_EQ(std::filesystem::file_size(source), size);
}

TEST_F(Setup, VideoEncoderSettingsFollowTheOptions) {
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4")));
    task->Opt.VideoCodecName = "mpeg1video";
    task->Opt.FrameRate = {26, 1};
    task->Opt.FrameWidth = 704;
    task->Opt.FrameHeight = 576;
    task->Opt.PadTop = task->Opt.PadBottom = 8;
    task->Opt.FrameAspectRatio = 16.0f / 9.0f;
    task->Opt.VideoQScale = 5;
    task->Opt.DoPass = 1;
    task->Opt.IntraOnly = true;
    task->Opt.VideoRcOverride = "0,10,3";
    ASSERT_TRUE(task->CreateOutput(Out("v.mpg"))) << task->ErrorText;
    AVCodecContext* e = Encoder(0);
    EXPECT_EQ(e->codec_id, AV_CODEC_ID_MPEG1VIDEO);
    EXPECT_EQ(e->time_base.num, 1);
    EXPECT_EQ(e->time_base.den, 25);  // the nearest rate the encoder takes
    EXPECT_EQ(e->width, 704);
    EXPECT_EQ(e->height, 592);
    EXPECT_EQ(e->pix_fmt, AV_PIX_FMT_YUV420P);
    EXPECT_TRUE(e->flags & AV_CODEC_FLAG_QSCALE);
    EXPECT_EQ(e->global_quality, 5 * FF_QP2LAMBDA);
    EXPECT_FLOAT_EQ(task->Files().Outputs[0].Streams[0].Quality, 5.0f * FF_QP2LAMBDA);
    EXPECT_TRUE(e->flags & AV_CODEC_FLAG_PASS1);
    EXPECT_EQ(e->gop_size, 0);
    ASSERT_EQ(e->rc_override_count, 1);
    EXPECT_EQ(e->rc_override[0].qscale, 3);
    EXPECT_FALSE(task->Opt.VideoCodecName.has_value());
}

TEST_F(Setup, AudioEncoderTakesChannelsRateLanguageAndAFormatsGlobalHeader) {
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4")));
    task->Opt.AudioCodecName = "aac";
    task->Opt.AudioChannels = 1;
    task->Opt.AudioSampleRate = 22050;
    task->Opt.AudioLanguage = "english";
    task->Opt.VideoDisable = true;
    ASSERT_TRUE(task->CreateOutput(Out("a.m4a"))) << task->ErrorText;
    AVCodecContext* e = Encoder(0);
    EXPECT_EQ(e->codec_id, AV_CODEC_ID_AAC);
    EXPECT_EQ(e->ch_layout.nb_channels, 1);
    EXPECT_EQ(e->sample_rate, 22050);
    EXPECT_EQ(e->time_base.den, 22050);
    EXPECT_TRUE(e->flags & AV_CODEC_FLAG_GLOBAL_HEADER);
    const AVDictionaryEntry* lang =
        av_dict_get(task->Files().Outputs[0].Context->streams[0]->metadata, "language", nullptr, 0);
    ASSERT_NE(lang, nullptr);
    EXPECT_STREQ(lang->value, "eng");
    EXPECT_TRUE(task->Opt.AudioLanguage.empty());
}

TEST_F(Setup, ContainerMetadataIsCutToItsFieldSizes) {
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4")));
    task->Opt.Title = "A title";
    task->Opt.Genre = std::string(40, 'g');
    task->Opt.Year = 2008;
    task->Opt.Track = 0;
    ASSERT_TRUE(task->CreateOutput(Out("m.mp4")));
    AVDictionary* meta = task->Files().Outputs[0].Context->metadata;
    EXPECT_STREQ(av_dict_get(meta, "title", nullptr, 0)->value, "A title");
    EXPECT_EQ(std::string(av_dict_get(meta, "genre", nullptr, 0)->value).size(), 31u);
    EXPECT_STREQ(av_dict_get(meta, "date", nullptr, 0)->value, "2008");
    EXPECT_EQ(av_dict_get(meta, "track", nullptr, 0), nullptr);
}

TEST_F(Setup, NewStreamOptionsNeedAnOutput) {
    try {
        task->AddStreamToLastOutput(mkAudio);
        FAIL();
    } catch (const FFMpegException& e) {
        EXPECT_STREQ(e.what(), "At least one output file must be specified");
    }
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4")));
    ASSERT_TRUE(task->CreateOutput(Out("n.mkv")));
    task->AddStreamToLastOutput(mkAudio);
    EXPECT_EQ(OutputTypes().size(), 3u);
}

TEST(EncoderChoices, TheNearestListedFrameRateWinsAndTiesKeepTheEarlier) {
    const AVRational only[] = {{24, 1}, {25, 1}, {30, 1}, {0, 0}};
    AVRational r = NearestFrameRate({30000, 1001}, only);
    EXPECT_EQ(r.num, 30);
    EXPECT_EQ(r.den, 1);
    r = NearestFrameRate({49, 2}, only);  // 24.5: as near to 24 as to 25
    EXPECT_EQ(r.num, 24);
}

TEST(EncoderChoices, SampleAspectGivesTheDisplayAspectWithin255) {
    AVRational sar = SampleAspectFor(1.25f, 720, 576);
    EXPECT_EQ(sar.num, 1);
    EXPECT_EQ(sar.den, 1);
    sar = SampleAspectFor(16.0f / 9.0f, 720, 576);
    EXPECT_EQ(sar.num, 64);
    EXPECT_EQ(sar.den, 45);
}

TEST(EncoderChoices, RateControlOverridesAreReadFromSlashSeparatedTriples) {
    auto list = ParseRcOverride("0,100,2/101,200,-50");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].start_frame, 0);
    EXPECT_EQ(list[0].end_frame, 100);
    EXPECT_EQ(list[0].qscale, 2);
    EXPECT_FLOAT_EQ(list[0].quality_factor, 1.0f);
    EXPECT_EQ(list[1].start_frame, 101);
    EXPECT_EQ(list[1].qscale, 0);
    EXPECT_FLOAT_EQ(list[1].quality_factor, 0.5f);
    EXPECT_THROW(ParseRcOverride("0,100"), FFMpegException);
}

}  // namespace
}  // namespace tavrin::test
