// The text page file as JSON: textPageJson() for inspect and textPageFromJson() for build.
#include <algorithm>
#include <cstring>
#include <limits>

#include "apps/brightline-cli/json_fields.h"
#include "apps/brightline-cli/json_files.h"
#include "common/code_page.h"
#include "common/file_io.h"
#include "common/paths.h"
#include "media/bmp_picture.h"
#include "media/zrt_file.h"
#include "pageeditor/text_document.h"
#include "pageeditor/text_page_file.h"

namespace brightline {
namespace {

using ojson = nlohmann::ordered_json;
using json = nlohmann::json;
using jsonio::Fields;
using jsonio::indexed;
using namespace pageeditor;

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(const std::vector<uint8_t>& in) {
    std::string out;
    out.reserve((in.size() + 2) / 3 * 4);
    for (size_t i = 0; i < in.size(); i += 3) {
        const uint32_t v = uint32_t(in[i]) << 16 | (i + 1 < in.size() ? in[i + 1] << 8 : 0) |
                           (i + 2 < in.size() ? in[i + 2] : 0);
        out += kBase64[v >> 18];
        out += kBase64[(v >> 12) & 63];
        out += i + 1 < in.size() ? kBase64[(v >> 6) & 63] : '=';
        out += i + 2 < in.size() ? kBase64[v & 63] : '=';
    }
    return out;
}

bool unbase64(const std::string& in, std::vector<uint8_t>& out) {
    out.clear();
    uint32_t acc = 0;
    int bits = 0;
    size_t i = 0;
    for (; i < in.size() && in[i] != '='; ++i) {
        const char* at = std::strchr(kBase64, in[i]);
        if (!at || !*at) return false;
        acc = acc << 6 | uint32_t(at - kBase64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(uint8_t(acc >> bits));
        }
    }
    for (; i < in.size(); ++i)
        if (in[i] != '=') return false;
    return true;
}

const char* kAlignNames[] = {"left", "center", "right"};

ojson colourJson(uint32_t ref) {
    if (ref >> 24) return ref;
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", ref & 0xFF, (ref >> 8) & 0xFF,
                  (ref >> 16) & 0xFF);
    return text;
}

constexpr int64_t kI32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kI32Max = std::numeric_limits<int32_t>::max();

LogFont fontFromJson(const Fields& f) {
    LogFont lf;
    lf.setFace(f.text("face"));
    lf.height = int32_t(f.number("height", kI32Min, kI32Max));
    lf.width = int32_t(f.number("width", kI32Min, kI32Max, 0));
    lf.escapement = int32_t(f.number("escapement", kI32Min, kI32Max, 0));
    lf.orientation = int32_t(f.number("orientation", kI32Min, kI32Max, 0));
    lf.weight = int32_t(f.number("weight", kI32Min, kI32Max, 400));
    lf.italic = uint8_t(f.number("italic", 0, 255, 0));
    lf.underline = uint8_t(f.number("underline", 0, 255, 0));
    lf.strikeOut = uint8_t(f.number("strikeOut", 0, 255, 0));
    lf.charSet = uint8_t(f.number("charSet", 0, 255, kDefaultCharset));
    lf.outPrecision = uint8_t(f.number("outPrecision", 0, 255, 0));
    lf.clipPrecision = uint8_t(f.number("clipPrecision", 0, 255, 0));
    lf.quality = uint8_t(f.number("quality", 0, 255, 0));
    lf.pitchAndFamily = uint8_t(f.number("pitchAndFamily", 0, 255, 0));
    return lf;
}

PictureEntry pictureFromJson(const Fields& p, const std::string& baseFolder) {
    p.only({"id", "file", "width", "height", "stride", "planes", "bitsPerPixel", "unused", "bytes",
            "bits"});
    const auto id = int32_t(p.number("id", kI32Min, kI32Max));
    if (p.has("file")) {
        std::string path = p.text("file");
        if (!path.empty() && path[0] != '/' && !baseFolder.empty())
            path = joinPath(baseFolder, path);
        std::vector<uint8_t> bytes;
        std::string why;
        media::Picture picture;
        if (!readWholeFile(path, bytes, &why) || !media::decodeBmp(bytes, picture, &why))
            throw FileFormatError(p.name("file") + ": " + why);
        return pictureEntryFrom(picture, id);
    }
    PictureEntry e;
    e.id = id;
    e.info.width = int32_t(p.number("width", kI32Min, kI32Max));
    e.info.height = int32_t(p.number("height", kI32Min, kI32Max));
    e.info.stride = int32_t(p.number("stride", kI32Min, kI32Max));
    e.info.planes = uint16_t(p.number("planes", 0, 65535, 1));
    e.info.bitsPerPixel = uint16_t(p.number("bitsPerPixel", 0, 65535));
    e.info.unused = int32_t(p.number("unused", kI32Min, kI32Max, 0));
    auto bits = std::make_shared<std::vector<uint8_t>>();
    if (!unbase64(p.text("bits"), *bits)) throw FileFormatError(p.name("bits") + " is not base64");
    e.info.bitsSize = int32_t(bits->size());
    e.bits = std::move(bits);
    return e;
}

}  // namespace

