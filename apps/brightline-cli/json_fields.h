#pragma once
// Reading the fields of a JSON object for `brightline-cli build`: every error names the field by
// its path ("areaLists[0][1].hold is missing") and is thrown as FileFormatError.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>

#include <nlohmann/json.hpp>

#include "apps/brightline-cli/json_files.h"
#include "common/rect.h"

namespace brightline::jsonio {

using json = nlohmann::json;

class Fields {
  public:
    Fields(const json& object, std::string where) : object_(object), where_(std::move(where)) {
        if (!object_.is_object()) throw FileFormatError(where_ + " must be an object");
    }
    bool has(const char* key) const { return object_.contains(key); }
    // Refuses a key that is not among `known` (a misspelt field would be dropped silently).
    void only(std::initializer_list<const char*> known) const {
        for (auto it = object_.begin(); it != object_.end(); ++it) {
            bool found = false;
            for (const char* k : known) found = found || it.key() == k;
            if (found) continue;
            std::string list;
            for (const char* k : known) list += (list.empty() ? "" : ", ") + std::string(k);
            throw FileFormatError(name(it.key().c_str()) +
                                  " is not a field here (the fields: " + list + ")");
        }
    }
    const json& at(const char* key) const {
        auto it = object_.find(key);
        if (it == object_.end()) throw FileFormatError(name(key) + " is missing");
        return *it;
    }
    int32_t i32(const char* key) const { return toInt32(at(key), name(key)); }
    // A whole number (or true/false as 1/0) within low..high; `fallback` when the key is absent.
    int64_t number(const char* key, int64_t low, int64_t high) const {
        return number(at(key), name(key), low, high);
    }
    int64_t number(const char* key, int64_t low, int64_t high, int64_t fallback) const {
        return has(key) ? number(key, low, high) : fallback;
    }
    std::string text(const char* key) const {
        const json& v = at(key);
        if (!v.is_string()) throw FileFormatError(name(key) + " must be a string");
        return v.get<std::string>();
    }
    // A colour as "#RRGGBB" or as the stored number 0x00BBGGRR; `fallback` when absent.
    uint32_t colour(const char* key, uint32_t fallback) const {
        if (!has(key)) return fallback;
        const json& v = at(key);
        if (!v.is_string()) return uint32_t(number(v, name(key), 0, 0xFFFFFFFFll));
        const std::string s = v.get<std::string>();
        if (s.size() != 7 || s[0] != '#' ||
            s.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
            throw FileFormatError(name(key) + " must be \"#RRGGBB\" or a number");
        const auto rgb = uint32_t(std::stoul(s.substr(1), nullptr, 16));
        return (rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    }
    Rect rect(const char* key) const {
        const json& v = at(key);
        if (!v.is_array() || v.size() != 4)
            throw FileFormatError(name(key) + " must be [left, top, right, bottom]");
        return Rect{toInt32(v[0], name(key)), toInt32(v[1], name(key)), toInt32(v[2], name(key)),
                    toInt32(v[3], name(key))};
    }
    template <size_t N>
    std::array<int32_t, N> flags(const char* key) const {
        const json& v = at(key);
        if (!v.is_array() || v.size() != N)
            throw FileFormatError(name(key) + " must be " + std::to_string(N) + " numbers");
        std::array<int32_t, N> out{};
        for (size_t i = 0; i < N; ++i) out[i] = toInt32(v[i], name(key));
        return out;
    }
    const json& array(const char* key) const {
        const json& v = at(key);
        if (!v.is_array()) throw FileFormatError(name(key) + " must be an array");
        return v;
    }
    std::string name(const char* key) const { return where_.empty() ? key : where_ + "." + key; }

    static int32_t toInt32(const json& v, const std::string& where) {
        if (!v.is_number_integer()) throw FileFormatError(where + " must be a whole number");
        int64_t n = v.get<int64_t>();
        if (v.is_number_unsigned() &&
            v.get<uint64_t>() > uint64_t(std::numeric_limits<int64_t>::max()))
            n = std::numeric_limits<int64_t>::max();
        if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
            throw FileFormatError(where + " is out of the 32-bit range");
        return static_cast<int32_t>(n);
    }
    static int64_t number(const json& v, const std::string& where, int64_t low, int64_t high) {
        if (v.is_boolean()) return v.get<bool>() ? 1 : 0;
        if (!v.is_number_integer()) throw FileFormatError(where + " must be a whole number");
        const bool above =
            v.is_number_unsigned() ? v.get<uint64_t>() > uint64_t(high) : v.get<int64_t>() > high;
        if (above || (!v.is_number_unsigned() && v.get<int64_t>() < low))
            throw FileFormatError(where + " must lie in " + std::to_string(low) + ".." +
                                  std::to_string(high));
        return v.get<int64_t>();
    }

  private:
    const json& object_;
    std::string where_;
};

inline std::string indexed(const std::string& base, size_t i) {
    return base + "[" + std::to_string(i) + "]";
}

}  // namespace brightline::jsonio
