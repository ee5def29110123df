// How far a whole batch has got: its rows weighed by their durations, one speed and one
// time left for all of them, and the words for how it ended.
#pragma once

#include "util/ProgressText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

// One row of the batch: started, still waiting, or ended.
struct TRowShare {
    std::optional<int64_t> DurationMs;  // the source's length; none when it is not known
    int64_t DoneMs = 0;                 // output written so far
    bool Ended = false;                 // "Done", "Fail" or "Abort": nothing more to do
};

// Percent of the batch's work that is done. A row of unknown length weighs as much as the
// rows of known length do on average (one second when none is known) and counts only once
// it has ended.
int BatchPercent(const std::vector<TRowShare>& rows);
// The batch's speed over the time it has run, and its time left; the time left is unknown
// while a row still to convert has no known length.
std::optional<TConversionPace> BatchPace(const std::vector<TRowShare>& rows, int64_t elapsedMs);

// The duration cell's "HH:MM:SS" in milliseconds; none for "Unknown", an empty or a
// malformed text.
std::optional<int64_t> DurationCellMs(const std::string& text);

// What the rows of a batch ended as.
struct TBatchTally {
    int Done = 0;
    int Failed = 0;
    int Stopped = 0;
};
// "All Conversions Completed" when every row is done, else the count of each outcome, as
// "3 files converted, 2 failed" or "1 file converted, 1 stopped".
std::string BatchOutcomeText(const TBatchTally& tally);

}  // namespace tavrin
