#include "editor/ui/step_guide.h"

namespace brightline::ui {

CStepGuide::CStepGuide(QWidget* parent)
    : GuideDialog("Program \tGuide",
                  {"Step (1)   Create new ZRT file", "Step (2)   Add ZRT file",
                   "Step (3)   Drop ZRT file on a frame", "Step (4)   Preview",
                   "Step (5)   Send to LED sign"},
                  "SHOW_STEP_PROGRAM", 6, 12, parent) {}

}  // namespace brightline::ui
