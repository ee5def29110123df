// Bit rates per quality for every catalogue kind, in catalogue order. Profiles not offered
// use values from their own bit-rate lists so that each preset lands on an item.
#include "catalogue/Catalogue.h"
#include "catalogue/Quality.h"

#include <stdexcept>

namespace tavrin {

namespace {

constexpr TQualityRow kNone{{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
constexpr TQualityRow kMobile{{512, 256, 128, 96, 64}, {12200, 7950, 7400, 6700, 4750}};
constexpr TQualityRow kIPod{{1200, 800, 512, 256, 128}, {320, 192, 128, 96, 64}};
constexpr TQualityRow kIPodLarge{{2500, 1500, 1200, 800, 512}, {320, 192, 128, 96, 64}};
constexpr TQualityRow kAppleTV{{2500, 1500, 1200, 800, 512}, {256, 128, 64, 48, 32}};
constexpr TQualityRow kAppleTVH264Small{{1500, 1200, 800, 512, 256}, {256, 128, 64, 48, 32}};
constexpr TQualityRow kAppleTVH264{{2500, 2000, 1500, 1200, 800}, {256, 128, 64, 48, 32}};
constexpr TQualityRow kHandheld{{2500, 1500, 1200, 800, 512}, {256, 192, 128, 80, 64}};
constexpr TQualityRow kAVI{{2500, 1500, 1200, 512, 256}, {320, 192, 128, 64, 48}};
constexpr TQualityRow kMOV{{2500, 2000, 1200, 768, 512}, {256, 192, 128, 80, 64}};
constexpr TQualityRow kMP4{{2500, 1500, 1200, 768, 512}, {256, 192, 128, 80, 64}};
constexpr TQualityRow kMPEG{{2000, 1600, 1200, 1000, 768}, {224, 192, 128, 80, 64}};
constexpr TQualityRow kRM{{3000, 2600, 2200, 1800, 1200}, {256, 192, 128, 96, 64}};
constexpr TQualityRow kWMV{{2500, 2000, 1500, 1200, 768}, {256, 192, 128, 80, 48}};
constexpr TQualityRow kSWF{{800, 400, 200, 128, 100}, {160, 128, 96, 64, 48}};
constexpr TQualityRow kFLV{{1200, 512, 368, 200, 120}, {160, 128, 96, 64, 48}};
constexpr TQualityRow kVCD{{1150, 1150, 1150, 1150, 1150}, {224, 192, 160, 128, 96}};
constexpr TQualityRow kSVCD{{2040, 2040, 2040, 2040, 2040}, {224, 192, 160, 128, 96}};
constexpr TQualityRow kDVD{{6000, 6000, 6000, 6000, 6000}, {320, 256, 224, 192, 128}};
constexpr TQualityRow kASF{{3000, 2500, 1500, 1200, 768}, {256, 192, 128, 80, 64}};
constexpr TQualityRow kAAC{{0, 0, 0, 0, 0}, {256, 192, 128, 96, 48}};
constexpr TQualityRow kAudio{{0, 0, 0, 0, 0}, {256, 192, 128, 80, 64}};
constexpr TQualityRow kOGG{{0, 0, 0, 0, 0}, {256, 192, 160, 128, 96}};
constexpr TQualityRow kMP2{{0, 0, 0, 0, 0}, {320, 256, 224, 192, 128}};
constexpr TQualityRow kZune{{2000, 1500, 1200, 768, 512}, {192, 160, 128, 96, 64}};
constexpr TQualityRow kPSP{{768, 512, 384, 216, 128}, {160, 128, 96, 64, 48}};
constexpr TQualityRow kPS3{{3000, 2500, 2000, 1500, 1200}, {192, 160, 128, 96, 64}};
constexpr TQualityRow kPlayer{{2500, 2000, 1500, 1200, 800}, {192, 160, 128, 96, 64}};
constexpr TQualityRow kBlackBerryMPEG4{{512, 300, 256, 200, 128}, {112, 96, 80, 64, 48}};
constexpr TQualityRow kBlackBerryAVI{{512, 300, 256, 200, 120}, {128, 96, 80, 64, 48}};
constexpr TQualityRow kBlackBerry3GP{{512, 256, 128, 80, 40}, {12200, 7950, 7400, 5900, 4750}};
constexpr TQualityRow kBlackBerryAMR{{0, 0, 0, 0, 0}, {12200, 7950, 7400, 5900, 5150}};

constexpr std::array<const TQualityRow*, kProfileCount> kQualityRows{
    &kMobile,    &kMobile,     &kNone,       &kIPod,        &kIPodLarge,  // 0-4
    &kIPodLarge, &kIPodLarge,  &kAppleTVH264Small, &kAppleTVH264, &kAppleTVH264,  // 5-9
    &kAppleTV,   &kAppleTV,    &kAppleTV,    &kHandheld,    &kHandheld,   // 10-14
    &kHandheld,  &kNone,       &kNone,       &kHandheld,    &kHandheld,   // 15-19
    &kHandheld,  &kNone,       &kAVI,        &kAVI,         &kAVI,        // 20-24
    &kAVI,       &kMOV,        &kMP4,        &kMPEG,        &kMPEG,       // 25-29
    &kRM,        &kWMV,        &kSWF,        &kFLV,         &kVCD,        // 30-34
    &kSVCD,      &kDVD,        &kAAC,        &kASF,         &kAudio,      // 35-39
    &kAudio,     &kAudio,      &kOGG,        &kAudio,       &kAudio,      // 40-44
    &kAudio,     &kMP2,        &kNone,       &kNone,        &kZune,       // 45-49
    &kZune,      &kZune,       &kNone,       &kPSP,         &kPSP,        // 50-54
    &kPSP,       &kPSP,        &kNone,       &kPS3,         &kPS3,        // 55-59
    &kPS3,       &kPS3,        &kNone,       &kPlayer,      &kPlayer,     // 60-64
    &kPlayer,    &kPlayer,     &kBlackBerryMPEG4, &kBlackBerryAVI, &kBlackBerry3GP,  // 65-69
    &kBlackBerryAMR, &kMP4,    &kWMV,        &kAVI,         &kMPEG,       // 70-74
};

}  // namespace

const TQualityRow& QualityRow(int kind)
{
    if (kind < 0 || kind >= kProfileCount)
        throw std::out_of_range("no quality row for this profile kind");
    return *kQualityRows[static_cast<size_t>(kind)];
}

}  // namespace tavrin
