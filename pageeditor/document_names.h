#pragma once
// How the text page editor names its document: the path it is started on, the window title with
// the modified mark, the path shown in questions, and the name Save As gives a file.
//
// Paths are kept as given (UTF-8, either separator); nothing here touches the file system except
// where said.
#include <string>
#include <vector>

#include "common/operator_messages.h"

namespace brightline::pageeditor {

inline constexpr const char* kSaveChangesCaption = "Save changes";
inline constexpr const char* kTextPageExtension = ".ZRT";

// The path in a command line as the main program writes it ("pagewright  D:\pages\a.ZRT"):
// from one character before the first ':' to the end, so that a path after spaces or other
// leading characters still starts at its drive letter; with no ':' the whole line. Blanks around
// it are dropped, and a path given in double quotes loses its quotes (both of them). A line of
// nothing but blanks gives "./new.ZRT".
std::string textPagePathFromCommandLine(const std::string& line);

// The path among the program's arguments (argv without the program). A single argument that is
// a plain path as a shell passes it (it starts with '/', or names an existing file, and does not
// start with a blank or a quote) is taken as it is, colons and all. Otherwise the arguments,
// joined by single spaces, are a command line as above. No arguments give "./new.ZRT".
std::string textPagePathFromArguments(const std::vector<std::string>& arguments);

// The path as the title and the questions show it: a path in the current folder written as
// "./name" (or ".\name", like the default "./new.ZRT") without those first two characters;
// any other path whole.
std::string shownPath(const std::string& path);

// "Pagewright V1.3 - [new.ZRT]", or "Pagewright V1.3 - [new.ZRT *]" while modified.
std::string windowTitleFor(const std::string& path, bool modified);

// "Save changes to <shown path>" captioned "Save changes", Yes, No and Cancel, exclamation icon.
OperatorMessage saveChangesQuestion(const std::string& path);

// The name Save As saves under: the chosen name with ".ZRT" appended when the name does not
// contain ".ZRT" (in any letter case) anywhere, so "promo" gives "promo.ZRT" and
// "promo.ZRT.bak" stays as it is.
std::string saveAsPath(const std::string& chosen);

}  // namespace brightline::pageeditor
