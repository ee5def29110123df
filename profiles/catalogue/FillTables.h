// The settings table of every profile family member. The catalogue points each kind at one
// of these; kinds that behave alike share a table.
#pragma once

#include "catalogue/ProfileSettings.h"

namespace tavrin {

// Apple devices.
extern const TProfileSettings kFillIPodNormal;
extern const TProfileSettings kFillIPodExtra;
extern const TProfileSettings kFillIPodWideScreen;
extern const TProfileSettings kFillAppleTVH264_320x240;
extern const TProfileSettings kFillAppleTVH264_640x480;
extern const TProfileSettings kFillAppleTVH264_1280x720;
extern const TProfileSettings kFillAppleTVGood;
extern const TProfileSettings kFillAppleTVNormal;
extern const TProfileSettings kFillIPodTouchNormal;
extern const TProfileSettings kFillIPodTouchExtra;
extern const TProfileSettings kFillIPodTouchWideScreen;
extern const TProfileSettings kFillIPhone480x320;
extern const TProfileSettings kFillIPhone640x480;
extern const TProfileSettings kFillIPhone720x480;

// Video containers.
extern const TProfileSettings kFill3GP;
extern const TProfileSettings kFillAVINormal;
extern const TProfileSettings kFillAVIDivX;
extern const TProfileSettings kFillAVIXviD;
extern const TProfileSettings kFillAVIUncompress;
extern const TProfileSettings kFillMOV;
extern const TProfileSettings kFillMP4;
extern const TProfileSettings kFillMPEG1;
extern const TProfileSettings kFillMPEG2;
extern const TProfileSettings kFillWMV;
extern const TProfileSettings kFillRM;
extern const TProfileSettings kFillASF;

// Flash and disc formats.
extern const TProfileSettings kFillSWF;
extern const TProfileSettings kFillFLV;
extern const TProfileSettings kFillVCD;
extern const TProfileSettings kFillSVCD;
extern const TProfileSettings kFillDVD;

// Audio only.
extern const TProfileSettings kFillAAC;
extern const TProfileSettings kFillAU;
extern const TProfileSettings kFillM4A;
extern const TProfileSettings kFillMP3;
extern const TProfileSettings kFillMP2;
extern const TProfileSettings kFillOGG;
extern const TProfileSettings kFillRA;
extern const TProfileSettings kFillWAV;
extern const TProfileSettings kFillWMA;

// Other players.
extern const TProfileSettings kFillZuneMPEG4;
extern const TProfileSettings kFillZuneWMV;
extern const TProfileSettings kFillZuneAVC;
extern const TProfileSettings kFillPSPGood;
extern const TProfileSettings kFillPSPNormal;
extern const TProfileSettings kFillPSPSmall;
extern const TProfileSettings kFillPS3_480P;
extern const TProfileSettings kFillPS3_720P;
extern const TProfileSettings kFillPS3_1080P;
extern const TProfileSettings kFillArchosAV500;
extern const TProfileSettings kFillArchosAV700;
extern const TProfileSettings kFillPlayer640x480;
extern const TProfileSettings kFillBlackBerryMPEG4;
extern const TProfileSettings kFillBlackBerryAVI;
extern const TProfileSettings kFillBlackBerry3GP;
extern const TProfileSettings kFillBlackBerryAMR;

}  // namespace tavrin
