// Clock page files from arbitrary text, then every field laid out with fonts of odd sizes at
// odd times: nothing may crash or overflow.
#include <cstdlib>
#include <string>

#include "engine/clock/clock_fields.h"
#include "engine/clock/clock_page.h"
#include "engine/clock/local_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    ClockPage page;
    applyClockPageText(std::string(reinterpret_cast<const char*>(data), size), page);
    if (page.date.text.size() > kTemplateLimit || page.title.text.size() > kTitleLimit)
        std::abort();
    FontTable fonts;
    for (int i = 0; i < 5; ++i) {
        FontHeader h{static_cast<uint8_t>(i & 1), static_cast<uint8_t>(i * 7),
                     static_cast<uint8_t>(i * 3), 0x20, 95};
        fonts.add(BitmapFont(h, std::vector<uint8_t>(h.blockSize(), uint8_t(i * 37))));
    }
    const int64_t times[] = {0, -2208988800LL, 1804204800LL, 4102444799LL};
    for (int64_t now : times) {
        CivilTime t = shownTime(page, now);
        if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.weekday < 0 ||
            t.weekday > 6)
            std::abort();
        auto a = layoutClockFields(page, t, fonts, RegionSize{128, 64});
        auto b = layoutClockExtras(page, static_cast<int>(now % 100), fonts, RegionSize{128, 64});
        for (const auto& g : a)
            if (g.x < 0 || g.x >= 128 || g.y < 0) std::abort();
        (void)b;
    }
    return 0;
}
