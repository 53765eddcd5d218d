// effects: every transition effect as an animated GIF (entry and exit) on a test card, and a
// still of each entry half-way, at a chosen size (the editor's lists use 96 x 72).
#include <cstdio>
#include <string>
#include <vector>

#include "apps/brightline-cli/commands.h"
#include "common/effect_names.h"
#include "common/folders.h"
#include "engine/effect_runner.h"
#include "engine/gif_writer.h"
#include "engine/png_codec.h"
#include "engine/workspace_file.h"

namespace brightline::cli {
namespace {

constexpr const char* kEffectsUsage = "effects [--size WxH] [--speed N] --out DIR | --list";

// One line per effect: its table position ("-" for ROTATE, which has none), its script name and
// the name the editor's lists show, separated by tabs.
int listEffects() {
    for (int p = 0; p < kEffectCount; ++p) {
        const EffectInfo* e = effectAt(p);
        std::printf("%d\t%s\t%s\n", p, e->name, e->displayName);
    }
    std::printf("-\tROTATE\t\n");
    return kExitOk;
}

bool parseSize(const std::string& text, int& w, int& h) {
    size_t x = text.find('x');
    if (x == std::string::npos) return false;
    try {
        size_t used = 0;
        w = std::stoi(text.substr(0, x), &used);
        if (used != x) return false;
        h = std::stoi(text.substr(x + 1), &used);
        if (used != text.size() - x - 1) return false;
    } catch (...) {
        return false;
    }
    return w >= 1 && h >= 1 && w <= 4096 && h <= 4096;
}

// One GIF of the effect; for entries also the half-way still. False with a message on failure.
bool renderEffect(const std::string& name, bool entry, int w, int h, int speed,
                  const std::string& folder) {
    engine::EffectRun run;
    run.name = name;
    run.entry = entry;
    run.speed = speed;
    run.width = w;
    run.height = h;
    run.page = engine::testCard(w, h);
    run.display = entry ? std::vector<uint32_t>(run.page.size(), 0u) : run.page;

    std::vector<std::vector<uint32_t>> frames;
    int ticks = engine::runEffect(run, [&](int, const uint32_t* display, bool) {
        frames.emplace_back(display, display + run.page.size());
    });
    if (ticks < 0) return false;
    if (frames.empty()) frames.push_back(run.display);  // NULL: the unchanged content

    std::string base = engine::workspacePath(folder, name + (entry ? "_in" : "_out"));
    engine::GifWriter gif(base + ".gif");
    for (size_t i = 0; i < frames.size(); ++i) gif.frame(w, h, frames[i].data(), i + 1);
    gif.finish();
    if (!gif.error().empty()) {
        std::fprintf(stderr, "brightline-cli: %s\n", gif.error().c_str());
        return false;
    }
    if (entry) {
        std::string error;
        const auto& half = frames[frames.size() / 2];
        if (!engine::writePngFile(engine::workspacePath(folder, name + ".png"), w, h, half.data(),
                                  &error)) {
            std::fprintf(stderr, "brightline-cli: %s\n", error.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int runEffects(const Args& args) {
    int w = 96, h = 72, speed = 0;
    std::string out;
    if (args.size() == 1 && args[0] == "--list") return listEffects();
    for (size_t i = 0; i < args.size(); ++i) {
        bool hasValue = i + 1 < args.size();
        if (args[i] == "--size" && hasValue) {
            if (!parseSize(args[++i], w, h)) return usage(kEffectsUsage);
        } else if (args[i] == "--speed" && hasValue) {
            try {
                speed = std::stoi(args[++i]);
            } catch (...) {
                return usage(kEffectsUsage);
            }
        } else if (args[i] == "--out" && hasValue) {
            out = args[++i];
        } else {
            return usage(kEffectsUsage);
        }
    }
    if (out.empty()) return usage(kEffectsUsage);
    if (!ensureFolder(out)) {
        std::fprintf(stderr, "brightline-cli: cannot create the folder %s\n", out.c_str());
        return kExitFailed;
    }
    std::vector<std::string> names;
    for (int p = 0; p < kEffectCount; ++p) names.push_back(effectAt(p)->name);
    names.push_back("ROTATE");
    for (const std::string& name : names)
        for (bool entry : {true, false})
            if (!renderEffect(name, entry, w, h, speed, out)) return kExitFailed;
    std::printf("%zu effects written to %s\n", names.size(), out.c_str());
    return kExitOk;
}

}  // namespace brightline::cli
