#include "shell/file_dispatch.h"

#include <unistd.h>

#include "common/file_io.h"
#include "common/paths.h"
#include "common/profile.h"

namespace brightline {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

bool executable(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0;
}

// A program to start: its command line, what the operator is told it is, and what the operator
// can do when it cannot be started.
OutsideProgram outside(std::vector<std::string> argv, std::string name = {},
                       std::string instead = {}) {
    OutsideProgram program;
    program.argv = std::move(argv);
    program.name = std::move(name);
    program.instead = std::move(instead);
    return program;
}

}  // namespace

std::string ChosenFile::pathWith(const char* extension) const {
    return folder + title + "." + extension;
}

ChosenFile chosenFileOf(const std::string& path) {
    ChosenFile file;
    file.folder = folderOf(path);
    file.title = fileTitleOf(fileNameOf(path));
    file.kind = fileKindOf(path);
    file.openedFromFile = true;
    return file;
}

FileKind newDialogKind(int tab, int row) {
    if (row < 0 || row > 1 || tab < 0 || tab > 1) return FileKind::None;
    return static_cast<FileKind>(row + 1 + 2 * tab);
}

std::vector<std::string> newDialogEntries(int tab) {
    if (tab == 0) return {"Program File", "Schedule File"};
    return {"Time File", "ZRT File"};
}

std::optional<OperatorMessage> checkNewDialog(int row, const std::string& name) {
    if (row < 0)
        return OperatorMessage{kMsgChooseKind, "", MessageIcon::Question, MessageButtons::Ok};
    if (name.empty())
        return OperatorMessage{kMsgInputName, "", MessageIcon::Question, MessageButtons::Ok};
    return std::nullopt;
}

std::string withTrailingSeparator(const std::string& folder) {
    if (!folder.empty() && isSeparator(folder.back())) return folder;
    return folder + "/";
}

std::string newFileLocation(const Profile& profile, const std::string& startFolder) {
    return withTrailingSeparator(
        profile.getString(kProfileSectionSet, kKeyNewFilePath, startFolder));
}

std::vector<FileFilter> openDialogFilters() {
    return {{"All Files (*.ZPF,*.AT,*.TIM,*.ZRT)", "*.ZPF;*.AT;*.TIM;*.ZRT"},
            {"Program Files(*.ZPF)", "*.ZPF"},
            {"Schedule Files(*.AT)", "*.AT"}};
}

std::vector<FileFilter> sendFileDialogFilters() {
    return {{"All Files (*.ZPF,*.AT)", "*.ZPF;*.AT"},
            {"Program Files(*.ZPF)", "*.ZPF"},
            {"Schedule Files(*.AT)", "*.AT"}};
}

OutsideProgram textPageEditorFor(const std::string& zrtPath, const std::string& programFolder,
                                 const std::string& searchPath) {
    std::vector<std::string> candidates = {
        joinPath(programFolder, kTextPageEditorProgram),
        joinPath(programFolder,
                 std::string("../") + kTextPageEditorProgram + "/" + kTextPageEditorProgram)};
    for (size_t from = 0; from <= searchPath.size();) {
        size_t to = searchPath.find(':', from);
        if (to == std::string::npos) to = searchPath.size();
        // An empty entry is the current folder, which is not searched: a stray program there
        // must not be started.
        if (to > from)
            candidates.push_back(
                joinPath(searchPath.substr(from, to - from), kTextPageEditorProgram));
        from = to + 1;
    }
    for (const std::string& candidate : candidates) {
        if (executable(candidate)) return outside({candidate, zrtPath}, kTextPageEditorName);
    }
    OutsideProgram none;
    none.name = kTextPageEditorName;
    none.missing = std::string(kTextPageEditorName) + " \"" + kTextPageEditorProgram +
                   "\" is neither in " + programFolder + " nor on the PATH.";
    return none;
}

OutsideProgram pictureEditorFor(const std::string& picturePath, const Profile& profile) {
    std::string editor = profile.getString(kProfileSectionSet, kKeyPictureEditor, "");
    if (editor.empty()) editor = "xdg-open";
    return outside({editor, picturePath}, kPictureEditorName);
}

OutsideProgram helpProgram(const std::string& startFolder, const std::string& manualFolder) {
    const std::string help = joinPath(startFolder, "brightline_Help");
    if (fileExists(help) && executable(help)) return outside({help}, kHelpName);
    const std::string index = joinPath(manualFolder, kManualIndex);
    if (fileExists(index))
        return outside({"xdg-open", index}, kHelpName,
                       "The manual is " + index + "; open it in a web browser.");
    OutsideProgram none;
    none.name = kHelpName;
    none.missing = "The manual is not there: " + index +
                   " is missing.\nIt is installed with the package \"brightline\" (a build from "
                   "the source writes it with the target brightline_manual).";
    return none;
}

const std::vector<OutsideProgram> kDateTimeSettingsPrograms = {
    outside({"gnome-control-center", "datetime"}),
    outside({"cinnamon-settings", "calendar"}),
    outside({"systemsettings", "kcm_clock"}),
    outside({"kcmshell6", "kcm_clock"}),
    outside({"kcmshell5", "clock"}),
    outside({"time-admin"}),
};

OutsideProgram dateTimeSettingsProgram(const std::string& pathVariable) {
    for (const OutsideProgram& program : kDateTimeSettingsPrograms) {
        size_t from = 0;
        while (from <= pathVariable.size()) {
            size_t colon = pathVariable.find(':', from);
            if (colon == std::string::npos) colon = pathVariable.size();
            const std::string folder = pathVariable.substr(from, colon - from);
            from = colon + 1;
            if (folder.empty()) continue;
            const std::string candidate = joinPath(folder, program.argv[0]);
            if (fileExists(candidate) && executable(candidate)) {
                OutsideProgram found = program;
                found.argv[0] = candidate;
                return found;
            }
        }
    }
    return {};
}

std::string noDateTimeSettingsMessage() {
    std::string names;
    for (const OutsideProgram& program : kDateTimeSettingsPrograms)
        names += (names.empty() ? "" : ", ") + program.argv[0];
    return "No date and time settings are installed (looked for " + names +
           "). The zone of the page is the one this program runs in (TZ).";
}

}  // namespace brightline
