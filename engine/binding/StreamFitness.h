// How fit an input stream is to be taken by the default stream choice: a stream that holds
// no packets, an attached picture (cover art, a container's attachment) or a stream whose
// decoder cannot describe what it delivers would give an empty, one-picture or failing
// output where a person expects their film or song.
#pragma once

#include <functional>
#include <string>

#include "binding/LibAV.h"

namespace tavrin {

enum TStreamFit {
    sfNone,      // never taken by the default choice (explicit maps still may)
    sfFallback,  // taken only when no stream of its kind fits fully
    sfFull,
};

struct TStreamFitness {
    TStreamFit Fit = sfNone;
    std::string Why;  // what is missing, as "has no audio channels"; empty when sfFull
};

// For video and audio streams; other kinds always fit fully.
TStreamFitness StreamFitness(const AVStream* st);

bool IsAttachedPicture(const AVStream* st);

// The first of the file's eligible streams of that type that fits best; -1 when none fits.
int DefaultChoice(const AVFormatContext* ic, AVMediaType type,
                  const std::function<bool(unsigned)>& eligible = nullptr);

}  // namespace tavrin
