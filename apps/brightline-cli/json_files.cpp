#include "apps/brightline-cli/json_files.h"

#include <cstring>
#include <limits>

#include "apps/brightline-cli/json_fields.h"
#include "comm/led_set_data.h"
#include "common/effect_names.h"
#include "editor/area_format.h"
#include "editor/program_data.h"
#include "editor/resource_library.h"
#include "shell/schedule.h"
#include "shell/user_info.h"

namespace brightline {
namespace {

using ojson = nlohmann::ordered_json;
using json = nlohmann::json;
using jsonio::Fields;
using jsonio::indexed;

ojson rectJson(const Rect& r) {
    return ojson::array({r.left, r.top, r.right, r.bottom});
}

// ---- program -------------------------------------------------------------------------------

ojson programJson(const ProgramData& p) {
    ojson doc;
    doc["kind"] = "program";
    doc["ledWidth"] = p.ledWidth;
    doc["ledHeight"] = p.ledHeight;
    doc["areaFormat"] = p.areaFormat;
    ojson lines = ojson::array();
    for (const auto& l : p.regionLines) {
        ojson line;
        line["band"] = rectJson(l.band);
        line["selected"] = l.selected;
        line["horizontal"] = l.horizontal;
        line["role"] = l.role;
        line["endLineA"] = l.endLineA;
        line["endLineB"] = l.endLineB;
        lines.push_back(line);
    }
    doc["regionLines"] = lines;
    ojson lists = ojson::array();
    for (const auto& list : p.areaLists) {
        ojson elements = ojson::array();
        for (const auto& e : list) {
            ojson element;
            element["path"] = e.path;
            element["thumbIndex"] = e.thumbIndex;
            element["moveIn"] = e.moveIn;
            element["moveInName"] = entryEffectName(e.moveIn);
            element["moveOut"] = e.moveOut;
            element["moveOutName"] =
                e.moveOut < 0 ? ojson(nullptr) : ojson(exitEffectName(e.moveOut));
            element["speed"] = e.speed;
            element["start"] = e.start;
            element["hold"] = e.hold;
            element["barRect"] = rectJson(e.barRect);
            elements.push_back(element);
        }
        lists.push_back(elements);
    }
    doc["areaLists"] = lists;
    return doc;
}

// An effect field of an element: the list index, or an effect by name. `entry`: the Move In
// list (index = table position - 1, -1 for "SHOW" without an effect), else the Move Out list
// (index = table position, -1 for no exit line). The derived "...Name" field that inspect
// prints is checked against it when present.
int32_t effectFromJson(const Fields& e, const char* key, const char* nameKey, bool entry) {
    const json& v = e.at(key);
    int32_t index = 0;
    if (v.is_string()) {
        const int position = effectPositionFromJson(v, e.name(key));
        if (entry && position == 0)
            throw FileFormatError(e.name(key) +
                                  ": \"NULL\" is no entry effect (the entries start at \"SHOW\")");
        index = entry ? position - 1 : position;
    } else {
        index = int32_t(e.number(key, -1, entry ? kEffectCount - 2 : kEffectCount - 1));
    }
    if (e.has(nameKey)) {
        const json& n = e.at(nameKey);
        const bool noExit = !entry && index < 0;
        const std::string stored =
            entry ? entryEffectName(index) : (noExit ? std::string() : exitEffectName(index));
        const bool agrees = noExit ? n.is_null()
                                   : n.is_string() && effectPositionFromJson(n, e.name(nameKey)) ==
                                                          *effectPosition(stored);
        if (!agrees)
            throw FileFormatError(e.name(nameKey) + " " + n.dump() + " is not the effect of " +
                                  e.name(key) + " " + std::to_string(index) +
                                  (noExit ? " (no exit line)" : " (\"" + stored + "\")") +
                                  "; change both or leave the name out");
    }
    return index;
}

ProgramData programFromJson(const json& doc) {
    Fields f(doc, "");
    f.only({"kind", "ledWidth", "ledHeight", "areaFormat", "regionLines", "areaLists"});
    ProgramData p;
    p.ledWidth = f.i32("ledWidth");
    p.ledHeight = f.i32("ledHeight");
    if (!isSignSize(p.ledWidth, p.ledHeight))
        throw FileFormatError(
            std::string(limitSignWidth(p.ledWidth, p.ledHeight) != p.ledWidth ? "ledWidth"
                                                                              : "ledHeight") +
            ": " + std::to_string(p.ledWidth) + "x" + std::to_string(p.ledHeight) +
            " is not a sign size (" + kSignSizeRule + ")");
    p.areaFormat = int32_t(f.number("areaFormat", 0, kAreaFormats - 1));
    const json& lines = f.array("regionLines");
    if (lines.size() != kRegionLines) throw FileFormatError("regionLines must hold 8 lines");
    for (size_t i = 0; i < lines.size(); ++i) {
        Fields l(lines[i], indexed("regionLines", i));
        l.only({"band", "selected", "horizontal", "role", "endLineA", "endLineB"});
        CRegion_Line& line = p.regionLines[i];
        line.band = l.rect("band");
        line.selected = int32_t(l.number("selected", 0, 1));
        line.horizontal = int32_t(l.number("horizontal", 0, 1));
        line.role = int32_t(l.number("role", 0, 3));
        line.endLineA = int32_t(l.number("endLineA", -1, kRegionLines - 1));
        line.endLineB = int32_t(l.number("endLineB", -1, kRegionLines - 1));
    }
    const json& lists = f.array("areaLists");
    if (lists.size() != kAreaSlots) throw FileFormatError("areaLists must hold 4 lists");
    for (size_t s = 0; s < lists.size(); ++s) {
        std::string where = indexed("areaLists", s);
        if (!lists[s].is_array()) throw FileFormatError(where + " must be an array");
        for (size_t i = 0; i < lists[s].size(); ++i) {
            Fields e(lists[s][i], indexed(where, i));
            e.only({"path", "thumbIndex", "moveIn", "moveInName", "moveOut", "moveOutName", "speed",
                    "start", "hold", "barRect"});
            CElement element;
            element.path = e.text("path");
            element.thumbIndex = e.i32("thumbIndex");
            element.moveIn = effectFromJson(e, "moveIn", "moveInName", true);
            element.moveOut = effectFromJson(e, "moveOut", "moveOutName", false);
            element.speed = e.i32("speed");
            element.start = e.i32("start");
            element.hold = e.i32("hold");
            element.barRect = e.rect("barRect");
            p.areaLists[s].push_back(element);
        }
    }
    return p;
}

// ---- schedule ------------------------------------------------------------------------------

ojson scheduleJson(const std::vector<CAT_Data>& entries) {
    ojson doc;
    doc["kind"] = "schedule";
    ojson list = ojson::array();
    for (const auto& e : entries) {
        ojson entry;
        entry["kind"] = e.kind;
        entry["weekdays"] = e.weekdays;
        entry["months"] = e.months;
        entry["days"] = e.days;
        entry["startHour"] = e.startHour;
        entry["startMinute"] = e.startMinute;
        entry["endHour"] = e.endHour;
        entry["endMinute"] = e.endMinute;
        entry["openStart"] = e.openStart;
        entry["openEnd"] = e.openEnd;
        entry["startYear"] = e.startYear;
        entry["startMonth"] = e.startMonth;
        entry["startDay"] = e.startDay;
        entry["endYear"] = e.endYear;
        entry["endMonth"] = e.endMonth;
        entry["endDay"] = e.endDay;
        entry["programPath"] = e.programPath;
        entry["description"] = describeScheduleEntry(e);
        list.push_back(entry);
    }
    doc["entries"] = list;
    return doc;
}

std::vector<CAT_Data> scheduleFromJson(const json& doc) {
    Fields f(doc, "");
    f.only({"kind", "entries"});
    std::vector<CAT_Data> entries;
    const json& list = f.array("entries");
    for (size_t i = 0; i < list.size(); ++i) {
        Fields e(list[i], indexed("entries", i));
        e.only({"kind", "weekdays", "months", "days", "startHour", "startMinute", "endHour",
                "endMinute", "openStart", "openEnd", "startYear", "startMonth", "startDay",
                "endYear", "endMonth", "endDay", "programPath", "description"});
        CAT_Data d;
        d.kind = e.i32("kind");
        d.weekdays = e.flags<7>("weekdays");
        d.months = e.flags<12>("months");
        d.days = e.flags<31>("days");
        d.startHour = e.i32("startHour");
        d.startMinute = e.i32("startMinute");
        d.endHour = e.i32("endHour");
        d.endMinute = e.i32("endMinute");
        d.openStart = e.i32("openStart");
        d.openEnd = e.i32("openEnd");
        d.startYear = e.i32("startYear");
        d.startMonth = e.i32("startMonth");
        d.startDay = e.i32("startDay");
        d.endYear = e.i32("endYear");
        d.endMonth = e.i32("endMonth");
        d.endDay = e.i32("endDay");
        d.programPath = e.text("programPath");
        entries.push_back(d);  // "description" is derived and not read back
    }
    return entries;
}

// ---- signs ---------------------------------------------------------------------------------

ojson signsJson(const SignList& list) {
    ojson doc;
    doc["kind"] = "signs";
    doc["reserved"] = list.reserved;
    ojson signs = ojson::array();
    for (const auto& s : list.signs) {
        ojson sign;
        sign["name"] = s.name;
        sign["port"] = s.port;
        sign["baudIndex"] = s.baudIndex;
        sign["address"] = s.address;
        sign["width"] = s.width;
        sign["height"] = s.height;
        sign["mtuIndex"] = s.mtuIndex;
        sign["ip"] = ojson::array({s.ip[0], s.ip[1], s.ip[2], s.ip[3]});
        sign["host"] = s.host;
        signs.push_back(sign);
    }
    doc["signs"] = signs;
    return doc;
}

SignList signsFromJson(const json& doc) {
    Fields f(doc, "");
    f.only({"kind", "reserved", "signs"});
    SignList list;
    list.reserved = f.i32("reserved");
    const json& signs = f.array("signs");
    for (size_t i = 0; i < signs.size(); ++i) {
        std::string where = indexed("signs", i);
        Fields s(signs[i], where);
        s.only(
            {"name", "port", "baudIndex", "address", "width", "height", "mtuIndex", "ip", "host"});
        CLED_Set_Data d;
        d.name = s.text("name");
        d.port = s.i32("port");
        d.baudIndex = s.i32("baudIndex");
        d.address = s.i32("address");
        d.width = s.i32("width");
        d.height = s.i32("height");
        d.mtuIndex = s.i32("mtuIndex");
        const json& ip = s.array("ip");
        if (ip.size() != 4) throw FileFormatError(where + ".ip must be four numbers");
        for (size_t k = 0; k < 4; ++k) {
            int32_t octet = Fields::toInt32(ip[k], where + ".ip");
            if (octet < 0 || octet > 255)
                throw FileFormatError(where + ".ip numbers must lie in 0..255");
            d.ip[k] = static_cast<uint8_t>(octet);
        }
        d.host = s.text("host");
        list.signs.push_back(d);
    }
    return list;
}

// ---- users and libraries -------------------------------------------------------------------

ojson usersJson(const std::vector<CUserInfo>& users) {
    ojson doc;
    doc["kind"] = "users";
    ojson list = ojson::array();
    for (const auto& u : users)
        list.push_back({{"userName", u.userName}, {"passwordHash", u.passwordHash}});
    doc["users"] = list;
    return doc;
}

std::vector<CUserInfo> usersFromJson(const json& doc) {
    Fields f(doc, "");
    f.only({"kind", "users"});
    std::vector<CUserInfo> users;
    const json& list = f.array("users");
    for (size_t i = 0; i < list.size(); ++i) {
        Fields u(list[i], indexed("users", i));
        u.only({"userName", "passwordHash"});
        users.push_back(CUserInfo{u.text("userName"), u.text("passwordHash")});
    }
    return users;
}

std::vector<std::string> pathsFromJson(const json& doc) {
    Fields f(doc, "");
    f.only({"kind", "paths"});
    std::vector<std::string> paths;
    const json& list = f.array("paths");
    for (size_t i = 0; i < list.size(); ++i) {
        if (!list[i].is_string()) throw FileFormatError(indexed("paths", i) + " must be a string");
        std::string p = list[i].get<std::string>();
        if (p.empty() || p.find('\r') != std::string::npos)
            throw FileFormatError(indexed("paths", i) +
                                  " must be non-empty and hold no carriage return");
        paths.push_back(p);
    }
    return paths;
}

bool hasMark(const std::vector<uint8_t>& bytes, const char (&mark)[4]) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), mark, 4) == 0;
}

}  // namespace

