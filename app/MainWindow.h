// The converter's main window: the source file list, the settings controls, the batch
// driver that feeds the engine one row at a time, and the preview pane's controls.
// Control members keep their designer names; each widget's objectName is the same name.
#pragma once

#include "BatchState.h"
#include "FFmpegEngine.h"
#include "ProfileControls.h"
#include "QtCombo.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QSlider;
class QStatusBar;
class QTimer;
class QToolButton;
class QTreeWidgetItem;
class TPreviewPlayer;
class TSnapSound;

namespace tavrin {

class TDialogs;
class TJobBuilder;
class TParallelBatch;
class TPreviewSeekBar;
class TSourceList;
class TWindowJobView;

// What the options dialog holds for the window.
struct TWindowOptions {
    bool Overwrite = false;
    int DropDownItems = 26;
    int SimultaneousConversions = 1;  // rows the batch may convert at once
};

// What an engine event tells the UI thread, tagged with the job it belongs to.
struct TProgressReport {
    int Job;
    int FrameNumber;
    int CurrentDuration;
    int64_t CurrentSize;
    int TotalOutputDuration;
};
struct TTerminateReport {
    int Job;
    int Index;
    bool Exception;
    QString Message;
};

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(TDialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // False when the codec libraries could not be loaded; the program then ends.
    bool Created() const { return created_; }

    // --- Controls ---
    QToolButton* ButtonAddFile = nullptr;
    QToolButton* ButtonRemove = nullptr;
    QToolButton* ButtonClear = nullptr;
    QToolButton* ButtonStopConvert = nullptr;
    QToolButton* ButtonConvert = nullptr;
    QLineEdit* EditOutputFolder = nullptr;
    QToolButton* ButtonBrowseForFolder = nullptr;
    TDropDownComboBox* ComboOutputFormat = nullptr;
    TSourceList* ListView1 = nullptr;
    QComboBox* ComboVideoQuality = nullptr;
    QComboBox* ComboVideoSize = nullptr;
    QComboBox* ComboVideoFramerate = nullptr;
    QComboBox* ComboAudioQuality = nullptr;
    QComboBox* ComboAudioChannels = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* LabelVolume = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QToolButton* ButtonStopSmall = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 3> StatusPanels{};
    // Preview pane: the player attaches its behaviour to these.
    QFrame* PanelVideo = nullptr;
    QLabel* Image1 = nullptr;
    QToolButton* ButtonPlay = nullptr;
    QToolButton* ButtonPause = nullptr;
    QToolButton* ButtonStop = nullptr;
    QToolButton* ButtonVolume = nullptr;
    QToolButton* ButtonSnapshot = nullptr;
    QSlider* DSTrackBar1 = nullptr;
    QMenu* PopupMenuSpeaker = nullptr;
    QAction* Mute1 = nullptr;
    QAction* HalfVolume1 = nullptr;
    QAction* FullVolume1 = nullptr;
    // Settings holders the user never sees.
    QComboBox* ComboVideoBitrate = nullptr;
    QComboBox* ComboAudioBitrate = nullptr;
    QComboBox* ComboVideoCodec = nullptr;
    QComboBox* ComboAudioCodec = nullptr;
    QComboBox* ComboSamplingRate = nullptr;
    QComboBox* ComboLetterBox = nullptr;
    QComboBox* ComboAspectRatio = nullptr;
    QTimer* TimerConvertAgain = nullptr;
    // Menus.
    QMenu* PopupListView1 = nullptr;
    QAction* AddFiles1 = nullptr;
    QAction* Convert1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* SetOptions1 = nullptr;
    QAction* OpenHelpFile1 = nullptr;
    QAction* About1 = nullptr;
    QAction* CheckAllItems1 = nullptr;
    QAction* UncheckAllItems1 = nullptr;
    QAction* DeleteSelectedItem1 = nullptr;
    QAction* ClearAllItems1 = nullptr;
    QAction* ViewLog1 = nullptr;
    QAction* PlaySelectedFile1 = nullptr;

    TFFmpegEngine Engine;
    TWindowOptions Options;
    int SimultaneousConversions() const { return Options.SimultaneousConversions; }
    QString HelpFile;  // the help page "Open Help File" shows, set at creation
    QString OpenDialogFilter;  // the source filter in the file dialog's form

    // --- Batch state ---
    // Converting, UserAborted, CurrentRow, IsLastRow, BatchFinished, IdleTicks.
    TBatchState Batch;
    QString OutputExtension;
    bool AddingFiles = false;
    int LastFormatIndex = 0;
    int ConversionVolume = 255;
    bool PreviewPaused = false;
    // The player's stop: with true it also releases its graph. Set by the preview player.
    std::function<void(bool deactivate)> StopPreview;
    // Preview player state (PreviewHandlers.cpp).
    int PreviewRow = 0;
    QString PreviewFile;
    bool PreviewStopped = false;
    // Writes the settings store; run when the window closes (not on "Exit").
    std::function<void()> OnSaveSettings;

    // The setting combos as the profile code sees them.
    const TProfileControls& Controls() const { return *controls_; }
    TDialogs& Dialogs() { return dialogs_; }

    // --- Handlers ---
    void FormShow();
    void ComboOutputFormatChange();
    void ComboOutputFormatDropDown();
    void ComboVideoQualityChange();
    void ComboAudioQualityChange();
    void TrackBar1Change();
    void ButtonBrowseForFolderClick();
    void ButtonConvertClick();
    void ButtonStopConvertClick();
    void TimerConvertAgainTimer();
    void CheckAllItems1Click();
    void UncheckAllItems1Click();
    void DeleteSelectedItem1Click();
    void ClearAllItems1Click();
    void ButtonAddFileClick();
    void Exit1Click();
    void About1Click();
    void OpenHelpFile1Click();
    void ViewLog1Click();

    // Preview player (PreviewHandlers.cpp).
    void ButtonPlayClick();
    void ButtonPauseClick();
    void ButtonStopClick();
    void ButtonSnapshotClick();
    void ButtonVolumeClick();
    void Mute1Click();
    void HalfVolume1Click();
    void FullVolume1Click();
    void ListView1SelectItem();
    // The player the preview uses; the Qt Multimedia one is made on first use unless a test
    // gave another. Null until then.
    void SetPreviewPlayer(std::unique_ptr<TPreviewPlayer> player);
    TPreviewPlayer* PreviewPlayer() const { return previewPlayer_.get(); }
    TPreviewSeekBar& PreviewSeekBar() { return *previewSeekBar_; }

    bool CheckOutputFolder();
    void DisableControls();
    void EnableControls();
    void SetMainMenuEnabled(bool enabled);
    bool MainMenuEnabled() const { return mainMenuEnabled_; }
    bool PopupMenuAutomatic() const { return popupAutomatic_; }

    // Probes each path and appends its row (the add-file procedure after its dialog).
    void AddFilesProcedure(const QStringList& paths);
    // Files and folders dropped on the list, added like chosen files.
    void AddDroppedPaths(const QStringList& paths);

    // Rows and their cells.
    int RowCount() const;
    QTreeWidgetItem* Row(int index) const;
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);
    // The engine's log lines and failure reason collected for a row.
    QStringList RowLog(int row) const;
    void AppendRowLog(int row, const QString& line);
    void SetRowFailure(int row, const QString& reason);

