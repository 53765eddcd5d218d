#pragma once
// "Getting started": three steps the main window carries out (queued) and "Don't show this
// again", read when the guide closes ("SET"/"SHOW_STEP" = 1 when ticked). It stays open after a
// step.
#include "common/ui/guide_dialog.h"

namespace brightline::ui {

class CGettingStartedGuide : public GuideDialog {
    Q_OBJECT
  public:
    explicit CGettingStartedGuide(QWidget* parent = nullptr);
};

}  // namespace brightline::ui
