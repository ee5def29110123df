#include "TaskFiles.h"

#include <filesystem>
#include <map>

#include "FFmpeg.h"
#include "binding/Binding.h"

namespace tavrin {

void OutputContextDeleter::operator()(AVFormatContext* oc) const {
    if (!oc)
        return;
    if (oc->oformat && !(oc->oformat->flags & AVFMT_NOFILE))
        avio_closep(&oc->pb);
    avformat_free_context(oc);
}

std::string ErrorTextFor(const std::string& FileName, int code) {
    static const std::map<int, std::string> texts = {
        {AVERROR(EILSEQ), "%s: Unknown format"},
        {AVERROR_DEMUXER_NOT_FOUND, "%s: Unknown format"},
        {AVERROR_INVALIDDATA, "%s: Error while parsing header"},
        {AVERROR(EINVAL), "%s: Error while parsing header"},
        {AVERROR(ENOMEM), "%s: memory allocation error occurred"},
        {AVERROR(EIO), "%s: I/O error occurred\r\nUsually that means that input file is truncated and/or corrupted."},
        {AVERROR_EOF, "%s: I/O error occurred\r\nUsually that means that input file is truncated and/or corrupted."},
        {AVERROR(ENOENT), "%s: no such file or directory"},
        {AVERROR(EDOM), "%s: Incorrect image filename syntax.\r\nUse '%d' to specify the image number:\r\n"
                        "  for img1.jpg, img2.jpg, ..., use 'img%d.jpg';\r\n"
                        "  for img001.jpg, img002.jpg, ..., use 'img%03d.jpg'."},
    };
    auto it = texts.find(code);
    std::string text = it != texts.end() ? it->second : "%s: Error while opening file";
    text.replace(text.find("%s"), 2, FileName);
    return text;
}

}  // namespace tavrin
