// inspect, build and hash-password: the stored files as JSON.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "apps/brightline-cli/commands.h"
#include "apps/brightline-cli/json_files.h"
#include "common/file_io.h"
#include "common/paths.h"
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

}  // namespace

int runInspect(const Args& args) {
    if (args.size() != 1) return usage("inspect FILE");
    std::vector<uint8_t> bytes;
    std::string error;
    if (!readWholeFile(args[0], bytes, &error)) {
        std::fprintf(stderr, "brightline-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    if (bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, "ZAVI"))
        return inspectClip(args[0], bytes);
    if (swf::looksLikeMovie(bytes.data(), bytes.size())) return inspectMovie(args[0], bytes);
    try {
        std::cout << fileToJson(bytes).dump(2) << "\n";
    } catch (const FileFormatError& e) {
        std::fprintf(stderr, "brightline-cli: %s: %s\n", args[0].c_str(), e.what());
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
