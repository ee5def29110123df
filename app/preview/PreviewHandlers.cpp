// The preview pane's handlers: play, pause, stop, the selected row, the speaker menu and
// snapshots.
#include "preview/PreviewPart.h"

#include "BitmapFile.h"
#include "PreviewPlayer.h"
#include "RowText.h"
#include "SnapSound.h"
#include "SvgGlyphs.h"
#include "list/ListPart.h"
#include "list/SourceList.h"
#include "preview/PreviewSeekBar.h"
#include "settings/SettingsPart.h"
#include "util/StatusBar.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QSlider>
#include <QToolButton>

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

void TPreviewPart::ShowPreviewMessage(const QString& text)
{
    status_.Panel(1)->setText(text);
    previewMessage_ = text;
}

void TPreviewPart::ButtonPlayClick()
{
    if (converting_())
        return;
    if (previewPaused_) {
        PreviewPlay();
        previewPaused_ = false;
        return;
    }
    previewStopped_ = false;
    PreviewStop();
    const int selected = list_.SelectedRow();
    if (selected < 0)
        return;
    previewRow_ = selected;
    previewFile_ = list_.Cell(selected, scFileName).trimmed();
    previewPaused_ = false;

    TPreviewPlayer& player = Preview();
    player.Deactivate();
    player.Activate();
    bool rendered = false;
    {
        TWaitCursor wait;
        rendered = player.RenderFile(previewFile_);
    }
    // Our own earlier word goes; a conversion's size text stays.
    if (!previewMessage_.isEmpty() && status_.Panel(1)->text() == previewMessage_)
        ShowPreviewMessage(QString());
    DSTrackBar1->setMaximum(static_cast<int>(player.Duration()));
    if (!rendered) {
        ShowPreviewMessage(kCannotPlay);
        return;
    }
    PreviewPlay();
}

void TPreviewPart::ButtonPauseClick()
{
    // Pausing a player that holds no file would only make the next Play a resume of nothing.
    if (converting_() || previewStopped_ || !previewPlayer_ || !previewPlayer_->Active())
        return;
    PreviewPause();
    previewPaused_ = true;
}

void TPreviewPart::ButtonStopClick()
{
    if (converting_())
        return;
    PreviewStop();
    if (previewPlayer_)
        previewPlayer_->Deactivate();
    previewPaused_ = false;
    previewStopped_ = true;
}

void TPreviewPart::ListView1SelectItem()
{
    const int selected = list_.SelectedRow();
    if (selected < 0 || selected == previewRow_)
        return;
    PreviewStop();
    previewPaused_ = false;
}

void TPreviewPart::ButtonVolumeClick()
{
    PopupMenuSpeaker->popup(ButtonVolume->mapToGlobal(QPoint(0, 0)) - QPoint(40, 40));
}

void TPreviewPart::SetSpeakerLevel(int level, const char* glyph)
{
    Preview().SetVolume(level);
    window_.update();
    ButtonVolume->setIcon(SpeakerGlyph(glyph));
}

void TPreviewPart::Mute1Click()
{
    SetSpeakerLevel(kMute.Level, kMute.Glyph);
    Mute1->setChecked(true);
}

void TPreviewPart::HalfVolume1Click()
{
    SetSpeakerLevel(kHalfVolume.Level, kHalfVolume.Glyph);
    HalfVolume1->setChecked(true);
}

void TPreviewPart::FullVolume1Click()
{
    SetSpeakerLevel(kFullVolume.Level, kFullVolume.Glyph);
    FullVolume1->setChecked(true);
}

void TPreviewPart::ButtonSnapshotClick()
{
    if (converting_() || !previewPlayer_ || !previewPlayer_->Active())
        return;
    if (!settings_.CheckOutputFolder())
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
bool TPreviewPart::SaveSnapshot()
{
    QImage picture;
    if (!previewPlayer_->Snapshot(picture)) {
        ShowPreviewMessage(kNoPicture);
        return false;
    }
    Image1->setPixmap(QPixmap::fromImage(picture));
    const QString base = QDir(settings_.OutputFolder().trimmed())
                             .filePath(QFileInfo(previewFile_).completeBaseName());
    const QString path = QString::fromStdString(UniqueFileName(base.toStdString(), ".bmp"));
    if (!SaveBitmap24(picture, path)) {
        ShowPreviewMessage(kCannotSave);
        return false;
    }
    return true;
}

}  // namespace tavrin