    // The engine's events, delivered on the UI thread.
    void EngineProgress(const TProgressReport& report);
    void EngineTerminate(const TTerminateReport& report);
    void EngineLog(int job, const QString& line);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (MainWindowLayout.cpp, MainWindowMenus.cpp).
    void BuildWidgets();
    QWidget* BuildToolStrip();
    QWidget* BuildFolderStrip();
    QWidget* BuildListPanel();
    QWidget* BuildSettingsGroups();
    QWidget* BuildPreviewPane();
    QWidget* BuildProgressStrip();
    void BuildHiddenHolders(QWidget* owner);
    void BuildStatusBar();
    void BuildMenus();
    void BuildPopupMenu();
    void ConnectHandlers();
    void SetMinimumClientSize();
    // Swallows what would open the main menu while it is switched off.
    bool MenuEventFilter(QObject* watched, QEvent* event);

    bool FormCreate();
    bool FormCloseQuery();
    void FormClose();
    void SaveSettingsQuietly();
    void ConnectEngineEvents();
    void StopThePreview(bool deactivate);

    // Batch driver (BatchDriver.cpp); several rows at once (ParallelDriver.cpp).
    void BeginJob();
    void StartParallelBatch(int simultaneous);
    void ConnectParallelEvents();
    bool ParallelBatchActive() const { return parallel_ != nullptr && parallelActive_; }
    void EndParallelBatch();
    void SetBatchControlsEnabled(bool enabled);
    void EndBatchControls();
    void ShowPace(int currentMs, int totalMs);

    // Preview player (PreviewHandlers.cpp).
    void ConnectPreviewHandlers();
    TPreviewPlayer& Preview();
    void PreviewPlay();
    void PreviewPause();
    void PreviewStop();
    void SetSpeakerLevel(int level, const char* glyph);
    void ShowPreviewMessage(const QString& text);
    bool SaveSnapshot();

    // File list (FileList.cpp).
    void AddFilesFromDialogOrDrop(const QStringList* dropped);
    void AppendProbedRow(const QString& path);
    void ClearProgressCells();

    TDialogs& dialogs_;
    bool created_ = false;
    bool shown_ = false;
    bool closing_ = false;
    bool mainMenuEnabled_ = true;
    bool popupAutomatic_ = true;
    std::atomic<bool> eventsConnected_{false};
    std::atomic<int> job_{0};  // changes whenever the engine's task list was emptied for a row
    QElapsedTimer jobClock_;
    quint64 nextRowId_ = 1;
    QHash<quint64, QStringList> rowLogs_;

    std::array<std::unique_ptr<TQtCombo>, 13> combos_;
    std::unique_ptr<TProfileControls> controls_;
    std::unique_ptr<TWindowJobView> jobView_;
    std::unique_ptr<TJobBuilder> jobBuilder_;
    std::unique_ptr<TParallelBatch> parallel_;  // the last batch of several rows at once
    bool parallelActive_ = false;               // that batch drives the timer and Stop
    std::unique_ptr<TPreviewPlayer> previewPlayer_;
    std::unique_ptr<TPreviewSeekBar> previewSeekBar_;
    std::unique_ptr<TSnapSound> snapSound_;
    QString previewMessage_;  // what the preview last said in the status bar
};

}  // namespace tavrin
