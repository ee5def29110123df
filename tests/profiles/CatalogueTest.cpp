// The catalogue, the offered list, caption lookups, extensions and the source-file filter.
#include "Catalogue.h"
#include "OutputFormat.h"
#include "ProfileTestControls.h"
#include "SourceFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tavrin {
namespace {

const std::string kSeparator = std::string(14, ' ') + std::string(41, '-');

const std::vector<std::string> kOfferedItems{
    "Apple TV (*.mp4)",
    kSeparator,
    "Apple TV H264 (1280 x 720) (*.mp4)",
    "Apple TV H264 (640 x 480) (*.mp4)",
    "Apple TV H264 (320 x 240) (*.mp4)",
    kSeparator,
    "iPhone (*.mp4)",
    "iPod (*.mp4)",
    "iPod Touch (*.mp4)",
    kSeparator,
    "3GP - Mobile Video Format (*.3gp)",
    "3G2 - Mobile Video Format (*.3g2)",
    "AVI - Audio Video Interleave (*.avi)",
    "AVI - DivX Video (*.avi)",
    "MPEG-1 Movie (*.mpg)",
    "MPEG-2 Movie (*.mpg)",
    "MOV - QuickTime Video (*.mov)",
    "MP4 - MPEG4 Video (*.mp4)",
    "WMV - Windows Media Video (*.wmv)",
    kSeparator,
    "AAC - Advance Audio Coding (*.aac)",
    "M4A - Mpeg4 Audio File (*.m4a)",
    "MP3 - Mpeg Layer3 Audio (*.mp3)",
    "WAV - Waveform Audio (*.wav)",
};

TEST(OutputFormatCombo, HoldsTheOfferedListWithTheFirstSelected)
{
    TMemoryCombo combo;
    combo.Add("left over");
    FillOutputFormatCombo(combo);
    EXPECT_EQ(combo.Items(), kOfferedItems);
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_EQ(combo.DropDownCount(), 24);
}

TEST(OutputFormatCombo, SeparatorIsRecognisedAndMatchesNoProfile)
{
    EXPECT_EQ(std::string(kSeparatorText), kSeparator);
    EXPECT_TRUE(IsSeparatorText(kSeparator));
    EXPECT_FALSE(IsSeparatorText("Apple TV (*.mp4)"));
    EXPECT_EQ(FindProfile(kSeparator), nullptr);
}

TEST(Catalogue, EveryOfferedItemFindsExactlyOneOfferedRecord)
{
    const auto catalogue = ProfileCatalogue();
    int offeredProfiles = 0;
    for (const std::string& item : kOfferedItems) {
        if (item == kSeparator)
            continue;
        ++offeredProfiles;
        const auto matches = std::count_if(catalogue.begin(), catalogue.end(),
                                           [&](const auto& r) { return r.Caption == item; });
        EXPECT_EQ(matches, 1) << item;
        const TProfileRecord* record = FindProfile(item);
        ASSERT_NE(record, nullptr) << item;
        EXPECT_TRUE(record->Offered) << item;
    }
    const auto offeredRecords =
        std::count_if(catalogue.begin(), catalogue.end(), [](const auto& r) { return r.Offered; });
    EXPECT_EQ(offeredRecords, offeredProfiles);
}

TEST(Catalogue, ReservedRowsKeepTheirKindButAreNeverFound)
{
    const auto catalogue = ProfileCatalogue();
    ASSERT_EQ(catalogue.size(), 75u);
    for (int kind : {2, 16, 17, 21, 47, 48, 52, 57, 62}) {
        const TProfileRecord& record = catalogue[static_cast<size_t>(kind)];
        EXPECT_TRUE(record.Reserved()) << kind;
        EXPECT_EQ(record.Kind, kind);
        EXPECT_FALSE(record.Offered);
        EXPECT_EQ(FindProfile(record.Caption), nullptr) << kind;
    }
    EXPECT_EQ(FindProfile(""), nullptr);
}

TEST(Catalogue, RowsNotOfferedAreReachableOnlyByTheirExactCaption)
{
    const TProfileRecord* amr = FindProfile("BlackBerry AMR Audio (*.amr)");
    ASSERT_NE(amr, nullptr);
    EXPECT_EQ(amr->Kind, 70);
    EXPECT_FALSE(amr->Offered);
    EXPECT_EQ(FindProfile("blackberry amr audio (*.amr)"), nullptr);
    EXPECT_EQ(FindProfile("BlackBerry AMR Audio (*.amr) "), nullptr);
    EXPECT_EQ(FindProfile("BlackBerry AMR Audio"), nullptr);
}

TEST(Catalogue, ExtensionFollowsTheKeyNotTheCaption)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"DVD - VOB (*.vob)", ".vob"},
        {"Video CD (*.mpg)", ".mpg"},
        {"BlackBerry AMR Audio (*.amr)", ".amr"},
        {"BlackBerry 3GP Video (*.3gp)", ".3gp"},
        {"3G2 - Mobile Video Format (*.3g2)", ".3g2"},
        {"iPod Touch (*.mp4)", ".mp4"},
        {"Xbox360 WMV Video (*.wmv)", ".wmv"},
    };
    for (const auto& [caption, extension] : cases) {
        const auto key = ProfileKeyOf(caption);
        ASSERT_TRUE(key.has_value()) << caption;
        EXPECT_EQ(OutputExtension(*key), extension) << caption;
    }
    EXPECT_FALSE(ProfileKeyOf(kSeparator).has_value());
}

