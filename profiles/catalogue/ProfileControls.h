// The main window's setting combos, handed to the profile routines as one bundle. Member
// names are the window's control names.
#pragma once

#include "catalogue/Combo.h"

namespace tavrin {

struct TProfileControls {
    TCombo& ComboOutputFormat;
    TCombo& ComboVideoCodec;
    TCombo& ComboAudioCodec;
    TCombo& ComboVideoSize;
    TCombo& ComboVideoBitrate;
    TCombo& ComboVideoFramerate;
    TCombo& ComboAudioBitrate;
    TCombo& ComboSamplingRate;
    TCombo& ComboAudioChannels;
    TCombo& ComboAspectRatio;
    TCombo& ComboLetterBox;
    TCombo& ComboVideoQuality;
    TCombo& ComboAudioQuality;
};

}  // namespace tavrin
