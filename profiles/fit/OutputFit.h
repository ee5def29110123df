// The last step of filling a job's output options: settings the encoder cannot take move
// to the nearest value it can, the picture is letterboxed when the user asked for it, and
// the device the profile is meant for gets the encoder options that keep the file within
// what it plays. Every change and every choice beyond a device's limits gives one line
// for the row's log.
#pragma once

#include "OptionRecords.h"

#include <string>
#include <vector>

namespace tavrin {

struct TFitRequest {
    int Kind = -1;              // catalogue kind of the selected profile
    bool LetterBox = false;     // "LetterBox" chosen as Video Zoom
    int AspectIndex = 0;        // aspect combo position: 0 the source's, 1 4:3, 2 16:9
    std::string VideoSizeCell;  // the row's "Video Size", "1280x720"
};

// Adjusts options in place; returns the log lines, in the order of the changes.
std::vector<std::string> FitOutputOptions(const TFitRequest& request, TOutputOptions& options);

}  // namespace tavrin
