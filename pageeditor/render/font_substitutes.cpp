#include "pageeditor/render/font_substitutes.h"

#include "common/paths.h"
#include "pageeditor/log_font.h"

namespace brightline::pageeditor {
namespace {

constexpr const char* kChineseFace = "WenQuanYi Zen Hei";
constexpr const char* kFallbackFace = "DejaVu Sans";

struct Substitute {
    const char* windowsFace;
    const char* installedFace;
    bool chinese;
};

// Windows face -> installed face (fonts-liberation, fonts-dejavu, fonts-wqy-zenhei). Liberation
// matches the metrics of Arial, Times New Roman and Courier New; DejaVu Sans is the closest
// humanist sans for Tahoma and Verdana; WenQuanYi Zen Hei stands in for every Chinese face.
const Substitute kSubstitutes[] = {
    {"Arial", "Liberation Sans", false},
    {"Arial Narrow", "Liberation Sans Narrow", false},
    {"Helvetica", "Liberation Sans", false},
    {"MS Sans Serif", "Liberation Sans", false},
    {"Microsoft Sans Serif", "Liberation Sans", false},
    {"System", "Liberation Sans", false},
    {"Times New Roman", "Liberation Serif", false},
    {"Times", "Liberation Serif", false},
    {"MS Serif", "Liberation Serif", false},
    {"Georgia", "DejaVu Serif", false},
    {"Courier New", "Liberation Mono", false},
    {"Courier", "Liberation Mono", false},
    {"Fixedsys", "Liberation Mono", false},
    {"Lucida Console", "DejaVu Sans Mono", false},
    {"Consolas", "DejaVu Sans Mono", false},
    {"Tahoma", "DejaVu Sans", false},
    {"Verdana", "DejaVu Sans", false},
    {"Segoe UI", "DejaVu Sans", false},
    {"SimSun", kChineseFace, true},
    {"\xE5\xAE\x8B\xE4\xBD\x93", kChineseFace, true},  // 宋体
    {"NSimSun", kChineseFace, true},
    {"\xE6\x96\xB0\xE5\xAE\x8B\xE4\xBD\x93", kChineseFace, true},  // 新宋体
    {"SimHei", kChineseFace, true},
    {"\xE9\xBB\x91\xE4\xBD\x93", kChineseFace, true},  // 黑体
    {"Microsoft YaHei", kChineseFace, true},
    {"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91", kChineseFace, true},  // 微软雅黑
    {"KaiTi", kChineseFace, true},
    {"KaiTi_GB2312", kChineseFace, true},
    {"\xE6\xA5\xB7\xE4\xBD\x93", kChineseFace, true},         // 楷体
    {"\xE6\xA5\xB7\xE4\xBD\x93_GB2312", kChineseFace, true},  // 楷体_GB2312
    {"FangSong", kChineseFace, true},
    {"FangSong_GB2312", kChineseFace, true},
    {"\xE4\xBB\xBF\xE5\xAE\x8B", kChineseFace, true},                          // 仿宋
    {"\xE4\xBB\xBF\xE5\xAE\x8B_GB2312", kChineseFace, true},                   // 仿宋_GB2312
    {"\xE5\x8D\x8E\xE6\x96\x87\xE5\xAE\x8B\xE4\xBD\x93", kChineseFace, true},  // 华文宋体
    {"\xE5\xB9\xBC\xE5\x9C\x86", kChineseFace, true},                          // 幼圆
    {"\xE9\x9A\xB6\xE4\xB9\xA6", kChineseFace, true},                          // 隶书
};

bool isChineseCharset(int charSet) {
    return charSet == kGb2312Charset || charSet == 136 /* Big5 */;
}

}  // namespace

std::vector<std::string> familiesForFace(const std::string& face, int charSet) {
    std::vector<std::string> families;
    bool chinese = isChineseCharset(charSet);
    const std::string key = toLowerAscii(face);
    bool known = false;
    for (const Substitute& s : kSubstitutes) {
        if (key == toLowerAscii(s.windowsFace)) {
            families.push_back(s.installedFace);
            chinese = chinese || s.chinese;
            known = true;
            break;
        }
    }
    if (!known && !face.empty()) families.push_back(face);
    // A face that is neither known nor installed falls back to one face, not to whatever
    // fontconfig prefers on the day.
    if (!known) families.push_back(kFallbackFace);
    if (chinese && families.front() != kChineseFace) families.push_back(kChineseFace);
    return families;
}

}  // namespace brightline::pageeditor
