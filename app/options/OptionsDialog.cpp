#include "options/OptionsDialog.h"

#include "Catalogue.h"
#include "FixedCombos.h"
#include "settings/SettingsPart.h"
#include "util/SpinEdit.h"
#include "util/Widgets.h"
#include "util/WindowOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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
std::function<void(const QVariant&)> SelectListed(TCombo& combo)
{
    return [&combo](const QVariant& value) {
        const int index = value.toInt();
        if (index < combo.Count())
            combo.SetItemIndex(index);
    };
}

std::function<QVariant()> IndexOf(const TCombo& combo)
{
    return [&combo] { return combo.ItemIndex(); };
}

}  // namespace

int MaxSimultaneousConversions()
{
    return std::max(1, QThread::idealThreadCount());
}

TForm4::TForm4(QWidget& main, TSettingsPart& settings, TWindowOptions& options)
    : QDialog(&main), main_(main), settings_(settings), options_(options)
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
    // A developer's setting that most people never need: say what it changes.
    const QString dropDownHint = QStringLiteral(
        "How many entries the \"Set Output Format\" list shows at once when it opens, "
        "before it scrolls (26 to 47). It changes nothing in the converted files.");
    SpinEdit1->setToolTip(dropDownHint);
    if (QWidget* label = form->labelForField(SpinEdit1))
        label->setToolTip(dropDownHint);
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
    ComboLetterBox->setCurrentIndex(settings_.Controls().ComboLetterBox.ItemIndex());
    ComboAspectRatio->setCurrentIndex(settings_.Controls().ComboAspectRatio.ItemIndex());
}

TSettingsStore TForm4::Store()
{
    TSettingsPart& settings = settings_;
    const TProfileControls& combos = settings.Controls();
    std::vector<TStoredValue> values = {
        {QStringLiteral("Output Folder"), TStoredKind::Text,
         [&settings] { return settings.OutputFolder(); },
         [&settings](const QVariant& value) { settings.SetOutputFolder(value.toString()); }},
        {QStringLiteral("ComboOutputFormat"), TStoredKind::Count, IndexOf(combos.ComboOutputFormat),
         [this](const QVariant& value) { SelectStoredProfile(value.toInt()); }},
        {QStringLiteral("Overwrite"), TStoredKind::Flag,
         [this] { return CheckBoxOverWrite->isChecked(); },
         [this](const QVariant& value) { CheckBoxOverWrite->setChecked(value.toBool()); }},
        {QStringLiteral("DropDownItems"), TStoredKind::Count, [this] { return SpinEdit1->value(); },
         [this](const QVariant& value) { SpinEdit1->setValue(value.toInt()); }},
        {QStringLiteral("LetterBox"), TStoredKind::Count, IndexOf(combos.ComboLetterBox),
         SelectListed(combos.ComboLetterBox)},
        {QStringLiteral("VideoQuality"), TStoredKind::Count, IndexOf(combos.ComboVideoQuality),
         SelectListed(combos.ComboVideoQuality)},
        {QStringLiteral("AudioQuality"), TStoredKind::Count, IndexOf(combos.ComboAudioQuality),
         SelectListed(combos.ComboAudioQuality)},
    };
    // Anything but a count of at least one means one conversion at a time.
    std::vector<TStoredValue> extras = {
        {QStringLiteral("SimultaneousConversions"), TStoredKind::Count,
         [this] { return SpinEditSimultaneous->value(); },
         [this](const QVariant& value) {
             const int count = value.isValid() ? value.toInt() : 1;
             SpinEditSimultaneous->setValue(count < 1 ? 1 : count);
         }},
        // Where the window was and how large: it comes back there, within today's screens.
        {QStringLiteral("WindowGeometry"), TStoredKind::Text,
         [this] { return QString::fromLatin1(main_.saveGeometry().toBase64()); },
         [this](const QVariant& value) {
             const QByteArray geometry = QByteArray::fromBase64(value.toString().toLatin1());
             if (!geometry.isEmpty())
                 main_.restoreGeometry(geometry);
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
    TCombo& format = settings_.Controls().ComboOutputFormat;
    const bool usable = index < format.Count() && !IsSeparatorText(format.ItemText(index));
    format.SetItemIndex(usable ? index : 0);
}

void TForm4::ComboLetterBoxChange()
{
    settings_.Controls().ComboLetterBox.SetItemIndex(ComboLetterBox->currentIndex());
}

void TForm4::ComboAspectRatioChange()
{
    settings_.Controls().ComboAspectRatio.SetItemIndex(ComboAspectRatio->currentIndex());
}

void TForm4::SpinEdit1Change()
{
    options_.DropDownItems = SpinEdit1->value();
    settings_.Controls().ComboOutputFormat.SetDropDownCount(SpinEdit1->value());
}

void TForm4::SpinEditSimultaneousChange()
{
    options_.SimultaneousConversions = SpinEditSimultaneous->value();
}

void TForm4::CheckBoxOverWriteClick()
{
    options_.Overwrite = CheckBoxOverWrite->isChecked();
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
