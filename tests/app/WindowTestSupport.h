// What the window tests share: dialogs that answer from a script, generated clips, and a
// window fixture that waits on the event loop instead of a modal box.
#pragma once

#include "Controls.h"
#include "batch/BatchPart.h"
#include "dialogs/Dialogs.h"
#include "list/ListPart.h"
#include "preview/PreviewPart.h"
#include "settings/SettingsPart.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace tavrin::test {

class TScriptedDialogs final : public TDialogs {
public:
    void Information(QWidget* parent, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    QStringList OpenFiles(QWidget* parent, const QString& filter) override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& start) override;
    void About(QWidget* parent, const QString& title, const QString& text) override;

    // How often a box with exactly this text was shown.
    int Shown(const QString& text) const { return static_cast<int>(Informations.count(text)); }

    QStringList Informations;
    // Runs as a box is shown, while the window stands as the box finds it.
    std::function<void(const QString& text)> OnInformation;
    QStringList Questions;
    std::deque<bool> Answers;      // Confirm answers, in order; No when none is left
    QStringList FilesToOpen;       // what the open dialog returns
    int OpenCount = 0;
    QString LastFilter;
    QString FolderToChoose;        // what the folder chooser returns ("" = cancelled)
    QStringList FolderCaptions;
    QStringList AboutTexts;
};

// Runs the event loop until cond holds or timeoutMs passed; whether it held.
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = 60000);

// With TAVRIN_SHOTS set to a folder, saves the window (and a box with boxText over it) as
// NAME-SUFFIX.png there, SUFFIX being TAVRIN_SHOT_SUFFIX; does nothing otherwise.
void SaveShot(QWidget& window, const QString& name, const QString& boxText = QString());

// A clip made by the ffmpeg CLI: seconds of a test picture (when width > 0) and a tone.
std::string MakeClip(const QString& path, double seconds, int width = 160, int height = 120);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& name) const { return dir.filePath(name); }
    // A folder for outputs, made and given to the window.
    QString UseOutputFolder();
    // Adds the files through the "Add File" button and its (scripted) dialog.
    void AddFiles(const QStringList& paths);
    // Drops the files on the list as a file manager does.
    void DropFiles(const QStringList& paths);
    // What the status bar says over its panels for a while, or "".
    QString StatusNote() const;
    // Clips of one second, made once per test.
    QStringList MakeClips(const QStringList& names, double seconds = 1.0);
    QString Progress(int row) const;
    QString Frames(int row) const;
    void SetChecked(int row, bool checked);

    QTemporaryDir dir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

}  // namespace tavrin::test
