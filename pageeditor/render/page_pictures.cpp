#include "pageeditor/render/page_pictures.h"

#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "pageeditor/render/page_painter.h"
#include "pageeditor/text_page_file.h"

namespace brightline::pageeditor {

bool renderPagePictures(const TextPage& page, const TextLayout& layout, QtFontCatalog& fonts,
                        std::vector<std::vector<uint8_t>>& pictures, std::string* error) {
    const PageGeometry& g = page.geometry;
    if (!media::pictureSizeAllowed(g.pageWidth, g.pageHeight)) {
        if (error)
            *error = "the page size " + std::to_string(g.pageWidth) + " x " +
                     std::to_string(g.pageHeight) + " is too large for page pictures";
        return false;
    }
    PagePainter painter(fonts);
    pictures.clear();
    for (int k = 0; k < layout.pageCount; ++k) {
        const QImage image = painter.renderPage(page, layout, k);
        media::Picture picture(image.width(), image.height());
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) picture.at(x, y) = row[x] & 0x00FFFFFFu;
        }
        pictures.push_back(media::encodeBmp24(picture));
    }
    return true;
}

bool saveTextDocument(TextDocument& document, const std::string& path, QtFontCatalog& fonts,
                      std::string* error) {
    std::vector<std::vector<uint8_t>> pictures;
    if (!renderPagePictures(document.page(), document.layout(), fonts, pictures, error))
        return false;
    if (!writeFileAtomically(path, encodeTextPageFile(document.page(), pictures), error))
        return false;
    document.setPath(path);
    document.setModified(false);
    return true;
}

}  // namespace brightline::pageeditor
