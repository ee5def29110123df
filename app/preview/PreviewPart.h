// The preview pane: the video panel, play, pause, stop, the seek bar with the position and
// length beside it, the speaker menu and snapshots of the selected row. The player is reached only through its interface.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QSlider;
class QToolButton;
class QWidget;
class TPreviewPlayer;
class TSnapSound;

namespace tavrin {

class TListPart;
class TPreviewSeekBar;
class TSettingsPart;
class TStatusBar;

class TPreviewPart final : public QObject {
    Q_OBJECT

public:
    // The selected row of list is played; snapshots go to settings' output folder; messages
    // go to the status bar's second panel. Nothing plays while converting.
    TPreviewPart(QWidget& window, TListPart& list, TSettingsPart& settings, TStatusBar& status,
                 std::function<bool()> converting);
    ~TPreviewPart() override;

    // Where the window places the pane.
    QWidget* Pane() const { return pane_; }

    // Stops the player; with deactivate it also lets go of the file.
    void StopThePreview(bool deactivate);

    // The player the preview uses; the Qt Multimedia one is made on first use unless a test
    // gave another. Null until then.
    void SetPreviewPlayer(std::unique_ptr<TPreviewPlayer> player);
    TPreviewPlayer* PreviewPlayer() const { return previewPlayer_.get(); }
    TPreviewSeekBar& PreviewSeekBar() { return *previewSeekBar_; }

    bool PreviewPaused() const { return previewPaused_; }
    bool PreviewStopped() const { return previewStopped_; }
    int PreviewRow() const { return previewRow_; }
    QString PreviewFile() const { return previewFile_; }

    // Handlers.
    void ButtonPlayClick();
    void ButtonPauseClick();
    void ButtonStopClick();
    void ButtonSnapshotClick();
    void ButtonVolumeClick();
    void Mute1Click();
    void HalfVolume1Click();
    void FullVolume1Click();
    void ListView1SelectItem();
    // "Play Selected File": as a click on Play.
    void PlaySelectedFile();

private:
    QWidget* BuildPane();
    void ConnectHandlers();
    TPreviewPlayer& Preview();
    void PreviewPlay();
    void PreviewPause();
    void PreviewStop();
    void SetSpeakerLevel(int level, const char* glyph);
    void ShowPreviewMessage(const QString& text);
    void ShowPreviewTime();
    bool SaveSnapshot();

    QWidget& window_;
    TListPart& list_;
    TSettingsPart& settings_;
    TStatusBar& status_;
    std::function<bool()> converting_;

    QWidget* pane_ = nullptr;
    QFrame* PanelVideo = nullptr;
    QLabel* Image1 = nullptr;
    QToolButton* ButtonPlay = nullptr;
    QToolButton* ButtonPause = nullptr;
    QToolButton* ButtonStop = nullptr;
    QToolButton* ButtonVolume = nullptr;
    QToolButton* ButtonSnapshot = nullptr;
    QSlider* DSTrackBar1 = nullptr;
    QLabel* LabelPreviewTime = nullptr;  // position and length beside the seek bar
    QMenu* PopupMenuSpeaker = nullptr;
    QAction* Mute1 = nullptr;
    QAction* HalfVolume1 = nullptr;
    QAction* FullVolume1 = nullptr;

    bool previewPaused_ = false;
    bool previewStopped_ = false;
    int previewRow_ = 0;
    QString previewFile_;
    std::unique_ptr<TPreviewPlayer> previewPlayer_;
    std::unique_ptr<TPreviewSeekBar> previewSeekBar_;
    std::unique_ptr<TSnapSound> snapSound_;
    QString previewMessage_;  // what the preview last said in the status bar
};

}  // namespace tavrin
