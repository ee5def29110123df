#include "DeviceTestSupport.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace tavrin::test {

namespace {

// "[trace_headers @ 0x..] 24    profile_idc    01001101 = 77" -> name, value.
bool TraceField(const std::string& line, std::string& name, int& value)
{
    const size_t close = line.find("] ");
    const size_t equals = line.rfind(" = ");
    if (close == std::string::npos || equals == std::string::npos || equals < close)
        return false;
    std::istringstream fields(line.substr(close + 2, equals - close - 2));
    std::string position, bits;
    if (!(fields >> position >> name >> bits))
        return false;
    value = std::atoi(line.c_str() + equals + 3);
    return true;
}

// Reads bits from a byte buffer, most significant first.
class BitReader {
public:
    BitReader(const std::string& data, size_t byte) : FData(data), FBit(byte * 8) {}
    int Read(int count)
    {
        int value = 0;
        for (int i = 0; i < count; ++i, ++FBit) {
            const size_t byte = FBit / 8;
            const int bit = byte < FData.size() ? (FData[byte] >> (7 - FBit % 8)) & 1 : 0;
            value = value << 1 | bit;
        }
        return value;
    }

private:
    const std::string& FData;
    size_t FBit;
};

}  // namespace

// The row's end is written just after the batch stops being busy, so both are awaited.
std::string DeviceJobTest::ConvertClip(const std::string& clip)
{
    using namespace std::chrono;
    const int row = AddFile(Fixture(clip));
    Build();
    const auto deadline = steady_clock::now() + seconds(120);
    for (;;) {
        const std::string status = Progress(row);
        if (!Window.Batch().Converting && (status == "Done" || status == "Fail" || status == "Abort"))
            return status;
        if (steady_clock::now() > deadline)
            return "timed out: " + status;
        std::this_thread::sleep_for(milliseconds(5));
    }
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Capture(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    if (!pipe)
        return text;
    char buffer[65536];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get()))
        text.append(buffer, n);
    return text;
}

Fields ProbeStream(const std::string& path, const std::string& type)
{
    const std::string text = Capture("ffprobe -v error -select_streams " + type +
                                     ":0 -show_streams -of default=noprint_wrappers=1 " +
                                     ShellQuote(path) + " 2>/dev/null");
    Fields fields;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (const size_t equals = line.find('='); equals != std::string::npos)
            fields.emplace(line.substr(0, equals), line.substr(equals + 1));
    return fields;
}

H264Trace TraceH264(const std::string& path)
{
    const std::string text = Capture("ffmpeg -hide_banner -nostdin -i " + ShellQuote(path) +
                                     " -map 0:v:0 -c copy -bsf:v trace_headers -f null - 2>&1");
    H264Trace trace;
    std::map<std::string, int>* set = nullptr;
    int nalType = 0, refIdc = 0, sliceType = -1;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::string name;
        int value = 0;
        if (!TraceField(line, name, value))
            continue;
        if (name == "nal_ref_idc") {
            refIdc = value;
        } else if (name == "nal_unit_type") {
            nalType = value;
            set = nalType == 7 && trace.Sps.empty()   ? &trace.Sps
                  : nalType == 8 && trace.Pps.empty() ? &trace.Pps
                                                      : nullptr;
        } else if (set) {
            set->emplace(name, value);
        } else if ((nalType == 1 || nalType == 5) && name == "slice_type") {
            sliceType = value % 5;
            ++trace.Slices;
            trace.BSlices += sliceType == 1;
            trace.ReferencedBSlices += sliceType == 1 && refIdc != 0;
        }
    }
    trace.Ok = !trace.Sps.empty() && !trace.Pps.empty() && trace.Slices > 0;
    return trace;
}

MPEG4Headers ReadMPEG4Headers(const std::string& path)
{
    const std::string es = path + ".m4v";
    Capture("ffmpeg -v error -nostdin -y -i " + ShellQuote(path) + " -map 0:v:0 -c copy -bsf:v dump_extra -f m4v " +
            ShellQuote(es) + " 2>/dev/null");
    std::ifstream file(es, std::ios::binary);
    const std::string data{std::istreambuf_iterator<char>(file), {}};
    std::filesystem::remove(es);
    MPEG4Headers headers;
    for (size_t i = 0; i + 4 < data.size(); ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1)
            continue;
        const unsigned code = static_cast<unsigned char>(data[i + 3]);
        if (code == 0xB0 && headers.ProfileAndLevel < 0) {
            headers.ProfileAndLevel = static_cast<unsigned char>(data[i + 4]);
        } else if (code >= 0x20 && code <= 0x2F && headers.ObjectType < 0) {
            BitReader bits(data, i + 4);
            bits.Read(1);  // random_accessible_vol
            headers.ObjectType = bits.Read(8);
        } else if (code == 0xB6) {
            const int type = BitReader(data, i + 4).Read(2);
            ++headers.Vops;
            headers.BVops += type == 2;
            headers.SpriteVops += type == 3;
        }
    }
    return headers;
}

RateCheck CheckVideoRate(const std::string& path, double maxBitsPerSecond, double bufferBits)
{
    const std::string text = Capture("ffprobe -v error -select_streams v:0 -show_entries "
                                     "packet=dts_time,size -of csv=p=0 " + ShellQuote(path));
    std::vector<std::pair<double, double>> packets;  // decoding time, bits
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (const size_t comma = line.find(','); comma != std::string::npos)
            packets.emplace_back(std::atof(line.c_str()), 8.0 * std::atof(line.c_str() + comma + 1));
    RateCheck check;
    if (packets.empty())
        return check;
    std::sort(packets.begin(), packets.end());
    double fill = bufferBits, last = packets.front().first, worst = bufferBits, total = 0;
    for (const auto& [time, bits] : packets) {
        fill = std::min(bufferBits, fill + maxBitsPerSecond * (time - last));
        last = time;
        fill -= bits;
        worst = std::min(worst, fill);
        total += bits;
    }
    for (size_t i = 0; i < packets.size(); ++i) {
        double window = 0;
        for (size_t j = i; j < packets.size() && packets[j].first < packets[i].first + 1.0; ++j)
            window += packets[j].second;
        check.PeakKbps = std::max(check.PeakKbps, window / 1000);
    }
    const double span = packets.back().first - packets.front().first;
    check.AverageKbps = span > 0 ? total / 1000 / (span * packets.size() / (packets.size() - 1)) : 0;
    check.WorstFill = worst / bufferBits;
    check.Fits = worst >= 0;
    return check;
}

std::vector<uint8_t> LumaPicture(const std::string& path, int index, int width, int height)
{
    const std::string raw = Capture("ffmpeg -v error -nostdin -i " + ShellQuote(path) +
                                    " -vf " + ShellQuote("select=eq(n\\," + std::to_string(index) + ")") +
                                    " -frames:v 1 -f rawvideo -pix_fmt yuv420p - 2>/dev/null");
    const size_t luma = static_cast<size_t>(width) * height;
    if (raw.size() != luma + 2 * (luma / 4))
        return {};
    return std::vector<uint8_t>(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(luma));
}

}  // namespace tavrin::test
