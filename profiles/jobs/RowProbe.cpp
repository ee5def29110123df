#include "jobs/RowProbe.h"

#include "AVProbe.h"
#include "jobs/SourceKind.h"

namespace tavrin {

TProbeFacts ProbeFacts(TAVProbe& probe, const std::string& path)
{
    TProbeFacts facts;
    facts.Reason = SourceRefusal(path);
    if (!facts.Reason.empty())
        return facts;
    if (!probe.Open(path, "")) {
        facts.Reason = probe.LastError();
        return facts;
    }
    facts.Opened = true;
    facts.VideoStreamCount = probe.VideoStreamCount();
    if (facts.VideoStreamCount > 0) {
        TAVStreamInfo video;
        probe.GetVideoInfo(video);
        facts.Width = video.Width;
        facts.Height = video.Height;
        facts.FrameRateNum = video.FrameRateNum;
        facts.FrameRateDen = video.FrameRateDen;
    }
    TAVFileInfo file;
    probe.GetFileInfo(file);
    facts.DurationMicros = file.Duration;
    // The row's conversion starts from this opening instead of reading the file again.
    probe.KeepForConversion();
    return facts;
}

TRowCells ProbeRowCells(TAVProbe& probe, const std::string& path,
                        std::string_view outputExtension)
{
    return RowCellsOf(ProbeFacts(probe, path), outputExtension);
}

}  // namespace tavrin