nlohmann::ordered_json textPageJson(const std::vector<uint8_t>& bytes) {
    media::MemoryByteSource source(bytes.data(), bytes.size());
    TextPage page;
    std::string why;
    const TextPageLoadResult r = decodeTextPageFile(source, page, &why);
    if (r == TextPageLoadResult::NotATextPage)
        throw FileFormatError(std::string("not a text page: ") + why);
    if (r != TextPageLoadResult::Loaded) throw FileFormatError("corrupt text page: " + why);

    ojson doc;
    doc["kind"] = "textpage";
    doc["layout"] = page.geometry.layout == PageLayout::Horizontal ? "horizontal" : "vertical";
    doc["pageWidth"] = page.geometry.pageWidth;
    doc["pageHeight"] = page.geometry.pageHeight;
    ojson fonts = ojson::array();
    for (const FontEntry& f : page.fonts) {
        const LogFont& lf = f.font;
        fonts.push_back({{"id", f.id},
                         {"face", lf.face()},
                         {"height", lf.height},
                         {"width", lf.width},
                         {"escapement", lf.escapement},
                         {"orientation", lf.orientation},
                         {"weight", lf.weight},
                         {"italic", lf.italic},
                         {"underline", lf.underline},
                         {"strikeOut", lf.strikeOut},
                         {"charSet", lf.charSet},
                         {"outPrecision", lf.outPrecision},
                         {"clipPrecision", lf.clipPrecision},
                         {"quality", lf.quality},
                         {"pitchAndFamily", lf.pitchAndFamily}});
    }
    doc["fonts"] = fonts;
    ojson pictures = ojson::array();
    for (const PictureEntry& p : page.pictures) {
        pictures.push_back({{"id", p.id},
                            {"width", p.info.width},
                            {"height", p.info.height},
                            {"stride", p.info.stride},
                            {"planes", p.info.planes},
                            {"bitsPerPixel", p.info.bitsPerPixel},
                            {"unused", p.info.unused},
                            {"bytes", p.data().size()},
                            {"bits", base64(p.data())}});
    }
    doc["pictures"] = pictures;
    repairRuns(page);
    ojson runs = ojson::array();
    for (const StyleRun& r : page.runs) {
        ojson run;
        if (r.kind == kRunPicture) {
            run["picture"] = r.resourceId;
            if (r.length != 1) run["count"] = r.length;
        } else {
            run["font"] = r.resourceId;
            run["text"] = fromOem(page.text.substr(size_t(r.start), size_t(r.length)));
            run["color"] = colourJson(r.textColor);
            run["contour"] = r.contour;
            run["outlineColor"] = colourJson(r.outlineColor);
            run["outlineWidth"] = r.outlineWidth;
        }
        run["averageWidth"] = r.averageWidth;
        run["height"] = r.height;
        runs.push_back(run);
    }
    doc["runs"] = runs;
    ojson lines = ojson::array();
    for (const LineEntry& l : page.lines) {
        const auto a = uint8_t(l.alignment);
        ojson line;
        if (a < 3)
            line["align"] = kAlignNames[a];
        else
            line["align"] = a;
        line["offset"] = l.offset;
        lines.push_back(line);
    }
    doc["lines"] = lines;

    ojson pagePictures = ojson::array();
    media::ZrtPageReader reader;
    if (reader.open(std::make_unique<media::MemoryByteSource>(bytes.data(), bytes.size())) ==
        media::ZrtHeaderStatus::Ok) {
        std::vector<uint8_t> bmp;
        while (reader.nextPage(bmp)) {
            media::Picture picture;
            ojson entry;
            entry["bytes"] = bmp.size();
            if (media::decodeBmp(bmp, picture)) {
                entry["width"] = picture.width;
                entry["height"] = picture.height;
            }
            pagePictures.push_back(entry);
        }
    }
    doc["pagePictures"] = pagePictures;
    return doc;
}

