#include "editor/compact_program.h"

#include <algorithm>

#include "common/effect_names.h"
#include "common/paths.h"
#include "editor/area_format.h"
#include "editor/element_list.h"
#include "editor/resource_libraries.h"

namespace brightline {
namespace {

// The settings the item view's menus and lists offer.
bool inRange(const std::optional<int>& v, int low, int high) {
    return !v || (*v >= low && *v <= high);
}

void applySettings(CElement& element, const CompactItem& item) {
    if (item.moveIn) setEntryEffect(element, *item.moveIn);
    if (item.moveOut) setExitEffect(element, *item.moveOut);
    if (item.speed) element.speed = *item.speed;
    if (item.hold) element.hold = *item.hold;
}

CompactItem itemOf(const CElement& e, bool background) {
    CompactItem item;
    item.path = e.path;
    if (e.moveIn != 0) item.moveIn = e.moveIn;
    if (e.moveOut != 0) item.moveOut = e.moveOut;
    if (e.speed != 0) item.speed = e.speed;
    const int droppedHold = background && isClip(mediumKindOf(e.path)) ? 0 : kDroppedHold;
    if (e.hold != droppedHold) item.hold = e.hold;
    return item;
}

std::string where(int area, size_t index) {
    return "area " + std::to_string(area) +
           (index == 0 ? " background" : " item " + std::to_string(index));
}

// The first field in which two elements differ, by its stored name; empty when none does.
std::string differingField(const CElement& a, const CElement& b) {
    if (a.path != b.path) return "path";
    if (a.moveIn != b.moveIn) return "moveIn";
    if (a.moveOut != b.moveOut) return "moveOut";
    if (a.speed != b.speed) return "speed";
    if (a.start != b.start) return "start";
    if (a.hold != b.hold) return "hold";
    if (a.barRect != b.barRect) return "barRect";
    return {};
}

int fieldValue(const CElement& e, const std::string& field) {
    if (field == "moveIn") return e.moveIn;
    if (field == "moveOut") return e.moveOut;
    if (field == "speed") return e.speed;
    if (field == "start") return e.start;
    return e.hold;
}

}  // namespace

ProgramData newProgram(int width, int height) {
    ProgramData program;
    program.ledWidth = width;
    program.ledHeight = height;
    program.resetToDefaultElements();
    return program;
}

void applyAreaFormat(ProgramData& program, int format) {
    program.areaFormat = normalAreaFormat(format);
    applyAreaFormat(program.areaFormat, program.ledWidth, program.ledHeight, program.regionLines);
}

std::optional<CompactProblem> compactProblem(const CompactProgram& c) {
    if (!isSignSize(c.width, c.height))
        return CompactProblem{"sign", std::to_string(c.width) + "x" + std::to_string(c.height) +
                                          " is not a sign size (" + kSignSizeRule + ")"};
    if (c.areaFormat && (*c.areaFormat < 0 || *c.areaFormat >= kAreaFormats))
        return CompactProblem{"areaFormat", "must lie in 0..10"};
    const int format = c.areaFormat.value_or(0);
    if (c.areas.size() > static_cast<size_t>(areaCountOf(format)))
        return CompactProblem{"areas", "holds " + std::to_string(c.areas.size()) +
                                           " areas, but area format " + std::to_string(format) +
                                           " has " + std::to_string(areaCountOf(format))};
    for (size_t a = 0; a < c.areas.size(); ++a) {
        const CompactArea& area = c.areas[a];
        for (size_t i = 0; i <= area.items.size(); ++i) {
            const CompactItem* item =
                i == 0 ? (area.background ? &*area.background : nullptr) : &area.items[i - 1];
            if (!item) continue;
            auto problem = [&](const char* field, const std::string& message) {
                return CompactProblem{field, message, static_cast<int>(a), static_cast<int>(i)};
            };
            if (mediumKindOf(item->path) == MediumKind::None)
                return problem("path", "\"" + item->path +
                                           "\" is no medium (.BMP, .JPG, .PNG, a video, .SWF, "
                                           ".ZRT or .TIM)");
            if (!inRange(item->moveIn, 0, kEffectCount - 2))
                return problem("in", "must be an effect at table position 1..45");
            if (!inRange(item->moveOut, 0, kEffectCount - 1))
                return problem("out", "must be an effect at table position 0..45");
            if (!inRange(item->speed, 0, kSpeedChoices - 1))
                return problem("speed", "must lie in 0.." + std::to_string(kSpeedChoices - 1));
            if (!inRange(item->hold, 0, kMaxDelaySeconds))
                return problem("hold", "must lie in 0.." + std::to_string(kMaxDelaySeconds));
            CElement probe;
            probe.path = item->path;
            if ((item->moveIn || item->moveOut) && !takesEffects(probe))
                return problem(item->moveIn ? "in" : "out",
                               "a clip or a clock page takes no effects");
        }
    }
    return std::nullopt;
}

ProgramData makeProgram(const CompactProgram& c, const ThumbIndexOf& thumbIndexOf) {
    ProgramData program = newProgram(c.width, c.height);
    if (c.areaFormat) applyAreaFormat(program, *c.areaFormat);
    const int areas =
        std::min<int>(static_cast<int>(c.areas.size()), areaCountOf(program.areaFormat));
    for (int a = 0; a < areas; ++a) {
        const CompactArea& area = c.areas[static_cast<size_t>(a)];
        if (area.background) {
            CElement* background = findElement(program, a, 0);
            takeAsBackground(*background, area.background->path,
                             thumbIndexOf(area.background->path));
            applySettings(*background, *area.background);
        }
        for (const CompactItem& item : area.items) {
            const int index =
                appendElement(program, droppedItem(item.path, thumbIndexOf(item.path)), a);
            applySettings(*findElement(program, a, index), item);
        }
    }
    return program;
}

std::optional<CompactProgram> compactOf(const ProgramData& program, std::string* why) {
    auto fail = [&](const std::string& reason) -> std::optional<CompactProgram> {
        if (why) *why = reason;
        return std::nullopt;
    };
    CompactProgram c;
    c.width = program.ledWidth;
    c.height = program.ledHeight;
    const ProgramData fresh = newProgram(program.ledWidth, program.ledHeight);
    if (program.areaFormat != 0 || program.regionLines != fresh.regionLines)
        c.areaFormat = program.areaFormat;
    const int areaCount = areaCountOf(program.areaFormat);
    for (int a = 0; a < kAreaSlots; ++a) {
        const auto& list = program.areaLists[static_cast<size_t>(a)];
        if (list.empty())
            return fail("area slot " + std::to_string(a) + " has no background element");
        if (a >= areaCount) continue;  // compared below with the new program's
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i].moveOut < 0)
                return fail(where(a, i) + " has no exit line (moveOut " +
                            std::to_string(list[i].moveOut) + "), which no list offers");
            if (list[i].moveIn < 0)
                return fail(where(a, i) + " has moveIn " + std::to_string(list[i].moveIn) +
                            ", which no list offers");
        }
        CompactArea area;
        if (!list[0].path.empty()) area.background = itemOf(list[0], true);
        for (size_t i = 1; i < list.size(); ++i) area.items.push_back(itemOf(list[i], false));
        c.areas.push_back(area);
    }
    // Trailing areas that hold nothing need not be said.
    while (!c.areas.empty() && !c.areas.back().background && c.areas.back().items.empty())
        c.areas.pop_back();
    if (auto problem = compactProblem(c)) {
        const std::string at =
            problem->area < 0 ? std::string() : where(problem->area, size_t(problem->index)) + " ";
        return fail(at + "(" + problem->field + "): " + problem->message);
    }

    // Made again, the program must be the same but for the thumbnail positions.
    ProgramData made = makeProgram(c, [](const std::string&) { return 0; });
    if (made.regionLines != program.regionLines)
        return fail("its dividing lines are not the ones area format " +
                    std::to_string(program.areaFormat) +
                    " sets (a line was dragged, or lines of an earlier format are kept)");
    for (int a = 0; a < kAreaSlots; ++a) {
        const auto& have = program.areaLists[static_cast<size_t>(a)];
        const auto& want = made.areaLists[static_cast<size_t>(a)];
        if (a >= areaCount && have != want) {
            bool same = have.size() == want.size();
            for (size_t i = 0; same && i < have.size(); ++i)
                same = differingField(have[i], want[i]).empty();
            if (!same)
                return fail("area slot " + std::to_string(a) + " holds elements area format " +
                            std::to_string(program.areaFormat) + " does not show");
            continue;
        }
        for (size_t i = 0; i < have.size(); ++i) {
            const std::string field = differingField(have[i], want[i]);
            if (field.empty()) continue;
            if (field == "barRect") return fail(where(a, i) + " keeps a timeline bar rectangle");
            return fail(
                where(a, i) + " has " + field + " " + std::to_string(fieldValue(have[i], field)) +
                " where the same clicks give " + std::to_string(fieldValue(want[i], field)) +
                (field == "start" ? " (each element starts where the one before ends)" : ""));
        }
    }
    return c;
}

int libraryThumbIndex(const std::string& startFolder, const std::string& path) {
    int tab = -1;
    switch (mediumKindOf(path)) {
        case MediumKind::Picture:
            tab = kTabPicture;
            break;
        case MediumKind::Video:
        case MediumKind::Flash:
            tab = kTabVideo;
            break;
        case MediumKind::TextPage:
            tab = kTabTextPage;
            break;
        default:
            return 0;
    }
    LibraryList library;
    library.load(joinPath(startFolder, libraryFileName(tab)));
    for (int entry = 0; entry < library.shownCount(); ++entry)
        if (library.shownPath(entry) == path) return entry;
    return 0;
}

}  // namespace brightline
