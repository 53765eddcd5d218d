#include "pageeditor/ui/standard_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <cmath>

#include "common/ui/qt_text.h"
#include "pageeditor/render/page_painter.h"
#include "pageeditor/render/qt_font_catalog.h"

namespace brightline::ui {

using pageeditor::LogFont;

namespace {

constexpr double kPointsPerPixel = 72.0 / 96.0;

bool sameChoice(const QFont& a, const QFont& b) {
    return a.family() == b.family() && a.pointSizeF() == b.pointSizeF() &&
           a.weight() == b.weight() && a.italic() == b.italic() && a.underline() == b.underline() &&
           a.strikeOut() == b.strikeOut();
}

}  // namespace

QFont dialogFontFor(const LogFont& font) {
    pageeditor::QtFontCatalog catalog;
    const QFont& drawn = catalog.qfont(font);
    const QFontInfo info(drawn);
    QFont f;
    f.setFamily(info.family());
    // The face's own name for its style ("Book", "Regular"), which the dialog lists.
    f.setStyleName(info.styleName());
    f.setPointSizeF(std::max(1.0, std::round(drawn.pixelSize() * kPointsPerPixel * 2) / 2));
    f.setWeight(drawn.weight());
    f.setItalic(drawn.italic());
    f.setUnderline(drawn.underline());
    f.setStrikeOut(drawn.strikeOut());
    return f;
}

LogFont logFontFromDialog(const QFont& font) {
    LogFont lf;
    lf.setFace(ss(font.family()));
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    lf.height = -std::max(1, int(std::lround(points / kPointsPerPixel)));
    lf.weight = font.weight();
    lf.italic = font.italic() ? 1 : 0;
    lf.underline = font.underline() ? 1 : 0;
    lf.strikeOut = font.strikeOut() ? 1 : 0;
    const bool chinese =
        QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::SimplifiedChinese);
    lf.charSet = chinese ? pageeditor::kGb2312Charset : pageeditor::kAnsiCharset;
    return lf;
}

uint32_t colorRefOf(const QColor& color) {
    return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}

QString QtStandardDialogs::openTextPage(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, "Open", folder, kTextPageFilter);
}

QString QtStandardDialogs::saveTextPage(QWidget* parent, const QString& initialPath) {
    return QFileDialog::getSaveFileName(parent, "Save As", initialPath, kTextPageFilter);
}

QString QtStandardDialogs::openPicture(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, "Insert Picture", folder, kBitmapFilter);
}

std::optional<LogFont> QtStandardDialogs::chooseFont(QWidget* parent, const LogFont& current) {
    const QFont preset = dialogFontFor(current);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, preset, parent, "Font");
    if (!ok) return std::nullopt;
    // Unchanged: the font stays as the page names it (a Windows face keeps its name).
    if (sameChoice(chosen, preset)) return current;
    return logFontFromDialog(chosen);
}

std::optional<uint32_t> QtStandardDialogs::chooseColor(QWidget* parent, uint32_t current) {
    const QColor chosen =
        QColorDialog::getColor(pageeditor::colorFromRef(current), parent, "Color");
    if (!chosen.isValid()) return std::nullopt;
    return colorRefOf(chosen);
}

}  // namespace brightline::ui
