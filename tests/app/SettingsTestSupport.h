// Starts the program's windows as tavrin-converter does, with the settings file in a
// folder of the test's own.
#pragma once

#include "WindowTestSupport.h"

#include "options/OptionsDialog.h"
#include "window/StartUp.h"

#include <QSettings>
#include <QVariant>

#include <memory>

namespace tavrin::test {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main window and the options dialog in start-up order; the main window shown.
    void Start();
    // The close button: the close steps run and the settings are saved.
    void CloseAndEnd();
    // "File" > "Exit": the program ends without the close steps.
    void ExitAndEnd();
    // Ends the program (if running) and starts it again after a close.
    void Restart();

    TForm1& Form1() { return windows->Form1(); }
    TForm4& Form4() { return windows->Form4(); }

    // The stored value, as the settings file holds it now.
    QVariant Stored(const QString& name) const;
    bool IsStored(const QString& name) const;
    void Store(const QString& name, const QVariant& value);
    void Unstore(const QString& name);
    // Stores the seven values as a complete set.
    void StoreAll(const QString& folder, int format, int overwrite, int dropDown, int letterBox,
                  int videoQuality, int audioQuality);
    // Points the store at an empty folder of its own.
    void UseFreshStore();

    QTemporaryDir dir;
    std::unique_ptr<QTemporaryDir> configDir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TConverterWindows> windows;
};

}  // namespace tavrin::test
