// The main window's life: creation, first show, the profile and settings handlers, the
// folder browser and closing. The help and about entries are in HelpAndAbout.cpp.
#include "MainWindow.h"

#include "Catalogue.h"
#include "Dialogs.h"
#include "FixedCombos.h"
#include "HelpAndAbout.h"
#include "JobBuilder.h"
#include "OutputFormat.h"
#include "ParallelBatch.h"
#include "PreviewPlayer.h"
#include "PreviewSeekBar.h"
#include "Quality.h"
#include "SourceFilter.h"
#include "SnapSound.h"
#include "SourceList.h"
#include "SvgIcons.h"
#include "VolumeSteps.h"
#include "WindowJobView.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace tavrin {

namespace {

constexpr int kHintHidePauseMs = 30000;
constexpr int kCreateDropDownCount = 25;

QString ExecutableFolder()
{
    return QCoreApplication::applicationDirPath();
}

}  // namespace

TForm1::TForm1(TDialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(SvgIcon("tavrin"));
    jobClock_.start();
    BuildWidgets();
    BuildMenus();

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
    jobView_ = std::make_unique<TWindowJobView>(*this);
    jobBuilder_ = std::make_unique<TJobBuilder>(*jobView_, Engine);
    jobView_->SetBuilder(jobBuilder_.get());
    ConnectHandlers();
    ConnectPreviewHandlers();
    SetMinimumClientSize();
    created_ = FormCreate();
}

TForm1::~TForm1()
{
    // No event may reach a window that is going away: stop listening, then let the tasks
    // end before the engine and the widgets go.
    eventsConnected_ = false;
    parallel_.reset();
    Engine.ClearTaskList();
}

void TForm1::ConnectHandlers()
{
    connect(ButtonAddFile, &QToolButton::clicked, this, &TForm1::ButtonAddFileClick);
    connect(ButtonRemove, &QToolButton::clicked, this, &TForm1::DeleteSelectedItem1Click);
    connect(ButtonClear, &QToolButton::clicked, this, &TForm1::ClearAllItems1Click);
    connect(ButtonStopConvert, &QToolButton::clicked, this, &TForm1::ButtonStopConvertClick);
    connect(ButtonStopSmall, &QToolButton::clicked, ButtonStopConvert, &QToolButton::click);
    connect(ButtonConvert, &QToolButton::clicked, this, &TForm1::ButtonConvertClick);
    connect(ButtonBrowseForFolder, &QToolButton::clicked, this, &TForm1::ButtonBrowseForFolderClick);
    connect(ComboOutputFormat, &QComboBox::activated, this, &TForm1::ComboOutputFormatChange);
    ComboOutputFormat->OnDropDown = [this] { ComboOutputFormatDropDown(); };
    connect(ComboVideoQuality, &QComboBox::activated, this, &TForm1::ComboVideoQualityChange);
    connect(ComboAudioQuality, &QComboBox::activated, this, &TForm1::ComboAudioQualityChange);
    ComboVideoQuality->installEventFilter(this);
    ComboAudioQuality->installEventFilter(this);
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
    connect(TimerConvertAgain, &QTimer::timeout, this, &TForm1::TimerConvertAgainTimer);
    connect(AddFiles1, &QAction::triggered, ButtonAddFile, &QToolButton::click);
    connect(Convert1, &QAction::triggered, ButtonConvert, &QToolButton::click);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
    connect(OpenHelpFile1, &QAction::triggered, this, &TForm1::OpenHelpFile1Click);
    // The options dialog brings its own handler for "Set Options".
    SetOptions1->setEnabled(false);
    ListView1->OnPathsDropped = [this](const QStringList& paths) { AddDroppedPaths(paths); };
}

