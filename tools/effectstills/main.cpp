// bl_effectstills OUTPUT_FOLDER: writes "move_in.png" (45 stills) and "move_out.png" (46
// stills), the picture strips of the property view's effect lists.
#include <cstdio>
#include <string>

#include "engine/png_codec.h"
#include "tools/effectstills/effect_stills.h"

int main(int argc, char** argv) {
    using namespace brightline;
    if (argc != 2) {
        std::fprintf(stderr, "usage: bl_effectstills OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (bool entry : {true, false}) {
        const tools::Strip strip = tools::effectStrip(entry);
        const std::string path = folder + (entry ? "/move_in.png" : "/move_out.png");
        std::string error;
        if (!engine::writePngFile(path, strip.width, strip.height, strip.pixels.data(), &error)) {
            std::fprintf(stderr, "bl_effectstills: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
