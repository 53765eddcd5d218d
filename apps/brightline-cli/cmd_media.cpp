// convert and the clip and movie branches of inspect: videos, text pages and Flash movies into ZVI
// clips; clips and movies as JSON.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <iostream>

#include <nlohmann/json.hpp>

#include "apps/brightline-cli/commands.h"
#include "common/paths.h"
#include "common/profile.h"
#include "media/clip_rules.h"
#include "media/jpeg_picture.h"
#include "media/jpeg_quality.h"
#include "media/png_picture.h"
#include "media/swf/flash_transform.h"
#include "media/swf/swf_movie.h"
#include "media/video_converter.h"
#include "media/zrt_converter.h"
#include "media/zvi_reader.h"

namespace brightline::cli {
namespace {

using namespace brightline::media;

constexpr const char* kConvertUsage = "convert SRC DST.zvi [--size WxH] [--mode 0..3]";

// Draws "[#####     ]  12/100 frames" on standard error, only when it is a terminal.
class ProgressBar {
  public:
    ProgressBar() : enabled_(isatty(STDERR_FILENO) != 0) {}
    ~ProgressBar() { finish(); }
    void update(int done, int total) {
        if (!enabled_) return;
        constexpr int kWidth = 40;
        const int filled = total > 0 ? std::min(kWidth, done * kWidth / total) : 0;
        std::fprintf(stderr, "\r[%s%s] %d/%d frames", std::string(size_t(filled), '#').c_str(),
                     std::string(size_t(kWidth - filled), ' ').c_str(), done, total);
        std::fflush(stderr);
        drawn_ = true;
    }
    void finish() {
        if (drawn_) std::fprintf(stderr, "\n");
        drawn_ = false;
    }

  private:
    bool enabled_;
    bool drawn_ = false;
};

bool parseSize(const std::string& text, int& w, int& h) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    try {
        size_t used = 0;
        w = std::stoi(text.substr(0, x), &used);
        if (used != x) return false;
        const std::string rest = text.substr(x + 1);
        h = std::stoi(rest, &used);
        if (used != rest.size()) return false;
    } catch (const std::exception&) {
        return false;
    }
    return w > 0 && h > 0;
}

void printClipLine(const std::string& path, const ZviHeader& h, int frames) {
    std::printf("%s: %d frames, codec \"%s\", rate %d, %d x %d\n", path.c_str(), frames,
                h.codecTag.c_str(), h.rate, h.width, h.height);
}

const char* codecName(ZviCodec c) {
    switch (c) {
        case ZviCodec::Jpeg:
            return "JPG";
        case ZviCodec::Png:
            return "PNG";
        case ZviCodec::Unknown:
            break;
    }
    return "unknown";
}

std::string hex16(uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

}  // namespace

int runConvert(const Args& args) {
    std::vector<std::string> plain;
    std::string sizeText;
    int mode = -1;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size" && i + 1 < args.size()) {
            sizeText = args[++i];
        } else if (args[i] == "--mode" && i + 1 < args.size()) {
            const std::string m = args[++i];
            if (m.size() != 1 || m[0] < '0' || m[0] > '3') return usage(kConvertUsage);
            mode = m[0] - '0';
        } else if (args[i].rfind("--", 0) == 0) {
            return usage(kConvertUsage);
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 2) return usage(kConvertUsage);
    const std::string& source = plain[0];
    const std::string& destination = plain[1];
    int width = 0, height = 0;
    if (!sizeText.empty() && !parseSize(sizeText, width, height)) return usage(kConvertUsage);
    ProgressBar bar;
    auto progress = [&bar](int done, int total) { bar.update(done, total); };