TEST(ProfileChoice, RecordsTheKeyAndSeparatorsChangeNothing)
{
    test::TTestControls c;
    ASSERT_TRUE(c.Choose("MPEG-2 Movie (*.mpg)"));
    EXPECT_EQ(c.CurrentKey, "MPG");
    const auto bitrates = c.VideoBitrate.Items();
    const int selected = c.VideoBitrate.ItemIndex();
    for (int position : {1, 5, 9, 19}) {
        c.OutputFormat.SetItemIndex(position);
        EXPECT_FALSE(FillProfileControls(c.Controls, c.CurrentKey)) << position;
    }
    EXPECT_EQ(c.CurrentKey, "MPG");
    EXPECT_EQ(c.VideoBitrate.Items(), bitrates);
    EXPECT_EQ(c.VideoBitrate.ItemIndex(), selected);
    EXPECT_EQ(c.VideoCodec.Text(), "MPEG2VIDEO");
}

// The filter split into its description and pattern-list pairs.
std::vector<std::pair<std::string, std::string>> FilterPairs(const std::string& filter)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t at = 0;
    while (at < filter.size()) {
        const size_t bar = filter.find('|', at);
        const size_t end = filter.find('|', bar + 1);
        pairs.emplace_back(filter.substr(at, bar - at), filter.substr(bar + 1, end - bar - 1));
        at = end + 1;
    }
    return pairs;
}

TEST(SourceFilter, KeepsTheClassicEntriesCharacterForCharacter)
{
    const std::string classicAllSupported =
        "All Supported Files|*.avi;*.mpeg;*.mpg;*.mpa;*.m1v;*.mv2;*.wma;*.wmv;*.asf;*.asx;"
        "*.mov; *.qt; *.m4v;*.3gp;*.3g2;*.mp3;*.mp2;*.ogg;*.aac;*.mp4;*.m4a;*.rm;*.rmvb;*.ram;"
        "*.ra;*.vob; *.dat;*.cda;*.dv; *.dif;*.wav; *.au; *.aiff;*.mjpg; *.mjpeg;*.ac3; *.gif;"
        " *.swf; *.flv";
    const std::string classicEntries =
        "3GPP Files (*.3gp)|*.3gp|"
        "3GPP2 Files (*.3g2)|*.3g2|"
        "AAC Files (*.aac)|*.aac|"
        "AC3 Files (*.ac3)|*.ac3|"
        "Audio CD Files (*.cda)|*.cda|"
        "AVI Files (*.avi)|*.avi|"
        "DV Video Files (*.dv, *.dif)|*.dv;*.dif|"
        "DVD VOB Files (*.vob)|*.vob|"
        "GIF Animated Files (*.gif)|*.gif|"
        "Macromedia Flash Files (*.flv, *.swf)|*.flv; *.swf|"
        "Monkey Audio Files (*.ape, *.cue)|*.ape;*.cue|"
        "MJpeg Video Files (*.mjpg, *.mjpeg)|*.mjpg; *.mjpeg|"
        "MP2 Files (*.mp2)|*.mp2|"
        "MP3 Files (*.mp3)|*.mp3|"
        "MPEG Files (*.mpeg, *.mpg, *.mpa, *.m1v, *.mv2)|*.mpeg;*.mpg;*.mpa;*.m1v;*.mv2|"
        "MPEG-4 Files (*.mp4)|*.mp4|"
        "MPEG-4 Audio Files (*.m4a, *.mp4)|*.m4a; *.mp4|"
        "Ogg Vorbis Files (*.ogg)|*.ogg|"
        "RealMedia Files (*.rm, *.rmvb, *.ram, *.ra)|*.rm; *.rmvb; *.ram; *.ra|"
        "QuickTime Files (*.mov, *.qt, *.m4v)|*.mov; *.qt; *.m4v|"
        "VCD DAT Files (*.dat)|*.dat|"
        "WAV Files (*.wav, *.au, *.aiff)|*.wav; *.au; *.aiff|"
        "Windows Media Files(*.wma, *.wmv, *.asf, *.asx)|*.wma;*.wmv;*.asf;*.asx|";
    const std::string filter = SourceFileFilter();
    // The first list grows at its end only; the classic entries follow it unchanged.
    ASSERT_EQ(filter.rfind(classicAllSupported + ";", 0), 0u) << filter;
    EXPECT_NE(filter.find("|" + classicEntries), std::string::npos);
    const std::string last = "|All Files (*)|*|";
    EXPECT_EQ(filter.substr(filter.size() - last.size()), last);
}

