#include "media/swf/swf_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <vector>

namespace brightline::swf {

struct VideoDecoder::State {
    AVCodecContext* context = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    std::vector<uint8_t> buffer;

    ~State() {
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&context);
    }
};

namespace {

AVCodecID codecId(int codec) {
    switch (codec) {
        case 2:
            return AV_CODEC_ID_FLV1;
        case 3:
            return AV_CODEC_ID_FLASHSV;
        case 4:
            return AV_CODEC_ID_VP6F;
        case 5:
            return AV_CODEC_ID_VP6A;
        case 6:
            return AV_CODEC_ID_FLASHSV2;
        default:
            return AV_CODEC_ID_NONE;
    }
}

std::string avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

std::string videoCodecName(int codec) {
    switch (codec) {
        case 2:
            return "Sorenson H.263";
        case 3:
            return "screen video";
        case 4:
            return "VP6";
        case 5:
            return "VP6 with alpha";
        case 6:
            return "screen video 2";
        default:
            return "codec " + std::to_string(codec);
    }
}

VideoDecoder::VideoDecoder() = default;
VideoDecoder::~VideoDecoder() = default;

bool VideoDecoder::open(const VideoStreamDefinition& stream, std::string& error) {
    state_.reset();
    image_ = Image();
    const AVCodecID id = codecId(stream.codec);
    const AVCodec* codec = id == AV_CODEC_ID_NONE ? nullptr : avcodec_find_decoder(id);
    if (!codec) {
        error = "no decoder for " + videoCodecName(stream.codec) + " video";
        return false;
    }
    auto state = std::make_unique<State>();
    state->context = avcodec_alloc_context3(codec);
    state->frame = av_frame_alloc();
    state->packet = av_packet_alloc();
    if (!state->context || !state->frame || !state->packet) {
        error = "could not allocate a video decoder";
        return false;
    }
    // The stream's size lets VP6 crop its 16-pixel blocks to the picture.
    state->context->width = stream.width;
    state->context->height = stream.height;
    state->context->thread_count = 1;
    // A damaged picture header may claim a huge picture: refuse it before it is allocated.
    state->context->max_pixels = kMaxBitmapPixels;
    const int rc = avcodec_open2(state->context, codec, nullptr);
    if (rc < 0) {
        error = "could not open the " + videoCodecName(stream.codec) + " decoder: " + avError(rc);
        return false;
    }
    state_ = std::move(state);
    return true;
}

bool VideoDecoder::decode(const uint8_t* data, size_t size, std::string& error) {
    if (!state_) {
        error = "the video stream has no decoder";
        return false;
    }
    State& s = *state_;
    s.buffer.assign(data, data + size);
    s.buffer.resize(size + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    av_packet_unref(s.packet);
    s.packet->data = s.buffer.data();
    s.packet->size = int(size);
    int rc = avcodec_send_packet(s.context, s.packet);
    s.packet->data = nullptr;
    s.packet->size = 0;
    if (rc < 0) {
        error = "video frame not decoded: " + avError(rc);
        return false;
    }
    bool got = false;
    while ((rc = avcodec_receive_frame(s.context, s.frame)) == 0) {
        const AVFrame* f = s.frame;
        if (f->width <= 0 || f->height <= 0 || int64_t(f->width) * f->height > kMaxBitmapPixels) {
            av_frame_unref(s.frame);
            continue;
        }
        s.scaler =
            sws_getCachedContext(s.scaler, f->width, f->height, AVPixelFormat(f->format), f->width,
                                 f->height, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
        if (!s.scaler) {
            av_frame_unref(s.frame);
            error = "video pixels cannot be converted";
            return false;
        }
        Image image;
        image.width = f->width;
        image.height = f->height;
        image.pixels.assign(size_t(f->width) * size_t(f->height), 0);
        uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(image.pixels.data()), nullptr, nullptr,
                              nullptr};
        int strides[4] = {f->width * 4, 0, 0, 0};
        sws_scale(s.scaler, f->data, f->linesize, 0, f->height, planes, strides);
        const bool alpha =
            (av_pix_fmt_desc_get(AVPixelFormat(f->format))->flags & AV_PIX_FMT_FLAG_ALPHA) != 0;
        for (uint32_t& p : image.pixels) {
            const uint32_t a = alpha ? p >> 24 : 255;
            if (a == 255) {
                p |= 0xFF000000u;
                continue;
            }
            const uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255,
                           b = (p & 0xFF) * a / 255;
            p = (a << 24) | (r << 16) | (g << 8) | b;
        }
        image_ = std::move(image);
        got = true;
        av_frame_unref(s.frame);
    }
    if (rc != AVERROR(EAGAIN) && rc != AVERROR_EOF && !got) {
        error = "video frame not decoded: " + avError(rc);
        return false;
    }
    return true;
}

}  // namespace brightline::swf
