#include "media/jpeg_quality.h"

#include "common/folders.h"
#include "common/ini_file.h"
#include "common/paths.h"

namespace brightline::media {

int jpegQualityFromFile(const std::string& iniPath) {
    IniFile ini;
    if (!ini.load(iniPath)) return kDefaultJpegQuality;
    const long q = ini.getInt(kJpegQualitySection, kJpegQualityKey, kDefaultJpegQuality);
    if (q < 0 || q > 100) return 100;
    return q == 0 ? 1 : int(q);
}

int configuredJpegQuality() {
    return jpegQualityFromFile(joinPath(dataFolder(), kJpegQualityFile));
}

}  // namespace brightline::media
