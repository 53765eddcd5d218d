#pragma once
// The region loaders of "BMP", "JPG", "PNG" and "DSN": a picture file read into a page of the
// region's size. The engine calls this on a region thread and copies the page into its page 0;
// nothing here touches engine state. Thread-safe.
#include <string>

#include "media/picture.h"

namespace brightline::media {

enum class PictureFileKind { Bmp, Jpeg, Png, Dsn };

// The file a picture command opens: `folder` (the workspace folder, or dsnFolder() for DSN) +
// `name` lower-cased (A-Z only) + ".bmp", ".jpg", ".png" or ".dsn".
std::string picturePath(PictureFileKind kind, const std::string& folder, const std::string& name);

struct PictureLoadResult {
    bool ok = false;
    // The engine's diagnostic line for a failure, ready to print ("could not open %s \n",
    // "can't open %s\n", "read bmp failed\n", "read failed\n"); empty when the loader stays silent.
    std::string diagnostic;
    // Why it failed, for logs and tests.
    std::string error;
};

// Reads the picture at `path` into `page`, which always comes back as a regionWidth x
// regionHeight page: black, with the picture placed by its kind's rule when it loaded.
PictureLoadResult loadPicturePage(PictureFileKind kind, const std::string& path, int regionWidth,
                                  int regionHeight, Picture& page);

}  // namespace brightline::media
