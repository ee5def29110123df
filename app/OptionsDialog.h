// "Additional Options": the choices without a visible control on the main window
// (overwriting, the profile list's drop-down length, simultaneous conversions, video zoom
// and aspect ratio), and the settings store that keeps them and the window's own choices
// between runs. Created once at start-up, after the main window; closing only hides it.
#pragma once

#include "SettingsStore.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace tavrin {

class TForm1;
class TSpinEdit;

class TForm4 : public QDialog {
    Q_OBJECT

public:
    // Builds the dialog as a child of the main window, loads the stored settings into both
    // windows and takes over the main window's "Set Options" entry and its saving at close.
    explicit TForm4(TForm1& main);

    QGroupBox* GroupAdditionalOptions = nullptr;
    QCheckBox* CheckBoxOverWrite = nullptr;
    TSpinEdit* SpinEdit1 = nullptr;
    TSpinEdit* SpinEditSimultaneous = nullptr;
    QGroupBox* GroupGeneralVideo = nullptr;
    QComboBox* ComboLetterBox = nullptr;
    QComboBox* ComboAspectRatio = nullptr;
    QPushButton* Button1 = nullptr;

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

    TForm1& main_;
};

// The highest number of conversions that may run at once: the machine's cores.
int MaxSimultaneousConversions();

}  // namespace tavrin
