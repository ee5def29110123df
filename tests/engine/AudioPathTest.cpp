// The audio path end to end: the output's sample-count timeline, decoders that change rate
// or layout mid-stream, extreme gains, huge decoded units and the last partial frame.
#include <fstream>
#include <sstream>

#include "TranscodeTestSupport.h"

namespace tavrin::test {
namespace {

struct PacketTime {
    int64_t pts, duration, size;
};

// The packets of the first stream of that type ("a", "v"), in file order, read by ffprobe.
std::vector<PacketTime> Packets(const std::string& path, const std::string& type) {
    const std::string cmd = "ffprobe -v error -select_streams " + type +
                            ":0 -show_entries packet=pts,duration,size -of csv=p=0 '" + path + "' 2>/dev/null";
    std::vector<PacketTime> packets;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    char line[256];
    while (pipe && std::fgets(line, sizeof line, pipe.get())) {
        long long pts = 0, duration = 0, size = 0;
        if (std::sscanf(line, "%lld,%lld,%lld", &pts, &duration, &size) == 3)
            packets.push_back({pts, duration, size});
    }
    return packets;
}

// Where a packet does not start where the one before it ended; -1 when none does.
int FirstHoleOrOverlap(const std::vector<PacketTime>& packets) {
    for (size_t i = 1; i < packets.size(); ++i)
        if (packets[i].pts != packets[i - 1].pts + packets[i - 1].duration)
            return static_cast<int>(i);
    return -1;
}

// Samples ffmpeg decodes from the file, as mono at the given rate (any source shape).
int64_t DecodedSamples(const std::string& path, int rate) {
    const std::string cmd = "ffmpeg -v error -i '" + path + "' -vn -ac 1 -ar " + std::to_string(rate) +
                            " -f s16le - 2>/dev/null | wc -c";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    long long bytes = 0;
    if (!pipe || std::fscanf(pipe.get(), "%lld", &bytes) != 1)
        return -1;
    return bytes / 2;
}

double DecodedSeconds(const std::string& path) { return static_cast<double>(DecodedSamples(path, 8000)) / 8000.0; }

std::vector<int16_t> PcmSamples(const std::string& wav) {
    std::ifstream f(wav, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const std::string tag = "data";
    auto it = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end());
    std::vector<int16_t> samples;
    for (auto p = it == bytes.end() ? bytes.end() : it + 8; p + 1 < bytes.end(); p += 2)
        samples.push_back(static_cast<int16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8)));
    return samples;
}

const char* kVideoAndTone = "-f lavfi -i testsrc2=size=160x120:rate=25:duration=3 -f lavfi -i sine=frequency=300:sample_rate=";

TEST(AudioTimeline, DvTargetsTakeA44kHzSourceWhoseAudioIsResampled) {
    const auto dir = TempDir();
    for (const char* target : {"pal-dv", "ntsc-dv"}) {
        const std::string out = (dir / (std::string(target) + ".dv")).string();
        Conversion c = Convert(Job(Fixture("clip.avi"), out, "", std::string("target=") + target));
        ASSERT_TRUE(c.finished) << target << ": " << c.message;
        const MediaInfo info = ProbeMedia(out);
        ASSERT_NE(info.First("audio"), nullptr) << target;
        EXPECT_EQ(info.First("audio")->at("sample_rate"), "48000");
        EXPECT_NEAR(info.duration, 3.0, 0.1) << target;
    }
}

TEST(AudioTimeline, ResampledPacketsFollowEachOtherWithoutHolesOrOverlaps) {
    const auto dir = TempDir();
    // 44.1 kHz MP3 frames into 48 kHz: the converter holds samples back between chunks.
    for (const char* codec : {"pcm_s16le", "mp2"}) {
        const std::string out = (dir / (std::string(codec) + ".nut")).string();
        Conversion c = Convert(Job(Fixture("clip.avi"), out, "", std::string("vcodec=mpeg4\nar=48000\nacodec=") + codec));
        ASSERT_TRUE(c.finished) << c.message;
        const auto packets = Packets(out, "a");
        ASSERT_GT(packets.size(), 20u);
        EXPECT_EQ(FirstHoleOrOverlap(packets), -1) << codec;
        EXPECT_EQ(packets.front().pts, 0);
    }
}

