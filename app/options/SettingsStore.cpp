#include "options/SettingsStore.h"

#include <QSettings>

#include <limits>
#include <optional>

namespace tavrin {

namespace {

// A stored number as a 32-bit integer; nothing when it is missing, not a number, or too
// large (QVariant's own conversion of text would cut such a number down without a word).
std::optional<int> ToInt32(const QVariant& stored)
{
    bool ok = false;
    if (stored.typeId() == QMetaType::QString) {
        const int number = stored.toString().toInt(&ok);
        return ok ? std::optional<int>(number) : std::nullopt;
    }
    const qlonglong number = stored.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

// What reading one value gave: the value to apply (invalid when there is nothing to
// apply), or nothing at all when the read failed.
std::optional<QVariant> ReadValue(const QSettings& key, const TStoredValue& value)
{
    const QVariant stored = key.value(value.Name);
    if (value.Kind == TStoredKind::Text) {
        if (!stored.isValid() && !key.contains(value.Name))
            return QVariant(QString());
        if (stored.typeId() != QMetaType::QString)
            return std::nullopt;
        return stored;
    }
    const std::optional<int> number = ToInt32(stored);
    if (!number)
        return std::nullopt;
    if (value.Kind == TStoredKind::Flag)
        return QVariant(*number != 0);
    return *number < 0 ? QVariant() : QVariant(*number);
}

QVariant StoredForm(const TStoredValue& value)
{
    const QVariant current = value.Current();
    switch (value.Kind) {
    case TStoredKind::Text:
        return current.toString();
    case TStoredKind::Flag:
        return current.toBool() ? 1 : 0;
    case TStoredKind::Count:
        return current.toInt();
    }
    return current;
}

}  // namespace

std::unique_ptr<QSettings> OpenSettingsKey()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tavrin"),
                                       QStringLiteral("Tavrin Apple TV Converter"));
}

TSettingsStore::TSettingsStore(std::vector<TStoredValue> values, std::vector<TStoredValue> extras)
    : values_(std::move(values)), extras_(std::move(extras))
{
}

bool TSettingsStore::LoadSettings() const
{
    bool complete = true;
    {
        const auto key = OpenSettingsKey();
        for (const TStoredValue& value : values_) {
            const std::optional<QVariant> read = ReadValue(*key, value);
            if (!read) {
                complete = false;
                break;
            }
            if (read->isValid())
                value.Apply(*read);
        }
        for (const TStoredValue& extra : extras_) {
            const std::optional<QVariant> read = ReadValue(*key, extra);
            extra.Apply(read ? *read : QVariant());
        }
    }
    if (!complete)
        SaveSettings();
    return complete;
}

void TSettingsStore::SaveSettings() const
{
    const auto key = OpenSettingsKey();
    for (const auto* list : {&values_, &extras_})
        for (const TStoredValue& value : *list)
            key->setValue(value.Name, StoredForm(value));
    // Written when the key closes; a store that cannot be written stays as it was.
    key->sync();
}

}  // namespace tavrin
