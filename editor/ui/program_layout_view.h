#pragma once
// The layout view: the sign face at one screen pixel per sign pixel on a black background with
// a red frame and an 8-pixel grey grid; the areas of the current format with the element shown
// in each and its number; the green dividing lines, dragged with the mouse (the geometry is
// editor/area_format's); the sign size edits; the bottom toolbar with Play, Stop and Send; and
// the status strip of Make ("Making ...", "Making : <file>", "Make finish", "Playing ...").
//
// The view paints and forwards input. Play, Stop and Send are the PlaySession's (borrowed; it
// must outlive the view): the view hands them on, hosts the preview window over its face, shows
// the session's status in the strip and keeps the size edits disabled while the session is not
// Idle. It reads and changes the ProgramData it is given (borrowed) and reports each edit (a
// format, a line, the size) with `edited`; the pictures in the areas come from the borrowed
// ThumbnailService at the area's size. User interface thread only.
#include <QPixmap>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "editor/area_format.h"
#include "editor/program_data.h"
#include "editor/ui/play_session.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace brightline::ui {

class ThumbnailService;

inline constexpr int kLayoutToolbarHeight = 52;
inline constexpr int kStatusStripHeight = 40;

class CProgram_Layout_view : public QWidget, public PreviewHost {
    Q_OBJECT
  public:
    // `signName` is the current sign.
    CProgram_Layout_view(ProgramData& program, PlaySession& session, ThumbnailService& thumbnails,
                         const std::string& signName, QWidget* parent = nullptr);
    ~CProgram_Layout_view() override;  // cancels the session's Make or preview

    // Takes the program's size and format, computes the areas; each area shows its background.
    void initialUpdate();
    // The program was put back by undo or redo: as initialUpdate(), and a changed sign size is
    // written to the sign's record as an edit of the size would.
    void programRestored();

    // Geometry in view coordinates.
    QPoint canvasOrigin() const { return origin_; }
    QRect faceRect() const;
    const AreaLayout& areaLayout() const { return layout_; }
    int selectedArea() const { return selected_; }

    void applyFormat(int format);
    void selectArea(int slot);
    void showElementInArea(int slot, const std::string& path, int thumbIndex);
    // The path of the element area `slot` shows (empty: none).
    std::string shownPath(int slot) const {
        return slot >= 0 && slot < kAreaSlots ? shown_[static_cast<size_t>(slot)].path
                                              : std::string();
    }
    // Size edits (the edits' change handlers).
    void setWidthText(const QString& text);
    void setHeightText(const QString& text);

    // The toolbar's commands, handed to the session.
    void play();
    void stop();
    void send();
    void setStripVisible(bool visible);
    PlaySession& session() const { return session_; }

    // PreviewHost: the preview lies over the face.
    QWidget* previewParent() override { return this; }
    QRect previewFace() const override { return faceRect(); }

    QLineEdit* widthEdit() const { return widthEdit_; }
    QLineEdit* heightEdit() const { return heightEdit_; }
    QToolButton* playButton() const { return play_; }
    QToolButton* stopButton() const { return stop_; }
    QToolButton* sendButton() const { return send_; }

  signals:
    void areaSelected(int slot);
    // An edit of the format, a dividing line or the sign size (none of them saves the program);
    // `merge` (ProgramHistory's ids) joins the steps of one typed size.
    void edited(const QString& what, bool save, int merge);
    // The areas were computed again; the timeline shows one row per area.
    void areaCountChanged(int count);

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
    void sessionStateChanged(PlaySession::State state);
    int clientHeight() const;

    ProgramData& program_;
    PlaySession& session_;
    ThumbnailService& thumbnails_;
    std::string signName_;

    int canvasWidth_ = 256;
    int canvasHeight_ = 128;
    QPoint origin_;
    AreaLayout layout_;
    std::array<ShownElement, 4> shown_;
    int selected_ = 0;
    bool dragging_ = false;
    bool tooltipShown_ = false;

    bool stripVisible_ = false;

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
