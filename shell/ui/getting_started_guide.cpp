#include "shell/ui/getting_started_guide.h"

namespace brightline::ui {

CGettingStartedGuide::CGettingStartedGuide(QWidget* parent)
    : GuideDialog(
          "Getting started",
          {"Step1 :   Set communication", "Step2 :   Create new program", "Step3 :  Send Program"},
          "SHOW_STEP", 8, 16, parent) {}

}  // namespace brightline::ui
