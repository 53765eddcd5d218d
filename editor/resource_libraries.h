#pragma once
// The property view's seven tabs and the four resource libraries behind tabs 3 to 6: which
// library file a tab lists, which of its paths are shown (those whose file can be opened, in
// file order; the others stay in the file until deleted), and the rules of Add Resource and Del
// Resource. Plain functions and a small model; the property view shows what they answer.
#include <optional>
#include <string>
#include <vector>

#include "common/file_filter.h"
#include "common/operator_messages.h"
#include "editor/resource_library.h"

namespace brightline {

enum PropertyTab : int {
    kTabAreaFormat = 0,
    kTabMoveIn = 1,
    kTabMoveOut = 2,
    kTabPicture = 3,
    kTabVideo = 4,
    kTabTextPage = 5,
    kTabClockPage = 6,
};
inline constexpr int kPropertyTabCount = 7;

inline constexpr const char* kMsgVideoUnknown = "File format unknown";
inline constexpr const char* kMsgTextPageFormat = "%s format error!";

// Tabs 3 to 6 list a library.
bool isLibraryTab(int tab);
// "RC_IMG.ZRC", "RC_AVI.ZRC", "RC_ZTXT.ZRC", "RC_ZTIME.ZRC"; nullptr for the other tabs.
const char* libraryFileName(int tab);
// The Add Resource dialog's filter of a library tab. The video tab offers ".AVI" and the other
// video containers Make converts.
std::vector<FileFilter> addResourceFilters(int tab);

// One library as its tab shows it.
class LibraryList {
  public:
    // Reads the library file: Missing (no file: an empty list, no message), BadMark (an empty
    // list; the caller shows kLibraryMarkError) or Loaded. Shown entries are the paths whose
    // file can be opened now.
    LibraryLoadResult load(const std::string& file);
    const std::vector<std::string>& paths() const { return paths_; }
    int shownCount() const { return static_cast<int>(shown_.size()); }
    // The path of shown entry `entry` (its position in the list control); empty when out of
    // range.
    std::string shownPath(int entry) const;
    // Position of a shown entry in the library file, -1 when out of range.
    int libraryIndex(int entry) const;

  private:
    std::vector<std::string> paths_;
    std::vector<int> shown_;  // library index of each shown entry
};

// Add Resource's check of one chosen file for a tab: nullopt when it may be added. A video that
// FFmpeg cannot open gives "File format unknown" (caption "INFO", error icon); a text page whose
// first page cannot be read gives "<path> format error!" (the same caption and icon).
std::optional<OperatorMessage> checkResource(int tab, const std::string& path);

// Add Resource: each chosen file in order is checked and appended to the library; the first
// refused file shows its message and ends the adding (the files before it stay added). The
// library is rewritten whole. A library file with a wrong mark is no library of ours: nothing is
// added, "RC file mark error!" is shown and the file is left as it is. A file that cannot be
// written is reported. Returns the number of paths added.
int addResources(int tab, const std::string& libraryFile, const std::vector<std::string>& chosen,
                 OperatorMessages& messages);

// Del Resource: removes the shown entries `entries` (positions in the list control) from the
// library file and rewrites it; missing files that are not shown stay. False (reported) when
// the file could not be written.
bool deleteResources(const std::string& libraryFile, const std::vector<int>& entries,
                     OperatorMessages& messages);

}  // namespace brightline
