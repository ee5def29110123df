#include "OptionsDialog.h"

#include "Catalogue.h"
#include "FixedCombos.h"
#include "MainWindow.h"
#include "SpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <string_view>

namespace tavrin {

namespace {

constexpr QSize kClientSize{390, 351};
constexpr int kDropDownMinimum = 26;
constexpr int kDropDownMaximum = 47;

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

template <size_t N>
void Refill(QComboBox* combo, const std::array<std::string_view, N>& items)
{
    combo->clear();
    for (std::string_view item : items)
        combo->addItem(QString::fromUtf8(item.data(), static_cast<int>(item.size())));
    combo->setCurrentIndex(0);
}

// Puts a stored index into a combo; one beyond its items leaves the choice as it is, so a
// list is never left without a selection.
std::function<void(const QVariant&)> SelectListed(QComboBox* combo)
{
    return [combo](const QVariant& value) {
        const int index = value.toInt();
        if (index < combo->count())
            combo->setCurrentIndex(index);
    };
}

std::function<QVariant()> IndexOf(QComboBox* combo)
{
    return [combo] { return combo->currentIndex(); };
}

}  // namespace

int MaxSimultaneousConversions()
{
    return std::max(1, QThread::idealThreadCount());
}

TForm4::TForm4(TForm1& main) : QDialog(&main), main_(main)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Additional Options"));
    // A child dialog stays above its main window; no help or resize decorations.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    BuildWidgets();
    ConnectHandlers();
    FormCreate();
}

void TForm4::BuildWidgets()
{
    auto* column = new QVBoxLayout(this);
    column->addWidget(BuildAdditionalGroup());
    column->addWidget(BuildVideoGroup());
    column->addStretch(1);
    Button1 = Named(new QPushButton(QStringLiteral("Done")), "Button1");
    Button1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    column->addLayout(buttons);
    // A dialog border: the size its contents need, at least the designed one.
    setFixedSize(sizeHint().expandedTo(kClientSize));
}

QGroupBox* TForm4::BuildAdditionalGroup()
{
    GroupAdditionalOptions =
        Named(new QGroupBox(QStringLiteral(" Additional Options ")), "GroupAdditionalOptions");
    auto* form = new QFormLayout(GroupAdditionalOptions);
    CheckBoxOverWrite = Named(
        new QCheckBox(QStringLiteral("Overwrite Existing File With The Same Name")), "CheckBoxOverWrite");
    form->addRow(CheckBoxOverWrite);
    SpinEdit1 = Named(new TSpinEdit(kDropDownMinimum, kDropDownMaximum), "SpinEdit1");
    form->addRow(QStringLiteral("Drop Down Items in Output Format List"), SpinEdit1);
    SpinEditSimultaneous =
        Named(new TSpinEdit(1, MaxSimultaneousConversions()), "SpinEditSimultaneous");
    form->addRow(QStringLiteral("Simultaneous conversions"), SpinEditSimultaneous);
    return GroupAdditionalOptions;
}

QGroupBox* TForm4::BuildVideoGroup()
{
    GroupGeneralVideo =
        Named(new QGroupBox(QStringLiteral(" General Video Settings ")), "GroupGeneralVideo");
    auto* form = new QFormLayout(GroupGeneralVideo);
    // Lists only: a typed text would match no item and leave the window without a choice.
    ComboLetterBox = Named(new QComboBox, "ComboLetterBox");
    ComboAspectRatio = Named(new QComboBox, "ComboAspectRatio");
    form->addRow(QStringLiteral("Video Zoom : "), ComboLetterBox);
    form->addRow(QStringLiteral("Video Aspect Ratio : "), ComboAspectRatio);
    return GroupGeneralVideo;
}

void TForm4::ConnectHandlers()
{
    connect(ComboLetterBox, &QComboBox::activated, this, &TForm4::ComboLetterBoxChange);
    connect(ComboAspectRatio, &QComboBox::activated, this, &TForm4::ComboAspectRatioChange);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TForm4::SpinEdit1Change);
    connect(SpinEditSimultaneous, &QSpinBox::valueChanged, this, &TForm4::SpinEditSimultaneousChange);
    connect(CheckBoxOverWrite, &QCheckBox::toggled, this, &TForm4::CheckBoxOverWriteClick);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(main_.SetOptions1, &QAction::triggered, this, &TForm4::SetOptions1Click);
    main_.SetOptions1->setEnabled(true);
    main_.OnSaveSettings = [this] { SaveSettings(); };
}

