#include "catalogue/Catalogue.h"

#include "catalogue/FillTables.h"
#include "catalogue/SettingText.h"

#include <array>

namespace tavrin {

namespace {

// Caption, key, kind, settings table, output-settings routine, offered. The kind is the
// position; reserved rows keep their place so that kinds stay stable.
constexpr std::array<TProfileRecord, kProfileCount> kCatalogue{{
    {"3GP - Mobile Video Format (*.3gp)", "3GP", 0, &kFill3GP, Map3GPSettings, true},
    {"3G2 - Mobile Video Format (*.3g2)", "3G2", 1, &kFill3GP, Map3GPSettings, true},
    {"", "MP4", 2, nullptr, nullptr, false},  // reserved
    {"iPod (*.mp4)", "MP4", 3, &kFillIPodNormal, MapAppleSettings, true},
    {"iPod Extra (640 x 480) (*.mp4)", "MP4", 4, &kFillIPodExtra, MapAppleSettings, false},
    {"iPod Wide Screen (*.mp4)", "MP4", 5, &kFillIPodWideScreen, MapAppleSettings, false},
    {"iPod Video For TV (*.mp4)", "MP4", 6, &kFillIPodExtra, MapAppleSettings, false},
    {"Apple TV H264 (320 x 240) (*.mp4)", "MP4", 7, &kFillAppleTVH264_320x240, MapAppleSettings, true},
    {"Apple TV H264 (640 x 480) (*.mp4)", "MP4", 8, &kFillAppleTVH264_640x480, MapAppleSettings, true},
    {"Apple TV H264 (1280 x 720) (*.mp4)", "MP4", 9, &kFillAppleTVH264_1280x720, MapAppleSettings, true},
    {"Apple TV (*.mp4)", "MP4", 10, &kFillAppleTVGood, MapAppleSettings, true},
    {"Apple TV (Normal Quality) (*.mp4)", "MP4", 11, &kFillAppleTVNormal, MapAppleSettings, false},
    {"Apple TV (High Quality) (*.mp4)", "MP4", 12, &kFillAppleTVGood, MapAppleSettings, false},
    {"iPod Touch (*.mp4)", "MP4", 13, &kFillIPodTouchNormal, MapAppleSettings, true},
    {"iPod Touch Extra (640 x 480) (*.mp4)", "MP4", 14, &kFillIPodTouchExtra, MapAppleSettings, false},
    {"iPod Touch Wide Screen (*.mp4)", "MP4", 15, &kFillIPodTouchWideScreen, MapAppleSettings, false},
    {"", "MP4", 16, nullptr, nullptr, false},  // reserved
    {"", "MP4", 17, nullptr, nullptr, false},  // reserved
    {"iPhone (*.mp4)", "MP4", 18, &kFillIPhone480x320, MapCommonSettings, true},
    {"iPhone Extra (640 x 480) (*.mp4)", "MP4", 19, &kFillIPhone640x480, MapCommonSettings, false},
    {"iPhone Wide Screen (*.mp4)", "MP4", 20, &kFillIPhone720x480, MapCommonSettings, false},
    {"", "MP4", 21, nullptr, nullptr, false},  // reserved
    {"AVI - Audio Video Interleave (*.avi)", "AVI", 22, &kFillAVINormal, MapCommonSettings, true},
    {"AVI - DivX Video (*.avi)", "AVI", 23, &kFillAVIDivX, MapCommonSettings, true},
    {"AVI - XviD Video (*.avi)", "AVI", 24, &kFillAVIXviD, MapCommonSettings, false},
    {"AVI - Uncompress (*.avi)", "AVI", 25, &kFillAVIUncompress, MapCommonSettings, false},
    {"MOV - QuickTime Video (*.mov)", "MOV", 26, &kFillMOV, MapCommonSettings, true},
    {"MP4 - MPEG4 Video (*.mp4)", "MP4", 27, &kFillMP4, MapCommonSettings, true},
    {"MPEG-1 Movie (*.mpg)", "MPG", 28, &kFillMPEG1, MapCommonSettings, true},
    {"MPEG-2 Movie (*.mpg)", "MPG", 29, &kFillMPEG2, MapCommonSettings, true},
    {"RM - Real Video (*.rm)", "RM", 30, &kFillRM, MapCommonSettings, false},
    {"WMV - Windows Media Video (*.wmv)", "WMV", 31, &kFillWMV, MapCommonSettings, true},
    {"SWF - Flash Swf Video (*.swf)", "SWF", 32, &kFillSWF, MapCommonSettings, false},
    {"FLV - Flash Flv Video (*.flv)", "FLV", 33, &kFillFLV, MapCommonSettings, false},
    {"Video CD (*.mpg)", "MPG", 34, &kFillVCD, MapCommonSettings, false},
    {"Super Video CD (*.mpg)", "MPG", 35, &kFillSVCD, MapCommonSettings, false},
    {"DVD - VOB (*.vob)", "VOB", 36, &kFillDVD, MapCommonSettings, false},
    {"AAC - Advance Audio Coding (*.aac)", "AAC", 37, &kFillAAC, MapCommonSettings, true},
    {"ASF - Advance Streaming Format (*.asf)", "ASF", 38, &kFillASF, MapCommonSettings, false},
    {"AU - SUN Audio (*.au)", "AU", 39, &kFillAU, MapCommonSettings, false},
    {"M4A - Mpeg4 Audio File (*.m4a)", "M4A", 40, &kFillM4A, MapCommonSettings, true},
    {"MP3 - Mpeg Layer3 Audio (*.mp3)", "MP3", 41, &kFillMP3, MapCommonSettings, true},
    {"OGG - Ogg Vorbis Audio (*.ogg)", "OGG", 42, &kFillOGG, MapCommonSettings, false},
    {"RA - Real Audio (*.ra)", "RA", 43, &kFillRA, MapCommonSettings, false},
    {"WAV - Waveform Audio (*.wav)", "WAV", 44, &kFillWAV, MapCommonSettings, true},
    {"WMA - Windows Media Audio (*.wma)", "WMA", 45, &kFillWMA, MapCommonSettings, false},
    {"MP2 - Mpeg Layer2 Audio (*.mp2)", "MP2", 46, &kFillMP2, MapCommonSettings, false},
    {"", "MP4", 47, nullptr, nullptr, false},  // reserved
    {"", "MP4", 48, nullptr, nullptr, false},  // reserved
    {"Zune Mpeg4 Video (*.mp4)", "MP4", 49, &kFillZuneMPEG4, MapCommonSettings, false},
    {"Zune WMV Windows Media Video (*.wmv)", "WMV", 50, &kFillZuneWMV, MapCommonSettings, false},
    {"Zune Mpeg4 AVC Video (*.mp4)", "MP4", 51, &kFillZuneAVC, MapCommonSettings, false},
    {"", "MP4", 52, nullptr, nullptr, false},  // reserved
    {"PSP Video (*.mp4)", "MP4", 53, &kFillPSPGood, MapCommonSettings, false},
    {"PSP Video - Good Quality (*.mp4)", "MP4", 54, &kFillPSPGood, MapCommonSettings, false},
    {"PSP Video - Normal Quality (*.mp4)", "MP4", 55, &kFillPSPNormal, MapCommonSettings, false},
    {"PSP Video - Small File Size (*.mp4)", "MP4", 56, &kFillPSPSmall, MapCommonSettings, false},
    {"", "MP4", 57, nullptr, nullptr, false},  // reserved
    {"PS3 Video (*.mp4)", "MP4", 58, &kFillPS3_480P, MapCommonSettings, false},
    {"PS3 Video(480P) (*.mp4)", "MP4", 59, &kFillPS3_480P, MapCommonSettings, false},
    {"PS3 Video(720P) (*.mp4)", "MP4", 60, &kFillPS3_720P, MapCommonSettings, false},
    {"PS3 Video(1080P) (*.mp4)", "MP4", 61, &kFillPS3_1080P, MapCommonSettings, false},
    {"", "MP4", 62, nullptr, nullptr, false},  // reserved
    {"Archos AV500/GMini402 (*.avi)", "AVI", 63, &kFillArchosAV500, MapCommonSettings, false},
    {"Archos AV700 (*.avi)", "AVI", 64, &kFillArchosAV700, MapCommonSettings, false},
    {"Creative Zen Vision (*.avi)", "AVI", 65, &kFillPlayer640x480, MapCommonSettings, false},
    {"iRiver PMP100 (*.avi)", "AVI", 66, &kFillPlayer640x480, MapCommonSettings, false},
    {"BlackBerry MPEG-4 Video (*.mp4)", "MP4", 67, &kFillBlackBerryMPEG4, MapCommonSettings, false},
    {"BlackBerry AVI Video (*.avi)", "AVI", 68, &kFillBlackBerryAVI, MapCommonSettings, false},
    {"BlackBerry 3GP Video (*.3gp)", "3GP", 69, &kFillBlackBerry3GP, MapCommonSettings, false},
    {"BlackBerry AMR Audio (*.amr)", "AMR", 70, &kFillBlackBerryAMR, MapCommonSettings, false},
    {"Xbox360 MPEG4 Video (*.mp4)", "MP4", 71, &kFillMP4, MapCommonSettings, false},
    {"Xbox360 WMV Video (*.wmv)", "WMV", 72, &kFillWMV, MapCommonSettings, false},
    {"Xbox360 AVI Video (*.avi)", "AVI", 73, &kFillAVINormal, MapCommonSettings, false},
    {"Xbox360 MPEG2 Video (*.mpg)", "MPG", 74, &kFillMPEG2, MapCommonSettings, false},
}};

// Catalogue kinds in output-format combo order; -1 is a separator.
constexpr std::array<int, kOfferedItemCount> kOfferedKinds{
    10, -1, 9, 8, 7, -1, 18, 3, 13, -1, 0, 1, 22, 23, 28, 29, 26, 27, 31, -1, 37, 40, 41, 44};

constexpr bool KindsArePositions()
{
    for (size_t i = 0; i < kCatalogue.size(); ++i)
        if (kCatalogue[i].Kind != static_cast<int>(i))
            return false;
    return true;
}
static_assert(KindsArePositions());

}  // namespace

std::span<const TProfileRecord> ProfileCatalogue()
{
    return kCatalogue;
}

const TProfileRecord* FindProfile(std::string_view caption)
{
    for (const TProfileRecord& record : kCatalogue)
        if (!record.Reserved() && record.Caption == caption)
            return &record;
    return nullptr;
}

std::optional<std::string_view> ProfileKeyOf(std::string_view caption)
{
    const TProfileRecord* record = FindProfile(caption);
    if (record == nullptr)
        return std::nullopt;
    return record->Key;
}

std::string OutputExtension(std::string_view key)
{
    return "." + LowerCase(key);
}

std::string_view OfferedItem(int position)
{
    const int kind = kOfferedKinds.at(static_cast<size_t>(position));
    return kind < 0 ? kSeparatorText : kCatalogue[static_cast<size_t>(kind)].Caption;
}

bool IsSeparatorText(std::string_view text)
{
    return Contains(text, "              ----");
}

}  // namespace tavrin
