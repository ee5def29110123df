// The user's choices kept between runs: one settings key, whose values are read and written
// in a fixed order and bound to the controls they come from.
#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class QSettings;

namespace tavrin {

// How a value is stored and what counts as a good read of it.
enum class TStoredKind {
    Text,   // a string; a missing value reads as empty text
    Flag,   // a 32-bit integer written as 1 or 0; any non-zero number reads as true
    Count,  // a 32-bit integer; a negative number leaves the control as it is
};

struct TStoredValue {
    QString Name;
    TStoredKind Kind;
    std::function<QVariant()> Current;           // the control's state as it is stored
    std::function<void(const QVariant&)> Apply;  // QString, bool or int by Kind
};

// The key "Tavrin/Tavrin Apple TV Converter" of the current user.
std::unique_ptr<QSettings> OpenSettingsKey();

class TSettingsStore {
public:
    // Values are read and written in the order given; extras come after them, outside the
    // rules of the values: a missing or unreadable extra is applied as an invalid QVariant
    // and never makes the store rewrite itself.
    TSettingsStore(std::vector<TStoredValue> values, std::vector<TStoredValue> extras);

    // Reads each value into its control. The first value that is missing or not of its
    // kind ends the reading of values, and then every value is written back from the
    // controls' current state, which repairs the stored data. False in that case.
    bool LoadSettings() const;
    // Writes every value and extra. A store that cannot be written is left silently.
    void SaveSettings() const;

private:
    std::vector<TStoredValue> values_;
    std::vector<TStoredValue> extras_;
};

}  // namespace tavrin
