// "Additional Options": the choices without a visible control on the main window
// (overwriting, the profile list's drop-down length, simultaneous conversions, video zoom
// and aspect ratio), and the settings store that keeps them and the window's own choices
// between runs. Created once at start-up, after the main window; closing only hides it.
// The main window hands it "Set Options" and the saving at close.
#pragma once

#include "options/SettingsStore.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace tavrin {

class TSettingsPart;
class TSpinEdit;
struct TWindowOptions;

class TForm4 : public QDialog {
    Q_OBJECT

public:
    // Builds the dialog as a child of the main window and loads the stored settings into
    // it, the window's settings panel and the window's options.
    TForm4(QWidget& main, TSettingsPart& settings, TWindowOptions& options);

    void LoadSettings();
    void SaveSettings();

    // Handlers.
    void ComboLetterBoxChange();
    void ComboAspectRatioChange();
    void SpinEdit1Change();
    void SpinEditSimultaneousChange();
    void CheckBoxOverWriteClick();
    void Button1Click();
    void SetOptions1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWidgets();
    QGroupBox* BuildAdditionalGroup();
    QGroupBox* BuildVideoGroup();
    void ConnectHandlers();
    void FormCreate();
    void CentreOnMainWindow();
    TSettingsStore Store();
    void SelectStoredProfile(int index);

    QWidget& main_;
    TSettingsPart& settings_;
    TWindowOptions& options_;
    QGroupBox* GroupAdditionalOptions = nullptr;
    QCheckBox* CheckBoxOverWrite = nullptr;
    TSpinEdit* SpinEdit1 = nullptr;
    TSpinEdit* SpinEditSimultaneous = nullptr;
    QGroupBox* GroupGeneralVideo = nullptr;
    QComboBox* ComboLetterBox = nullptr;
    QComboBox* ComboAspectRatio = nullptr;
    QPushButton* Button1 = nullptr;
};

// The highest number of conversions that may run at once: the machine's cores.
int MaxSimultaneousConversions();

}  // namespace tavrin
