#include "catalogue/SettingText.h"

#include <algorithm>
#include <charconv>

namespace tavrin {

std::string NumberBeforeBlank(std::string_view text)
{
    const size_t blank = text.find(' ');
    return blank == std::string_view::npos ? std::string() : std::string(text.substr(0, blank));
}

int32_t SettingInteger(std::string_view number)
{
    int32_t value = 0;
    const char* first = number.data();
    const char* last = first + number.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (number.empty() || error != std::errc() || end != last)
        throw ESettingTextError("'" + std::string(number) + "' is not a valid integer value");
    return value;
}

std::optional<double> RealNumber(std::string_view text)
{
    text = TrimText(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string DecimalText(double value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return lower;
}

std::string_view TrimText(std::string_view text)
{
    const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

std::string NormalizeFrameSize(std::string_view text)
{
    text = text.substr(0, text.find('('));
    if (text == "Original Video Size")
        return "original";
    std::string size(text);
    std::erase(size, ' ');
    return size;
}

std::string FrameRateText(const TCombo& frameRateCombo)
{
    const std::string text = frameRateCombo.Text();
    if (LowerCase(TrimText(text)) == "auto")
        return "25";
    return NumberBeforeBlank(text);
}

}  // namespace tavrin
