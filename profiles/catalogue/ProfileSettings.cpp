#include "catalogue/ProfileSettings.h"

namespace tavrin {

void ApplyFill(TCombo& combo, const TComboFill& step)
{
    switch (step.Action) {
    case TFillAction::faKeep:
        break;
    case TFillAction::faClear:
        combo.Clear();
        break;
    case TFillAction::faFill:
        RefillCombo(combo, step.Items, step.Position);
        break;
    case TFillAction::faSelect:
        combo.SetItemIndex(step.Position);
        break;
    }
}

void ApplyProfileFill(const TProfileControls& controls, const TProfileSettings& settings)
{
    ApplyFill(controls.ComboVideoCodec, settings.VideoCodec);
    ApplyFill(controls.ComboAudioCodec, settings.AudioCodec);
    ApplyFill(controls.ComboVideoSize, settings.VideoSize);
    ApplyFill(controls.ComboVideoBitrate, settings.VideoBitrate);
    ApplyFill(controls.ComboVideoFramerate, settings.FrameRate);
    ApplyFill(controls.ComboAudioBitrate, settings.AudioBitrate);
    ApplyFill(controls.ComboSamplingRate, settings.SampleRate);
    ApplyFill(controls.ComboAudioChannels, settings.Channels);
    ApplyFill(controls.ComboAspectRatio, settings.AspectRatio);
}

}  // namespace tavrin
