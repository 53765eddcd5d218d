#pragma once
// The layout view: the sign face at one screen pixel per sign pixel on a black background with
// a red frame and an 8-pixel grey grid; the areas of the current format with the element shown
// in each and its number; the green dividing lines, dragged with the mouse (the geometry is
// editor/area_format's); the sign size edits; the bottom toolbar with Play, Stop and Send; and
// the status strip of Make ("Making ...", "Making : <file>", "Make finish", "Playing ...").
//
// Play runs Make on a worker thread, then lays the preview window over the face. The view reads
// and changes the process's ProgramData. User interface thread only.
#include <QPixmap>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "common/operator_messages.h"
#include "editor/area_format.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace brightline::ui {

class MakeJob;
class PreviewWindow;

inline constexpr const char* kMsgNotMade =
    "The program script doesn't send to LED sign before it has finished making.";
inline constexpr const char* kPlayingText = "Playing ...";
inline constexpr int kLayoutToolbarHeight = 52;
inline constexpr int kStatusStripHeight = 40;

class CProgram_Layout_view : public QWidget {
    Q_OBJECT
  public:
    // `messages` (borrowed) shows the view's and Make's messages. `signName` is the current sign.
    CProgram_Layout_view(OperatorMessages& messages, const std::string& signName,
                         QWidget* parent = nullptr);
    ~CProgram_Layout_view() override;

    // Takes the program's size and format, computes the areas.
    void initialUpdate();

    // Geometry in view coordinates.
    QPoint canvasOrigin() const { return origin_; }
    QRect faceRect() const;
    const AreaLayout& areaLayout() const { return layout_; }
    int selectedArea() const { return selected_; }

    void applyFormat(int format);
    void selectArea(int slot);
    void showElementInArea(int slot, const std::string& path, int thumbIndex);
    // Size edits (the edits' change handlers).
    void setWidthText(const QString& text);
    void setHeightText(const QString& text);

    void play();
    void stop();
    void send();
    void setStripVisible(bool visible);

    PreviewWindow* preview() const { return preview_; }
    bool makeRunning() const;
    bool previewed() const { return previewed_; }
    int lastMakeResult() const { return lastMakeResult_; }
    QString statusText() const;

    QLineEdit* widthEdit() const { return widthEdit_; }
    QLineEdit* heightEdit() const { return heightEdit_; }
    QToolButton* playButton() const { return play_; }
    QToolButton* stopButton() const { return stop_; }
    QToolButton* sendButton() const { return send_; }

  signals:
    // Send was allowed: the main window starts SendShow with this many made media.
    void sendShowRequested(int count);
    void areaSelected(int slot);
    void areaCountChanged(int count);
    // Make ended (count; cancelled ones included, with count 0).
    void makeEnded(int count);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct ShownElement {
        std::string path;
        int thumbIndex = -1;
    };
    void buildToolbar();
    void computeLayout();
    void recomputeOrigin();
    void drawBackground();
    void drawElement(QPainter& p, const QRect& area, const ShownElement& element);
    void setSizeControlsEnabled(bool enabled);
    void storeSignSize();
    // The sign size after an edit: the canvas, the program, the areas, the sign record.
    void applySignSize(int width, int height);
    void makeStatus(const std::string& text);
    int clientHeight() const;

    OperatorMessages& messages_;
    std::string signName_;
    std::unique_ptr<MakeJob> make_;
    PreviewWindow* preview_ = nullptr;

    int canvasWidth_ = 256;
    int canvasHeight_ = 128;
    QPoint origin_;
    AreaLayout layout_;
    std::array<ShownElement, 4> shown_;
    int selected_ = 0;
    bool dragging_ = false;
    bool tooltipShown_ = false;

    // Make and preview state.
    bool making_ = false;
    bool playing_ = false;
    bool statusTextSet_ = false;
    bool stripVisible_ = false;
    bool active_ = false;
    bool previewed_ = false;
    int lastMakeResult_ = 0;
    QString statusText_;

    QPixmap background_;
    bool backgroundStale_ = true;

    QWidget* toolbar_ = nullptr;
    QToolButton* play_ = nullptr;
    QToolButton* stop_ = nullptr;
    QToolButton* send_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QWidget* widthUpDown_ = nullptr;
    QWidget* heightUpDown_ = nullptr;
};

}  // namespace brightline::ui
