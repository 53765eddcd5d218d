// The cost of one step of every transition effect on a 512 x 128 region, worst first.
// A step is drawn once per 40 ms tick; target: the worst step under 2 ms. The figure is the
// effect's whole run (entry and exit, speed 0, stepped clock) divided by its ticks, so it
// includes the per-tick switch between the runner and the effect (a fiber on the same thread).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "common/effect_names.h"
#include "engine/effect_runner.h"

using namespace brightline::engine;

int main() {
    const int w = 512, h = 128;
    std::vector<std::string> names;
    for (int i = 0; i < brightline::kEffectCount; ++i)
        names.push_back(brightline::effectAt(i)->name);
    names.push_back("ROTATE");
    struct Row {
        std::string name;
        int ticks;
        double msPerStep;
    };
    std::vector<Row> rows;
    const std::vector<uint32_t> card = testCard(w, h);
    for (const std::string& name : names) {
        int ticks = 0;
        double seconds = 0;
        for (bool entry : {true, false}) {
            EffectRun run;
            run.name = name;
            run.entry = entry;
            run.width = w;
            run.height = h;
            run.page = card;
            run.display = entry ? std::vector<uint32_t>(card.size(), 0u) : card;
            auto start = std::chrono::steady_clock::now();
            ticks += std::max(0, runEffect(run, [](int, const uint32_t*, bool) {}));
            seconds +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        rows.push_back({name, ticks, ticks ? seconds * 1000.0 / ticks : 0.0});
    }
    std::sort(rows.begin(), rows.end(),
              [](const Row& a, const Row& b) { return a.msPerStep > b.msPerStep; });
    std::printf("effect step cost on %d x %d (a tick is 40 ms; target: worst < 2 ms)\n", w, h);
    for (const Row& r : rows)
        std::printf("  %-14s %6d ticks  %7.3f ms/step%s\n", r.name.c_str(), r.ticks, r.msPerStep,
                    r.msPerStep < 2.0 ? "" : "  OVER TARGET");
    return 0;
}
