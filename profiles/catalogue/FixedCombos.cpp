#include "catalogue/FixedCombos.h"

namespace tavrin {

void FillFixedCombos(const TProfileControls& controls)
{
    RefillCombo(controls.ComboAudioChannels, kChannelItems, 0);
    RefillCombo(controls.ComboAspectRatio, kAspectRatioItems, 0);
    RefillCombo(controls.ComboLetterBox, kLetterBoxItems, 0);
    RefillCombo(controls.ComboVideoQuality, kQualityItems, kNormalQuality);
    RefillCombo(controls.ComboAudioQuality, kQualityItems, kNormalQuality);
}

}  // namespace tavrin
