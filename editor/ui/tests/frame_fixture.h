#pragma once
// What the program frame tests share: the desktop test folder, a sign list and a program file
// (ProgramFilesTest); a PlaySession on the test's workspace, as the main window owns one, and
// frames opened on it (FrameTest).
#include <QImage>
#include <memory>
#include <string>

#include "comm/led_set_data.h"
#include "common/folders.h"
#include "common/ui/qt_text.h"
#include "common/ui/testing/desktop_test.h"
#include "editor/program_data.h"
#include "editor/ui/play_session.h"
#include "editor/ui/program_frame.h"

namespace brightline::ui::testing {

class ProgramFilesTest : public DesktopTest {
  protected:
    // The current sign "Sample LED" is `width` x `height`.
    void writeSignList(int width, int height) {
        SignList list;
        CLED_Set_Data sign;
        sign.name = "Sample LED";
        sign.width = width;
        sign.height = height;
        list.signs = {sign};
        EXPECT_TRUE(saveSignList(path("LED_SET.ZRC"), list));
    }
    // A 64 x 32 program whose one full area shows a red picture as its background.
    std::string redProgram() {
        QImage red(64, 32, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        EXPECT_TRUE(red.save(qs(path("red.png"))));
        ProgramData program;
        program.ledWidth = 64;
        program.ledHeight = 32;
        program.resetToDefaultElements();
        program.areaLists[0][0].path = path("red.png");
        program.areaLists[0][0].thumbIndex = 0;
        EXPECT_TRUE(saveProgram(path("red.ZPF"), program));
        return path("red.ZPF");
    }
};

class FrameTest : public ProgramFilesTest {
  protected:
    std::unique_ptr<CProgramFrame> openFrame(const std::string& file, bool newProgram = false,
                                             bool showGuide = false) {
        auto frame = std::make_unique<CProgramFrame>(qs(file), newProgram, showGuide, 0, session_,
                                                     messages_);
        frame->resize(900, 700);
        frame->show();
        return frame;
    }

    PlaySession session_{programData(), messages_, workspaceFolder()};
};

}  // namespace brightline::ui::testing
