// The one entry point to the FFmpeg headers: engine code includes this, never <libav*/...>.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/display.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/time.h>
#include <libavutil/video_enc_params.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}
