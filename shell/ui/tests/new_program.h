#pragma once
// File > New in the main window, as a person does it: "Program File" chosen, the folder and the
// name typed, OK clicked.
#include <gtest/gtest.h>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/ui/qt_text.h"
#include "editor/ui/program_frame.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/new_dialog.h"

namespace brightline::ui::testing {

// The program frame of the new program `name` in `folder`, shown; nullptr (with a failure) when
// none opened.
inline CProgramFrame* newProgramFromMenu(CMainFrame& main, const std::string& folder,
                                         const char* name) {
    main.action(CMainFrame::Command::New)->trigger();
    auto* dialog = main.findChild<CNewDialog*>();
    if (!dialog) {
        ADD_FAILURE() << "File > New opened no dialog";
        return nullptr;
    }
    dialog->list()->setCurrentRow(0);
    dialog->locationEdit()->setText(qs(folder));
    QTest::keyClicks(dialog->nameEdit(), name);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    CProgramFrame* frame = main.programFrame();
    if (!frame || !QTest::qWaitForWindowExposed(frame)) {
        ADD_FAILURE() << "no program frame shown for " << name;
        return nullptr;
    }
    return frame;
}

}  // namespace brightline::ui::testing
