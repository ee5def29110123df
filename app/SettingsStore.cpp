#include "SettingsStore.h"

#include <QSettings>

#include <optional>

namespace tavrin {

namespace {

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
    bool ok = false;
    const int number = stored.toInt(&ok);  // fails when missing or not a 32-bit number
    if (!ok)
        return std::nullopt;
    if (value.Kind == TStoredKind::Flag)
        return QVariant(number != 0);
    return number < 0 ? QVariant() : QVariant(number);
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