TEST(AudioTimeline, AudioTimestampsThatJumpBackConvertIntoAvi) {
    const auto dir = TempDir();
    // Audio time steps back 0.3 s half way, as in a spliced broadcast.
    const std::string in = MakeClip(dir, "jump.ts", std::string(kVideoAndTone) +
        "48000:duration=3 -af \"asetpts='if(gte(T,1.5),PTS-0.3/TB,PTS)'\" -c:v mpeg2video -c:a mp2");
    const std::string avi = (dir / "jump.avi").string();
    Conversion c = Convert(Job(in, avi, "", "vcodec=mpeg4\nacodec=libmp3lame"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(ProbeMedia(avi).ok);
    const std::string nut = (dir / "jump.nut").string();
    c = Convert(Job(in, nut, "", "vcodec=mpeg4\nacodec=mp2"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_EQ(FirstHoleOrOverlap(Packets(nut, "a")), -1);
}

TEST(AudioTimeline, AnInputSeekIntoAviStartsVideoAndAudioAtZero) {
    const auto dir = TempDir();
    const std::string out = (dir / "seek.avi").string();
    Conversion c = Convert(Job(Fixture("clip.avi"), out, "ss=1.3", "vcodec=mpeg4\nacodec=mp2"));
    ASSERT_TRUE(c.finished) << c.message;
    // The AVI index gives every picture its slot: an empty entry shows as a skipped number.
    const auto video = Packets(out, "v");
    ASSERT_GT(video.size(), 30u);
    EXPECT_EQ(video.front().pts, 0);
    for (size_t i = 1; i < video.size(); ++i)
        ASSERT_EQ(video[i].pts, video[i - 1].pts + 1) << "empty index entries before packet " << i;
    EXPECT_NEAR(DecodedSeconds(out), 1.7, 0.1) << "no audio from before the seek point";
}

TEST(AudioShapeChange, RateAndLayoutChangingMidStreamKeepTheDuration) {
    const auto dir = TempDir();
    auto part = [&](const std::string& name, int rate, int channels, int offset) {
        return MakeClip(dir, name, "-f lavfi -i sine=frequency=300:sample_rate=" + std::to_string(rate) +
                        ":duration=2 -ac " + std::to_string(channels) + " -c:a aac -output_ts_offset " +
                        std::to_string(offset) + " -f mpegts");
    };
    const std::string s48 = part("s48.ts", 48000, 2, 0), s8 = part("s8.ts", 8000, 1, 2);
    const std::string s8first = part("s8first.ts", 8000, 1, 0), s48next = part("s48next.ts", 48000, 2, 2);
    const std::string down = (dir / "down.ts").string(), up = (dir / "up.ts").string();
    ASSERT_EQ(Shell("cat '" + s48 + "' '" + s8 + "' > '" + down + "'"), 0);
    ASSERT_EQ(Shell("cat '" + s8first + "' '" + s48next + "' > '" + up + "'"), 0);
    for (const std::string& in : {down, up}) {
        for (const char* shape : {"ar=44100\nac=2", "ar=8000\nac=1"}) {
            const std::string out = (dir / "out.wav").string();
            Conversion c = Convert(Job(in, out, "", shape));
            ASSERT_TRUE(c.finished) << in << ": " << c.message;
            EXPECT_NEAR(DecodedSeconds(out), DecodedSeconds(in), 0.03) << in << " to " << shape;
            const auto packets = Packets(out, "a");
            EXPECT_EQ(FirstHoleOrOverlap(packets), -1) << in << " to " << shape;
        }
    }
}

TEST(AudioVolume, AHugeGainClampsEverySampleInsteadOfOverflowing) {
    const auto dir = TempDir();
    const std::string in = MakeClip(dir, "tone.wav", "-f lavfi -i sine=frequency=300:sample_rate=44100:duration=0.5 -c:a pcm_s16le");
    const std::string out = (dir / "loud.wav").string();
    Conversion c = Convert(Job(in, out, "", "vol=100000000"));
    ASSERT_TRUE(c.finished) << c.message;
    const auto src = PcmSamples(in), dst = PcmSamples(out);
    ASSERT_EQ(src.size(), dst.size());
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_EQ(dst[i], src[i] > 0 ? 32767 : src[i] < 0 ? -32768 : 0) << "sample " << i << " was " << src[i];
}

// Freed blocks that AddressSanitizer keeps out of use (its quarantine, 256 MB by default)
// count as resident; a leak or an unbounded buffer still goes far beyond.
#if defined(__SANITIZE_ADDRESS__)
#define TAVRIN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVRIN_ASAN 1
#endif
#endif
#ifdef TAVRIN_ASAN
constexpr long kAllocatorSlackKb = 256 * 1024;
#else
constexpr long kAllocatorSlackKb = 0;
#endif

// ThreadSanitizer makes every memory access several times slower: a stop's bound grows
// with it.
#if defined(__SANITIZE_THREAD__)
constexpr int kSlowdown = 5;
#else
constexpr int kSlowdown = 1;
#endif

// Resident memory of this process, in kB.
long MemoryKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

TEST(AudioPieces, AWavClaimingOneHertzStopsWithinASecondWithFlatMemory) {
    const auto dir = TempDir();
    const std::string real = MakeClip(dir, "real.wav", "-f lavfi -i sine=frequency=300:sample_rate=44100:duration=2 -ac 1 -c:a pcm_s16le -bitexact");
    // The same samples under a header that says 1 Hz: 88200 seconds, each 4096-byte
    // packet half an hour at 44.1 kHz.
    std::fstream f(real, std::ios::in | std::ios::out | std::ios::binary);
    std::string head(64, '\0');
    f.read(head.data(), 64);
    const size_t fmt = head.find("fmt ");
    ASSERT_NE(fmt, std::string::npos);
    const char rate[8] = {1, 0, 0, 0, 2, 0, 0, 0};  // sample rate 1, byte rate 2
    f.seekp(static_cast<std::streamoff>(fmt + 12));
    f.write(rate, sizeof rate);
    f.close();

    std::mutex mutex;
    std::condition_variable changed;
    bool over = false, finished = true, exception = true;
    std::chrono::steady_clock::time_point ended;
    TFFmpegEngine engine;
    engine.OnTerminate = [&](int index, bool fin, bool exc, const std::string&) {
        std::lock_guard l(mutex);
        if (index >= 0) {
            finished = fin;
            exception = exc;
            ended = std::chrono::steady_clock::now();
        } else {
            over = true;
        }
        changed.notify_all();
    };
    const std::string out = (dir / "out.wav").string();
    const int index = engine.AddInputTask(real, nullptr);
    ASSERT_GE(index, 0) << engine.LastErrorText();
    TOutputOptions options;
    options.ExtraOptions = "ar=44100";
    ASSERT_TRUE(engine.SetTaskOutput(index, out, &options)) << engine.LastErrorText();
    const long before = MemoryKb();
    engine.StartTasks(1);
    long highest = before;
    for (int i = 0; i < 15; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        highest = std::max(highest, MemoryKb());
    }
    const auto stopped = std::chrono::steady_clock::now();
    engine.StopTasks();
    std::unique_lock l(mutex);
    ASSERT_TRUE(changed.wait_for(l, std::chrono::seconds(60), [&] { return over; }));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(ended - stopped).count(), 1000 * kSlowdown);
    EXPECT_FALSE(finished);
    EXPECT_FALSE(exception);
    EXPECT_LT(highest - before, 100 * 1024 + kAllocatorSlackKb) << "kB grown while converting";
    const MediaInfo info = ProbeMedia(out);
    ASSERT_TRUE(info.ok) << "the stopped output is finished properly";
    EXPECT_GT(info.duration, 1.0);
}

TEST(AudioLastFrame, WholeFrameEncodersGetTheLastSamplesPaddedWithSilence) {
    const auto dir = TempDir();
    const std::string three = MakeClip(dir, "three.wav", "-f lavfi -i sine=frequency=300:sample_rate=44100:duration=3 -ac 2 -c:a pcm_s16le");
    struct Case {
        const char* extension;
        int frameSize;
    };
    for (const Case& k : {Case{".mp2", 1152}, Case{".wma", 2048}}) {
        const std::string out = (dir / (std::string("three") + k.extension)).string();
        Conversion c = Convert(Job(three, out, "", ""));
        ASSERT_TRUE(c.finished) << c.message;
        const double duration = ProbeMedia(out).duration;
        EXPECT_GE(duration, 3.0) << k.extension;
        EXPECT_LE(duration, 3.0 + k.frameSize / 44100.0 + 0.001) << k.extension;
    }

    // 20 ms is less than one frame of either: one padded frame each.
    const std::string brief = MakeClip(dir, "brief.wav", "-f lavfi -i sine=frequency=300:sample_rate=44100:duration=0.02 -ac 2 -c:a pcm_s16le");
    const std::string mp2 = (dir / "brief.mp2").string();
    Conversion c = Convert(Job(brief, mp2, "", ""));
    ASSERT_TRUE(c.finished) << c.message;
    std::ifstream in(mp2, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 1253u) << "one 1152-sample frame at 192 kbit/s";
    EXPECT_TRUE(bytes[0] == 0xFF && (bytes[1] & 0xF0) == 0xF0) << "starts with a frame header";
    const std::string inMkv = (dir / "brief.mkv").string();
    c = Convert(Job(brief, inMkv, "", "acodec=mp2"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_EQ(Packets(inMkv, "a").size(), 1u);
    const std::string wma = (dir / "brief.wma").string();
    c = Convert(Job(brief, wma, "", ""));
    ASSERT_TRUE(c.finished) << c.message;
    const auto packets = Packets(wma, "a");
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_GE(ProbeMedia(wma).duration, 0.02);
}

TEST(AudioLastFrame, ShortLastFrameEncodersGetItShort) {
    const auto dir = TempDir();
    // 1.01 s = 44541 samples: FLAC takes 4608-sample frames and a short last one, so the
    // lossless output decodes to exactly the source's samples, not to ten whole frames.
    const std::string in = MakeClip(dir, "tone.wav", "-f lavfi -i sine=frequency=300:sample_rate=44100:duration=1.01 -ac 2 -c:a pcm_s16le");
    const std::string out = (dir / "tone.flac").string();
    Conversion c = Convert(Job(in, out, "", ""));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_EQ(DecodedSamples(out, 44100), 44541);
}

TEST(AudioLastFrame, ResampledAudioKeepsExactlyTheLengthOfItsSource) {
    const auto dir = TempDir();
    // A clip shorter than the converter's filter came out empty; longer ones lost or gained
    // a few samples at the end. The output holds the source's length at its own rate.
    struct Case { int samples, from, to; };
    for (const Case& k : {Case{10, 22050, 48000}, Case{10, 22050, 8000}, Case{100, 22050, 48000},
                          Case{44100, 44100, 48000}, Case{48000, 48000, 8000}}) {
        const std::string name = "s" + std::to_string(k.samples) + "-" + std::to_string(k.from);
        const std::string in = MakeClip(dir, name + ".wav", "-f lavfi -i sine=frequency=300:sample_rate=" +
                                        std::to_string(k.from) + " -af atrim=end_sample=" +
                                        std::to_string(k.samples) + " -ac 2 -c:a pcm_s16le");
        const std::string out = (dir / (name + "-out.wav")).string();
        Conversion c = Convert(Job(in, out, "", "ar=" + std::to_string(k.to)));
        ASSERT_TRUE(c.finished) << name << ": " << c.message;
        const int64_t expected = (int64_t{k.samples} * k.to + k.from / 2) / k.from;
        EXPECT_EQ(DecodedSamples(out, k.to), expected) << name << " to " << k.to;
    }
}

}  // namespace
}  // namespace tavrin::test