    if (extensionUpper(source) == ".SWF") {
        swf::FlashConversionParams params;
        params.source = source;
        params.destination = destination;
        params.width = width;
        params.height = height;
        params.sizeMode = mode < 0 ? 3 : mode;
        params.greyMode = appProfile().getInt(kProfileSectionSet, "GRAY", 0) != 0;
        const swf::FlashConversionResult r = swf::convertFlashToZvi(params, progress, nullptr);
        bar.finish();
        for (const std::string& d : r.diagnostics)
            std::fprintf(stderr, "brightline-cli: %s: %s\n", source.c_str(), d.c_str());
        if (!r.ok) {
            std::fprintf(stderr, "brightline-cli: %s\n", r.error.c_str());
            return kExitFailed;
        }
        printClipLine(destination, r.header, r.framesCaptured);
        return kExitOk;
    }

    if (extensionUpper(source) == ".ZRT") {
        if (!sizeText.empty() || mode >= 0) {
            std::fprintf(stderr,
                         "brightline-cli: a text page keeps its page size; --size and --mode do "
                         "not apply\n");
            return kExitUsage;
        }
        const ZrtConversionResult r = convertZrtToZvi(source, destination, progress);
        bar.finish();
        if (r.frames < 0) {
            std::fprintf(stderr, "brightline-cli: %s\n", r.error.c_str());
            return kExitFailed;
        }
        if (r.frames == 0 && r.header.width == 0) {
            std::fprintf(stderr, "brightline-cli: %s: %s\n", source.c_str(),
                         r.error.empty() ? "not a text page" : r.error.c_str());
            return kExitFailed;
        }
        if (r.pagesSkipped > 0)
            std::fprintf(stderr, "brightline-cli: %d page pictures of %s were not valid bitmaps\n",
                         r.pagesSkipped, source.c_str());
        printClipLine(destination, r.header, r.frames);
        return kExitOk;
    }

