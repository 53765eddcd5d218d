#include "common/ini_file.h"

#include <cstdlib>

#include "common/file_io.h"

namespace brightline {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// "[name]" → name; empty optional for other lines.
std::optional<std::string> sectionName(const std::string& line) {
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return trim(t.substr(1, close - 1));
}

// "key=value" → key (trimmed); empty optional for comments and other lines.
std::optional<std::string> keyName(const std::string& line) {
    std::string t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') return std::nullopt;
    size_t eq = t.find('=');
    if (eq == std::string::npos || eq == 0) return std::nullopt;
    return trim(t.substr(0, eq));
}

}  // namespace

bool IniFile::load(const std::string& path) {
    lines_.clear();
    if (!fileExists(path)) return true;
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, nullptr, size_t(16) << 20)) return false;
    parse(std::string(bytes.begin(), bytes.end()));
    return true;
}

void IniFile::parse(const std::string& text) {
    lines_.clear();
    eol_ = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    finalEol_ = text.empty() || text.back() == '\n';
    size_t from = 0;
    while (from < text.size()) {
        size_t nl = text.find('\n', from);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(from, nl - from);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
        from = nl + 1;
    }
}

std::string IniFile::text() const {
    std::string out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || finalEol_) out += eol_;
    }
    return out;
}

bool IniFile::save(const std::string& path) const {
    std::string t = text();
    return writeFileAtomically(path, std::vector<uint8_t>(t.begin(), t.end()));
}

IniFile::Place IniFile::find(const std::string& section, const std::string& key) const {
    Place place{kNone, kNone, kNone};
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = sectionName(lines_[i])) {
            if (inSection) break;  // the first section of that name is the one that counts
            inSection = sameName(*name, section);
            if (inSection) {
                place.sectionLine = i;
                place.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection) continue;
        if (!trim(lines_[i]).empty()) place.sectionEnd = i + 1;
        if (place.keyLine == kNone) {
            auto k = keyName(lines_[i]);
            if (k && sameName(*k, key)) place.keyLine = i;
        }
    }
    return place;
}

std::optional<std::string> IniFile::get(const std::string& section, const std::string& key) const {
    Place place = find(section, key);
    if (place.keyLine == kNone) return std::nullopt;
    const std::string& line = lines_[place.keyLine];
    std::string value = trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string IniFile::getString(const std::string& section, const std::string& key,
                               const std::string& fallback) const {
    auto v = get(section, key);
    return v ? *v : fallback;
}

long IniFile::getInt(const std::string& section, const std::string& key, long fallback) const {
    auto v = get(section, key);
    if (!v) return fallback;
    return std::strtol(v->c_str(), nullptr, 10);
}

void IniFile::set(const std::string& section, const std::string& key, const std::string& value) {
    Place place = find(section, key);
    std::string line = key + "=" + value;
    if (place.keyLine != kNone) {
        // Keep the key's own spelling and the text before it.
        const std::string& old = lines_[place.keyLine];
        lines_[place.keyLine] = old.substr(0, old.find('=') + 1) + value;
        return;
    }
    if (place.sectionLine != kNone) {
        lines_.insert(lines_.begin() + static_cast<long>(place.sectionEnd), line);
        return;
    }
    if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.push_back("");
    lines_.push_back("[" + section + "]");
    lines_.push_back(line);
    finalEol_ = true;
}

void IniFile::setInt(const std::string& section, const std::string& key, long value) {
    set(section, key, std::to_string(value));
}

std::vector<std::string> IniFile::keys(const std::string& section) const {
    std::vector<std::string> out;
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (auto name = sectionName(line)) {
            if (inSection) break;
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection) continue;
        if (auto k = keyName(line)) {
            bool seen = false;
            for (const auto& o : out) seen = seen || sameName(o, *k);
            if (!seen) out.push_back(*k);
        }
    }
    return out;
}

}  // namespace brightline
