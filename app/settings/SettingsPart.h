// The settings panel: the output folder, the profile list, the video and audio settings
// with the volume, and the setting holders the user never sees, which the profile code
// fills from the chosen profile. It owns these widgets, the profile code's view of them
// and the handlers of their changes.
#pragma once

#include "ProfileControls.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;
class QWidget;

namespace tavrin {

class TDialogs;
class TDropDownComboBox;
class TQtCombo;
struct TWindowOptions;

class TSettingsPart final : public QObject {
    Q_OBJECT

public:
    // window parents the dialogs; converting tells whether a batch runs.
    TSettingsPart(QWidget& window, TDialogs& dialogs, const TWindowOptions& options,
                   std::function<bool()> converting);
    ~TSettingsPart() override;

    // Where the window places the panel: the folder and profile strip, and the two groups.
    QWidget* FolderStrip() const { return folderStrip_; }
    QWidget* SettingsGroups() const { return groups_; }

    // The window's creation and first show: defaults, the profile list, the first profile.
    void Create();
    void Show();

    // The setting combos as the profile code sees them.
    const TProfileControls& Controls() const { return *controls_; }
    QString OutputFolder() const;
    void SetOutputFolder(const QString& folder);
    QString OutputExtension() const { return outputExtension_; }
    int ConversionVolume() const { return conversionVolume_; }
    int LastFormatIndex() const { return lastFormatIndex_; }

    // Asks for a folder when the output folder is not set or does not exist; false then.
    bool CheckOutputFolder();
    // A batch switches the settings off and on again.
    void SetControlsEnabled(bool enabled);
    // The video combos follow the profile: off for an audio-only one.
    void UpdateQualityControls();

    // Handlers.
    void ComboOutputFormatChange();
    void ComboOutputFormatDropDown();
    void ComboVideoQualityChange();
    void ComboAudioQualityChange();
    void TrackBar1Change();
    void ButtonBrowseForFolderClick();

signals:
    // Another profile was chosen: rows show its key in their "Output" cell.
    void OutputExtensionChanged(const QString& extension);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildFolderStrip();
    QWidget* BuildSettingsGroups();
    void BuildHiddenHolders(QWidget* owner);
    void ConnectHandlers();

    QWidget& window_;
    TDialogs& dialogs_;
    const TWindowOptions& options_;
    std::function<bool()> converting_;

    QWidget* folderStrip_ = nullptr;
    QWidget* groups_ = nullptr;
    QLineEdit* EditOutputFolder = nullptr;
    QToolButton* ButtonBrowseForFolder = nullptr;
    TDropDownComboBox* ComboOutputFormat = nullptr;
    QComboBox* ComboVideoQuality = nullptr;
    QComboBox* ComboVideoSize = nullptr;
    QComboBox* ComboVideoFramerate = nullptr;
    QComboBox* ComboAudioQuality = nullptr;
    QComboBox* ComboAudioChannels = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* LabelVolume = nullptr;
    // Holders the user never sees.
    QComboBox* ComboVideoBitrate = nullptr;
    QComboBox* ComboAudioBitrate = nullptr;
    QComboBox* ComboVideoCodec = nullptr;
    QComboBox* ComboAudioCodec = nullptr;
    QComboBox* ComboSamplingRate = nullptr;
    QComboBox* ComboLetterBox = nullptr;
    QComboBox* ComboAspectRatio = nullptr;

    std::array<std::unique_ptr<TQtCombo>, 13> combos_;
    std::unique_ptr<TProfileControls> controls_;
    QString outputExtension_;
    int lastFormatIndex_ = 0;
    int conversionVolume_ = 255;
};

}  // namespace tavrin
