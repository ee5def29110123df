#include "catalogue/SourceFilter.h"

#include "catalogue/SettingText.h"

#include <array>
#include <utility>
#include <vector>

namespace tavrin {

namespace {

using TFilterPair = std::pair<std::string_view, std::string_view>;

// Blanks inside the pattern lists are part of the text. The first entry ends with today's
// types (below); the entries after the Windows Media one name those types on their own.
constexpr std::array<TFilterPair, 32> kFilterPairs{{
    {"All Supported Files",
     "*.avi;*.mpeg;*.mpg;*.mpa;*.m1v;*.mv2;*.wma;*.wmv;*.asf;*.asx;*.mov; *.qt; *.m4v;*.3gp;"
     "*.3g2;*.mp3;*.mp2;*.ogg;*.aac;*.mp4;*.m4a;*.rm;*.rmvb;*.ram;*.ra;*.vob; *.dat;*.cda;"
     "*.dv; *.dif;*.wav; *.au; *.aiff;*.mjpg; *.mjpeg;*.ac3; *.gif; *.swf; *.flv;"
     // What cameras, phones and downloads make today, all read by the codec libraries.
     "*.mkv;*.mka;*.webm;*.ts;*.m2ts;*.mts;*.m2t;*.mod;*.tod;*.3gpp;*.amr;*.flac;*.opus;"
     "*.oga;*.m4b;*.f4v;*.aif;*.mxf"},
    {"3GPP Files (*.3gp)", "*.3gp"},
    {"3GPP2 Files (*.3g2)", "*.3g2"},
    {"AAC Files (*.aac)", "*.aac"},
    {"AC3 Files (*.ac3)", "*.ac3"},
    {"Audio CD Files (*.cda)", "*.cda"},
    {"AVI Files (*.avi)", "*.avi"},
    {"DV Video Files (*.dv, *.dif)", "*.dv;*.dif"},
    {"DVD VOB Files (*.vob)", "*.vob"},
    {"GIF Animated Files (*.gif)", "*.gif"},
    {"Macromedia Flash Files (*.flv, *.swf)", "*.flv; *.swf"},
    {"Monkey Audio Files (*.ape, *.cue)", "*.ape;*.cue"},
    {"MJpeg Video Files (*.mjpg, *.mjpeg)", "*.mjpg; *.mjpeg"},
    {"MP2 Files (*.mp2)", "*.mp2"},
    {"MP3 Files (*.mp3)", "*.mp3"},
    {"MPEG Files (*.mpeg, *.mpg, *.mpa, *.m1v, *.mv2)", "*.mpeg;*.mpg;*.mpa;*.m1v;*.mv2"},
    {"MPEG-4 Files (*.mp4)", "*.mp4"},
    {"MPEG-4 Audio Files (*.m4a, *.mp4)", "*.m4a; *.mp4"},
    {"Ogg Vorbis Files (*.ogg)", "*.ogg"},
    {"RealMedia Files (*.rm, *.rmvb, *.ram, *.ra)", "*.rm; *.rmvb; *.ram; *.ra"},
    {"QuickTime Files (*.mov, *.qt, *.m4v)", "*.mov; *.qt; *.m4v"},
    {"VCD DAT Files (*.dat)", "*.dat"},
    {"WAV Files (*.wav, *.au, *.aiff)", "*.wav; *.au; *.aiff"},
    {"Windows Media Files(*.wma, *.wmv, *.asf, *.asx)", "*.wma;*.wmv;*.asf;*.asx"},
    {"Matroska and WebM Files (*.mkv, *.mka, *.webm)", "*.mkv;*.mka;*.webm"},
    {"Camcorder and Broadcast Files (*.ts, *.m2ts, *.mts, *.m2t, *.mod, *.tod, *.mxf)",
     "*.ts;*.m2ts;*.mts;*.m2t;*.mod;*.tod;*.mxf"},
    {"Phone Files (*.mp4, *.m4v, *.mov, *.3gp, *.3gpp, *.amr)",
     "*.mp4;*.m4v;*.mov;*.3gp;*.3gpp;*.amr"},
    {"Flash F4V Files (*.f4v)", "*.f4v"},
    {"FLAC Files (*.flac)", "*.flac"},
    {"Opus and Ogg Audio Files (*.opus, *.oga, *.ogg)", "*.opus;*.oga;*.ogg"},
    {"More Audio Files (*.m4b, *.aif, *.aiff)", "*.m4b;*.aif;*.aiff"},
    {"All Files (*)", "*"},
}};

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string_view::npos;
         start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

// "*.flv; *.swf" -> "*.flv *.swf": Qt separates patterns by blanks.
std::string QtPatterns(std::string_view patterns)
{
    std::string joined;
    for (std::string_view pattern : Split(patterns, ';')) {
        pattern = TrimText(pattern);
        if (pattern.empty())
            continue;
        if (!joined.empty())
            joined += ' ';
        joined += pattern;
    }
    return joined;
}

// Qt reads the patterns from a trailing parenthesised group, so a description that already
// ends in one ("AVI Files (*.avi)") loses it and gets the real pattern list instead.
std::string_view DescriptionWithoutPatterns(std::string_view description)
{
    if (!description.empty() && description.back() == ')') {
        const size_t open = description.rfind('(');
        if (open != std::string_view::npos)
            description = description.substr(0, open);
    }
    return TrimText(description);
}

}  // namespace

std::string SourceFileFilter()
{
    std::string filter;
    for (const auto& [description, patterns] : kFilterPairs) {
        filter += description;
        filter += '|';
        filter += patterns;
        filter += '|';
    }
    return filter;
}

std::string ToQtFileDialogFilter(std::string_view filter)
{
    std::vector<std::string_view> parts = Split(filter, '|');
    std::string qtFilter;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (!qtFilter.empty())
            qtFilter += ";;";
        qtFilter += DescriptionWithoutPatterns(parts[i]);
        qtFilter += " (" + QtPatterns(parts[i + 1]) + ")";
    }
    return qtFilter;
}

}  // namespace tavrin
