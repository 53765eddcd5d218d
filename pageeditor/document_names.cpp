#include "pageeditor/document_names.h"

#include "common/file_io.h"
#include "common/paths.h"
#include "pageeditor/page_format.h"
#include "pageeditor/text_document.h"

namespace brightline::pageeditor {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string trimmed(const std::string& text) {
    size_t a = 0, b = text.size();
    while (a < b && isBlank(text[a])) ++a;
    while (b > a && isBlank(text[b - 1])) --b;
    return text.substr(a, b - a);
}

}  // namespace

std::string textPagePathFromCommandLine(const std::string& line) {
    const std::string text = trimmed(line);
    if (text.empty()) return kNewDocumentPath;
    const size_t colon = text.find(':');
    size_t start = 0;
    if (colon != std::string::npos && colon > 0) start = colon - 1;
    std::string path = text.substr(start);
    // A quote before the path opened it: the closing quote is not part of the name.
    const bool opened = text.find('"') < start;
    if (!path.empty() && path.front() == '"') {
        path.erase(0, 1);
        if (!path.empty() && path.back() == '"') path.pop_back();
    } else if (opened && !path.empty() && path.back() == '"') {
        path.pop_back();
    }
    path = trimmed(path);
    return path.empty() ? std::string(kNewDocumentPath) : path;
}

std::string textPagePathFromArguments(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1) {
        const std::string& a = arguments.front();
        const bool plainStart = !a.empty() && !isBlank(a.front()) && a.front() != '"';
        if (plainStart && (a.front() == '/' || fileExists(a))) return a;
    }
    std::string line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i) line += ' ';
        line += arguments[i];
    }
    return textPagePathFromCommandLine(line);
}

std::string shownPath(const std::string& path) {
    if (path.size() > 2 && path[0] == '.' && (path[1] == '/' || path[1] == '\\'))
        return path.substr(2);
    return path;
}

std::string windowTitleFor(const std::string& path, bool modified) {
    return std::string(kPagewrightTitle) + " - [" + shownPath(path) + (modified ? " *]" : "]");
}

OperatorMessage saveChangesQuestion(const std::string& path) {
    return OperatorMessage{"Save changes to " + shownPath(path), kSaveChangesCaption,
                           MessageIcon::Warning, MessageButtons::YesNoCancel};
}

std::string saveAsPath(const std::string& chosen) {
    if (toUpperAscii(chosen).find(kTextPageExtension) != std::string::npos) return chosen;
    return chosen + kTextPageExtension;
}

}  // namespace brightline::pageeditor
