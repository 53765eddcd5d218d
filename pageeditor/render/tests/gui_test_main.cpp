// One Qt Gui session for every test of the binary, on the offscreen platform unless the run
// names another.
#include <gtest/gtest.h>

#include "pageeditor/render/gui_session.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    brightline::pageeditor::GuiSession gui(true);
    return RUN_ALL_TESTS();
}
