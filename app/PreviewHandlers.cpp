// The preview pane's handlers: play, pause, stop, the seek bar, the speaker menu and
// snapshots. The player is reached only through its interface.
#include "MainWindow.h"

#include "BitmapFile.h"
#include "MultimediaPlayer.h"
#include "PreviewSeekBar.h"
#include "RowText.h"
#include "SnapSound.h"
#include "SourceList.h"
#include "SvgGlyphs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QSlider>
#include <QToolButton>
#include <QVideoWidget>

namespace tavrin {

namespace {

// The speaker menu: the level each entry gives the player ("Full Volume" asks for more than
// the player takes) and the glyph the volume button then shows.
struct TSpeakerEntry {
    int Level;
    const char* Glyph;
};
constexpr TSpeakerEntry kMute{10, "spkmute"};
constexpr TSpeakerEntry kHalfVolume{6000, "spkhalf"};
constexpr TSpeakerEntry kFullVolume{20000, "spkfull"};

const QString kCannotPlay = QStringLiteral("The preview could not be played.");
const QString kNoPicture = QStringLiteral("No picture has been shown yet; no snapshot saved.");
const QString kCannotSave = QStringLiteral("The snapshot could not be saved.");

// The wait cursor while the player loads a file; loading ignores clicks meanwhile.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

void TForm1::ConnectPreviewHandlers()
{
    previewSeekBar_ = std::make_unique<TPreviewSeekBar>(*DSTrackBar1, [this] { return PreviewPlayer(); });
    ButtonVolume->setIcon(SpeakerGlyph(kFullVolume.Glyph));
    connect(ButtonPlay, &QToolButton::clicked, this, &TForm1::ButtonPlayClick);
    connect(ButtonPause, &QToolButton::clicked, this, &TForm1::ButtonPauseClick);
    connect(ButtonStop, &QToolButton::clicked, this, &TForm1::ButtonStopClick);
    connect(ButtonSnapshot, &QToolButton::clicked, this, &TForm1::ButtonSnapshotClick);
    connect(ButtonVolume, &QToolButton::clicked, this, &TForm1::ButtonVolumeClick);
    connect(Mute1, &QAction::triggered, this, &TForm1::Mute1Click);
    connect(HalfVolume1, &QAction::triggered, this, &TForm1::HalfVolume1Click);
    connect(FullVolume1, &QAction::triggered, this, &TForm1::FullVolume1Click);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TForm1::ListView1SelectItem);
    StopPreview = [this](bool deactivate) {
        PreviewStop();
        if (deactivate && previewPlayer_)
            previewPlayer_->Deactivate();
    };
}

void TForm1::SetPreviewPlayer(std::unique_ptr<TPreviewPlayer> player)
{
    previewPlayer_ = std::move(player);
}

// The Qt Multimedia player is made when first needed. Its video window takes the panel;
// Image1 stays beneath it, hidden, holding the last snapshot.
TPreviewPlayer& TForm1::Preview()
{
    if (!previewPlayer_) {
        auto player = std::make_unique<TMultimediaPlayer>(PanelVideo);
        Image1->hide();
        PanelVideo->layout()->addWidget(player->VideoWidget());
        previewPlayer_ = std::move(player);
    }
    return *previewPlayer_;
}

void TForm1::PreviewPlay()
{
    Preview().Play();
    previewSeekBar_->StartUpdates();
}

void TForm1::PreviewPause()
{
    if (previewPlayer_)
        previewPlayer_->Pause();
    previewSeekBar_->StopUpdates();
}

// Stops the graph; it stays loaded and active.
void TForm1::PreviewStop()
{
    if (previewPlayer_)
        previewPlayer_->Stop();
    previewSeekBar_->StopUpdates();
}

void TForm1::ShowPreviewMessage(const QString& text)
{
    StatusPanels[1]->setText(text);
    previewMessage_ = text;
}

void TForm1::ButtonPlayClick()
{
    if (Batch.Converting)
        return;
    if (PreviewPaused) {
        PreviewPlay();
        PreviewPaused = false;
        return;
    }
    PreviewStopped = false;
    PreviewStop();
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    PreviewRow = ListView1->indexOfTopLevelItem(selected.first());
    PreviewFile = selected.first()->text(scFileName).trimmed();
    PreviewPaused = false;

    TPreviewPlayer& player = Preview();
    player.Deactivate();
    player.Activate();
    bool rendered = false;
    {
        TWaitCursor wait;
        rendered = player.RenderFile(PreviewFile);
    }
    // Our own earlier word goes; a conversion's size text stays.
    if (!previewMessage_.isEmpty() && StatusPanels[1]->text() == previewMessage_)
        ShowPreviewMessage(QString());
    DSTrackBar1->setMaximum(static_cast<int>(player.Duration()));
    if (!rendered) {
        ShowPreviewMessage(kCannotPlay);
        return;
    }
    PreviewPlay();
}

void TForm1::ButtonPauseClick()
{
    // Pausing a player that holds no file would only make the next Play a resume of nothing.
    if (Batch.Converting || PreviewStopped || !previewPlayer_ || !previewPlayer_->Active())
        return;
    PreviewPause();
    PreviewPaused = true;
}

void TForm1::ButtonStopClick()
{
    if (Batch.Converting)
        return;
    PreviewStop();
    if (previewPlayer_)
        previewPlayer_->Deactivate();
    PreviewPaused = false;
    PreviewStopped = true;
}

void TForm1::ListView1SelectItem()
{
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    if (ListView1->indexOfTopLevelItem(selected.first()) == PreviewRow)
        return;
    PreviewStop();
    PreviewPaused = false;
}

void TForm1::ButtonVolumeClick()
{
    PopupMenuSpeaker->popup(ButtonVolume->mapToGlobal(QPoint(0, 0)) - QPoint(40, 40));
}

void TForm1::SetSpeakerLevel(int level, const char* glyph)
{
    Preview().SetVolume(level);
    update();
    ButtonVolume->setIcon(SpeakerGlyph(glyph));
}

void TForm1::Mute1Click()
{
    SetSpeakerLevel(kMute.Level, kMute.Glyph);
}

void TForm1::HalfVolume1Click()
{
    SetSpeakerLevel(kHalfVolume.Level, kHalfVolume.Glyph);
}

void TForm1::FullVolume1Click()
{
    SetSpeakerLevel(kFullVolume.Level, kFullVolume.Glyph);
}

void TForm1::ButtonSnapshotClick()
{
    if (Batch.Converting || !previewPlayer_ || !previewPlayer_->Active())
        return;
    if (!CheckOutputFolder())
        return;
    if (!SaveSnapshot())
        return;
    // Made on first use: opening the sound output is not worth it for a window never snapping.
    if (!snapSound_)
        snapSound_ = std::make_unique<TSnapSound>();
    snapSound_->Play();
}

// The picture goes into Image1 and into the output folder as source-name.bmp, or with "-N"
// when that exists. Without a picture nothing is saved: an old or empty one would pass for it.
bool TForm1::SaveSnapshot()
{
    QImage picture;
    if (!previewPlayer_->Snapshot(picture)) {
        ShowPreviewMessage(kNoPicture);
        return false;
    }
    Image1->setPixmap(QPixmap::fromImage(picture));
    const QString base = QDir(EditOutputFolder->text().trimmed())
                             .filePath(QFileInfo(PreviewFile).completeBaseName());
    const QString path = QString::fromStdString(UniqueFileName(base.toStdString(), ".bmp"));
    if (!SaveBitmap24(picture, path)) {
        ShowPreviewMessage(kCannotSave);
        return false;
    }
    return true;
}

}  // namespace tavrin
