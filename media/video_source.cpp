#include "media/video_source.h"

#include <cmath>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/paths.h"
#include "media/bmp_picture.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace brightline::media {

int VideoInfo::wholeFramesPerSecond() const {
    return rateDenominator > 0 ? rateNumerator / rateDenominator : 0;
}

int VideoInfo::roundedFramesPerSecond() const {
    return rateDenominator > 0 ? int(std::lround(double(rateNumerator) / rateDenominator)) : 0;
}

struct VideoSource::State {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    SwsContext* sws = nullptr;
    int stream = -1;
    bool inputDone = false;
    bool flushed = false;

    ~State() {
        sws_freeContext(sws);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
};

namespace {

std::string avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {0};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

VideoSource::VideoSource() = default;
VideoSource::~VideoSource() = default;

bool VideoSource::open(const std::string& path, std::string* error) {
    state_.reset();
    info_ = VideoInfo();
    // Only a regular file: FFmpeg would wait for ever on a FIFO with no writer.
    std::FILE* probe = openRegularFile(path, error);
    if (!probe) return false;
    std::fclose(probe);
    auto s = std::make_unique<State>();
    av_log_set_level(AV_LOG_ERROR);
    int rc = avformat_open_input(&s->format, path.c_str(), nullptr, nullptr);
    if (rc < 0) {
        if (error) *error = "cannot open video " + path + ": " + avError(rc);
        return false;
    }
    rc = avformat_find_stream_info(s->format, nullptr);
    if (rc < 0) {
        if (error) *error = "cannot read video " + path + ": " + avError(rc);
        return false;
    }
    const AVCodec* decoder = nullptr;
    s->stream = av_find_best_stream(s->format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (s->stream < 0 || !decoder) {
        if (error) *error = path + " has no video stream FFmpeg can decode";
        return false;
    }
    AVStream* st = s->format->streams[s->stream];
    s->codec = avcodec_alloc_context3(decoder);
    if (!s->codec || avcodec_parameters_to_context(s->codec, st->codecpar) < 0) {
        if (error) *error = "cannot set up the decoder for " + path;
        return false;
    }
    // One decoding thread: the conversion already runs on a worker of its own, frames come out
    // in order without frame-threading delay, and FFmpeg's internal threads stay out of the
    // thread sanitizer's view.
    s->codec->thread_count = 1;
    rc = avcodec_open2(s->codec, decoder, nullptr);
    if (rc < 0) {
        if (error) *error = "cannot open the decoder for " + path + ": " + avError(rc);
        return false;
    }
    s->packet = av_packet_alloc();
    s->frame = av_frame_alloc();
    if (!s->packet || !s->frame) {
        if (error) *error = "out of memory";
        return false;
    }
    VideoInfo info;
    info.width = s->codec->width;
    info.height = s->codec->height;
    AVRational rate = st->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = st->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = AVRational{25, 1};
    info.rateNumerator = rate.num;
    info.rateDenominator = rate.den;
    if (st->nb_frames > 0) {
        info.length = st->nb_frames;
    } else {
        double seconds = 0;
        if (st->duration > 0)
            seconds = double(st->duration) * av_q2d(st->time_base);
        else if (s->format->duration > 0)
            seconds = double(s->format->duration) / AV_TIME_BASE;
        info.length = int64_t(std::llround(seconds * av_q2d(rate)));
    }
    if (!pictureSizeAllowed(info.width, info.height)) {
        if (error)
            *error = "video size " + std::to_string(info.width) + " x " +
                     std::to_string(info.height) + " is out of range";
        return false;
    }
    info_ = info;
    state_ = std::move(s);
    return true;
}

bool VideoSource::nextFrame(Picture& out, int width, int height, std::string* error) {
    if (!state_) return false;
    State& s = *state_;
    if (width <= 0 || height <= 0) {
        width = info_.width;
        height = info_.height;
    }
    for (;;) {
        int rc = avcodec_receive_frame(s.codec, s.frame);
        if (rc == 0) break;
        if (rc == AVERROR_EOF) return false;
        if (rc != AVERROR(EAGAIN)) {
            if (error) *error = "cannot decode the video: " + avError(rc);
            return false;
        }
        if (s.flushed) return false;
        if (s.inputDone) {
            avcodec_send_packet(s.codec, nullptr);
            s.flushed = true;
            continue;
        }
        rc = av_read_frame(s.format, s.packet);
        if (rc < 0) {
            s.inputDone = true;
            continue;
        }
        if (s.packet->stream_index == s.stream) {
            rc = avcodec_send_packet(s.codec, s.packet);
            // A damaged packet is passed over; the decoder goes on with the next one.
            (void)rc;
        }
        av_packet_unref(s.packet);
    }
    AVFrame* f = s.frame;
    if (!pictureSizeAllowed(f->width, f->height) || !pictureSizeAllowed(width, height)) {
        av_frame_unref(f);
        if (error) *error = "video frame size is out of range";
        return false;
    }
    const int flags = (width < f->width || height < f->height) ? SWS_AREA : SWS_BILINEAR;
    s.sws = sws_getCachedContext(s.sws, f->width, f->height, AVPixelFormat(f->format), width,
                                 height, AV_PIX_FMT_BGR0, flags, nullptr, nullptr, nullptr);
    if (!s.sws) {
        av_frame_unref(f);
        if (error) *error = "cannot convert the video's pixel format";
        return false;
    }
    Picture pic(width, height);
    uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(pic.pixels.data()), nullptr, nullptr, nullptr};
    const int dstStride[4] = {width * 4, 0, 0, 0};
    sws_scale(s.sws, f->data, f->linesize, 0, f->height, dst, dstStride);
    av_frame_unref(f);
    for (uint32_t& p : pic.pixels) p &= 0x00FFFFFF;
    out = std::move(pic);
    return true;
}

bool videoInformation(const std::string& path, VideoInfo& info, const std::string& bmpFolder,
                      std::string* bmpPath, std::string* error) {
    VideoSource video;
    if (!video.open(path, error)) return false;
    info = video.info();
    if (bmpFolder.empty()) return true;
    Picture first;
    std::string why;
    if (!video.nextFrame(first, 0, 0, &why)) {
        if (error) *error = why.empty() ? path + " has no frame" : why;
        return false;
    }
    if (!ensureFolder(bmpFolder)) {
        if (error) *error = "cannot create " + bmpFolder;
        return false;
    }
    const std::string target = joinPath(bmpFolder, fileTitleOf(path) + ".bmp");
    if (!writeFileAtomically(target, encodeBmp24(first), error)) return false;
    if (bmpPath) *bmpPath = target;
    return true;
}

}  // namespace brightline::media
