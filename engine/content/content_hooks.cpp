#include "engine/content/content_hooks.h"

#include <sys/stat.h>
#include <algorithm>

#include "common/folders.h"
#include "engine/clock/clock_page_file.h"
#include "engine/content/clip_player.h"
#include "engine/content/clock_page_renderer.h"
#include "engine/content/html_page_renderer.h"
#include "engine/content/page_canvas.h"
#include "engine/content/ztx_page_renderer.h"
#include "engine/diagnostic_output.h"
#include "engine/region_context.h"
#include "engine/workspace_file.h"
#include "media/dsn_picture.h"
#include "media/picture_loader.h"

namespace brightline::content {
namespace {

// Bytes of a text page that are read.
constexpr size_t kTextPageLimit = 65536;

FontDiagnostics toDiag(engine::DiagnosticOutput& diag) {
    return [&diag](const std::string& line) { diag.write(line); };
}

media::PictureFileKind fileKind(engine::PictureKind kind) {
    switch (kind) {
        case engine::PictureKind::Jpg:
            return media::PictureFileKind::Jpeg;
        case engine::PictureKind::Bmp:
            return media::PictureFileKind::Bmp;
        case engine::PictureKind::Png:
            return media::PictureFileKind::Png;
        case engine::PictureKind::Dsn:
            break;
    }
    return media::PictureFileKind::Dsn;
}

const char* extension(engine::PictureKind kind) {
    switch (kind) {
        case engine::PictureKind::Jpg:
            return ".jpg";
        case engine::PictureKind::Bmp:
            return ".bmp";
        case engine::PictureKind::Png:
            return ".png";
        case engine::PictureKind::Dsn:
            break;
    }
    return ".dsn";
}

// Page 0 black and alone, as the region's current source page; the content is one region.
uint32_t* resetToPageZero(engine::RegionContext& ctx) {
    uint32_t* page0 = ctx.pages.page(0);
    ctx.pages.freeExtraPages();
    std::fill(page0, page0 + ctx.pixelCount(), 0u);
    ctx.currentPage = page0;
    ctx.contentWidth = ctx.width;
    ctx.contentHeight = ctx.height;
    ctx.contentSize = ctx.bufferSize;
    return page0;
}

bool isFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

ContentHooks::ContentHooks(ContentSettings settings)
    : settings_(std::move(settings)),
      clock_(settings_.clock ? settings_.clock : std::make_shared<SystemUtcClock>()),
      face_(settings_.cjkFacePath) {}

int ContentHooks::loadBuiltInLocked(engine::DiagnosticOutput& diag) {
    builtInLoaded_ = true;
    const std::string start = settings_.startFolder.empty() ? startFolder() : settings_.startFolder;
    const std::string program =
        settings_.programFolder.empty() ? programFolder() : settings_.programFolder;
    return fonts_.loadBuiltIn(start, program, toDiag(diag));
}

void ContentHooks::ensureBuiltInFonts(engine::DiagnosticOutput& diag) {
    {
        std::shared_lock<std::shared_mutex> lock(fontsMutex_);
        if (builtInLoaded_) return;
    }
    std::unique_lock<std::shared_mutex> lock(fontsMutex_);
    if (!builtInLoaded_) loadBuiltInLocked(diag);
}

int ContentHooks::fontCount(engine::DiagnosticOutput& diag) {
    ensureBuiltInFonts(diag);
    std::shared_lock<std::shared_mutex> lock(fontsMutex_);
    return fonts_.count();
}

void ContentHooks::loadFont(const std::string& path, engine::DiagnosticOutput& diag) {
    std::unique_lock<std::shared_mutex> lock(fontsMutex_);
    // A show starts from the two built-in files; its FONT file comes after them.
    fonts_.clear();
    loadBuiltInLocked(diag);
    std::string file = path;
    if (!isFile(file)) {
        const size_t slash = path.find_last_of("/\\");
        if (slash != std::string::npos) {
            if (auto found =
                    engine::findWorkspaceFile(path.substr(0, slash), path.substr(slash + 1)))
                file = *found;
        }
    }
    fonts_.loadFile(file, toDiag(diag));
}

void ContentHooks::loadPicture(engine::PictureKind kind, const std::string& name,
                               engine::RegionContext& ctx) {
    uint32_t* page0 = resetToPageZero(ctx);
    const std::string folder =
        kind == engine::PictureKind::Dsn
            ? (settings_.dsnFolder.empty() ? media::dsnFolder() : settings_.dsnFolder)
            : ctx.workspace;
    const media::PictureFileKind fileKindOf = fileKind(kind);
    const std::optional<std::string> found =
        engine::findWorkspaceFile(folder, engine::mediaFileName(name, extension(kind)));
    const std::string path = found ? *found : media::picturePath(fileKindOf, folder, name);
    media::Picture page;
    const media::PictureLoadResult result =
        media::loadPicturePage(fileKindOf, path, ctx.width, ctx.height, page);
    if (!result.diagnostic.empty()) ctx.diag->write(result.diagnostic);
    if (result.ok && page.pixels.size() == ctx.pixelCount())
        std::copy(page.pixels.begin(), page.pixels.end(), page0);
}

void ContentHooks::loadTextPage(engine::TextPageKind kind, const std::string& name,
                                engine::RegionContext& ctx) {
    ensureBuiltInFonts(*ctx.diag);
    resetToPageZero(ctx);
    const std::string file =
        engine::mediaFileName(name, kind == engine::TextPageKind::Html ? ".htm" : ".ztx");
    std::vector<char> bytes;
    const engine::ReadStatus status =
        engine::readWorkspaceFile(ctx.workspace, file, bytes, kTextPageLimit);
    if (status == engine::ReadStatus::NotFound) {
        engine::diagf(*ctx.diag, "could not open %s \n",
                      engine::workspacePath(ctx.workspace, file).c_str());
        return;
    }
    if (status == engine::ReadStatus::ReadFailed) {
        ctx.diag->write("read htm failed\n");
        return;
    }
    const std::string text(bytes.begin(), bytes.end());
    PageCanvas canvas(ctx.pages, ctx.width, ctx.height);
    {
        std::shared_lock<std::shared_mutex> lock(fontsMutex_);
        if (kind == engine::TextPageKind::Html)
            HtmlPageRenderer(canvas, fonts_, &face_, *ctx.diag).render(text);
        else
            ZtxPageRenderer(canvas, fonts_).render(text);
    }
    ctx.currentPage = ctx.pages.page(0);
    ctx.contentWidth = canvas.contentWidth();
    ctx.contentHeight = ctx.height;
    ctx.contentSize = static_cast<uint32_t>(size_t(ctx.contentWidth) * size_t(ctx.height) * 4u);
}

bool ContentHooks::loadClockPage(const std::string& name, engine::RegionContext& ctx) {
    ensureBuiltInFonts(*ctx.diag);
    resetToPageZero(ctx);
    const std::string file = engine::mediaFileName(name, ".tim");
    const std::optional<std::string> found = engine::findWorkspaceFile(ctx.workspace, file);
    if (!found) {
        engine::diagf(*ctx.diag, "could not open %s \n",
                      engine::workspacePath(ctx.workspace, file).c_str());
        return false;
    }
    return brightline::loadClockPage(*found, ctx.clockPage, toDiag(*ctx.diag));
}

bool ContentHooks::clockTick(engine::RegionContext& ctx) {
    const ClockPage& page = ctx.clockPage;
    uint32_t* page0 = ctx.pages.page(0);
    ctx.currentPage = page0;
    const CivilTime shown = shownTime(page, clock_->nowUtc());
    const std::optional<int> celsius =
        page.temperature.shown && settings_.temperature ? settings_.temperature() : std::nullopt;
    {
        std::shared_lock<std::shared_mutex> lock(fontsMutex_);
        drawClockFields(page, shown, fonts_, page0, ctx.width, ctx.height);
        drawClockExtras(page, celsius, fonts_, page0, ctx.width, ctx.height);
    }
    std::copy(page0, page0 + ctx.pixelCount(), ctx.display);
    return engine::showStep(ctx, 0);
}

void ContentHooks::playClip(const engine::ClipCommand& clip, engine::RegionContext& ctx) {
    content::playClip(clip, ctx);
}

std::unique_ptr<engine::MediaHooks> makeContentHooks(ContentSettings settings) {
    return std::make_unique<ContentHooks>(std::move(settings));
}

}  // namespace brightline::content
