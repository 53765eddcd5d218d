// inspect, build and hash-password: the stored files as JSON.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "apps/brightline-cli/commands.h"
#include "apps/brightline-cli/json_files.h"
#include "comm/led_set_data.h"
#include "comm/sign_record_store.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/paths.h"
#include "common/profile.h"
#include "editor/area_format.h"
#include "editor/compact_program.h"
#include "editor/program_data.h"
#include "media/swf/swf_movie.h"
#include "pageeditor/render/gui_session.h"
#include "pageeditor/render/page_pictures.h"
#include "pageeditor/text_document.h"
#include "pageeditor/text_page_file.h"
#include "shell/user_info.h"

namespace brightline::cli {
namespace {

// A text page: the document from its JSON, laid out with the installed fonts and rendered into
// its page pictures (Qt Gui on the offscreen platform, so no display is needed).
std::vector<uint8_t> buildTextPage(const nlohmann::json& doc, const std::string& jsonPath) {
    pageeditor::GuiSession gui(true);
    pageeditor::QtFontCatalog fonts;
    pageeditor::TextDocument page(fonts);
    textPageFromJson(doc, folderOf(jsonPath), page);
    std::vector<std::vector<uint8_t>> pictures;
    std::string error;
    if (!pageeditor::renderPagePictures(page.page(), page.layout(), fonts, pictures, &error))
        throw FileFormatError(error);
    return pageeditor::encodeTextPageFile(page.page(), pictures);
}

// The program made from its compact form, with the thumbnail positions of the libraries in the
// start folder, as the desktop's property view lists them.
std::vector<uint8_t> buildCompactProgram(const nlohmann::json& doc, const std::string& jsonPath) {
    const CompactProgram compact = compactFromJson(doc, folderOf(jsonPath));
    const std::string start = startFolder();
    return encodeProgram(makeProgram(
        compact, [&](const std::string& path) { return libraryThumbIndex(start, path); }));
}

int inspectCompact(const std::string& path, const std::vector<uint8_t>& bytes) {
    ProgramData program;
    std::string error;
    if (decodeProgram(bytes.data(), bytes.size(), program, &error) != ProgramLoadResult::Loaded) {
        std::fprintf(stderr, "brightline-cli: %s: %s\n", path.c_str(),
                     error.empty() ? "not a program file (--compact is for programs)"
                                   : ("corrupt program file: " + error).c_str());
        return kExitFailed;
    }
    std::string why;
    const auto compact = compactOf(program, &why);
    if (!compact) {
        std::fprintf(stderr,
                     "brightline-cli: %s has no compact form: %s (inspect without --compact "
                     "prints all of it)\n",
                     path.c_str(), why.c_str());
        return kExitFailed;
    }
    std::cout << compactJson(*compact).dump(2) << "\n";
    return kExitOk;
}

}  // namespace

int runNew(const Args& args) {
    constexpr const char* kUsage = "new PROGRAM.ZPF [--size WxH] [--format 0..10]";
    std::string out;
    std::string sizeText;
    int format = -1;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--size" && hasValue) {
            sizeText = args[++i];
        } else if (args[i] == "--format" && hasValue) {
            const std::string& v = args[++i];
            if (v.empty() || v.size() > 2 ||
                v.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(v) >= kAreaFormats) {
                std::fprintf(stderr, "brightline-cli: --format must be an area format 0..10\n");
                return kExitUsage;
            }
            format = std::stoi(v);
        } else if (args[i].rfind("--", 0) != 0 && out.empty()) {
            out = args[i];
        } else {
            return usage(kUsage);
        }
    }
    if (out.empty()) return usage(kUsage);
    // Without --size, the size of the current sign, as File > New takes it.
    int width = ProgramData().ledWidth, height = ProgramData().ledHeight;
    if (!sizeText.empty()) {
        if (!parseSizeText(sizeText, width, height)) {
            std::fprintf(stderr, "brightline-cli: --size must be WIDTHxHEIGHT, such as 128x64\n");
            return kExitUsage;
        }
    } else {
        const std::string sign =
            appProfile().getString(kProfileSectionSet, "LED_NAME", kDefaultSignName);
        readSignSize(joinPath(startFolder(), kSignListFile), sign, width, height);
    }
    if (!isSignSize(width, height)) {
        std::fprintf(stderr, "brightline-cli: %dx%d is not a sign size (%s)\n", width, height,
                     kSignSizeRule);
        return kExitFailed;
    }
    if (fileExists(out)) {
        std::fprintf(stderr, "brightline-cli: %s exists; new writes only a new file\n",
                     out.c_str());
        return kExitFailed;
    }
    ProgramData program = newProgram(width, height);
    if (format >= 0) applyAreaFormat(program, format);
    std::string error;
    if (!writeFileAtomically(out, encodeProgram(program), &error)) {
        std::fprintf(stderr, "brightline-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("%s: a %dx%d program, area format %d (%d areas)\n", out.c_str(), width, height,
                program.areaFormat, areaCountOf(program.areaFormat));
    return kExitOk;
}

