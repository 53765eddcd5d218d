#pragma once
// Splitting paths that may come from Windows ("C:\pics\a.jpg") or from here ("/home/a.jpg"):
// both separators are accepted everywhere.
#include <string>

namespace brightline {

// Everything after the last '\' or '/'.
std::string fileNameOf(const std::string& path);
// Everything up to and including the last '\' or '/'; empty when there is none.
std::string folderOf(const std::string& path);
// The extension from the last '.' of the file name, upper-cased ASCII, with its dot (".JPG");
// empty when the name has no dot.
std::string extensionUpper(const std::string& path);
// The file name up to its last '.'.
std::string fileTitleOf(const std::string& path);
// `folder` joined with `name` by '/' unless `folder` already ends in a separator.
std::string joinPath(const std::string& folder, const std::string& name);
std::string toUpperAscii(std::string text);
std::string toLowerAscii(std::string text);

}  // namespace brightline
