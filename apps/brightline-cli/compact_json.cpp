// The compact program form of `brightline-cli build` and `inspect --compact`.
#include <cctype>
#include <cstring>
#include <filesystem>

#include "apps/brightline-cli/json_fields.h"
#include "apps/brightline-cli/json_files.h"
#include "common/effect_names.h"

namespace brightline {
namespace {

using ojson = nlohmann::ordered_json;
using json = nlohmann::json;
using jsonio::Fields;
using jsonio::indexed;

bool sameText(const std::string& a, const char* b) {
    if (!b || a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string absoluteMediumPath(const std::string& path, const std::string& baseFolder) {
    namespace fs = std::filesystem;
    fs::path p(path);
    if (p.is_relative()) p = fs::path(baseFolder.empty() ? "." : baseFolder) / p;
    return fs::absolute(p).lexically_normal().string();
}

CompactItem itemFromJson(const json& v, const std::string& where, const std::string& baseFolder) {
    CompactItem item;
    const bool bare = v.is_string();
    std::string pathWhere = bare ? where : where + ".path";
    if (bare) {
        item.path = v.get<std::string>();
    } else {
        if (!v.is_object())
            throw FileFormatError(where + " must be a path or an object with \"path\"");
        Fields f(v, where);
        f.only({"path", "in", "out", "speed", "hold"});
        item.path = f.text("path");
        if (f.has("in")) {
            const int position = effectPositionFromJson(f.at("in"), f.name("in"));
            if (position < 1)
                throw FileFormatError(f.name("in") +
                                      ": \"NULL\" is no entry effect (the entries start at "
                                      "\"SHOW\")");
            item.moveIn = position - 1;
        }
        if (f.has("out")) item.moveOut = effectPositionFromJson(f.at("out"), f.name("out"));
        if (f.has("speed")) item.speed = f.i32("speed");
        if (f.has("hold")) item.hold = f.i32("hold");
    }
    if (item.path.empty()) throw FileFormatError(pathWhere + " is empty");
    item.path = absoluteMediumPath(item.path, baseFolder);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(item.path, ec))
        throw FileFormatError(pathWhere + ": " + item.path + " is no file");
    return item;
}

ojson itemJson(const CompactItem& item) {
    if (!item.moveIn && !item.moveOut && !item.speed && !item.hold) return item.path;
    ojson out;
    out["path"] = item.path;
    if (item.moveIn) out["in"] = entryEffectName(*item.moveIn);
    if (item.moveOut) out["out"] = exitEffectName(*item.moveOut);
    if (item.speed) out["speed"] = *item.speed;
    if (item.hold) out["hold"] = *item.hold;
    return out;
}

}  // namespace

int effectPositionFromJson(const json& value, const std::string& where) {
    if (!value.is_string())
        throw FileFormatError(where +
                              " must be an effect name such as \"DFR_LF\" or \"Move left\"");
    const std::string name = value.get<std::string>();
    for (int position = 0; position < kEffectCount; ++position) {
        const EffectInfo* e = effectAt(position);
        if (sameText(name, e->name) || sameText(name, e->displayName)) return position;
    }
    throw FileFormatError(where + ": \"" + name +
                          "\" is no effect of the table (docs/json-files.md lists them)");
}

bool parseSizeText(const std::string& text, int& width, int& height) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos || x == 0 || x + 1 == text.size() || x > 5 ||
        text.size() - x - 1 > 5 || text.find_first_not_of("0123456789xX") != std::string::npos ||
        text.find_first_of("xX", x + 1) != std::string::npos)
        return false;
    width = std::stoi(text.substr(0, x));
    height = std::stoi(text.substr(x + 1));
    return width > 0 && height > 0;
}

bool isCompactProgram(const json& document) {
    return document.is_object() && document.contains("areas");
}

CompactProgram compactFromJson(const json& document, const std::string& baseFolder) {
    Fields f(document, "");
    f.only({"sign", "areaFormat", "areas"});
    CompactProgram c;
    const std::string sign = f.text("sign");
    if (!parseSizeText(sign, c.width, c.height))
        throw FileFormatError("sign must be \"WIDTHxHEIGHT\" in pixels, such as \"128x64\"");
    if (f.has("areaFormat")) c.areaFormat = f.i32("areaFormat");
    const json& areas = f.array("areas");
    for (size_t a = 0; a < areas.size(); ++a) {
        Fields area(areas[a], indexed("areas", a));
        area.only({"background", "items"});
        CompactArea out;
        if (area.has("background"))
            out.background =
                itemFromJson(area.at("background"), area.name("background"), baseFolder);
        if (area.has("items")) {
            const json& items = area.array("items");
            for (size_t i = 0; i < items.size(); ++i)
                out.items.push_back(
                    itemFromJson(items[i], indexed(area.name("items"), i), baseFolder));
        }
        c.areas.push_back(out);
    }
    if (auto problem = compactProblem(c)) {
        std::string where = problem->field;
        if (problem->area >= 0) {
            const std::string area = indexed("areas", size_t(problem->area));
            const json& v = problem->index == 0
                                ? areas[size_t(problem->area)]["background"]
                                : areas[size_t(problem->area)]["items"][size_t(problem->index - 1)];
            const std::string element = problem->index == 0
                                            ? area + ".background"
                                            : indexed(area + ".items", size_t(problem->index - 1));
            where = v.is_string() ? element : element + "." + problem->field;
        }
        throw FileFormatError(where + " " + problem->message);
    }
    return c;
}

ojson compactJson(const CompactProgram& c) {
    ojson doc;
    doc["sign"] = std::to_string(c.width) + "x" + std::to_string(c.height);
    if (c.areaFormat) doc["areaFormat"] = *c.areaFormat;
    ojson areas = ojson::array();
    for (const CompactArea& area : c.areas) {
        ojson out = ojson::object();
        if (area.background) out["background"] = itemJson(*area.background);
        if (!area.items.empty()) {
            ojson items = ojson::array();
            for (const CompactItem& item : area.items) items.push_back(itemJson(item));
            out["items"] = items;
        }
        areas.push_back(out);
    }
    doc["areas"] = areas;
    return doc;
}

}  // namespace brightline