bool TForm1::FormCreate()
{
    OpenDialogFilter = QString::fromStdString(ToQtFileDialogFilter(SourceFileFilter()));

    // Libraries shipped in "Common" beside the program win; otherwise the system's.
    const QString common = QDir(ExecutableFolder()).filePath(QStringLiteral("Common"));
    const std::string folder = QFileInfo(common).isDir() ? common.toStdString() : std::string();
    if (!Engine.LoadCodecLibraries(folder, true)) {
        dialogs_.Information(this, QStringLiteral("Some files are missing. Please re-install this software"));
        return false;
    }

    setWindowTitle(QStringLiteral("Tavrin Apple TV Converter"));
    HelpFile = FindHelpFile(ExecutableFolder());
    ComboVideoQuality->setToolTipDuration(kHintHidePauseMs);
    ComboAudioQuality->setToolTipDuration(kHintHidePauseMs);

    TrackBar1->setValue(kDefaultVolumePosition);
    TrackBar1Change();

    FillOutputFormatCombo(Controls().ComboOutputFormat);
    Controls().ComboOutputFormat.SetDropDownCount(kCreateDropDownCount);
    FillFixedCombos(Controls());

    TimerConvertAgain->stop();
    PreviewPaused = false;
    ConnectEngineEvents();
    return true;
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TForm1::FormShow()
{
    ComboOutputFormatChange();
    ApplyQualityPreset(Controls());
    // The profile's items may need wider combos than the empty ones had.
    resize(size().expandedTo(sizeHint()));
}

void TForm1::ComboOutputFormatChange()
{
    TCombo& format = Controls().ComboOutputFormat;
    if (IsSeparatorText(format.Text())) {
        format.SetItemIndex(LastFormatIndex);
        return;
    }
    std::string key;
    FillProfileControls(Controls(), key);
    if (const auto found = ProfileKeyOf(format.Text()))
        OutputExtension = QString::fromUtf8(found->data(), static_cast<int>(found->size()));
    for (int row = 0; row < RowCount(); ++row)
        SetCell(row, scOutput, OutputExtension);
    format.SetDropDownCount(Options.DropDownItems);
    LastFormatIndex = format.ItemIndex();
    UpdateQualityControls(Controls());
}

void TForm1::ComboOutputFormatDropDown()
{
    Controls().ComboOutputFormat.SetDropDownCount(Options.DropDownItems);
}

void TForm1::ComboVideoQualityChange()
{
    ApplyQualityPreset(Controls());
}

void TForm1::ComboAudioQualityChange()
{
    ApplyQualityPreset(Controls());
}

void TForm1::TrackBar1Change()
{
    const int position = std::clamp(TrackBar1->value(), 0, static_cast<int>(kVolumeSteps.size()) - 1);
    const TVolumeStep& step = kVolumeSteps[static_cast<size_t>(position)];
    LabelVolume->setText(QStringLiteral("%1%").arg(step.Percent));
    ConversionVolume = step.Value;
}

void TForm1::ButtonBrowseForFolderClick()
{
    if (Batch.Converting)
        return;
    const QString folder = dialogs_.ChooseFolder(
        this, QStringLiteral("Choose the required output folder below :"), EditOutputFolder->text());
    if (!folder.isEmpty())
        EditOutputFolder->setText(QDir::toNativeSeparators(folder));
}

void TForm1::Exit1Click()
{
    // Ends at once, without the close query; the destructor still stops the tasks. The
    // settings are saved as the close button saves them: a person cannot tell the two apart.
    SaveSettingsQuietly();
    QCoreApplication::exit(0);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TForm1::FormCloseQuery()
{
    if (Batch.Converting)
        return false;
    // Handlers are switched off by flag: a task still ending after Stop may be calling them.
    eventsConnected_ = false;
    closing_ = true;
    Engine.StopTasks();
    return true;
}

void TForm1::FormClose()
{
    EndParallelBatch();
    SaveSettingsQuietly();
    StopThePreview(true);
}

void TForm1::SaveSettingsQuietly()
{
    if (!OnSaveSettings)
        return;
    try {
        OnSaveSettings();
    } catch (...) {
        // Settings that cannot be saved are not worth a message at the end.
    }
}

void TForm1::StopThePreview(bool deactivate)
{
    if (StopPreview)
        StopPreview(deactivate);
    PreviewPaused = false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        // The quality combos hint at the bit rate their choice gives.
        if (watched == ComboVideoQuality)
            ComboVideoQuality->setToolTip(ComboVideoBitrate->currentText());
        else if (watched == ComboAudioQuality)
            ComboAudioQuality->setToolTip(ComboAudioBitrate->currentText());
    }
    return MenuEventFilter(watched, event) || QMainWindow::eventFilter(watched, event);
}

}  // namespace tavrin
