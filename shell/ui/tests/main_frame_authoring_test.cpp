// A program authored from nothing in the main window, as a person would: File > New, two areas,
// media and effects dragged from the property view, a delay typed in, Play, then Send to the
// virtual sign.
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "common/file_io.h"
#include "editor/resource_libraries.h"
#include "editor/ui/item_dialogs.h"
#include "editor/ui/preview_window.h"
#include "editor/ui/tests/authoring_fixture.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/tests/new_program.h"
#include "shell/ui/tests/virtual_sign_fixture.h"

namespace brightline::ui {
namespace {

using testing::dropOn;
using testing::itemViewPoint;
using testing::propertyEntry;

class AuthoringEndToEndTest : public testing::VirtualSignTest {
  protected:
    AuthoringEndToEndTest() {
        writeSignList(128, 64);
        EXPECT_TRUE(testing::writeAuthoringLibraries(dir_));
    }
};

// True when some pixel of `area` (face coordinates) in `frame` is close to `colour`.
bool shows(const QImage& frame, const Rect& area, QColor colour) {
    for (int y = area.top; y < area.bottom && y < frame.height(); y += 2)
        for (int x = area.left; x < area.right && x < frame.width(); x += 2) {
            const QColor c = frame.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 40 &&
                std::abs(c.green() - colour.green()) < 40 &&
                std::abs(c.blue() - colour.blue()) < 40)
                return true;
        }
    return false;
}

TEST_F(AuthoringEndToEndTest, NewProgramAuthoredThroughTheWidgetsPlaysAndReachesTheSign) {
    signsim::SignSimulator& sign = *sign_;
    CMainFrame main;
    main.resize(1200, 860);
    main.show();
    uploadWithoutPause(main);

    // File > New: a program file "show" in the test folder.
    CProgramFrame* frame = testing::newProgramFromMenu(main, dir_, "show");
    ASSERT_TRUE(frame);
    CPropertyView& property = *frame->propertyView();
    CProgram_Layout_view* layout = frame->layoutView();
    CProgram_Menu_view* items = frame->programList()->itemView();
    QWidget* cards = items->viewport();

    // Two areas side by side: area format 1 dropped on the face.
    ASSERT_TRUE(dropOn(layout, propertyEntry(property, kTabAreaFormat, 1).get(),
                       layout->faceRect().center()));
    ASSERT_EQ(layout->areaLayout().areaCount, 2);
    const Rect left = layout->areaLayout().areas[0];
    const Rect right = layout->areaLayout().areas[1];
    ASSERT_LT(left.right, right.right);

    // Area 0: the red picture as background with "Move left"; the blue picture after it with an
    // exit effect and a delay of 7 seconds, set through its context menu.
    ASSERT_TRUE(dropOn(cards, propertyEntry(property, kTabPicture, 0).get(),
                       itemViewPoint(*items, itemCardRect(0))));
    ASSERT_TRUE(dropOn(cards, propertyEntry(property, kTabMoveIn, 1).get(),
                       itemViewPoint(*items, itemCardRect(0))));
    ASSERT_TRUE(dropOn(cards, propertyEntry(property, kTabPicture, 1).get(),
                       itemViewPoint(*items, itemCardRect(1))));
    ASSERT_TRUE(dropOn(cards, propertyEntry(property, kTabMoveOut, 3).get(),
                       itemViewPoint(*items, exitBoxRect(1))));
    QTest::mouseClick(cards, Qt::LeftButton, {}, itemViewPoint(*items, itemCardRect(1)));
    {
        std::unique_ptr<QMenu> menu(items->contextMenuFor(1));
        ASSERT_TRUE(menu);
        QAction* setDelay = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == "Set Delay") setDelay = a;
        ASSERT_TRUE(setDelay);
        setDelay->trigger();
    }
    auto* delay = items->findChild<CSetDelayDialog*>();
    ASSERT_TRUE(delay);
    delay->field()->setText("7");
    delay->accept();

    // Area 1, chosen by a click on the face: the clip as background, then the clock page dropped
    // into its row of the timeline after it.
    const QPoint origin = layout->faceRect().topLeft();
    QTest::mouseClick(
        layout, Qt::LeftButton, {},
        origin + QPoint((right.left + right.right) / 2, (right.top + right.bottom) / 2));
    ASSERT_EQ(frame->selectedArea(), 1);
    ASSERT_TRUE(dropOn(cards, propertyEntry(property, kTabVideo, 0).get(),
                       itemViewPoint(*items, itemCardRect(0))));
    frame->programList()->showTab(1);
    CProgram_Menu_Time_view* timeline = frame->programList()->timelineView();
    ASSERT_EQ(timeline->areaCount(), 2);
    const QRect row1 = timeline->barRect(1, 0);
    ASSERT_TRUE(dropOn(timeline->viewport(), propertyEntry(property, kTabClockPage, 0).get(),
                       QPoint(row1.right() + 40, row1.center().y())));

    // What the widgets did is in the saved file.
    std::vector<uint8_t> saved;
    ASSERT_TRUE(readWholeFile(path("show.ZPF"), saved));
    EXPECT_EQ(saved, encodeProgram(programData()));
    const auto& area0 = programData().areaLists[0];
    const auto& area1 = programData().areaLists[1];
    ASSERT_EQ(area0.size(), 2u);
    ASSERT_EQ(area1.size(), 2u);
    EXPECT_EQ(programData().areaFormat, 1);
    EXPECT_EQ(area0[0].path, path("Red Shop.JPG"));
    EXPECT_EQ(area0[0].moveIn, 1);
    EXPECT_EQ(area0[1].path, path("blue.png"));
    EXPECT_EQ(area0[1].moveOut, 3);
    EXPECT_EQ(area0[1].hold, 7);
    EXPECT_EQ(area1[0].path, path("clip.AVI"));
    EXPECT_EQ(area1[0].hold, 0);
    EXPECT_EQ(area1[1].path, path("town.TIM"));
    EXPECT_EQ(area1[1].start, 0);
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();

    // Play: the preview shows the red picture on the left and the green clip on the right.
    QTest::mouseClick(layout->playButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return main.session().previewed(); }, 60000)) << lastMessage();
    bool red = false, green = false;
    EXPECT_TRUE(waitFor(
        [&] {
            const PreviewWindow* preview = main.session().preview();
            if (!preview || preview->lastFrame().isNull()) return false;
            red = red || shows(preview->lastFrame(), left, QColor(220, 30, 30));
            green = green || shows(preview->lastFrame(), right, QColor(0x20, 0xE0, 0x20));
            return red && green;
        },
        20000))
        << "red picture seen " << red << ", green clip seen " << green;

    // Send: every file Make wrote reaches the sign's current folder.
    bool finished = false;
    QObject::connect(&main, &CMainFrame::operationFinished, [&] { finished = true; });
    QTest::mouseClick(layout->sendButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return finished; }, 60000)) << lastMessage();
    EXPECT_TRUE(main.operations().confirmed());
    const std::string folder = sign.sign().currentFolder();
    ASSERT_FALSE(folder.empty());
    const QStringList made = QDir(qs(workspaceFolder())).entryList(QDir::Files, QDir::Name);
    ASSERT_TRUE(made.contains("run.at"));
    EXPECT_GE(made.size(), 4);
    for (const QString& name : made)
        EXPECT_TRUE(QFileInfo::exists(qs(path("sign/" + folder + "/")) + name)) << ss(name);
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
    layout->stop();
}

}  // namespace
}  // namespace brightline::ui
