#include "common/file_kind.h"

#include "common/paths.h"

namespace brightline {
namespace {
struct Row {
    FileKind kind;
    const char* extension;
};
constexpr Row kRows[] = {
    {FileKind::Program, "ZPF"},  {FileKind::Schedule, "AT"}, {FileKind::ClockPage, "TIM"},
    {FileKind::TextPage, "ZRT"}, {FileKind::Ztx, "ZTX"},     {FileKind::Bmp, "BMP"},
    {FileKind::Jpg, "JPG"},      {FileKind::Png, "PNG"},
};
}  // namespace

FileKind fileKindOf(const std::string& path) {
    std::string ext = extensionUpper(path);
    if (ext.empty()) return FileKind::None;
    ext.erase(0, 1);
    for (const Row& row : kRows)
        if (ext == row.extension) return row.kind;
    return FileKind::None;
}

const char* fileKindExtension(FileKind kind) {
    for (const Row& row : kRows)
        if (row.kind == kind) return row.extension;
    return "";
}

}  // namespace brightline
