// The main window's life: creation of its parts and how they talk, first show, closing.
#include "window/MainWindow.h"

#include "batch/BatchPart.h"
#include "dialogs/Dialogs.h"
#include "dialogs/HelpAndAbout.h"
#include "dialogs/Notifier.h"
#include "list/ListPart.h"
#include "options/OptionsDialog.h"
#include "preview/PreviewPart.h"
#include "settings/SettingsPart.h"
#include "util/StatusBar.h"
#include "util/SvgIcons.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tavrin {

namespace {

QString ExecutableFolder()
{
    return QCoreApplication::applicationDirPath();
}

}  // namespace

TForm1::TForm1(TDialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(SvgIcon("tavrin"));
    notifier_ = std::make_unique<TDesktopNotifier>(this);
    BuildParts();
    BuildLayout();
    BuildMenus();
    ConnectParts();
    SetInitialSize();
    created_ = FormCreate();
}

TForm1::~TForm1() = default;

// The parts, lowest first: each may be handed those made before it.
void TForm1::BuildParts()
{
    const auto converting = [this] { return batch_ && batch_->State().Converting; };
    status_ = new TStatusBar;
    list_ = std::make_unique<TListPart>(
        *this, dialogs_, engine_, converting, [this] { return settings_->OutputExtension(); },
        [this] { return settings_->OutputFolder(); });
    settings_ = std::make_unique<TSettingsPart>(*this, dialogs_, options_, converting);
    preview_ = std::make_unique<TPreviewPart>(*this, *list_, *settings_, *status_, converting);
    batch_ = std::make_unique<TBatchPart>(
        TBatchNeighbours{*this, dialogs_, engine_, options_, *list_, *settings_, *preview_, *status_});
}

void TForm1::ConnectParts()
{
    connect(settings_.get(), &TSettingsPart::OutputExtensionChanged, list_.get(),
            &TListPart::SetOutputColumn);
    connect(batch_.get(), &TBatchPart::MainMenuEnabled, this, &TForm1::SetMainMenuEnabled);
    connect(batch_.get(), &TBatchPart::BatchCompleted, this, &TForm1::NotifyBatchEnd);
    connect(AddFiles1, &QAction::triggered, list_.get(), &TListPart::TriggerAddFile);
    connect(Convert1, &QAction::triggered, batch_.get(), &TBatchPart::TriggerConvert);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
    connect(OpenHelpFile1, &QAction::triggered, this, &TForm1::OpenHelpFile1Click);
    // The options dialog brings its own handler for "Set Options".
    SetOptions1->setEnabled(false);
}

void TForm1::AttachOptionsDialog(TForm4& dialog)
{
    connect(SetOptions1, &QAction::triggered, &dialog, &TForm4::SetOptions1Click);
    SetOptions1->setEnabled(true);
    OnSaveSettings = [&dialog] { dialog.SaveSettings(); };
}

bool TForm1::FormCreate()
{
    // Libraries shipped in "Common" beside the program win; otherwise the system's.
    const QString common = QDir(ExecutableFolder()).filePath(QStringLiteral("Common"));
    const std::string folder = QFileInfo(common).isDir() ? common.toStdString() : std::string();
    if (!engine_.LoadCodecLibraries(folder, true)) {
        dialogs_.Information(this, QStringLiteral("Some files are missing. Please re-install this software"));
        return false;
    }
    setWindowTitle(QStringLiteral("Tavrin Apple TV Converter"));
    helpFile_ = FindHelpFile(ExecutableFolder());
    settings_->Create();
    batch_->Create();
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
    settings_->Show();
    // The profile's items may need wider combos than the empty ones had; the screen (or
    // the size and place remembered from the last run) bounds it all.
    resize(size().expandedTo(minimumSizeHint()));
    FitOnScreen();
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
    if (batch_->State().Converting)
        return false;
    // Handlers are switched off by flag: a task still ending after Stop may be calling them.
    batch_->Disconnect();
    list_->StopAdding();
    engine_.StopTasks();
    return true;
}

void TForm1::FormClose()
{
    batch_->EndParallelBatch();
    SaveSettingsQuietly();
    preview_->StopThePreview(true);
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

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    return MenuEventFilter(watched, event) || QMainWindow::eventFilter(watched, event);
}

}  // namespace tavrin
