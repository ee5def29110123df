// Every item a profile offers converts: for each offered profile, each item of its codec,
// size, frame-rate, sample-rate and channel combos (and the first and last bit rates), one
// at a time with the others at their defaults, turns a tiny clip into a file with the
// chosen value, or with the nearest value the encoder takes and one log line saying so.
#include "DeviceTestSupport.h"
#include "Catalogue.h"
#include "EncoderValues.h"
#include "MediaInfo.h"
#include "SettingText.h"

#include <cstdlib>
#include <filesystem>
#include <set>

namespace tavrin::test {
namespace {

struct WalkStep {
    const char* Combo;
    TCombo* Box;
    int Item;
};

std::vector<std::string> OfferedCaptions()
{
    std::vector<std::string> captions;
    for (int position = 0; position < kOfferedItemCount; ++position)
        if (const TProfileRecord* record = FindProfile(OfferedItem(position)))
            captions.emplace_back(record->Caption);
    return captions;
}

int Number(const std::string& text)
{
    return std::atoi(NumberBeforeBlank(text).c_str());
}

class SettingWalk : public DeviceJobTest, public ::testing::WithParamInterface<std::string> {
protected:
    TMemoryProfileControls& S() { return Window.Settings; }

    std::vector<WalkStep> Steps()
    {
        Choose(GetParam());
        std::vector<WalkStep> steps{{"defaults", nullptr, -1}};
        const std::pair<const char*, TCombo*> every[] = {
            {"video codec", &S().VideoCodec}, {"audio codec", &S().AudioCodec},
            {"size", &S().VideoSize},         {"frame rate", &S().FrameRate},
            {"sample rate", &S().SampleRate}, {"channels", &S().Channels}};
        for (const auto& [name, box] : every)
            if (box->Enabled())
                for (int i = 0; i < box->Count(); ++i)
                    if (i != box->ItemIndex())
                        steps.push_back({name, box, i});
        for (const auto& [name, box] : {std::pair<const char*, TCombo*>{"video bit rate", &S().VideoBitrate},
                                        {"audio bit rate", &S().AudioBitrate}})
            for (const int i : std::set<int>{0, box->Count() - 1})
                if (box->Count() > 0 && i != box->ItemIndex())
                    steps.push_back({name, box, i});
        return steps;
    }

    // The picture the output should have: the record's size plus its bars, or the source's.
    TFrameSize ExpectedFrame(const TOutputOptions& o)
    {
        const TFrameSize size = ParseFrameSize(o.FrameSize).value_or(TFrameSize{160, 120});
        return {size.Width + std::max(o.PadLeft, 0) + std::max(o.PadRight, 0),
                size.Height + std::max(o.PadTop, 0) + std::max(o.PadBottom, 0)};
    }

    void CheckChangedValueIsNoted(const WalkStep& step, const std::string& itemText)
    {
        const TOutputOptions& o = Builder.OutputOptions();
        const std::vector<std::string>& notes = Builder.LastJob().Notes;
        const std::string combo = step.Combo;
        std::string mention;
        if (combo == "sample rate" && o.AudioSampleRate != Number(itemText))
            mention = "Sample rate " + NumberBeforeBlank(itemText) + " Hz is not possible";
        if (combo == "frame rate" && Contains(o.FrameRate, "/"))
            mention = "Frame rate " + FpsText(std::atof(itemText.c_str())) + " fps is not possible";
        if (mention.empty())
            return;
        int count = 0;
        for (const std::string& note : notes)
            count += note.find(mention) != std::string::npos;
        EXPECT_EQ(count, 1) << "one log line for " << itemText;
    }

    void Convert(const WalkStep& step)
    {
        Choose(GetParam());
        std::string itemText = "default";
        if (step.Box) {
            step.Box->SetItemIndex(step.Item);
            itemText = step.Box->Text();
        }
        SCOPED_TRACE(std::string(step.Combo) + " \"" + itemText + "\"");
        ASSERT_EQ(ConvertClip("walk.avi"), "Done") << Builder.LastJob().FailText;
        const TOutputOptions& o = Builder.OutputOptions();
        const std::string path = OutputPath();
        const MediaInfo info = ProbeMedia(path);
        ASSERT_TRUE(info.ok);
        if (!o.DisableVideo) {
            const Fields* video = info.First("video");
            ASSERT_NE(video, nullptr);
            const TFrameSize frame = ExpectedFrame(o);
            EXPECT_EQ(video->at("width"), std::to_string(frame.Width));
            EXPECT_EQ(video->at("height"), std::to_string(frame.Height));
        } else {
            EXPECT_EQ(info.Count("video"), 0);
        }
        const Fields* audio = info.First("audio");
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->at("sample_rate"), std::to_string(o.AudioSampleRate));
        if (o.AudioChannels > 0) {
            EXPECT_EQ(audio->at("channels"), std::to_string(o.AudioChannels));
        }
        if (step.Box)
            CheckChangedValueIsNoted(step, itemText);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

TEST_P(SettingWalk, EveryItemConverts)
{
    for (const WalkStep& step : Steps())
        Convert(step);
}

// H.263 takes only its standard picture sizes; every size the mobile profiles offer still
// converts with it, at the nearest standard size.
using MobileH263 = DeviceJobTest;

TEST_F(MobileH263, EverySizeConvertsAtTheNearestStandardSize)
{
    for (const char* caption : {"3GP - Mobile Video Format (*.3gp)", "3G2 - Mobile Video Format (*.3g2)"}) {
        Choose(caption);
        for (int i = 0; i < Window.Settings.VideoSize.Count(); ++i) {
            Choose(caption);
            Window.Settings.VideoCodec.SetItemIndex(1);
            ASSERT_EQ(Window.Settings.VideoCodec.Text(), "H263");
            Window.Settings.VideoSize.SetItemIndex(i);
            const std::string item = Window.Settings.VideoSize.Text();
            ASSERT_EQ(ConvertClip("walk.avi"), "Done") << item << ": " << Builder.LastJob().FailText;
            const MediaInfo info = ProbeMedia(OutputPath());
            const Fields* video = info.First("video");
            ASSERT_NE(video, nullptr);
            const std::string size = video->at("width") + "x" + video->at("height");
            EXPECT_TRUE(size == "128x96" || size == "176x144" || size == "352x288") << item << " gave " << size;
            const size_t notes = Builder.LastJob().Notes.size();
            EXPECT_EQ(notes, size == NormalizeFrameSize(item) ? 0u : 1u) << item;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Offered, SettingWalk, ::testing::ValuesIn(OfferedCaptions()),
                         [](const auto& info) {
                             std::string name;
                             for (char c : info.param.substr(0, info.param.find("(*.")))
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name;
                         });

}  // namespace
}  // namespace tavrin::test
