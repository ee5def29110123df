#include "binding/SourceQuality.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tavrin {
namespace {

// Decoders of the MPEG family and H.264 describe their quantisers on a scale we can map to
// the MPEG quantiser; VP9's quantiser index has no such mapping and is left out.
constexpr AVCodecID kExporting[] = {
    AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG4,     AV_CODEC_ID_H263,
    AV_CODEC_ID_H263P,      AV_CODEC_ID_H263I,      AV_CODEC_ID_FLV1,      AV_CODEC_ID_MSMPEG4V1,
    AV_CODEC_ID_MSMPEG4V2,  AV_CODEC_ID_MSMPEG4V3,  AV_CODEC_ID_WMV1,      AV_CODEC_ID_WMV2,
    AV_CODEC_ID_RV10,       AV_CODEC_ID_RV20,       AV_CODEC_ID_H264,
};

// Mean quantiser over the picture's blocks, on the codec's own scale.
double MeanQp(const AVVideoEncParams* par) {
    if (par->nb_blocks == 0)
        return par->qp;
    double sum = 0;
    for (unsigned i = 0; i < par->nb_blocks; ++i)
        sum += par->qp + av_video_enc_params_block(const_cast<AVVideoEncParams*>(par), i)->delta_qp;
    return sum / par->nb_blocks;
}

float EncParamsQuality(const AVFrame* f) {
    const AVFrameSideData* sd = av_frame_get_side_data(f, AV_FRAME_DATA_VIDEO_ENC_PARAMS);
    if (!sd)
        return 0;
    const auto* par = reinterpret_cast<const AVVideoEncParams*>(sd->data);
    double qscale = 0;
    if (par->type == AV_VIDEO_ENC_PARAMS_MPEG2)  // MPEG-2's quantiser scale, twice the MPEG-1/4 quantiser
        qscale = MeanQp(par) / 2;
    else if (par->type == AV_VIDEO_ENC_PARAMS_H264)  // QP 12 is about MPEG quantiser 0.85, doubling every 6
        qscale = 0.85 * std::pow(2.0, (MeanQp(par) - 12.0) / 6.0);
    if (!(qscale > 0))
        return 0;
    return static_cast<float>(std::clamp(qscale, 1.0, 31.0) * FF_QP2LAMBDA);
}

float PacketQuality(const AVPacket* pkt) {
    size_t size = 0;
    const uint8_t* sd = pkt ? av_packet_get_side_data(pkt, AV_PKT_DATA_QUALITY_STATS, &size) : nullptr;
    if (!sd || size < 4)
        return 0;
    const uint32_t quality = sd[0] | sd[1] << 8 | sd[2] << 16 | static_cast<uint32_t>(sd[3]) << 24;  // little-endian
    return quality > 0 && quality <= FF_LAMBDA_MAX ? static_cast<float>(quality) : 0;
}

}  // namespace

bool DecoderExportsQuantisers(int codecId) {
    return std::find(std::begin(kExporting), std::end(kExporting), codecId) != std::end(kExporting);
}

void RequestQuantisers(AVCodecContext* dec) {
    if (dec)
        dec->export_side_data |= AV_CODEC_EXPORT_DATA_VIDEO_ENC_PARAMS;
}

float PictureQuality(const AVFrame* f, const AVPacket* pkt) {
    if (const float q = EncParamsQuality(f); q > 0)
        return q;
    if (const float q = PacketQuality(pkt); q > 0)
        return q;
    return f->quality > 0 ? static_cast<float>(f->quality) : 0;
}

}  // namespace tavrin
