// The preview pane's widgets and the player behind them, made when first needed.
#include "preview/PreviewPart.h"

#include "MultimediaPlayer.h"
#include "SnapSound.h"
#include "SvgGlyphs.h"
#include "list/ListPart.h"
#include "preview/PreviewSeekBar.h"
#include "util/SvgIcons.h"
#include "util/Widgets.h"

#include <QActionGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace tavrin {

namespace {

// A flat glyph-only button of the preview pane with its hint.
QToolButton* GlyphButton(const char* name, const QString& hint, const QIcon& icon)
{
    auto* button = Named(new QToolButton, name);
    button->setIcon(icon);
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    return button;
}

}  // namespace

TPreviewPart::TPreviewPart(QWidget& window, TListPart& list, TSettingsPart& settings,
                           TStatusBar& status, std::function<bool()> converting)
    : window_(window), list_(list), settings_(settings), status_(status),
      converting_(std::move(converting))
{
    pane_ = BuildPane();
    previewSeekBar_ = std::make_unique<TPreviewSeekBar>(*DSTrackBar1, [this] { return PreviewPlayer(); });
    ConnectHandlers();
}

TPreviewPart::~TPreviewPart() = default;

QWidget* TPreviewPart::BuildPane()
{
    auto* pane = Named(new QWidget, "PanelPreviewArea");
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    PanelVideo = Named(new QFrame, "PanelVideo");
    PanelVideo->setFrameShape(QFrame::Panel);
    PanelVideo->setFrameShadow(QFrame::Sunken);
    // 174 x 145 as designed, and larger when the window gives its corner more room.
    PanelVideo->setMinimumSize(174, 145);
    PanelVideo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* videoBox = new QVBoxLayout(PanelVideo);
    videoBox->setContentsMargins(2, 2, 2, 2);
    Image1 = Named(new QLabel, "Image1");
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setAutoFillBackground(true);
    QPalette black = Image1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Image1->setPalette(black);
    videoBox->addWidget(Image1);
    column->addWidget(PanelVideo, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    ButtonPlay = GlyphButton("ButtonPlay", QStringLiteral("Play"), SvgIcon("play"));
    ButtonPause = GlyphButton("ButtonPause", QStringLiteral("Pause"), SvgIcon("pause"));
    ButtonStop = GlyphButton("ButtonStop", QStringLiteral("Stop"), SvgIcon("preview-stop"));
    ButtonVolume = GlyphButton("ButtonVolume", QStringLiteral("Volume"), SpeakerGlyph("spkfull"));
    ButtonSnapshot = GlyphButton("ButtonSnapshot", QStringLiteral("Snapshot"), SvgIcon("snapshot"));
    for (QToolButton* button : {ButtonPlay, ButtonPause, ButtonStop, ButtonVolume, ButtonSnapshot})
        buttons->addWidget(button);
    column->addLayout(buttons);

    DSTrackBar1 = Named(new QSlider(Qt::Horizontal), "DSTrackBar1");
    DSTrackBar1->setTickPosition(QSlider::NoTicks);
    DSTrackBar1->setRange(0, 0);
    column->addWidget(DSTrackBar1);

    PopupMenuSpeaker = Named(new QMenu(&window_), "PopupMenuSpeaker");
    Mute1 = Named(PopupMenuSpeaker->addAction(QStringLiteral("&Mute")), "Mute1");
    HalfVolume1 = Named(PopupMenuSpeaker->addAction(QStringLiteral("&Half Volume")), "HalfVolume1");
    FullVolume1 = Named(PopupMenuSpeaker->addAction(QStringLiteral("&Full Volume")), "FullVolume1");
    // The menu marks the level the player is at: full until another is chosen.
    auto* levels = new QActionGroup(PopupMenuSpeaker);
    for (QAction* level : {Mute1, HalfVolume1, FullVolume1}) {
        level->setCheckable(true);
        levels->addAction(level);
    }
    FullVolume1->setChecked(true);
    return pane;
}

void TPreviewPart::ConnectHandlers()
{
    connect(ButtonPlay, &QToolButton::clicked, this, &TPreviewPart::ButtonPlayClick);
    connect(ButtonPause, &QToolButton::clicked, this, &TPreviewPart::ButtonPauseClick);
    connect(ButtonStop, &QToolButton::clicked, this, &TPreviewPart::ButtonStopClick);
    connect(ButtonSnapshot, &QToolButton::clicked, this, &TPreviewPart::ButtonSnapshotClick);
    connect(ButtonVolume, &QToolButton::clicked, this, &TPreviewPart::ButtonVolumeClick);
    connect(Mute1, &QAction::triggered, this, &TPreviewPart::Mute1Click);
    connect(HalfVolume1, &QAction::triggered, this, &TPreviewPart::HalfVolume1Click);
    connect(FullVolume1, &QAction::triggered, this, &TPreviewPart::FullVolume1Click);
    connect(&list_, &TListPart::SelectionChanged, this, &TPreviewPart::ListView1SelectItem);
    connect(&list_, &TListPart::PlayRequested, this, &TPreviewPart::PlaySelectedFile);
    connect(&list_, &TListPart::AddingStarts, this, [this] { StopThePreview(false); });
}

void TPreviewPart::SetPreviewPlayer(std::unique_ptr<TPreviewPlayer> player)
{
    previewPlayer_ = std::move(player);
}

// The Qt Multimedia player is made when first needed. Its video window takes the panel;
// Image1 stays beneath it, hidden, holding the last snapshot.
TPreviewPlayer& TPreviewPart::Preview()
{
    if (!previewPlayer_) {
        auto player = std::make_unique<TMultimediaPlayer>(PanelVideo);
        Image1->hide();
        PanelVideo->layout()->addWidget(player->VideoWidget());
        previewPlayer_ = std::move(player);
    }
    return *previewPlayer_;
}

void TPreviewPart::PreviewPlay()
{
    Preview().Play();
    previewSeekBar_->StartUpdates();
}

void TPreviewPart::PreviewPause()
{
    if (previewPlayer_)
        previewPlayer_->Pause();
    previewSeekBar_->StopUpdates();
}

// Stops the graph; it stays loaded and active.
void TPreviewPart::PreviewStop()
{
    if (previewPlayer_)
        previewPlayer_->Stop();
    previewSeekBar_->StopUpdates();
}

void TPreviewPart::StopThePreview(bool deactivate)
{
    PreviewStop();
    if (deactivate && previewPlayer_)
        previewPlayer_->Deactivate();
    previewPaused_ = false;
}

void TPreviewPart::PlaySelectedFile()
{
    ButtonPlay->click();
}

}  // namespace tavrin
