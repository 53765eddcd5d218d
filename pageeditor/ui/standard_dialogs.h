#pragma once
// The platform's standard dialogs the editor uses: file names to open and save, a bitmap to
// insert, a font and a colour. The window asks through this interface so that tests can answer
// in place of a person; QtStandardDialogs shows Qt's own dialogs.
//
// Every call returns nothing (an empty name or no value) when the operator cancels. User
// interface thread only.
#include <QFont>
#include <QString>
#include <cstdint>
#include <optional>

#include "pageeditor/log_font.h"

class QWidget;

namespace brightline::ui {

// The filters as the design names them; the lower-case patterns are added because Linux file
// names keep their case.
inline constexpr const char* kTextPageFilter = "Pagewright (*.ZRT *.zrt)";
inline constexpr const char* kBitmapFilter = "BMP Files (*.BMP *.bmp)";

class StandardDialogs {
  public:
    virtual ~StandardDialogs() = default;
    // An existing text page.
    virtual QString openTextPage(QWidget* parent, const QString& folder) = 0;
    // A name to save under (the dialog asks before replacing a file it names).
    virtual QString saveTextPage(QWidget* parent, const QString& initialPath) = 0;
    // An existing bitmap file.
    virtual QString openPicture(QWidget* parent, const QString& folder) = 0;
    // Installed fonts, preset with `current`.
    virtual std::optional<pageeditor::LogFont> chooseFont(QWidget* parent,
                                                          const pageeditor::LogFont& current) = 0;
    // A colour 0x00BBGGRR, preset with `current`.
    virtual std::optional<uint32_t> chooseColor(QWidget* parent, uint32_t current) = 0;
};

class QtStandardDialogs : public StandardDialogs {
  public:
    QString openTextPage(QWidget* parent, const QString& folder) override;
    QString saveTextPage(QWidget* parent, const QString& initialPath) override;
    QString openPicture(QWidget* parent, const QString& folder) override;
    std::optional<pageeditor::LogFont> chooseFont(QWidget* parent,
                                                  const pageeditor::LogFont& current) override;
    std::optional<uint32_t> chooseColor(QWidget* parent, uint32_t current) override;
};

// The font the font dialog shows for a logical font: the installed face that draws it, its
// pixel size as points at 96 dots per inch, weight, italic, underline and strike-out.
QFont dialogFontFor(const pageeditor::LogFont& font);
// The logical font of a font chosen in the dialog: the face name, the height as minus the pixel
// size (points at 96 dots per inch), weight, italic, underline and strike-out, and the Chinese
// character set when the face has Chinese characters.
pageeditor::LogFont logFontFromDialog(const QFont& font);

// 0x00BBGGRR from a colour.
uint32_t colorRefOf(const QColor& color);

}  // namespace brightline::ui