    if (mode < 0) mode = sizeText.empty() ? 1 : 3;
    if (mode == 3 && sizeText.empty()) {
        std::fprintf(stderr, "brightline-cli: --mode 3 needs --size WxH\n");
        return kExitUsage;
    }
    VideoConversionParams params;
    params.source = source;
    params.destination = destination;
    params.width = width;
    params.height = height;
    params.sizeMode = mode;
    params.greyMode = greyMode(appProfile());
    params.jpegQuality = configuredJpegQuality();
    VideoConversion conversion;
    conversion.start(params, progress);
    const VideoConversionResult r = conversion.wait();
    bar.finish();
    if (!r.ok) {
        std::fprintf(stderr, "brightline-cli: %s\n", r.error.c_str());
        return kExitFailed;
    }
    printClipLine(destination, r.header, r.recordsWritten);
    if (r.framesConverted == 0) {
        std::fprintf(stderr, "brightline-cli: %s: no video frame could be converted\n",
                     source.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

int inspectMovie(const std::string& path, const std::vector<uint8_t>& bytes) {
    swf::Movie movie;
    std::string error;
    if (!swf::parseMovie(bytes.data(), bytes.size(), movie, error)) {
        std::fprintf(stderr, "brightline-cli: %s: %s\n", path.c_str(), error.c_str());
        return kExitFailed;
    }
    nlohmann::ordered_json doc;
    doc["kind"] = "swf";
    doc["compressed"] = movie.compressed;
    doc["version"] = movie.version;
    doc["width"] = movie.widthPixels();
    doc["height"] = movie.heightPixels();
    doc["frameRate"] = movie.frameRate;
    doc["headerFrameCount"] = movie.headerFrameCount;
    doc["framesInFile"] = movie.frames.size();
    doc["frameCount"] = movie.frameCount();
    doc["characters"] = movie.definitions.size();
    nlohmann::ordered_json tags = nlohmann::ordered_json::array();
    std::vector<std::string> skipped;
    for (const auto& [code, count] : movie.tagCounts) {
        const swf::TagHandling h = swf::tagHandling(code);
        const char* handling = h == swf::TagHandling::Drawn      ? "drawn"
                               : h == swf::TagHandling::Ignored  ? "ignored"
                               : h == swf::TagHandling::NotDrawn ? "not drawn"
                                                                 : "unknown";
        tags.push_back({{"code", code},
                        {"name", swf::tagName(code)},
                        {"count", count},
                        {"handling", handling}});
        if (h != swf::TagHandling::Drawn) skipped.push_back(swf::tagName(code));
    }
    doc["tags"] = tags;
    doc["skipped"] = skipped;
    doc["featuresNotDrawn"] = movie.featuresNotDrawn;
    doc["problems"] = movie.problems;
    std::cout << doc.dump(2) << "\n";
    for (const std::string& p : movie.problems)
        std::fprintf(stderr, "brightline-cli: %s: %s\n", path.c_str(), p.c_str());
    return movie.problems.empty() ? kExitOk : kExitFailed;
}

int inspectClip(const std::string& path, const std::vector<uint8_t>& bytes) {
    ZviReader reader;
    std::string error;
    if (!reader.open(std::make_unique<MemoryByteSource>(bytes.data(), bytes.size()), &error)) {
        std::fprintf(stderr, "brightline-cli: %s: %s\n", path.c_str(), error.c_str());
        return kExitFailed;
    }
    const ZviHeader& h = reader.header();
    nlohmann::ordered_json doc;
    doc["kind"] = "zvi";
    doc["codec"] = h.codecTag;
    doc["rate"] = h.rate;
    doc["clipSpeed"] = clipSpeedForRate(h.rate);
    doc["frameCount"] = h.frameCount;
    doc["width"] = h.width;
    doc["height"] = h.height;
    nlohmann::ordered_json frames = nlohmann::ordered_json::array();
    std::vector<int> damaged;
    ZviFrameRecord rec;
    for (;;) {
        std::string why;
        const RecordStatus status = reader.nextRecord(rec, &why);
        if (status == RecordStatus::End) {
            if (!why.empty()) {
                frames.push_back({{"index", rec.index},
                                  {"offset", rec.offset},
                                  {"damaged", true},
                                  {"problem", why}});
                damaged.push_back(rec.index);
            }
            break;
        }
        nlohmann::ordered_json f = {
            {"index", rec.index}, {"offset", rec.offset}, {"length", rec.length}};
        if (status == RecordStatus::Damaged) {
            f["damaged"] = true;
            f["problem"] = why;
            damaged.push_back(rec.index);
            frames.push_back(f);
            continue;
        }
        const ZviCodec codec = sniffFrameCodec(rec.stream.data(), rec.stream.size());
        f["codec"] = codecName(codec);
        f["checksum"] = hex16(rec.storedChecksum);
        std::string problem;
        if (!rec.checksumMatches()) {
            problem = "checksum " + hex16(rec.storedChecksum) + " stored, " +
                      hex16(rec.computedChecksum) + " computed";
        } else {
            Picture pic;
            std::string decodeError;
            const bool ok = codec == ZviCodec::Png ? decodePng(rec.stream, pic, &decodeError)
                            : codec == ZviCodec::Jpeg
                                ? decodeJpeg(rec.stream, pic, &decodeError)
                                : (decodeError = "not a JPEG or PNG stream", false);
            if (!ok)
                problem = decodeError;
            else
                f["size"] = std::to_string(pic.width) + "x" + std::to_string(pic.height);
        }
        f["damaged"] = !problem.empty();
        if (!problem.empty()) {
            f["problem"] = problem;
            damaged.push_back(rec.index);
        }
        frames.push_back(f);
    }
    doc["records"] = reader.recordsRead();
    doc["frames"] = frames;
    doc["damagedFrames"] = damaged;
    std::cout << doc.dump(2) << "\n";
    if (reader.recordsRead() < h.frameCount)
        std::fprintf(stderr, "brightline-cli: %s: %d of %d frames are there\n", path.c_str(),
                     reader.recordsRead(), h.frameCount);
    for (int i : damaged)
        std::fprintf(stderr, "brightline-cli: %s: frame %d is damaged\n", path.c_str(), i);
    return damaged.empty() && reader.recordsRead() >= h.frameCount ? kExitOk : kExitFailed;
}

}  // namespace brightline::cli
