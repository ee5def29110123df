#include "CommaLocale.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <unistd.h>

namespace tavrin::test {

namespace {

constexpr const char* kLocaleName = "de_DE.UTF-8";

}  // namespace

TCommaLocale::TCommaLocale()
{
    if (const char* current = std::setlocale(LC_ALL, nullptr))
        FOldLocale = current;
    FActive = TrySet() || (Generate() && TrySet());
    if (FActive) {
        // C++ streams follow the same locale.
        std::locale::global(std::locale(kLocaleName));
    } else if (FReason.empty()) {
        FReason = std::string(kLocaleName) + " is neither installed nor can it be built";
    }
}

TCommaLocale::~TCommaLocale()
{
    if (FActive) {
        std::locale::global(std::locale::classic());
        std::setlocale(LC_ALL, FOldLocale.c_str());
    }
    if (!FFolder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
        unsetenv("LOCPATH");
    }
}

bool TCommaLocale::TrySet()
{
    if (std::setlocale(LC_ALL, kLocaleName) == nullptr)
        return false;
    return std::localeconv()->decimal_point[0] == ',';
}

bool TCommaLocale::Generate()
{
    if (!std::filesystem::exists("/usr/share/i18n/locales/de_DE")) {
        FReason = "the locale sources of the 'locales' package are missing";
        return false;
    }
    char folder[] = "/tmp/tavrin-locale-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        FReason = "cannot make a folder for the locale";
        return false;
    }
    FFolder = folder;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + FFolder.string() + "/" +
                                kLocaleName + "' >/dev/null 2>&1";
    // localedef reports warnings with status 1 while still writing a usable locale.
    const int status = std::system(command.c_str());
    if (status == -1 || !std::filesystem::exists(FFolder / kLocaleName / "LC_NUMERIC")) {
        FReason = "localedef could not build " + std::string(kLocaleName);
        return false;
    }
    setenv("LOCPATH", FFolder.c_str(), 1);
    return true;
}

}  // namespace tavrin::test
