#include "editor/resource_libraries.h"

#include <unistd.h>
#include <algorithm>
#include <set>

#include "editor/medium_kind.h"
#include "editor/thumbnail_maker.h"
#include "media/video_source.h"

namespace brightline {

namespace {

bool readable(const std::string& path) {
    return !path.empty() && ::access(path.c_str(), R_OK) == 0;
}

void reportUnwritable(OperatorMessages& messages, const std::string& file,
                      const std::string& error) {
    messages.show(OperatorMessage{file + " could not be written: " + error, "Error",
                                  MessageIcon::Error, MessageButtons::Ok});
}

}  // namespace

bool isLibraryTab(int tab) {
    return tab >= kTabPicture && tab <= kTabClockPage;
}

const char* libraryFileName(int tab) {
    switch (tab) {
        case kTabPicture:
            return kPictureLibrary;
        case kTabVideo:
            return kVideoLibrary;
        case kTabTextPage:
            return kTextPageLibrary;
        case kTabClockPage:
            return kClockPageLibrary;
        default:
            return nullptr;
    }
}

std::vector<FileFilter> addResourceFilters(int tab) {
    switch (tab) {
        case kTabPicture:
            return {{"Picture FILE (*.BMP,*.JPG,*.PNG)", "*.BMP;*.JPG;*.PNG"},
                    {"BMP File", "*.BMP"},
                    {"JPG File", "*.JPG"},
                    {"PNG File", "*.PNG"}};
        case kTabVideo: {
            std::string patterns;
            for (const std::string& ext : videoExtensions())
                patterns += (patterns.empty() ? "*" : ";*") + ext;
            return {{"VIDEO File", patterns}};
        }
        case kTabTextPage:
            return {{"ZRT File", "*.ZRT"}};
        case kTabClockPage:
            return {{"Time File", "*.TIM"}};
        default:
            return {};
    }
}

LibraryLoadResult LibraryList::load(const std::string& file) {
    shown_.clear();
    const LibraryLoadResult result = loadLibrary(file, paths_);
    for (size_t i = 0; i < paths_.size(); ++i)
        if (readable(paths_[i])) shown_.push_back(static_cast<int>(i));
    return result;
}

std::string LibraryList::shownPath(int entry) const {
    const int index = libraryIndex(entry);
    return index < 0 ? std::string() : paths_[static_cast<size_t>(index)];
}

int LibraryList::libraryIndex(int entry) const {
    if (entry < 0 || entry >= shownCount()) return -1;
    return shown_[static_cast<size_t>(entry)];
}

std::optional<OperatorMessage> checkResource(int tab, const std::string& path) {
    if (tab == kTabVideo && mediumKindOf(path) == MediumKind::Video) {
        media::VideoSource video;
        if (!video.open(path))
            return OperatorMessage{kMsgVideoUnknown, "INFO", MessageIcon::Error,
                                   MessageButtons::Ok};
    } else if (tab == kTabTextPage) {
        std::vector<uint8_t> page;
        if (!firstTextPage(path, page)) {
            std::string text = kMsgTextPageFormat;
            text.replace(text.find("%s"), 2, path);
            return OperatorMessage{text, "INFO", MessageIcon::Error, MessageButtons::Ok};
        }
    }
    return std::nullopt;
}

int addResources(int tab, const std::string& libraryFile, const std::vector<std::string>& chosen,
                 OperatorMessages& messages) {
    std::vector<std::string> paths;
    if (loadLibrary(libraryFile, paths) == LibraryLoadResult::BadMark) {
        messages.show(kLibraryMarkError);
        return 0;
    }
    int added = 0;
    for (const std::string& path : chosen) {
        if (auto refusal = checkResource(tab, path)) {
            messages.show(*refusal);
            break;
        }
        paths.push_back(path);
        ++added;
    }
    std::string error;
    if (added > 0 && !saveLibrary(libraryFile, paths, &error)) {
        reportUnwritable(messages, libraryFile, error);
        return 0;
    }
    return added;
}

bool deleteResources(const std::string& libraryFile, const std::vector<int>& entries,
                     OperatorMessages& messages) {
    LibraryList list;
    if (list.load(libraryFile) != LibraryLoadResult::Loaded) return true;  // nothing shown
    std::set<int> doomed;
    for (int entry : entries)
        if (list.libraryIndex(entry) >= 0) doomed.insert(list.libraryIndex(entry));
    if (doomed.empty()) return true;
    std::vector<std::string> kept;
    for (size_t i = 0; i < list.paths().size(); ++i)
        if (!doomed.count(static_cast<int>(i))) kept.push_back(list.paths()[i]);
    std::string error;
    if (!saveLibrary(libraryFile, kept, &error)) {
        reportUnwritable(messages, libraryFile, error);
        return false;
    }
    return true;
}

}  // namespace brightline
