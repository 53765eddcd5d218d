#pragma once
// The main window's file choices without the window: what a chosen path is and which handler it
// goes to, the New dialog's kind rule and checks, the file dialog filters, and the command lines
// of the outside programs (text page editor, picture editor, help).
#include <optional>
#include <string>
#include <vector>

#include "common/file_filter.h"
#include "common/file_kind.h"
#include "common/operator_messages.h"

namespace brightline {

class Profile;

inline constexpr const char* kMsgChooseKind = "Please choose one kind of document type!";
inline constexpr const char* kMsgInputName = "Please input the document name!";
inline constexpr const char* kKeyNewFilePath = "NEW_FILE_PATH";
// The picture editor to start instead of xdg-open (section "SET"; empty: xdg-open).
inline constexpr const char* kKeyPictureEditor = "PICTURE_EDITOR";

// A file chosen in the Open dialog: folder up to and including its last separator, title up to
// the last '.' of the name, kind from the upper-cased extension (None when no row fits).
struct ChosenFile {
    std::string folder;
    std::string title;
    FileKind kind = FileKind::None;
    bool openedFromFile = true;
    // folder + title + "." + extension of the kind
    std::string pathWith(const char* extension) const;
};
ChosenFile chosenFileOf(const std::string& path);

// The New dialog: tab 0 "Projects" (Program File, Schedule File), tab 1 "File" (Time File,
// ZRT File). The kind is the 1-based row plus twice the tab; row -1 (nothing chosen) gives None.
FileKind newDialogKind(int tab, int row);
// The names listed on a tab.
std::vector<std::string> newDialogEntries(int tab);
// OK's checks: no entry chosen, then an empty name; the question icon and the application title.
std::optional<OperatorMessage> checkNewDialog(int row, const std::string& name);
// A location as the dialog keeps it: with a separator at the end.
std::string withTrailingSeparator(const std::string& folder);
// The location the dialog offers: "SET"/"NEW_FILE_PATH", else the start folder.
std::string newFileLocation(const Profile& profile, const std::string& startFolder);

// The filters of the Open and Send File dialogs as (description, patterns) pairs, in order.
std::vector<FileFilter> openDialogFilters();
std::vector<FileFilter> sendFileDialogFilters();

// A program to start detached: argv[0] is the program (a path or a name looked up in PATH);
// `name` is what the operator is told about when it cannot be started ("The text page editor").
struct OutsideProgram {
    std::vector<std::string> argv;
    std::string name;
    // With no argv: why there is nothing to start, as the operator is told.
    std::string missing;
    // What the operator can do when the program cannot be started (may be empty).
    std::string instead;
};
inline constexpr const char* kTextPageEditorName = "The text page editor";
inline constexpr const char* kPictureEditorName = "The picture editor";
inline constexpr const char* kHelpName = "The help";
// The text page editor's executable.
inline constexpr const char* kTextPageEditorProgram = "pagewright";
// The text page editor on a ".ZRT" path (one argument, spaces and all): "pagewright" beside this
// executable (or, in a build tree, in the folder "../pagewright" beside it), else the first one
// in the folders of `searchPath` (as PATH lists them, ':' between). None there: no argv, and
// `missing` says where it was looked for.
OutsideProgram textPageEditorFor(const std::string& zrtPath, const std::string& programFolder,
                                 const std::string& searchPath);
// A picture: the editor named in "SET"/"PICTURE_EDITOR", else xdg-open.
OutsideProgram pictureEditorFor(const std::string& picturePath, const Profile& profile);
// The manual's first page in the manual folder (beside the program in a build,
// /usr/share/brightline/manual when installed).
inline constexpr const char* kManualIndex = "index.html";
// Help > Help: "brightline_Help" in the start folder when it is a program there, else the
// manual's first page opened with xdg-open. Neither there: no argv, and `missing` names the
// page looked for and where the manual comes from.
OutsideProgram helpProgram(const std::string& startFolder, const std::string& manualFolder);

// The desktops' date and time settings the clock page editor's "Zone" starts, in the order they
// are looked for: GNOME, Cinnamon, KDE Plasma (6, then 5), MATE and Xfce's time-admin.
extern const std::vector<OutsideProgram> kDateTimeSettingsPrograms;
// The first of them whose program is an executable file in one of the folders of `pathVariable`
// (a PATH value); no argv when none is installed.
OutsideProgram dateTimeSettingsProgram(const std::string& pathVariable);
// Said when none is installed.
std::string noDateTimeSettingsMessage();

}  // namespace brightline
