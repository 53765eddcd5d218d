#include "media/picture_loader.h"

#include "common/file_io.h"
#include "common/paths.h"
#include "media/bmp_picture.h"
#include "media/dsn_picture.h"
#include "media/jpeg_picture.h"
#include "media/png_picture.h"

namespace brightline::media {
namespace {

const char* extensionOf(PictureFileKind kind) {
    switch (kind) {
        case PictureFileKind::Bmp:
            return ".bmp";
        case PictureFileKind::Jpeg:
            return ".jpg";
        case PictureFileKind::Png:
            return ".png";
        case PictureFileKind::Dsn:
            return ".dsn";
    }
    return "";
}

}  // namespace

std::string picturePath(PictureFileKind kind, const std::string& folder, const std::string& name) {
    const std::string file = toLowerAscii(name + extensionOf(kind));
    if (folder.empty()) return file;
    const char last = folder.back();
    return (last == '/' || last == '\\') ? folder + file : folder + "/" + file;
}

PictureLoadResult loadPicturePage(PictureFileKind kind, const std::string& path, int regionWidth,
                                  int regionHeight, Picture& page) {
    page = Picture(regionWidth, regionHeight);
    PictureLoadResult result;
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, &result.error)) {
        switch (kind) {
            case PictureFileKind::Bmp:
            case PictureFileKind::Dsn:
                result.diagnostic = "could not open " + path + " \n";
                break;
            case PictureFileKind::Jpeg:
                result.diagnostic = "can't open " + path + "\n";
                break;
            case PictureFileKind::Png:
                break;
        }
        return result;
    }
    switch (kind) {
        case PictureFileKind::Bmp:
            result.ok = placeBmp24(bytes, regionWidth, regionHeight, page, &result.error);
            if (!result.ok && bytes.size() < kBmpHeaderSize)
                result.diagnostic = "read bmp failed\n";
            break;
        case PictureFileKind::Jpeg:
            result.ok = placeJpeg(bytes, regionWidth, regionHeight, page, &result.error);
            break;
        case PictureFileKind::Png: {
            Picture pic;
            result.ok = decodePng(bytes, pic, &result.error);
            if (result.ok) page = placeInRegion(pic, regionWidth, regionHeight);
            break;
        }
        case PictureFileKind::Dsn: {
            Picture pic;
            result.ok = decodeDsn(bytes, pic, &result.error);
            if (result.ok)
                page = placeInRegion(pic, regionWidth, regionHeight);
            else
                result.diagnostic = "read failed\n";
            break;
        }
    }
    return result;
}

}  // namespace brightline::media
