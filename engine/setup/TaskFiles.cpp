#include "setup/TaskFiles.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "options/FFmpeg.h"
#include "binding/Binding.h"
#include "binding/Errors.h"

namespace tavrin {

void OutputContextDeleter::operator()(AVFormatContext* oc) const {
    if (!oc)
        return;
    if (oc->oformat && !(oc->oformat->flags & AVFMT_NOFILE))
        avio_closep(&oc->pb);
    avformat_free_context(oc);
}

TCreatedFile TCreatedFile::Find(const std::string& fileName) {
    const char* protocol = avio_find_protocol_name(fileName.c_str());
    if (!protocol || std::string(protocol) != "file")
        return {};
    std::string path = fileName;
    if (path.rfind("file:", 0) == 0)
        path.erase(0, 5);
    struct stat st{};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return {path, st.st_dev, st.st_ino};
}

bool TCreatedFile::StillThere() const {
    struct stat st{};
    return !Path.empty() && stat(Path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == Device &&
           st.st_ino == Inode;
}

std::string ErrorTextFor(const std::string& FileName, int code) {
    static const std::map<int, std::string> texts = {
        {AVERROR(EILSEQ), "%s: Unknown format"},
        {AVERROR_DEMUXER_NOT_FOUND, "%s: Unknown format"},
        {AVERROR_INVALIDDATA, "%s: Error while parsing header"},
        {AVERROR(ENOMEM), "%s: memory allocation error occurred"},
        {AVERROR(EIO), "%s: I/O error occurred\r\nUsually that means that input file is truncated and/or corrupted."},
        {AVERROR_EOF, "%s: I/O error occurred\r\nUsually that means that input file is truncated and/or corrupted."},
        {AVERROR(ENOENT), "%s: no such file or directory"},
        {AVERROR(EDOM), "%s: Incorrect image filename syntax.\r\nUse '%d' to specify the image number:\r\n"
                        "  for img1.jpg, img2.jpg, ..., use 'img%d.jpg';\r\n"
                        "  for img001.jpg, img002.jpg, ..., use 'img%03d.jpg'."},
    };
    // Where no fixed text fits (a full disk, an unknown protocol, a muxer's refusal), the
    // library's own words say more than a general one.
    auto it = texts.find(code);
    if (it == texts.end())
        return FileName + ": " + AvErrorText(code);
    std::string text = it->second;
    text.replace(text.find("%s"), 2, FileName);
    return text;
}

}  // namespace tavrin
