// The converter's main window. It only assembles its parts and owns what they share: the
// engine, the options, the status bar and the main menu. Each part owns its widgets, its
// state and its handlers:
//   TListPart      list/      the source list: add, remove, clear, drops, rows, pop-up, logs
//   TSettingsPart  settings/  output folder, profile and setting combos, volume
//   TPreviewPart   preview/   the preview pane: player, seek bar, speaker menu, snapshots
//   TBatchPart     batch/     Start, Stop, the driver timer, engine events, progress texts
// Widgets keep their designer names as objectName.
#pragma once

#include "FFmpegEngine.h"
#include "util/WindowOptions.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;

namespace tavrin {

class TBatchPart;
class TDialogs;
class TForm4;
class TListPart;
class TNotifier;
class TPreviewPart;
class TSettingsPart;
class TStatusBar;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(TDialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // False when the codec libraries could not be loaded; the program then ends.
    bool Created() const { return created_; }

    TListPart& List() { return *list_; }
    const TListPart& List() const { return *list_; }
    TSettingsPart& Settings() { return *settings_; }
    TPreviewPart& Preview() { return *preview_; }
    TBatchPart& Batch() { return *batch_; }
    const TBatchPart& Batch() const { return *batch_; }
    TFFmpegEngine& Engine() { return engine_; }
    TWindowOptions& Options() { return options_; }
    TDialogs& Dialogs() { return dialogs_; }
    // The page "Open Help File" shows, found at creation.
    QString HelpFile() const { return helpFile_; }
    void SetHelpFile(const QString& path) { helpFile_ = path; }

    // The options dialog takes over "Set Options" and the saving of settings at close.
    void AttachOptionsDialog(TForm4& dialog);
    // Writes the settings store; run when the window closes (not on "Exit").
    std::function<void()> OnSaveSettings;

    // Handlers.
    void FormShow();
    void Exit1Click();
    void About1Click();
    void OpenHelpFile1Click();

    // Who tells the desktop that a batch ended while the window was in the background.
    void SetNotifier(std::unique_ptr<TNotifier> notifier);
    void NotifyBatchEnd();

    // The batch switches the main menu off while it runs.
    void SetMainMenuEnabled(bool enabled);
    bool MainMenuEnabled() const { return mainMenuEnabled_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (MainWindowLayout.cpp, MainMenu.cpp).
    void BuildParts();
    void BuildLayout();
    QWidget* BuildToolStrip();
    void BuildMenus();
    void ConnectParts();
    void SetInitialSize();
    void FitOnScreen();
    bool MenuEventFilter(QObject* watched, QEvent* event);

    bool FormCreate();
    bool FormCloseQuery();
    void FormClose();
    void SaveSettingsQuietly();

    TDialogs& dialogs_;
    TFFmpegEngine engine_;  // before the parts, which use it until they are gone
    TWindowOptions options_;
    QString helpFile_;
    TStatusBar* status_ = nullptr;
    std::unique_ptr<TListPart> list_;
    std::unique_ptr<TSettingsPart> settings_;
    std::unique_ptr<TPreviewPart> preview_;
    std::unique_ptr<TBatchPart> batch_;
    std::unique_ptr<TNotifier> notifier_;

    QAction* AddFiles1 = nullptr;
    QAction* Convert1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* SetOptions1 = nullptr;
    QAction* OpenHelpFile1 = nullptr;
    QAction* About1 = nullptr;

    bool created_ = false;
    bool shown_ = false;
    bool mainMenuEnabled_ = true;
};

}  // namespace tavrin
