#include "engine/content/clip_player.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/diagnostic_output.h"
#include "engine/effects.h"
#include "engine/region_context.h"
#include "engine/region_slot.h"
#include "engine/workspace_file.h"
#include "media/clip_rules.h"

namespace brightline::content {
namespace {

void copyInto(uint32_t* to, const media::Picture& page) {
    std::copy(page.pixels.begin(), page.pixels.end(), to);
}

bool stopped(const engine::RegionContext& ctx) {
    return ctx.slot && ctx.slot->stop.load();
}

}  // namespace

int buildClipStrip(media::ZviReader& reader, engine::PageList& pages, int width, int height) {
    pages.freeExtraPages();
    const int wanted = media::stripFrameCount(reader.header().frameCount);
    media::Picture frame(width, height);
    int count = 0;
    for (int i = 0; i < wanted; ++i) {
        const media::ClipPageResult result =
            media::readClipFrameIntoPage(reader, width, height, frame);
        if (result == media::ClipPageResult::End) break;
        uint32_t* page = pages.ensurePage(i);
        if (!page) break;
        // A skipped frame leaves `frame` as it was: the previous frame stands in for it.
        copyInto(page, frame);
        count = i + 1;
    }
    if (uint32_t* blank = pages.ensurePage(count))
        std::fill(blank, blank + size_t(width) * size_t(height), 0u);
    return count;
}

void playClip(const engine::ClipCommand& clip, engine::RegionContext& ctx) {
    uint32_t* page0 = ctx.pages.page(0);
    ctx.pages.freeExtraPages();
    std::fill(page0, page0 + ctx.pixelCount(), 0u);
    ctx.currentPage = page0;
    ctx.contentWidth = ctx.width;
    ctx.contentHeight = ctx.height;
    ctx.contentSize = ctx.bufferSize;

    const std::string file = engine::mediaFileName(clip.name, ".zvi");
    const std::optional<std::string> found = engine::findWorkspaceFile(ctx.workspace, file);
    const std::string path = found ? *found : engine::workspacePath(ctx.workspace, file);
    engine::diagf(*ctx.diag, media::kClipLoadLine, path.c_str());
    media::ZviReader reader;
    if (!found || !reader.openFile(*found)) return;

    const media::ZviHeader& header = reader.header();
    engine::diagf(*ctx.diag, media::kClipSpeedLine, media::clipSpeedForRate(header.rate));
    const media::ClipPlan plan = media::planClip(header, clip.speed, clip.entryEffect);
    const int speed = plan.speed;
    const long long holdTicks = static_cast<long long>(std::max(clip.hold, 0)) * kTicksPerSecond;

    if (plan.strip) {
        const int frames = buildClipStrip(reader, ctx.pages, ctx.width, ctx.height);
        ctx.contentWidth = (frames + 1) * ctx.width;
        ctx.contentSize = static_cast<uint32_t>(ctx.contentWidth) * ctx.height * 4u;
        engine::runEntryEffect(ctx, clip.entryEffect, speed);
        engine::waitTicks(ctx, holdTicks);
        return;
    }

    media::Picture frame(ctx.width, ctx.height);
    bool displayCleared = false;
    for (int f = 0; f < plan.framesToRead && !stopped(ctx); ++f) {
        const media::ClipPageResult result =
            media::readClipFrameIntoPage(reader, ctx.width, ctx.height, frame);
        if (result == media::ClipPageResult::End) break;
        if (result != media::ClipPageResult::Failed) copyInto(page0, frame);
        if (result == media::ClipPageResult::ShownSizeDiffers && !displayCleared) {
            std::fill(ctx.display, ctx.display + ctx.pixelCount(), 0u);
            displayCleared = true;
        }
        const uint64_t stepsBefore = ctx.stepsTaken;
        engine::runEntryEffect(ctx, clip.entryEffect, speed);
        engine::waitTicks(ctx, holdTicks);
        engine::runExitEffect(ctx, clip.exitEffect, speed);
        engine::diagf(*ctx.diag, media::kClipFrameLine, speed, clip.hold);
        // A frame that neither draws nor waits (effects "NULL", no hold) still costs a tick, so
        // a long clip cannot hold the show's tick.
        if (ctx.stepsTaken == stepsBefore) engine::waitTicks(ctx, 1);
    }
}

}  // namespace brightline::content
