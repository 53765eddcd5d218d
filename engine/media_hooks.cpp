#include "engine/media_hooks.h"

#include <algorithm>
#include <cstring>

#include "engine/diagnostic_output.h"
#include "engine/png_codec.h"
#include "engine/region_context.h"
#include "engine/workspace_file.h"

namespace brightline::engine {

std::string mediaFileName(const std::string& name, const char* extension) {
    return lowerMediaName(name + extension);
}

void loadPngPicture(const std::string& name, RegionContext& ctx) {
    uint32_t* page = ctx.pages.page(0);
    ctx.currentPage = page;
    std::fill(page, page + ctx.pixelCount(), 0u);
    std::optional<std::string> path = findWorkspaceFile(ctx.workspace, mediaFileName(name, ".png"));
    if (!path) return;  // a missing PNG leaves the page black without a message
    RgbaImage image;
    if (!readPngFile(*path, image)) return;
    int rows = std::min(image.height, ctx.height);
    int cols = std::min(image.width, ctx.width);
    for (int y = 0; y < rows; ++y) {
        const uint8_t* from = image.rgba.data() + size_t(y) * image.width * 4;
        uint32_t* to = page + size_t(y) * ctx.width;
        for (int x = 0; x < cols; ++x, from += 4)
            to[x] = (uint32_t(from[0]) << 16) | (uint32_t(from[1]) << 8) | from[2];
    }
}

void MediaHooks::loadPicture(PictureKind kind, const std::string& name, RegionContext& ctx) {
    switch (kind) {
        case PictureKind::Png:
            loadPngPicture(name, ctx);
            return;
        case PictureKind::Jpg:
            ctx.diag->write("JPG not supported yet\n");
            return;
        case PictureKind::Bmp:
            ctx.diag->write("BMP not supported yet\n");
            return;
        case PictureKind::Dsn:
            ctx.diag->write("DSN not supported yet\n");
            return;
    }
}

void MediaHooks::loadTextPage(TextPageKind kind, const std::string&, RegionContext& ctx) {
    ctx.diag->write(kind == TextPageKind::Html ? "HTML not supported yet\n"
                                               : "ZTXT not supported yet\n");
}

bool MediaHooks::loadClockPage(const std::string&, RegionContext& ctx) {
    ctx.diag->write("TIME not supported yet\n");
    return false;
}

bool MediaHooks::clockTick(RegionContext& ctx) {
    return waitTicks(ctx, 1);
}

void MediaHooks::playClip(const ClipCommand&, RegionContext& ctx) {
    ctx.diag->write("ZAVI not supported yet\n");
}

void MediaHooks::loadFont(const std::string&, DiagnosticOutput& diag) {
    diag.write("FONT not supported yet\n");
}

}  // namespace brightline::engine