int runInspect(const Args& args) {
    constexpr const char* kUsage = "inspect FILE [--compact]";
    bool compact = false;
    std::string file;
    for (const std::string& a : args) {
        if (a == "--compact")
            compact = true;
        else if (file.empty() && (a.rfind("--", 0) != 0))
            file = a;
        else
            return usage(kUsage);
    }
    if (file.empty()) return usage(kUsage);
    std::vector<uint8_t> bytes;
    std::string error;
    if (!readWholeFile(file, bytes, &error)) {
        std::fprintf(stderr, "brightline-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    if (compact) return inspectCompact(file, bytes);
    if (bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, "ZAVI"))
        return inspectClip(file, bytes);
    if (swf::looksLikeMovie(bytes.data(), bytes.size())) return inspectMovie(file, bytes);
    try {
        std::cout << fileToJson(bytes).dump(2) << "\n";
    } catch (const FileFormatError& e) {
        std::fprintf(stderr, "brightline-cli: %s: %s\n", file.c_str(), e.what());
        return kExitFailed;
    }
    return kExitOk;
}

int runBuild(const Args& args) {
    if (args.size() != 2) return usage("build FILE.json OUT");
    if (sameFile(args[0], args[1])) {
        std::fprintf(stderr, "brightline-cli: %s is the JSON document itself; name another file\n",
                     args[1].c_str());
        return kExitFailed;
    }
    std::vector<uint8_t> text;
    std::string error;
    if (!readWholeFile(args[0], text, &error)) {
        std::fprintf(stderr, "brightline-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::vector<uint8_t> bytes;
    try {
        nlohmann::json doc = nlohmann::json::parse(text.begin(), text.end());
        if (doc.is_object() && doc.contains("kind") && doc["kind"] == "textpage")
            bytes = buildTextPage(doc, args[0]);
        else if (isCompactProgram(doc))
            bytes = buildCompactProgram(doc, args[0]);
        else
            bytes = jsonToFile(doc);
    } catch (const nlohmann::json::parse_error& e) {
        std::fprintf(stderr, "brightline-cli: %s is not JSON: %s\n", args[0].c_str(), e.what());
        return kExitFailed;
    } catch (const FileFormatError& e) {
        std::fprintf(stderr, "brightline-cli: %s: %s\n", args[0].c_str(), e.what());
        return kExitFailed;
    }
    if (!writeFileAtomically(args[1], bytes, &error)) {
        std::fprintf(stderr, "brightline-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

int runHashPassword(const Args& args) {
    if (args.size() != 1) return usage("hash-password TEXT");
    std::cout << hashPassword(args[0]) << "\n";
    return kExitOk;
}

}  // namespace brightline::cli
