#include "pageeditor/render/qt_font_catalog.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QStringList>

#include "common/code_page.h"
#include "pageeditor/render/font_substitutes.h"

namespace brightline::pageeditor {
namespace {

constexpr int kDefaultPixelSize = 12;
constexpr int kMaxPixelSize = 2000;

QFont baseFont(const LogFont& lf) {
    QFont f;
    QStringList families;
    for (const std::string& family : familiesForFace(lf.face(), lf.charSet))
        families << QString::fromStdString(family);
    f.setFamilies(families);
    f.setWeight(QFont::Weight(lf.weight <= 0 ? 400 : std::clamp(lf.weight, 1, 1000)));
    f.setItalic(lf.italic != 0);
    f.setUnderline(lf.underline != 0);
    f.setStrikeOut(lf.strikeOut != 0);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferFullHinting);
    int strategy = QFont::NoSubpixelAntialias | QFont::PreferMatch;
    strategy |= lf.quality == kNonAntialiasedQuality ? QFont::NoAntialias : QFont::PreferAntialias;
    f.setStyleStrategy(QFont::StyleStrategy(strategy));
    return f;
}

}  // namespace

QString characterText(const std::string& oemCharacter) {
    return QString::fromStdString(fromOem(oemCharacter));
}

const QFont& QtFontCatalog::qfont(const LogFont& lf) {
    const auto key = lf.encode();
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;

    QFont f = baseFont(lf);
    int pixelSize = kDefaultPixelSize;
    if (lf.height < 0) {
        pixelSize = int(std::min<int64_t>(-int64_t(lf.height), kMaxPixelSize));
    } else if (lf.height > 0) {
        // The cell height of a face is a fixed multiple of its pixel size: measure it once at a
        // large size and scale.
        QFont probe = f;
        probe.setPixelSize(200);
        probe.setHintingPreference(QFont::PreferNoHinting);
        const QFontMetricsF m(probe);
        const double cell = m.ascent() + m.descent();
        pixelSize = cell > 0 ? int(std::lround(lf.height * 200.0 / cell)) : lf.height;
    }
    f.setPixelSize(std::clamp(pixelSize, 1, kMaxPixelSize));
    if (lf.width > 0) {
        const int natural = QFontMetrics(f).averageCharWidth();
        if (natural > 0)
            f.setStretch(std::clamp(int(std::lround(100.0 * lf.width / natural)), 1, 4000));
    }
    return fonts_.emplace(key, f).first->second;
}

FontMetrics QtFontCatalog::metrics(const LogFont& font) {
    const QFontMetrics m(qfont(font));
    FontMetrics out;
    out.ascent = m.ascent();
    out.descent = m.descent();
    out.averageWidth = m.averageCharWidth();
    return out;
}

int QtFontCatalog::advance(const LogFont& font, const std::string& character) {
    return QFontMetrics(qfont(font)).horizontalAdvance(characterText(character));
}

}  // namespace brightline::pageeditor
