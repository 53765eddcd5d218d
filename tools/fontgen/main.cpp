// bl_fontgen: writes the two built-in bitmap font files from Debian's font packages.
//
//   bl_fontgen --unifont unifont.hex --x11 MISC_FOLDER --dejavu DEJAVU_FOLDER OUT_FOLDER...
//
// Writes "zhzk16.bin" and "ezfon.bin" into every OUT_FOLDER (created when missing). The same
// input files always give the same bytes.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/folders.h"
#include "engine/fonts/font_table.h"
#include "engine/fonts/zfon_file.h"
#include "tools/fontgen/gb2312_font.h"
#include "tools/fontgen/named_fonts.h"

using namespace brightline;

int main(int argc, char** argv) {
    std::string unifont;
    fontgen::FontSources sources;
    std::vector<std::string> outFolders;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--unifont" || a == "--x11" || a == "--dejavu") && i + 1 < argc) {
            std::string v = argv[++i];
            if (a == "--unifont")
                unifont = v;
            else if (a == "--x11")
                sources.x11MiscFolder = v;
            else
                sources.dejavuFolder = v;
        } else {
            outFolders.push_back(a);
        }
    }
    if (unifont.empty() || sources.x11MiscFolder.empty() || sources.dejavuFolder.empty() ||
        outFolders.empty()) {
        std::fprintf(
            stderr,
            "usage: bl_fontgen --unifont unifont.hex --x11 MISC_FOLDER --dejavu DEJAVU_FOLDER "
            "OUT_FOLDER...\n");
        return 2;
    }
    try {
        std::vector<BitmapFont> gb;
        gb.push_back(fontgen::makeGb2312Font(unifont));
        auto gbBytes = writeZfon(gb);
        auto namedBytes = writeZfon(fontgen::makeNamedFonts(sources));
        for (const std::string& folder : outFolders) {
            std::string error;
            if (!ensureFolder(folder) ||
                !writeFileAtomically(folder + "/" + kGb2312FontFile, gbBytes, &error) ||
                !writeFileAtomically(folder + "/" + kNamedFontFile, namedBytes, &error)) {
                std::fprintf(stderr, "bl_fontgen: %s: %s\n", folder.c_str(), error.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bl_fontgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
