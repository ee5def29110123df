// The progress line text and how log lines and the in-place progress line share stderr.
#include <gtest/gtest.h>

#include <sstream>

#include "Console.h"

namespace tavrin::cli {
namespace {

TEST(ProgressText, ShowsEveryValueWithTimeAsHoursMinutesSecondsAndHundredths) {
    const TProgress p{250, 25, 3723450, 4.0f, 1500.0f, 1234 * 1024 + 1000, 0};
    EXPECT_EQ(FormatProgress(p),
              "frame=  250 fps= 25 q=4.0 size=    1234kB time=01:02:03.45 bitrate=1500.0kbits/s");
}

TEST(ProgressText, PercentOfTheExpectedDurationOnlyWhenKnownAndNeverAboveAHundred) {
    TProgress p{};
    p.DurationMs = 4000;
    p.TotalMs = 10000;
    EXPECT_TRUE(FormatProgress(p).ends_with("kbits/s  40%"));
    p.DurationMs = 10040;  // the last frame may end past the expected duration
    EXPECT_TRUE(FormatProgress(p).ends_with("  100%"));
    p.DurationMs = 9960;  // a container that says 10.04 s for 10.00 s of pictures
    p.Complete = true;
    EXPECT_TRUE(FormatProgress(p).ends_with("  100%"));
    p.TotalMs = 0;
    EXPECT_TRUE(FormatProgress(p).ends_with("kbits/s"));
}

TEST(ProgressText, ANegativeDurationShowsAsZeroAndLargeValuesAreNotCut) {
    const TProgress p{123456789, 999, -40, 31.0f, 99999.9f, int64_t(1) << 40, 0};
    EXPECT_EQ(FormatProgress(p),
              "frame=123456789 fps=999 q=31.0 size=1073741824kB time=00:00:00.00 bitrate=99999.9kbits/s");
}

TEST(Console, ProgressIsRewrittenInPlaceAndAShorterLineCoversTheLongerOne) {
    std::ostringstream out;
    TConsole console(out);
    console.Progress("frame=10");
    console.Progress("frame=200");
    console.Progress("f=3");
    console.EndProgress();
    EXPECT_EQ(out.str(), "\rframe=10\rframe=200\rf=3      \n");
}

TEST(Console, ALogLineClearsTheProgressLineAndItIsDrawnAgainBelow) {
    std::ostringstream out;
    TConsole console(out);
    console.Line("Input #0\n");  // no progress yet: printed as it is, one line break
    console.Progress("frame=5");
    console.Line("Stream mapping:");
    EXPECT_EQ(out.str(), "Input #0\n\rframe=5\r       \rStream mapping:\n\rframe=5");
}

TEST(Console, EndWithoutProgressWritesNothing) {
    std::ostringstream out;
    TConsole console(out);
    console.Line("only a log line");
    console.EndProgress();
    console.Line("after the end");
    EXPECT_EQ(out.str(), "only a log line\nafter the end\n");
}

}  // namespace
}  // namespace tavrin::cli