void TForm4::FormCreate()
{
    LoadSettings();
    // The window reads these through its options whether or not loading changed them.
    CheckBoxOverWriteClick();
    SpinEdit1Change();
    SpinEditSimultaneousChange();

    Refill(ComboAspectRatio, kAspectRatioItems);
    Refill(ComboLetterBox, kLetterBoxItems);
    // So the dialog shows the letterbox choice the settings brought back.
    ComboLetterBox->setCurrentIndex(main_.ComboLetterBox->currentIndex());
    ComboAspectRatio->setCurrentIndex(main_.ComboAspectRatio->currentIndex());
}

TSettingsStore TForm4::Store()
{
    TForm1& main = main_;
    QLineEdit* folder = main.EditOutputFolder;
    std::vector<TStoredValue> values = {
        {QStringLiteral("Output Folder"), TStoredKind::Text, [folder] { return folder->text(); },
         [folder](const QVariant& value) { folder->setText(value.toString()); }},
        {QStringLiteral("ComboOutputFormat"), TStoredKind::Count, IndexOf(main.ComboOutputFormat),
         [this](const QVariant& value) { SelectStoredProfile(value.toInt()); }},
        {QStringLiteral("Overwrite"), TStoredKind::Flag,
         [this] { return CheckBoxOverWrite->isChecked(); },
         [this](const QVariant& value) { CheckBoxOverWrite->setChecked(value.toBool()); }},
        {QStringLiteral("DropDownItems"), TStoredKind::Count, [this] { return SpinEdit1->value(); },
         [this](const QVariant& value) { SpinEdit1->setValue(value.toInt()); }},
        {QStringLiteral("LetterBox"), TStoredKind::Count, IndexOf(main.ComboLetterBox),
         SelectListed(main.ComboLetterBox)},
        {QStringLiteral("VideoQuality"), TStoredKind::Count, IndexOf(main.ComboVideoQuality),
         SelectListed(main.ComboVideoQuality)},
        {QStringLiteral("AudioQuality"), TStoredKind::Count, IndexOf(main.ComboAudioQuality),
         SelectListed(main.ComboAudioQuality)},
    };
    // Anything but a count of at least one means one conversion at a time.
    std::vector<TStoredValue> extras = {
        {QStringLiteral("SimultaneousConversions"), TStoredKind::Count,
         [this] { return SpinEditSimultaneous->value(); },
         [this](const QVariant& value) {
             const int count = value.isValid() ? value.toInt() : 1;
             SpinEditSimultaneous->setValue(count < 1 ? 1 : count);
         }},
    };
    return TSettingsStore(std::move(values), std::move(extras));
}

void TForm4::LoadSettings()
{
    Store().LoadSettings();
}

void TForm4::SaveSettings()
{
    Store().SaveSettings();
}

// A stored profile that today's list does not have, or a separator, gives the first
// profile: the setting combos are filled from the selected profile and must never be empty.
void TForm4::SelectStoredProfile(int index)
{
    QComboBox* format = main_.ComboOutputFormat;
    const bool usable = index < format->count() &&
                        !IsSeparatorText(format->itemText(index).toStdString());
    format->setCurrentIndex(usable ? index : 0);
}

void TForm4::ComboLetterBoxChange()
{
    main_.Controls().ComboLetterBox.SetItemIndex(ComboLetterBox->currentIndex());
}

void TForm4::ComboAspectRatioChange()
{
    main_.Controls().ComboAspectRatio.SetItemIndex(ComboAspectRatio->currentIndex());
}

void TForm4::SpinEdit1Change()
{
    main_.Options.DropDownItems = SpinEdit1->value();
    main_.Controls().ComboOutputFormat.SetDropDownCount(SpinEdit1->value());
}

void TForm4::SpinEditSimultaneousChange()
{
    main_.Options.SimultaneousConversions = SpinEditSimultaneous->value();
}

void TForm4::CheckBoxOverWriteClick()
{
    main_.Options.Overwrite = CheckBoxOverWrite->isChecked();
}

void TForm4::Button1Click()
{
    hide();
}

void TForm4::SetOptions1Click()
{
    show();
    raise();
    activateWindow();
}

void TForm4::showEvent(QShowEvent* event)
{
    CentreOnMainWindow();
    QDialog::showEvent(event);
}

void TForm4::CentreOnMainWindow()
{
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QPoint centre = main_.geometry().center();
    move(centre - QPoint(width() / 2, height() / 2) - frameOffset);
}

}  // namespace tavrin