void textPageFromJson(const nlohmann::json& document, const std::string& baseFolder,
                      TextDocument& doc) {
    const Fields top(document, "");
    // What inspect prints and build does not read back is allowed too.
    top.only({"kind", "layout", "pageWidth", "pageHeight", "fonts", "pictures", "runs", "lines",
              "pagePictures"});
    TextPage page;
    const std::string layout = top.text("layout");
    if (layout != "vertical" && layout != "horizontal")
        throw FileFormatError("layout must be \"vertical\" or \"horizontal\"");
    page.geometry.layout = layout == "horizontal" ? PageLayout::Horizontal : PageLayout::Vertical;
    page.geometry.pageWidth = int32_t(top.number("pageWidth", 0, kI32Max));
    page.geometry.pageHeight = int32_t(top.number("pageHeight", 0, kI32Max));
    const PageFormatCheck check = checkPageFormat(page.geometry.layout, page.geometry.pageWidth,
                                                  page.geometry.pageHeight, headlessLimits());
    if (!check.accepted) throw FileFormatError("page size: " + check.message.text);

    const json& fonts = top.at("fonts");
    if (!fonts.is_array() || fonts.empty())
        throw FileFormatError("fonts must be an array of at least one font");
    for (size_t i = 0; i < fonts.size(); ++i) {
        const Fields f(fonts[i], indexed("fonts", i));
        f.only({"id", "face", "height", "width", "escapement", "orientation", "weight", "italic",
                "underline", "strikeOut", "charSet", "outPrecision", "clipPrecision", "quality",
                "pitchAndFamily"});
        FontEntry entry;
        entry.id = int32_t(f.number("id", kI32Min, kI32Max));
        if (page.font(entry.id)) throw FileFormatError(f.name("id") + " is used twice");
        entry.font = fontFromJson(f);
        page.fonts.push_back(entry);
    }
    if (top.has("pictures")) {
        const json& pictures = top.at("pictures");
        if (!pictures.is_array()) throw FileFormatError("pictures must be an array");
        for (size_t i = 0; i < pictures.size(); ++i) {
            PictureEntry entry =
                pictureFromJson(Fields(pictures[i], indexed("pictures", i)), baseFolder);
            if (page.picture(entry.id))
                throw FileFormatError(indexed("pictures", i) + ".id is used twice");
            page.pictures.push_back(std::move(entry));
        }
    }
    doc.setPage(std::move(page));

    const json& runs = top.at("runs");
    if (!runs.is_array()) throw FileFormatError("runs must be an array");
    for (size_t i = 0; i < runs.size(); ++i) {
        const Fields r(runs[i], indexed("runs", i));
        r.only({"picture", "count", "font", "text", "color", "contour", "outlineColor",
                "outlineWidth", "averageWidth", "height"});
        const int32_t end = int32_t(doc.page().text.size());
        if (r.has("picture")) {
            const auto id = int32_t(r.number("picture", kI32Min, kI32Max));
            if (!doc.page().picture(id))
                throw FileFormatError(r.name("picture") + " names no picture of the table");
            const auto count = r.number("count", 1, 65535, 1);
            for (int64_t k = 0; k < count; ++k)
                doc.placePicture(int32_t(doc.page().text.size()), id);
            continue;
        }
        CurrentStyle style;
        style.fontId = int32_t(r.number("font", kI32Min, kI32Max));
        if (!doc.page().font(style.fontId))
            throw FileFormatError(r.name("font") + " names no font of the table");
        style.textColor = r.colour("color", kWhite);
        style.contour = int32_t(r.number("contour", kI32Min, kI32Max, 0));
        style.outlineColor = r.colour("outlineColor", kRed);
        style.outlineWidth = int32_t(r.number("outlineWidth", kI32Min, kI32Max, 1));
        doc.setCurrentStyle(style);
        doc.insertText(end, toOem(r.text("text")));
    }
    if (top.has("lines")) {
        const json& lines = top.at("lines");
        if (!lines.is_array()) throw FileFormatError("lines must be an array");
        for (size_t k = 0; k < lines.size() && k < doc.page().lines.size(); ++k) {
            const Fields l(lines[k], indexed("lines", k));
            l.only({"align", "offset"});
            const json& a = l.at("align");
            int64_t value = -1;
            if (a.is_string()) {
                for (int n = 0; n < 3; ++n)
                    if (a.get<std::string>() == kAlignNames[n]) value = n;
                if (value < 0)
                    throw FileFormatError(l.name("align") + " must be left, center or right");
            } else {
                value = Fields::number(a, l.name("align"), 0, 255);
            }
            doc.setLineAlignment(k, Alignment(value));
        }
    }
}

}  // namespace brightline
