#pragma once
// The clock page editor "Edit ZTIME": a modal dialog titled with the page's path ("New" for an
// unnamed page). A toolbar ("New", "Open", "Save", "Saveas", "Colour", "Zone"), the live
// preview of the page at the sign's size on the left (drawn by the engine's clock page renderer
// with the bitmap fonts: the time item every 100 ms, the others every 200 ms; the selected item
// framed), and on the right the item selector, "X:" and "Y:", the format box, the font list
// ("font :") and the "Show" boxes. No OK or Cancel: the window's close box (or Escape) closes it,
// asking "Save TIM file ?" when the page was changed.
//
// The zone: the process's zone (TZ) is kept when the editor opens; a page opened from a file
// (on opening, or with "Open") puts the process on the page's zone, "New" puts the kept zone
// back, and closing the editor restores it ("Set system time zone information failure!" when
// that fails). Saving records the zone in force. "Zone" reads the zone in force into the page
// and starts the desktop's date and time settings when one is installed (saying so when none
// is). Changing TZ is process-wide: the main window opens the editor only while no Make runs and
// no preview plays.
//
// User interface thread only.
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/operator_messages.h"
#include "engine/clock/utc_clock.h"
#include "engine/fonts/font_table.h"
#include "shell/clock_page_document.h"

class QAction;
class QCheckBox;
class QComboBox;
class QSpinBox;
class QTimer;
class QToolBar;

namespace brightline::ui {

inline constexpr const char* kMsgSaveTim = "Save TIM file ?";
inline constexpr const char* kMsgZoneRestoreFailed = "Set system time zone information failure!";

// The sign face of the page, drawn as the sign draws it and enlarged by a whole number.
class ClockPreview : public QWidget {
    Q_OBJECT
  public:
    ClockPreview(int signWidth, int signHeight, const FontTable& fonts, QWidget* parent);
    void setPage(const ClockPageDocument* page, int selected);
    void setClock(std::shared_ptr<const UtcClock> clock) { clock_ = std::move(clock); }
    // Redraws every layer now (after an edit).
    void redraw();
    // The sign face as last drawn, sign-sized.
    QImage face() const;
    int zoom() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void drawLayer(bool timeItem);
    CivilTime now() const;

    int width_;
    int height_;
    const FontTable& fonts_;
    const ClockPageDocument* page_ = nullptr;
    int selected_ = 0;
    std::shared_ptr<const UtcClock> clock_;
    std::vector<uint32_t> timeLayer_;   // the time item alone
    std::vector<uint32_t> otherLayer_;  // the other four
    QTimer* fast_ = nullptr;            // 100 ms: the time item
    QTimer* slow_ = nullptr;            // 200 ms: the others
};

class ClockPageEditor : public QDialog {
    Q_OBJECT
  public:
    // `path` the page file (may not exist yet); `openedFromFile`: load it and apply its zone,
    // else a new page with the defaults. `fonts` (borrowed) are the loaded bitmap fonts.
    ClockPageEditor(const QString& path, int signWidth, int signHeight, bool openedFromFile,
                    const FontTable& fonts, OperatorMessages& messages, QWidget* parent = nullptr);
    ~ClockPageEditor() override;

    // Where the preview's time comes from (default: the machine's clock); the local time is
    // that of the process's zone.
    void setClock(std::shared_ptr<const UtcClock> clock);
    // How Open and Save As ask for a file (`save`: for Save As), and "Colour" for a colour;
    // tests answer them themselves. An empty or invalid answer cancels.
    void setFileChooser(std::function<QString(bool save)> chooser) {
        chooseFile_ = std::move(chooser);
    }
    void setColourChooser(std::function<QColor(const QColor&)> chooser) {
        chooseColour_ = std::move(chooser);
    }
    // What "Zone" starts (default: the desktop's date and time settings found on PATH).
    void setSettingsStarter(std::function<bool()> starter) { startSettings_ = std::move(starter); }

    // The toolbar's commands.
    void newPage();
    void openPage();
    bool save();
    bool saveAs();
    void chooseColour();
    void zone();

    const ClockPageDocument& page() const { return page_; }
    QString path() const { return path_; }
    bool modified() const { return modified_; }
    int currentItem() const { return current_; }
    // The text an item shows now.
    QString shownText(int kind) const;

    QAction* action(const char* caption) const;
    QComboBox* itemSelector() const { return selector_; }
    QSpinBox* xSpin() const { return x_; }
    QSpinBox* ySpin() const { return y_; }
    QComboBox* formatBox() const { return format_; }
    QComboBox* fontList() const { return font_; }
    QCheckBox* showBox(int kind) const { return show_[kind]; }
    ClockPreview* preview() const { return preview_; }

  public slots:
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Asks about unsaved changes and restores the zone; false when the editor stays open.
    bool finish();
    void loadFrom(const QString& path);
    void applyPageZone();
    void refillSelector();
    void selectItem(int kind);
    void touched();
    ClockItem& item() { return page_.items[static_cast<size_t>(current_)]; }

    OperatorMessages& messages_;
    const FontTable& fonts_;
    int signWidth_;
    int signHeight_;
    QString path_;
    ClockPageDocument page_;
    int current_ = kClockDate;
    bool modified_ = false;
    bool updating_ = false;  // the fields are being filled, not edited
    bool finished_ = false;
    std::optional<std::string> savedZone_;
    std::shared_ptr<const UtcClock> clock_;
    std::function<QString(bool)> chooseFile_;
    std::function<QColor(const QColor&)> chooseColour_;
    std::function<bool()> startSettings_;

    QToolBar* toolbar_ = nullptr;
    ClockPreview* preview_ = nullptr;
    QComboBox* selector_ = nullptr;
    QSpinBox* x_ = nullptr;
    QSpinBox* y_ = nullptr;
    QComboBox* format_ = nullptr;
    QComboBox* font_ = nullptr;
    QCheckBox* show_[kClockItemCount] = {};
};

// The editor's one entry point: runs it modally on `path` for a sign of `signWidth` x
// `signHeight` (what Open and New do for ".TIM" files, and what a clock page item or library
// entry opens through the main window).
void runClockPageEditor(QWidget* parent, const std::string& path, int signWidth, int signHeight,
                        bool openedFromFile, const FontTable& fonts, OperatorMessages& messages);

}  // namespace brightline::ui
