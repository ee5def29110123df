// The settings panel's widgets: the folder and profile strip, the video and audio groups,
// and the hidden setting holders.
#include "settings/SettingsPart.h"

#include "VolumeSteps.h"
#include "util/QtCombo.h"
#include "util/SvgIcons.h"
#include "util/Widgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

QComboBox* DropDownList(const char* name)
{
    auto* combo = Named(new QComboBox, name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

}  // namespace

QWidget* TSettingsPart::BuildFolderStrip()
{
    auto* strip = Named(new QWidget, "PanelFolder");
    strip->setMinimumHeight(54);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);

    auto* folder = new QVBoxLayout;
    folder->addWidget(Named(new QLabel(QStringLiteral("Output Folder :")), "LabelOutputFolder"));
    auto* folderLine = new QHBoxLayout;
    EditOutputFolder = Named(new QLineEdit, "EditOutputFolder");
    // Read-only but not disabled: the path reads in normal text and can be selected and copied.
    EditOutputFolder->setReadOnly(true);
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

QWidget* TSettingsPart::BuildSettingsGroups()
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

void TSettingsPart::BuildHiddenHolders(QWidget* owner)
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

}  // namespace tavrin
