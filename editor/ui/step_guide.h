#pragma once
// The program's step guide "Program \tGuide": five steps that the program frame carries out
// (queued), and "Don't show this again", written to "SET"/"SHOW_STEP_PROGRAM" when it closes.
#include "common/ui/guide_dialog.h"

namespace brightline::ui {

class CStepGuide : public GuideDialog {
    Q_OBJECT
  public:
    explicit CStepGuide(QWidget* parent = nullptr);
};

}  // namespace brightline::ui
