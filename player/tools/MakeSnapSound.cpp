// Writes the "Snap" sound: a short shutter-like click as a 16-bit mono PCM WAV file.
// Run at build time; the result goes into the player's resources.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// Two clicks (the shutter opening and closing): a noise burst over a low knock, each fading fast.
std::vector<std::int16_t> Samples()
{
    const int length = kRate * 12 / 100;  // 120 ms
    std::vector<std::int16_t> samples(length, 0);
    std::uint32_t noise = 0x2545F491u;  // fixed seed: the same file every build
    for (int start : {0, kRate * 6 / 100}) {
        for (int i = 0; start + i < length; ++i) {
            const double t = static_cast<double>(i) / kRate;
            noise = noise * 1664525u + 1013904223u;
            const double white = static_cast<double>(noise >> 8) / (1u << 24) * 2.0 - 1.0;
            const double knock = std::sin(2.0 * kPi * 180.0 * t);
            const double value = (0.6 * white + 0.4 * knock) * std::exp(-t * 150.0);
            const int mixed = samples[start + i] + static_cast<int>(value * 20000.0);
            samples[start + i] = static_cast<std::int16_t>(std::max(-32768, std::min(32767, mixed)));
        }
    }
    return samples;
}

void Put(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    const std::vector<std::int16_t> samples = Samples();
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write("RIFF", 4);
    Put(out, 36 + dataSize, 4);
    out.write("WAVEfmt ", 8);
    Put(out, 16, 4);         // format chunk size
    Put(out, 1, 2);          // PCM
    Put(out, 1, 2);          // mono
    Put(out, kRate, 4);
    Put(out, kRate * 2, 4);  // bytes per second
    Put(out, 2, 2);          // block align
    Put(out, 16, 2);         // bits per sample
    out.write("data", 4);
    Put(out, dataSize, 4);
    for (std::int16_t s : samples)
        Put(out, static_cast<std::uint16_t>(s), 2);
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
