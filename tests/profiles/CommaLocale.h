// Switches the process to a German locale, whose decimal separator is a comma, for the
// life of the object. When the machine has no such locale it is built with localedef into a
// private folder that LOCPATH points to.
#pragma once

#include <filesystem>
#include <string>

namespace tavrin::test {

class TCommaLocale {
public:
    TCommaLocale();
    ~TCommaLocale();
    TCommaLocale(const TCommaLocale&) = delete;
    TCommaLocale& operator=(const TCommaLocale&) = delete;

    bool Active() const { return FActive; }
    // Why the locale could not be switched on.
    const std::string& Reason() const { return FReason; }

private:
    bool TrySet();
    bool Generate();

    bool FActive = false;
    std::string FReason;
    std::string FOldLocale;
    std::filesystem::path FFolder;
};

}  // namespace tavrin::test
