#pragma once
// An INI-style text file ("[SECTION]" lines and "KEY=value" lines) that is read, changed key by
// key and written back with every other line (comments, unknown keys, blank lines, the line
// ends in use) left as it was. Section and key names compare case-blind (ASCII), as the
// profile functions the stored files come from did. Values are bytes, returned as stored, with
// the white space around them and one pair of enclosing double quotes removed.
//
// Not thread-safe: one owner at a time.
#include <optional>
#include <string>
#include <vector>

namespace brightline {

class IniFile {
  public:
    IniFile() = default;

    // Reads the file; a missing file gives an empty document and true. False when the file
    // exists but cannot be read (the document is then empty).
    bool load(const std::string& path);
    void parse(const std::string& text);
    std::string text() const;
    // Writes the whole document (atomically). False when it could not be written.
    bool save(const std::string& path) const;

    std::optional<std::string> get(const std::string& section, const std::string& key) const;
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& fallback) const;
    // The leading decimal number of the value (an optional sign first, as atoi reads it);
    // `fallback` when the key is missing.
    long getInt(const std::string& section, const std::string& key, long fallback) const;

    // Replaces the value of an existing key in place, or adds the key at the end of its section,
    // or adds the section at the end of the document.
    void set(const std::string& section, const std::string& key, const std::string& value);
    void setInt(const std::string& section, const std::string& key, long value);

    // The keys of a section in file order (first spelling of each).
    std::vector<std::string> keys(const std::string& section) const;

    // The line end the whole document is written with (a loaded file keeps its own).
    void setLineEnd(const std::string& eol) { eol_ = eol; }
    bool empty() const { return lines_.empty(); }

  private:
    struct Place {
        size_t sectionLine;  // index of the "[...]" line, or npos
        size_t keyLine;      // index of the key's line, or npos
        size_t sectionEnd;   // index just past the section's last non-blank line
    };
    Place find(const std::string& section, const std::string& key) const;

    std::vector<std::string> lines_;
    std::string eol_ = "\n";
    bool finalEol_ = true;
};

}  // namespace brightline
