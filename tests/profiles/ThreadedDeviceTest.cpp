// A device profile's output with one codec thread and with several: both play to the end
// with the same pictures, and both keep within the device's limits. x264's threads are
// frame threads, so a threaded H.264 output still has one slice per picture.
#include "DeviceTestSupport.h"
#include "Quality.h"

namespace tavrin::test {
namespace {

class ThreadedDevice : public DeviceJobTest, public ::testing::WithParamInterface<int> {
protected:
    // Converts the 4:3 clip with the profile at its defaults and this many codec threads.
    std::string Convert(const std::string& caption)
    {
        Choose(caption);
        Engine.SetCodecThreads(GetParam());
        EXPECT_EQ(ConvertClip("device480.avi"), "Done") << Builder.LastJob().FailText;
        return OutputPath();
    }
    int Pictures(const std::string& path)
    {
        const MediaInfo info = ProbeMedia(path);
        const Fields* video = info.First("video");
        return video ? std::stoi(video->at("nb_read_packets")) : -1;
    }
};

TEST_P(ThreadedDevice, AppleTvH264KeepsOneSlicePerPictureAndItsLevel)
{
    const std::string path = Convert("Apple TV H264 (640 x 480) (*.mp4)");
    const H264Trace trace = TraceH264(path);
    ASSERT_TRUE(trace.Ok);
    const int pictures = Pictures(path);
    EXPECT_GT(pictures, 0);
    EXPECT_EQ(trace.Slices, pictures) << "slices per picture";
    EXPECT_EQ(trace.Sps.at("profile_idc"), 77);
    EXPECT_LE(trace.Sps.at("level_idc"), 31);
    EXPECT_LE(trace.Sps.at("max_num_ref_frames"), 3);
    EXPECT_EQ(trace.Pps.at("entropy_coding_mode_flag"), 0) << "CABAC";
    EXPECT_EQ(trace.ReferencedBSlices, 0) << "B-pyramid";
    EXPECT_TRUE(CheckVideoRate(path, 5000e3, 5000e3).Fits);
    EXPECT_NEAR(ProbeMedia(path).duration, ProbeMedia(Fixture("device480.avi")).duration, 0.15);
}

TEST_P(ThreadedDevice, AppleTvMpeg4StaysSimpleProfileWithinItsBuffer)
{
    const std::string path = Convert("Apple TV (*.mp4)");
    const MPEG4Headers headers = ReadMPEG4Headers(path);
    EXPECT_EQ(headers.ProfileAndLevel, 0x04);
    EXPECT_EQ(headers.ObjectType, 1);
    EXPECT_EQ(headers.BVops, 0);
    EXPECT_EQ(headers.Vops, Pictures(path));
    EXPECT_TRUE(CheckVideoRate(path, 3000e3, 1310.72e3).Fits);
    EXPECT_NEAR(ProbeMedia(path).duration, ProbeMedia(Fixture("device480.avi")).duration, 0.15);
}

INSTANTIATE_TEST_SUITE_P(CodecThreads, ThreadedDevice, ::testing::Values(1, 4),
                         [](const auto& info) { return "Threads" + std::to_string(info.param); });

}  // namespace
}  // namespace tavrin::test
