// The settings records applied as options: order, conditions, target and dates.
#include <cstdlib>
#include <ctime>

#include "OptionTestSupport.h"

namespace tavrin::test {
namespace {

using OptionRecords = OptionTask;

TEST_F(OptionRecords, InputRecordAppliesLinesThenFields) {
    TInputOptions in;
    in.ExtraOptions = "ss=5\nprogramid=3";
    in.StartTime = 2000;
    in.ForceFormat = "avi";
    task->ApplyInputOptions(in);
    EXPECT_EQ(task->Opt.StartTime, 2000000);  // the field comes after the line
    EXPECT_EQ(task->Opt.ProgramID, 3);        // -1 leaves it
    EXPECT_EQ(task->Opt.ForcedInputFormat, "avi");
    in = TInputOptions{};
    in.ForceFormat = "nosuch";
    EXPECT_THROW(
        try { task->ApplyInputOptions(in); } catch (const FFMpegException& e) {
            EXPECT_STREQ(e.what(), "Unknown input format: nosuch");
            throw;
        },
        FFMpegException);
}

TEST_F(OptionRecords, DefaultOutputRecordChangesNothingButTheAlwaysAssignedFields) {
    TOptionSettings before = task->Opt;
    task->ApplyOutputOptions(TOutputOptions{});
    task->ApplyTargetFromRecord(TOutputOptions{});
    EXPECT_EQ(task->Opt.FrameWidth, before.FrameWidth);
    EXPECT_EQ(task->Opt.AudioVolume, 256);
    EXPECT_EQ(task->Opt.AudioSampleRate, 44100);
    EXPECT_EQ(task->Opt.RecTimestamp, 0);
    EXPECT_EQ(std::vector<int>(task->Opt.PadColor, task->Opt.PadColor + 3), (std::vector<int>{0, 128, 128}));
    EXPECT_TRUE(task->Opt.GenericOptionNames.empty());
    EXPECT_EQ(task->TotalOutputDuration, -1);
}

TEST_F(OptionRecords, OutputFieldsAfterLinesThenTheTarget) {
    TOutputOptions out;
    out.ExtraOptions = "vcodec=mpeg4\ns=640x480\nab=64000";
    out.VideoCodec = "libx264";
    out.AudioCodec = "copy";
    out.AudioBitrate = 128000;
    out.GopSize = 250;
    out.VideoBitrate = 1000000;
    out.CropTop = 10;
    out.PadLeft = 4;
    out.PadColor = 0x0000FF;
    out.AudioVolume = 0;
    out.TimeLimit = 1500;
    out.Title = std::string("Clip\0junk", 9);
    out.Genre = std::string(40, 'g');
    out.Year = 2008;
    out.Target = 2;
    out.TargetNorm = 1;
    task->ApplyOutputOptions(out);
    EXPECT_EQ(task->Opt.VideoCodecName, "libx264");
    EXPECT_TRUE(task->Opt.AudioStreamCopy);
    EXPECT_EQ(CodecOption(mkAudio, "b"), 128000);
    EXPECT_EQ(CodecOption(mkVideo, "g"), 250);
    EXPECT_EQ(CodecOption(mkVideo, "b"), 1000000);
    EXPECT_EQ(task->Opt.CropTop, 10);
    EXPECT_EQ(task->Opt.FrameHeight, 470);
    EXPECT_EQ(task->Opt.PadLeft, 4);
    EXPECT_EQ(task->Opt.PadColor[0], 76);
    EXPECT_EQ(task->Opt.AudioVolume, 0);
    EXPECT_EQ(task->Opt.RecordingTime, 1500000);
    EXPECT_EQ(task->TotalOutputDuration, 1500);
    EXPECT_EQ(task->Opt.Title, "Clip");
    EXPECT_EQ(task->Opt.Genre, std::string(31, 'g'));
    EXPECT_EQ(task->Opt.Year, 2008);
    task->ApplyTargetFromRecord(out);
    EXPECT_EQ(task->Opt.VideoCodecName, "mpeg2video");
    EXPECT_EQ(task->Opt.FrameWidth, 480);
    EXPECT_EQ(task->Opt.FrameHeight, 576);
}

TEST_F(OptionRecords, RecordTargetWithAutomaticNormNeedsAFrameRate) {
    TOutputOptions out;
    out.Target = 1;
    out.TargetNorm = 7;  // other values mean automatic
    out.DefaultNorm = 1;
    task->ApplyOutputOptions(out);
    EXPECT_THROW(task->ApplyTargetFromRecord(out), FFMpegException);
    out.FrameRate = "12";  // decides nothing: the fall-back norm does
    task->ApplyOutputOptions(out);
    task->ApplyTargetFromRecord(out);
    EXPECT_EQ(task->Opt.FrameHeight, 288);
    out.DefaultNorm = 0;
    task->DispatchOption("r", "12");  // the first preset set 25
    task->ApplyTargetFromRecord(out);
    EXPECT_EQ(task->Opt.FrameHeight, 240);
}

TEST_F(OptionRecords, BadFieldsFailWithTheOptionMessages) {
    TOutputOptions out;
    out.ForceFormat = "nosuch";
    EXPECT_THROW(task->ApplyOutputOptions(out), FFMpegException);
    out = TOutputOptions{};
    out.VideoTag = "DIVX5";
    try {
        task->ApplyOutputOptions(out);
        ADD_FAILURE();
    } catch (const FFMpegException& e) {
        EXPECT_STREQ(e.what(), "video tag parameter must be 4 chars");
    }
}

TEST_F(OptionRecords, TimestampIsLocalStandardTimeOrNow) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "America/New_York", 1);  // standard offset -5 h, daylight saving -4 h
    tzset();
    TOutputOptions out;
    out.Timestamp = 39630.5;  // 1 Jul 2008 12:00, in summer
    task->ApplyOutputOptions(out);
    const int64_t summer = task->Opt.RecTimestamp;
    if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();
    EXPECT_EQ(summer, 1214913600 + 5 * 3600);
    out.Timestamp = 0;
    const int64_t before = std::time(nullptr);
    task->ApplyOutputOptions(out);
    EXPECT_GE(task->Opt.RecTimestamp, before);
    EXPECT_LE(task->Opt.RecTimestamp, before + 2);
    out.Timestamp = 1e300;
    EXPECT_THROW(task->ApplyOutputOptions(out), FFMpegException);
}

}  // namespace
}  // namespace tavrin::test
