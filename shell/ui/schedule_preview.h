#pragma once
// The window a schedule's "Preview at..." plays in: a top-level window titled "Preview at"
// and the moment, the sign face enlarged by a whole number to a comfortable size. It lends
// itself to the PlaySession as the preview's host; closing it stops the preview (and a compile
// still running for it). User interface thread only.
#include <QWidget>
#include <functional>

#include "editor/ui/play_session.h"
#include "engine/clock/local_time.h"

namespace brightline::ui {

class SchedulePreview : public QWidget, public PreviewHost {
    Q_OBJECT
  public:
    // `signWidth` x `signHeight`: the sign's pixels. `closed` runs when the window closes.
    SchedulePreview(int signWidth, int signHeight, const CivilTime& at,
                    std::function<void()> closed, QWidget* parent = nullptr);

    QWidget* previewParent() override { return this; }
    QRect previewFace() const override { return rect(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<void()> closed_;
};

}  // namespace brightline::ui
