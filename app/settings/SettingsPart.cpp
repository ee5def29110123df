// The settings panel's handlers: the profile and quality choices, the volume, the output
// folder, and switching the settings off during a batch.
#include "settings/SettingsPart.h"

#include "Catalogue.h"
#include "FixedCombos.h"
#include "OutputFormat.h"
#include "Quality.h"
#include "VolumeSteps.h"
#include "dialogs/Dialogs.h"
#include "util/QtCombo.h"
#include "util/WindowOptions.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include <algorithm>

namespace tavrin {

namespace {

constexpr int kHintHidePauseMs = 30000;
constexpr int kCreateDropDownCount = 25;

}  // namespace

TSettingsPart::TSettingsPart(QWidget& window, TDialogs& dialogs, const TWindowOptions& options,
                               std::function<bool()> converting)
    : window_(window), dialogs_(dialogs), options_(options), converting_(std::move(converting))
{
    folderStrip_ = BuildFolderStrip();
    groups_ = BuildSettingsGroups();
    BuildHiddenHolders(groups_);
    QComboBox* boxes[] = {ComboOutputFormat, ComboVideoCodec,     ComboAudioCodec,
                          ComboVideoSize,    ComboVideoBitrate,   ComboVideoFramerate,
                          ComboAudioBitrate, ComboSamplingRate,   ComboAudioChannels,
                          ComboAspectRatio,  ComboLetterBox,      ComboVideoQuality,
                          ComboAudioQuality};
    for (size_t i = 0; i < combos_.size(); ++i)
        combos_[i] = std::make_unique<TQtCombo>(*boxes[i]);
    controls_.reset(new TProfileControls{*combos_[0], *combos_[1], *combos_[2], *combos_[3],
                                         *combos_[4], *combos_[5], *combos_[6], *combos_[7],
                                         *combos_[8], *combos_[9], *combos_[10], *combos_[11],
                                         *combos_[12]});
    ConnectHandlers();
}

TSettingsPart::~TSettingsPart() = default;

void TSettingsPart::ConnectHandlers()
{
    connect(ButtonBrowseForFolder, &QToolButton::clicked, this,
            &TSettingsPart::ButtonBrowseForFolderClick);
    connect(ComboOutputFormat, &QComboBox::activated, this, &TSettingsPart::ComboOutputFormatChange);
    ComboOutputFormat->OnDropDown = [this] { ComboOutputFormatDropDown(); };
    connect(ComboVideoQuality, &QComboBox::activated, this, &TSettingsPart::ComboVideoQualityChange);
    connect(ComboAudioQuality, &QComboBox::activated, this, &TSettingsPart::ComboAudioQualityChange);
    ComboVideoQuality->installEventFilter(this);
    ComboAudioQuality->installEventFilter(this);
    connect(TrackBar1, &QSlider::valueChanged, this, &TSettingsPart::TrackBar1Change);
}

void TSettingsPart::Create()
{
    ComboVideoQuality->setToolTipDuration(kHintHidePauseMs);
    ComboAudioQuality->setToolTipDuration(kHintHidePauseMs);
    TrackBar1->setValue(kDefaultVolumePosition);
    TrackBar1Change();
    FillOutputFormatCombo(Controls().ComboOutputFormat);
    Controls().ComboOutputFormat.SetDropDownCount(kCreateDropDownCount);
    FillFixedCombos(Controls());
}

void TSettingsPart::Show()
{
    ComboOutputFormatChange();
    ApplyQualityPreset(Controls());
}

QString TSettingsPart::OutputFolder() const
{
    return EditOutputFolder->text();
}

void TSettingsPart::SetOutputFolder(const QString& folder)
{
    EditOutputFolder->setText(folder);
}

void TSettingsPart::ComboOutputFormatChange()
{
    TCombo& format = Controls().ComboOutputFormat;
    if (IsSeparatorText(format.Text())) {
        format.SetItemIndex(lastFormatIndex_);
        return;
    }
    std::string key;
    FillProfileControls(Controls(), key);
    if (const auto found = ProfileKeyOf(format.Text()))
        outputExtension_ = QString::fromUtf8(found->data(), static_cast<int>(found->size()));
    emit OutputExtensionChanged(outputExtension_);
    format.SetDropDownCount(options_.DropDownItems);
    lastFormatIndex_ = format.ItemIndex();
    tavrin::UpdateQualityControls(Controls());
}

void TSettingsPart::ComboOutputFormatDropDown()
{
    Controls().ComboOutputFormat.SetDropDownCount(options_.DropDownItems);
}

void TSettingsPart::ComboVideoQualityChange()
{
    ApplyQualityPreset(Controls());
}

void TSettingsPart::ComboAudioQualityChange()
{
    ApplyQualityPreset(Controls());
}

void TSettingsPart::TrackBar1Change()
{
    const int position = std::clamp(TrackBar1->value(), 0, static_cast<int>(kVolumeSteps.size()) - 1);
    const TVolumeStep& step = kVolumeSteps[static_cast<size_t>(position)];
    LabelVolume->setText(QStringLiteral("%1%").arg(step.Percent));
    conversionVolume_ = step.Value;
}

void TSettingsPart::ButtonBrowseForFolderClick()
{
    if (converting_())
        return;
    const QString folder = dialogs_.ChooseFolder(
        &window_, QStringLiteral("Choose the required output folder below :"), EditOutputFolder->text());
    if (!folder.isEmpty())
        EditOutputFolder->setText(QDir::toNativeSeparators(folder));
}

bool TSettingsPart::CheckOutputFolder()
{
    const QString text = EditOutputFolder->text();
    if (text.isEmpty()) {
        dialogs_.Information(&window_, QStringLiteral("Please select an output folder!"));
        ButtonBrowseForFolderClick();
        return false;
    }
    // The folder's exact name: blanks at either end are part of a Linux name, and the rows
    // are written into the folder this text names.
    if (!QFileInfo(text).isDir()) {
        dialogs_.Information(&window_, QStringLiteral("The output folder \"") + text +
                                           QStringLiteral("\"\n\rdoes not exist or has been deleted!"
                                                          "\n\rPlease choose a new output folder."));
        ButtonBrowseForFolderClick();
        return false;
    }
    return true;
}

void TSettingsPart::SetControlsEnabled(bool enabled)
{
    for (QWidget* widget : std::initializer_list<QWidget*>{
             ComboOutputFormat, ComboVideoSize, ComboVideoBitrate, ComboVideoFramerate,
             ComboAudioBitrate, ComboAudioChannels, ComboVideoCodec, ComboSamplingRate,
             ComboAudioCodec, TrackBar1, ComboAspectRatio, ComboLetterBox, ComboVideoQuality,
             ComboAudioQuality})
        widget->setEnabled(enabled);
}

void TSettingsPart::UpdateQualityControls()
{
    tavrin::UpdateQualityControls(Controls());
}

bool TSettingsPart::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        // The quality combos hint at the bit rate their choice gives.
        if (watched == ComboVideoQuality)
            ComboVideoQuality->setToolTip(ComboVideoBitrate->currentText());
        else if (watched == ComboAudioQuality)
            ComboAudioQuality->setToolTip(ComboAudioBitrate->currentText());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tavrin