nlohmann::ordered_json fileToJson(const std::vector<uint8_t>& bytes) {
    std::string error;
    if (hasMark(bytes, {'Z', 'P', 'F', 0})) {
        ProgramData p;
        if (decodeProgram(bytes.data(), bytes.size(), p, &error) != ProgramLoadResult::Loaded)
            throw FileFormatError("corrupt program file: " + error);
        return programJson(p);
    }
    if (hasMark(bytes, {'S', 'C', 'H', 0})) {
        std::vector<CAT_Data> entries;
        if (decodeSchedule(bytes.data(), bytes.size(), entries, &error) !=
            ScheduleLoadResult::Loaded)
            throw FileFormatError("corrupt schedule file: " + error);
        return scheduleJson(entries);
    }
    if (hasMark(bytes, {'L', 'E', 'D', 0})) {
        SignList list;
        if (!decodeSignList(bytes.data(), bytes.size(), list, &error))
            throw FileFormatError("corrupt sign list: " + error);
        return signsJson(list);
    }
    if (hasMark(bytes, {'U', 'P', 'W', 0})) {
        std::vector<CUserInfo> users;
        if (!decodeUsers(bytes.data(), bytes.size(), users, &error))
            throw FileFormatError("corrupt user file: " + error);
        return usersJson(users);
    }
    if (hasMark(bytes, {'Z', 'R', 'C', 0})) {
        std::vector<std::string> paths;
        decodeLibrary(bytes.data(), bytes.size(), paths);
        ojson doc;
        doc["kind"] = "library";
        doc["paths"] = paths;
        return doc;
    }
    // The text page mark is compared without regard to case, as the programs that read it do.
    if (bytes.size() >= 4 && (bytes[0] | 0x20) == 'z' && (bytes[1] | 0x20) == 'r' &&
        (bytes[2] | 0x20) == 't' && bytes[3] == 0)
        return textPageJson(bytes);
    throw FileFormatError("not a file brightline-cli knows (unknown mark)");
}

std::vector<uint8_t> jsonToFile(const nlohmann::json& document) {
    if (!document.is_object()) throw FileFormatError("the document must be a JSON object");
    auto kind = document.find("kind");
    if (kind == document.end() || !kind->is_string()) throw FileFormatError("\"kind\" is missing");
    std::string k = kind->get<std::string>();
    if (k == "program") return encodeProgram(programFromJson(document));
    if (k == "schedule") return encodeSchedule(scheduleFromJson(document));
    if (k == "signs") return encodeSignList(signsFromJson(document));
    if (k == "users") return encodeUsers(usersFromJson(document));
    if (k == "library") return encodeLibrary(pathsFromJson(document));
    if (k == "textpage")
        throw FileFormatError("a text page needs its fonts to be built: use brightline-cli build");
    throw FileFormatError("unknown kind \"" + k + "\"");
}

}  // namespace brightline
