#include "util/BatchProgress.h"

#include <algorithm>
#include <cstdio>

namespace tavrin {

namespace {

constexpr int64_t kUnknownWeightMs = 1000;

// The weight a row of unknown length gets: the mean of the known lengths.
int64_t UnknownWeight(const std::vector<TRowShare>& rows)
{
    int64_t sum = 0;
    int64_t known = 0;
    for (const TRowShare& row : rows)
        if (row.DurationMs && *row.DurationMs > 0) {
            sum += *row.DurationMs;
            ++known;
        }
    return known > 0 ? sum / known : kUnknownWeightMs;
}

int64_t Weight(const TRowShare& row, int64_t unknownWeight)
{
    return row.DurationMs && *row.DurationMs > 0 ? *row.DurationMs : unknownWeight;
}

// The part of the row's weight that is done.
double DoneWeight(const TRowShare& row, int64_t unknownWeight)
{
    const int64_t weight = Weight(row, unknownWeight);
    if (row.Ended)
        return static_cast<double>(weight);
    if (!row.DurationMs || *row.DurationMs <= 0)
        return 0;
    return static_cast<double>(std::clamp<int64_t>(row.DoneMs, 0, weight));
}

}  // namespace

int BatchPercent(const std::vector<TRowShare>& rows)
{
    const int64_t unknownWeight = UnknownWeight(rows);
    double total = 0;
    double done = 0;
    for (const TRowShare& row : rows) {
        total += static_cast<double>(Weight(row, unknownWeight));
        done += DoneWeight(row, unknownWeight);
    }
    return total > 0 ? static_cast<int>(done * 100 / total) : 0;
}

std::optional<TConversionPace> BatchPace(const std::vector<TRowShare>& rows, int64_t elapsedMs)
{
    if (elapsedMs <= 0)
        return std::nullopt;
    int64_t converted = 0;
    int64_t left = 0;
    bool leftKnown = true;
    for (const TRowShare& row : rows) {
        converted += std::max<int64_t>(row.DoneMs, 0);
        if (row.Ended)
            continue;
        if (!row.DurationMs || *row.DurationMs <= 0)
            leftKnown = false;
        else
            left += std::max<int64_t>(*row.DurationMs - row.DoneMs, 0);
    }
    TConversionPace pace;
    pace.Speed = static_cast<double>(converted) / static_cast<double>(elapsedMs);
    if (leftKnown && pace.Speed > 0)
        pace.SecondsLeft = static_cast<int>(static_cast<double>(left) / pace.Speed / 1000.0 + 0.5);
    return pace;
}

std::optional<int64_t> DurationCellMs(const std::string& text)
{
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d%c", &hours, &minutes, &seconds, &end) != 3 ||
        hours < 0 || minutes < 0 || seconds < 0)
        return std::nullopt;
    return ((static_cast<int64_t>(hours) * 60 + minutes) * 60 + seconds) * 1000;
}

std::string BatchOutcomeText(const TBatchTally& tally)
{
    if (tally.Done > 0 && tally.Failed == 0 && tally.Stopped == 0)
        return "All Conversions Completed";
    std::string text =
        std::to_string(tally.Done) + (tally.Done == 1 ? " file" : " files") + " converted";
    if (tally.Failed > 0)
        text += ", " + std::to_string(tally.Failed) + " failed";
    if (tally.Stopped > 0)
        text += ", " + std::to_string(tally.Stopped) + " stopped";
    return text;
}

}  // namespace tavrin
