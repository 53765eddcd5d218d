#include "editor/script_maker.h"

#include <cstdarg>
#include <cstdio>
#include <memory>

#include "common/code_page.h"
#include "common/effect_names.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/media_names.h"
#include "common/paths.h"
#include "editor/area_format.h"
#include "editor/medium_kind.h"

namespace brightline {
namespace {

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    return buffer;
}

// A script being written: its text is kept until it is closed, then written to its file whole.
struct ScriptText {
    std::string path;
    std::string text;  // in the OEM code page
    bool open = false;
    void add(const std::string& line) {
        if (open) text += toOem(line);
    }
};

// The line that plays a clip: media name, frame count, speed, entry and exit effect, hold.
std::string zaviLine(const std::string& name, int frames, int speed, const std::string& entry,
                     const std::string& exit, int hold) {
    return format("ZAVI %s %d %d %s %s %d \r\n", name.c_str(), frames, speed, entry.c_str(),
                  exit.c_str(), hold);
}

bool copyFileIfAbsent(const std::string& from, const std::string& to, std::string& error) {
    if (fileExists(to)) {
        error = to + " already exists";
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(from, bytes, &error)) return false;
    return writeFileAtomically(to, bytes, &error);
}

}  // namespace

ScriptMaker::ScriptMaker(ProgramData& program, std::string workspace, MediaExport& media,
                         OperatorMessages& messages)
    : program_(program), workspace_(std::move(workspace)), media_(media), messages_(messages) {}

void ScriptMaker::status(const std::string& text) {
    if (status_) status_(text);
}

void ScriptMaker::warn(const std::string& text) {
    messages_.show(text, "Warning!", MessageIcon::Warning);
}

bool ScriptMaker::fail(const std::string& text) {
    if (error_.empty()) error_ = text;
    warn(text);
    return false;
}

bool ScriptMaker::writeScript(const std::string& path, const std::string& text) {
    std::string why;
    if (writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()), &why))
        return true;
    return fail("Make could not write the show: " + why);
}

std::string ScriptMaker::exportPicture(const std::string& source, const std::string& name,
                                       int width, int height) {
    for (const std::string& entry : cache_) {
        size_t eq = entry.find('=');
        if (eq != std::string::npos && entry.compare(eq + 1, std::string::npos, source) == 0)
            return entry.substr(0, entry.find('.'));
    }
    std::string ext = extensionUpper(source);
    std::string targetExt = ext == ".BMP" ? ".PNG" : ext;
    std::string target = joinPath(workspace_, name + targetExt);
    std::string error;
    bool done = ext == ".TIM" ? copyFileIfAbsent(source, target, error)
                              : media_.exportPicture(source, target, width, height, error);
    if (!done) {
        warn("Could not make " + source + ": " + error);
        return "-1";
    }
    cache_.push_back(name + targetExt + "=" + source);
    return name;
}

