// Why an input could not be opened, told apart: the disk or the name (the library's code
// says so), or the file's content (its bytes read well, and no demuxer makes sense of them).
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "setup/TaskFiles.h"
#include "binding/Binding.h"

namespace tavrin {
namespace {

constexpr int kProbeBytes = 1 << 20;  // as far as the open itself looks
constexpr int kTailBytes = 1 << 16;

struct TFileLook {
    bool readable = false;  // the disk gave every byte asked for
    bool empty = false;
    bool recognised = false;  // a demuxer knows the content, not only the name
};

void CloseIo(AVIOContext* pb) { avio_closep(&pb); }
using IoPtr = std::unique_ptr<AVIOContext, FreeWith<CloseIo>>;

// The end of a long file is read too: a read error there is the disk's, not the content's.
bool TailReadable(AVIOContext* pb) {
    const int64_t size = avio_size(pb);
    if (size <= kProbeBytes)
        return true;
    std::vector<uint8_t> tail(kTailBytes);
    return avio_seek(pb, size - kTailBytes, SEEK_SET) >= 0 && avio_read(pb, tail.data(), kTailBytes) == kTailBytes;
}

// A guess from the file name alone (a low score) does not count as recognised. The open
// has already told the log about a low score, so this probe asks quietly.
bool Recognised(const std::string& name, std::vector<uint8_t>& buf, int size) {
    AVProbeData pd{};
    pd.filename = name.c_str();
    pd.buf = buf.data();
    pd.buf_size = size;
    int score = 0;
    const AVInputFormat* fmt = av_probe_input_format3(&pd, 1, &score);
    return fmt && score > AVPROBE_SCORE_RETRY;
}

// Only a regular file is read again: a pipe or a device would give other bytes or none.
TFileLook LookAt(const std::string& name) {
    TFileLook look;
    struct stat st{};
    AVIOContext* raw = nullptr;
    if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || avio_open(&raw, name.c_str(), AVIO_FLAG_READ) < 0)
        return look;
    IoPtr pb(raw);
    std::vector<uint8_t> buf(kProbeBytes + AVPROBE_PADDING_SIZE, 0);
    const int got = avio_read(pb.get(), buf.data(), kProbeBytes);
    look.readable = (got > 0 || got == AVERROR_EOF) && TailReadable(pb.get());
    look.empty = got == AVERROR_EOF;
    look.recognised = got > 0 && Recognised(name, buf, got);
    return look;
}

}  // namespace

std::string InputOpenErrorText(const std::string& FileName, int code, const std::string& libraryError) {
    if (code == AVERROR(ENOMEM))
        return ErrorTextFor(FileName, code);
    const TFileLook look = LookAt(FileName);
    if (!look.readable)
        return ErrorTextFor(FileName, code);
    if (look.empty)
        return FileName + ": the file is empty";
    if (!look.recognised)
        return ErrorTextFor(FileName, AVERROR(EILSEQ));
    // The disk gave every byte, so a read past the end means the content stops too soon.
    const std::string why = code == AVERROR_EOF || code == AVERROR(EIO)
                                ? "the file ends too early: it is cut short or damaged"
                                : libraryError;
    return ErrorTextFor(FileName, AVERROR_INVALIDDATA) + (why.empty() ? "" : " (" + why + ")");
}

}  // namespace tavrin