TEST(SourceFilter, TodaysTypesAreSupportedAndHaveAnEntryOfTheirOwn)
{
    const auto pairs = FilterPairs(SourceFileFilter());
    ASSERT_EQ(pairs.size(), 32u);
    const std::string& allSupported = pairs.front().second;
    for (const char* type : {"mkv", "webm", "ts", "m2ts", "mts", "flac", "opus", "m4v", "mka",
                             "m2t", "mod", "tod", "3gpp", "amr", "oga", "m4b", "f4v", "aif", "mxf"}) {
        const std::string pattern = std::string("*.") + type;
        EXPECT_NE((allSupported + ";").find(pattern + ";"), std::string::npos) << type;
        int entries = 0;
        for (size_t i = 1; i + 1 < pairs.size(); ++i)
            entries += (pairs[i].second + ";").find(pattern + ";") != std::string::npos;
        EXPECT_GE(entries, 1) << type << " has no entry besides \"All Supported Files\"";
    }
    // Every type the added entries name is among the supported ones, so a dropped folder
    // takes it.
    constexpr size_t kClassicEntries = 24;
    for (size_t i = kClassicEntries; i + 1 < pairs.size(); ++i) {
        std::string patterns = pairs[i].second + ";";
        for (size_t at = 0, end; (end = patterns.find(';', at)) != std::string::npos; at = end + 1) {
            std::string pattern = patterns.substr(at, end - at);
            pattern.erase(0, pattern.find_first_not_of(' '));
            EXPECT_NE((allSupported + ";").find(pattern + ";"), std::string::npos)
                << pattern << " of " << pairs[i].first;
        }
    }
}

TEST(SourceFilter, QtFormHasOneEntryPerPairWithBlankSeparatedPatterns)
{
    const std::string qt = ToQtFileDialogFilter(SourceFileFilter());
    EXPECT_EQ(qt.rfind("All Supported Files (*.avi *.mpeg *.mpg *.mpa ", 0), 0u) << qt;
    EXPECT_NE(qt.find(" *.mov *.qt *.m4v *.3gp "), std::string::npos);
    EXPECT_NE(qt.find("*.gif *.swf *.flv *.mkv "), std::string::npos);
    EXPECT_NE(qt.find(" *.aif *.mxf);;3GPP Files (*.3gp);;3GPP2 Files (*.3g2);;"), std::string::npos);
    EXPECT_NE(qt.find(";;DV Video Files (*.dv *.dif);;"), std::string::npos);
    EXPECT_NE(qt.find(";;Macromedia Flash Files (*.flv *.swf);;"), std::string::npos);
    EXPECT_NE(qt.find(";;Windows Media Files (*.wma *.wmv *.asf *.asx);;"), std::string::npos);
    const std::string tail = ";;All Files (*)";
    EXPECT_EQ(qt.substr(qt.size() - tail.size()), tail);

    size_t entries = 1;
    for (size_t at = qt.find(";;"); at != std::string::npos; at = qt.find(";;", at + 2))
        ++entries;
    EXPECT_EQ(entries, 32u);
}

TEST(SourceFilter, QtFormOfASmallFilter)
{
    EXPECT_EQ(ToQtFileDialogFilter("Clips|*.a; *.b;|Plain (*.c)|*.c|"),
              "Clips (*.a *.b);;Plain (*.c)");
    EXPECT_EQ(ToQtFileDialogFilter(""), "");
}

}  // namespace
}  // namespace tavrin
