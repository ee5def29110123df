// Construction of the main window's controls and layouts, top to bottom: the tool strip, the
// folder and profile strip, the list, the settings groups with the preview pane, the
// progress strip and the status bar.
#include "MainWindow.h"

#include "BatchDriver.h"
#include "SourceList.h"
#include "SvgIcons.h"
#include "VolumeSteps.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace tavrin {

namespace {

constexpr QSize kClientSize{753, 532};

// A widget at least as large as designed, and larger when its text needs it with the
// desktop's fonts: an explicit minimum size would let layouts clip the text instead.
template <typename Base>
class TAtLeast final : public Base {
public:
    template <typename... Args>
    explicit TAtLeast(QSize designed, Args&&... args)
        : Base(std::forward<Args>(args)...), Designed(designed)
    {
    }
    QSize Designed;

    QSize minimumSizeHint() const override { return Base::minimumSizeHint().expandedTo(Designed); }
    QSize sizeHint() const override { return Base::sizeHint().expandedTo(Designed); }
};

using TClientArea = TAtLeast<QWidget>;

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A flat tool-strip button with a bold caption beside its glyph.
QToolButton* SpeedButton(const char* name, const QString& caption, const char* icon, QSize size)
{
    auto* button = Named(new TAtLeast<QToolButton>(size), name);
    button->setText(caption);
    button->setIcon(SvgIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    return button;
}

// A flat glyph-only button of the preview pane with its hint.
QToolButton* GlyphButton(const char* name, const QString& hint, const char* icon)
{
    auto* button = Named(new QToolButton, name);
    button->setIcon(SvgIcon(icon));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    return button;
}

QFrame* Divider()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QComboBox* DropDownList(const char* name)
{
    auto* combo = Named(new QComboBox, name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

}  // namespace

void TForm1::BuildWidgets()
{
    auto* client = Named(new TClientArea(QSize()), "ClientArea");
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(6, 2, 6, 4);
    column->setSpacing(4);
    column->addWidget(BuildToolStrip());
    column->addWidget(BuildFolderStrip());
    column->addWidget(BuildListPanel(), 1);

    auto* bottom = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(BuildSettingsGroups());
    left->addStretch(1);
    left->addWidget(BuildProgressStrip());
    bottom->addLayout(left);
    bottom->addStretch(1);
    bottom->addWidget(BuildPreviewPane(), 0, Qt::AlignTop);
    column->addLayout(bottom);
    setCentralWidget(client);

    BuildHiddenHolders(client);
    BuildStatusBar();
    TimerConvertAgain = Named(new QTimer(this), "TimerConvertAgain");
    TimerConvertAgain->setInterval(kDriverIntervalMs);
}

QWidget* TForm1::BuildToolStrip()
{
    auto* strip = Named(new QWidget, "PanelTools");
    strip->setMinimumHeight(40);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 3, 0, 3);
    row->setSpacing(4);
    const QSize wide(130, 34);
    ButtonAddFile = SpeedButton("ButtonAddFile", QStringLiteral("Add File"), "add-file", wide);
    ButtonRemove = SpeedButton("ButtonRemove", QStringLiteral("Remove File"), "remove-file",
                               QSize(121, 34));
    ButtonClear = SpeedButton("ButtonClear", QStringLiteral("Clear All "), "clear-all", wide);
    ButtonStopConvert = SpeedButton("ButtonStopConvert", QStringLiteral("Stop"), "stop", wide);
    ButtonConvert = SpeedButton("ButtonConvert", QStringLiteral("Start"), "start", wide);
    row->addWidget(ButtonAddFile);
    row->addWidget(ButtonRemove);
    row->addWidget(ButtonClear);
    row->addWidget(Divider());
    row->addWidget(ButtonStopConvert);
    row->addWidget(Divider());
    row->addWidget(ButtonConvert);
    row->addStretch(1);
    return strip;
}

QWidget* TForm1::BuildFolderStrip()
{
    auto* strip = Named(new QWidget, "PanelFolder");
    strip->setMinimumHeight(54);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);

    auto* folder = new QVBoxLayout;
    folder->addWidget(Named(new QLabel(QStringLiteral("Output Folder :")), "LabelOutputFolder"));
    auto* folderLine = new QHBoxLayout;
    EditOutputFolder = Named(new QLineEdit, "EditOutputFolder");
    EditOutputFolder->setReadOnly(true);
    EditOutputFolder->setEnabled(false);
    EditOutputFolder->setMinimumWidth(244);
    ButtonBrowseForFolder = Named(new QToolButton, "ButtonBrowseForFolder");
    ButtonBrowseForFolder->setIcon(SvgIcon("browse-folder"));
    ButtonBrowseForFolder->setIconSize(QSize(20, 20));
    ButtonBrowseForFolder->setAutoRaise(true);
    ButtonBrowseForFolder->setToolTip(QStringLiteral("Choose the output folder"));
    folderLine->addWidget(EditOutputFolder, 1);
    folderLine->addWidget(ButtonBrowseForFolder);
    folder->addLayout(folderLine);
    row->addLayout(folder, 2);
    row->addWidget(Divider());

    auto* format = new QVBoxLayout;
    format->addWidget(
        Named(new QLabel(QStringLiteral("Set Output Format :")), "LabelOutputFormat"));
    ComboOutputFormat = Named(new TAtLeast<TDropDownComboBox>(QSize(330, 0)), "ComboOutputFormat");
    ComboOutputFormat->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    format->addWidget(ComboOutputFormat);
    row->addLayout(format, 3);
    row->addStretch(1);
    return strip;
}

QWidget* TForm1::BuildListPanel()
{
    auto* panel = Named(new QFrame, "PanelList");
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setMinimumHeight(201);
    auto* box = new QVBoxLayout(panel);
    box->setContentsMargins(1, 1, 1, 1);
    ListView1 = Named(new TSourceList, "ListView1");
    box->addWidget(ListView1);
    return panel;
}

QWidget* TForm1::BuildSettingsGroups()
{
    auto* groups = new QWidget;
    auto* row = new QHBoxLayout(groups);
    row->setContentsMargins(8, 0, 0, 0);

    auto* video = Named(new TAtLeast<QGroupBox>(QSize(240, 0), QStringLiteral(" Video Settings ")),
                        "GroupVideoSettings");
    auto* videoForm = new QFormLayout(video);
    ComboVideoQuality = DropDownList("ComboVideoQuality");
    ComboVideoSize = DropDownList("ComboVideoSize");
    ComboVideoFramerate = DropDownList("ComboVideoFramerate");
    videoForm->addRow(QStringLiteral("Video Quality : "), ComboVideoQuality);
    videoForm->addRow(QStringLiteral("Video Size : "), ComboVideoSize);
    videoForm->addRow(QStringLiteral("Video Framerate : "), ComboVideoFramerate);
    row->addWidget(video);

    auto* audio = Named(new TAtLeast<QGroupBox>(QSize(259, 0), QStringLiteral(" Audio Settings ")),
                        "GroupAudioSettings");
    auto* audioForm = new QFormLayout(audio);
    ComboAudioQuality = DropDownList("ComboAudioQuality");
    ComboAudioChannels = DropDownList("ComboAudioChannels");
    ComboAudioChannels->addItems({QStringLiteral("Stereo"), QStringLiteral("Mono")});
    TrackBar1 = Named(new QSlider(Qt::Horizontal), "TrackBar1");
    TrackBar1->setRange(0, static_cast<int>(kVolumeSteps.size()) - 1);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setValue(kDefaultVolumePosition);
    LabelVolume = Named(new QLabel(QStringLiteral("100%")), "LabelVolume");
    LabelVolume->setMinimumWidth(LabelVolume->fontMetrics().horizontalAdvance(QStringLiteral("200%")));
    auto* volume = new QHBoxLayout;
    volume->addWidget(TrackBar1, 1);
    volume->addWidget(LabelVolume);
    audioForm->addRow(QStringLiteral("Audio Quality :"), ComboAudioQuality);
    audioForm->addRow(QStringLiteral("Audio Channels :"), ComboAudioChannels);
    audioForm->addRow(QStringLiteral("Volume : "), volume);
    row->addWidget(audio);
    return groups;
}

QWidget* TForm1::BuildPreviewPane()
{
    auto* pane = Named(new QWidget, "PanelPreviewArea");
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    PanelVideo = Named(new QFrame, "PanelVideo");
    PanelVideo->setFrameShape(QFrame::Panel);
    PanelVideo->setFrameShadow(QFrame::Sunken);
    PanelVideo->setFixedSize(174, 145);
    auto* videoBox = new QVBoxLayout(PanelVideo);
    videoBox->setContentsMargins(2, 2, 2, 2);
    Image1 = Named(new QLabel, "Image1");
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setAutoFillBackground(true);
    QPalette black = Image1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Image1->setPalette(black);
    videoBox->addWidget(Image1);
    column->addWidget(PanelVideo, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    ButtonPlay = GlyphButton("ButtonPlay", QStringLiteral("Play"), "play");
    ButtonPause = GlyphButton("ButtonPause", QStringLiteral("Pause"), "pause");
    ButtonStop = GlyphButton("ButtonStop", QStringLiteral("Stop"), "preview-stop");
    ButtonVolume = GlyphButton("ButtonVolume", QStringLiteral("Volume"), "spkfull");
    ButtonSnapshot = GlyphButton("ButtonSnapshot", QStringLiteral("Snapshot"), "snapshot");
    for (QToolButton* button : {ButtonPlay, ButtonPause, ButtonStop, ButtonVolume, ButtonSnapshot})
        buttons->addWidget(button);
    column->addLayout(buttons);

    DSTrackBar1 = Named(new QSlider(Qt::Horizontal), "DSTrackBar1");
    DSTrackBar1->setTickPosition(QSlider::NoTicks);
    DSTrackBar1->setRange(0, 0);
    column->addWidget(DSTrackBar1);

    PopupMenuSpeaker = Named(new QMenu(this), "PopupMenuSpeaker");
    Mute1 = Named(PopupMenuSpeaker->addAction(QStringLiteral("Mute")), "Mute1");
    HalfVolume1 = Named(PopupMenuSpeaker->addAction(QStringLiteral("Half Volume")), "HalfVolume1");
    FullVolume1 = Named(PopupMenuSpeaker->addAction(QStringLiteral("Full Volume")), "FullVolume1");
    return pane;
}

QWidget* TForm1::BuildProgressStrip()
{
    auto* strip = new QWidget;
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(8, 0, 0, 0);
    ProgressBar1 = Named(new QProgressBar, "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setFixedWidth(400);
    ButtonStopSmall = Named(new QToolButton, "ButtonStopSmall");
    ButtonStopSmall->setText(QStringLiteral("Stop"));
    ButtonStopSmall->setIcon(SvgIcon("stop"));
    ButtonStopSmall->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    row->addWidget(ProgressBar1);
    row->addWidget(ButtonStopSmall);
    row->addStretch(1);
    return strip;
}

void TForm1::BuildHiddenHolders(QWidget* owner)
{
    struct THolder {
        QComboBox** Combo;
        const char* Name;
        QStringList Items;
        int Selected;
    };
    const THolder holders[] = {
        {&ComboVideoBitrate, "ComboVideoBitrate", {QStringLiteral("512 Kbps")}, 0},
        {&ComboAudioBitrate, "ComboAudioBitrate", {QStringLiteral("128 Kbps")}, 0},
        {&ComboVideoCodec, "ComboVideoCodec",
         {QStringLiteral("MPEG4"), QStringLiteral("XVid"), QStringLiteral("H264")}, 0},
        {&ComboAudioCodec, "ComboAudioCodec", {}, -1},
        {&ComboSamplingRate, "ComboSamplingRate", {QStringLiteral("44100 Hz")}, 0},
        {&ComboLetterBox, "ComboLetterBox", {}, -1},
        {&ComboAspectRatio, "ComboAspectRatio", {}, -1},
    };
    for (const THolder& holder : holders) {
        auto* combo = Named(new QComboBox(owner), holder.Name);
        combo->addItems(holder.Items);
        combo->setCurrentIndex(holder.Selected);
        combo->setVisible(false);
        *holder.Combo = combo;
    }
}

void TForm1::BuildStatusBar()
{
    StatusBar1 = Named(new QStatusBar, "StatusBar1");
    setStatusBar(StatusBar1);
    StatusBar1->setSizeGripEnabled(true);
    const int widths[] = {150, 300, 50};
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new TAtLeast<QLabel>(QSize(widths[i], 0));
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(panel, i == 1 ? 1 : 0);
        StatusPanels[i] = panel;
    }
    StatusPanels[0]->setText(QStringLiteral("Ready"));
}

// The window's client area is the central widget and the status bar; the main window's
// layout keeps the window at least as large as their minimum sizes.
void TForm1::SetMinimumClientSize()
{
    auto* client = static_cast<TClientArea*>(centralWidget());
    client->Designed = QSize(kClientSize.width(),
                             kClientSize.height() - StatusBar1->sizeHint().height());
    client->updateGeometry();
    resize(sizeHint());
}

}  // namespace tavrin