int ScriptMaker::make(int programNumber, bool append, int firstDigit) {
    const std::atomic<bool>& cancel =
        conversionStop_ ? *conversionStop_ : (cancel_ ? *cancel_ : neverCancelled_);
    const int program = programNumber == -1 ? 0 : programNumber;
    cache_.clear();
    error_.clear();
    status(kMakingText);
    if (!append) {
        std::string why;
        if (!cleanWorkspace(workspace_, &why)) {
            fail(why);
            return 0;
        }
    }
    if (!ensureFolder(workspace_)) {
        fail("Could not create the workspace folder " + workspace_);
        return 0;
    }

    const AreaLayout layout = computeAreas(program_.areaFormat, program_.ledWidth,
                                           program_.ledHeight, program_.regionLines);
    const int areaCount = std::min(layout.areaCount, kAreaSlots);

    // run.at: the header (unless appending) and this program's RUN line, written whole: appending
    // rewrites the file with the line added, so a failure leaves it as it was.
    {
        const std::string runPath = joinPath(workspace_, "run.at");
        std::string run;
        if (!append) {
            run += toOem(timeZoneHeader(zone_));
            run += toOem(format("LED_W %d \r\n", program_.ledWidth));
            run += toOem(format("LED_H %d \r\n", program_.ledHeight));
            run += toOem("AT 00:00 00:00 \r\n");
        }
        int windows = 0;
        for (int slot = 0; slot < areaCount; ++slot) {
            const auto& list = program_.areaLists[slot];
            if (list.empty()) continue;
            if (!list[0].path.empty()) ++windows;
            if (list.size() > 1) ++windows;
        }
        std::string line = format("RUN wzp %d ", windows);
        for (int slot = 0; slot < areaCount; ++slot) {
            const auto& list = program_.areaLists[slot];
            if (list.empty()) continue;
            const Rect& r = layout.areas[slot];
            for (int window = 0; window < 2; ++window) {
                bool present = window == 0 ? !list[0].path.empty() : list.size() > 1;
                if (!present) continue;
                line += regionScriptName(firstDigit, program, slot, window) +
                        format(" %d %d %d %d %d ", r.left, r.top, r.right - r.left,
                               r.bottom - r.top, 1);
            }
        }
        line += append ? "\r\n" : "\r\nEND";
        run += toOem(line);
        std::string why;
        const std::vector<uint8_t> bytes(run.begin(), run.end());
        if (append ? !appendFileAtomically(runPath, bytes, &why)
                   : !writeFileAtomically(runPath, bytes, &why)) {
            fail("Make could not write the show: " + why);
            return 0;
        }
    }

    int made = 0;
    ScriptText script;
    // Closing writes what the script holds; a script that cannot be written fails Make.
    auto close = [&](bool withEnd) {
        if (!script.open) return true;
        if (withEnd) script.add("END");
        script.open = false;
        return writeScript(script.path, script.text);
    };
    for (int slot = 0; slot < areaCount; ++slot) {
        if (cancelled()) return 0;
        auto& list = program_.areaLists[slot];
        const Rect& area = layout.areas[slot];
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        const bool hasBackground = !list.empty() && !list[0].path.empty();
        const int itemsType = hasBackground ? 2 : 1;
        int sequence = 1;
        for (size_t j = 0; j < list.size(); ++j) {
            if (cancelled()) {
                close(false);  // the open script is closed as it stands
                return 0;
            }
            CElement& element = list[j];
            const int window = (j == 0 && hasBackground) ? 0 : 1;
            if (j <= 1) {
                script = ScriptText{
                    joinPath(workspace_, regionScriptName(firstDigit, program, slot, window)),
                    std::string(), true};
                sequence = 1;
                script.add(format("WIN_TYPE %d\r\n", j == 0 ? 1 : itemsType));
                if (j == 0 && hasBackground) {
                    element.hold = 0;
                    element.speed = 0;
                }
            }
            const std::string fileName = fileNameOf(element.path);
            const std::string ext = extensionUpper(element.path);
            const MediumKind kind = mediumKindOf(element.path);
            status(format(kMakingFileText, fileName.c_str()));

            const std::string name = mediaName(firstDigit, program, slot, window, sequence);
            if (element.path.empty()) {
                // No medium: only the effect and hold lines below.
            } else if (isClip(kind)) {
                int frames = 0;
                std::string why;
                if (kind == MediumKind::Video) {
                    frames = media_.convertVideo(element.path, joinPath(workspace_, name + ".ZVI"),
                                                 width, height, cancel, ConversionProgress(), why);
                    if (frames <= 0 && !cancel.load())
                        warn("Could not convert the clip " + element.path + ": " + why);
                } else {
                    status(std::string(kTransformingText) + " " + element.path);
                    frames = media_.convertFlash(element.path, joinPath(workspace_, name + ".ZVI"),
                                                 width, height, cancel, ConversionProgress(), why);
                    if (frames <= 0 && !cancel.load())
                        warn("Could not convert the Flash clip " + element.path + ": " + why);
                }
                script.add(zaviLine(name, frames, 0, "SHOW", "NULL", 0));
                ++made;
                ++sequence;
            } else if (ext == ".JPG" || ext == ".PNG" || ext == ".BMP" || ext == ".TIM") {
                std::string media = exportPicture(element.path, name, width, height);
                const char* keyword = ext == ".JPG"   ? "JPG %s \r\n"
                                      : ext == ".TIM" ? "TIME %s 1 \r\n"
                                                      : "PNG %s \r\n";
                script.add(format(keyword, media.c_str()));
                ++made;
                ++sequence;
            } else if (ext == ".ZRT") {
                std::string why;
                int pages =
                    media_.convertTextPage(element.path, joinPath(workspace_, name + ".ZVI"), why);
                if (pages <= 0)
                    warn("Could not convert the text page " + element.path + ": " + why);
                // An item's effects and hold travel in its line; a background shows and stays.
                const bool item = j >= 1;
                script.add(zaviLine(
                    name, pages, element.speed, item ? entryEffectName(element.moveIn) : "SHOW",
                    item ? exitEffectName(element.moveOut) : "NULL", item ? element.hold : 0));
                ++made;
                ++sequence;
            } else {
                warn(element.path +
                     " is no picture, clip, text page or clock page; it is left out.");
            }

            const bool clip = ext == ".ZRT" || isClip(kind);
            if (!clip && ext != ".TIM")
                script.add(
                    format("AP %s %d\r\n", entryEffectName(element.moveIn).c_str(), element.speed));
            if (!clip) script.add(format("STOP %d \r\n", element.hold));
            if (!clip && ext != ".TIM" && element.moveOut >= 0)
                script.add(
                    format("EP %s %d\r\n", exitEffectName(element.moveOut).c_str(), element.speed));
            if (j == 0 && !close(true)) return 0;
        }
        if (!close(true)) return 0;
    }
    status(kMakeFinishText);
    return made;
}

}  // namespace brightline
