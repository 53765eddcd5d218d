// The compact program form against the desktop: a program made by clicks in the main window and
// the same program written briefly and built by brightline-cli are the same file, byte for byte.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>

#include "common/file_io.h"
#include "editor/ui/item_dialogs.h"
#include "editor/ui/tests/authoring_fixture.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/tests/new_program.h"

namespace brightline::ui {
namespace {

using testing::dropOn;
using testing::itemViewPoint;
using testing::propertyEntry;

class CompactFormTest : public testing::ProgramFilesTest {
  protected:
    CompactFormTest() {
        writeSignList(128, 64);
        EXPECT_TRUE(testing::writeAuthoringLibraries(dir_));
    }

    // Runs brightline-cli in the test folder; its standard output, or "" with a failure.
    std::string cli(const QStringList& args) {
        QProcess process;
        process.setWorkingDirectory(qs(dir_));
        process.start(BRIGHTLINE_CLI, args);
        if (!process.waitForFinished(60000)) {
            ADD_FAILURE() << "brightline-cli did not finish within 60 s";
            process.kill();
            process.waitForFinished(5000);
            return {};
        }
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput().toStdString();
    }

    // The dialog of type T the item view opened last (an accepted one is deleted first).
    template <typename T>
    static T* openedDialog(CProgram_Menu_view& items) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QList<T*> all = items.findChildren<T*>();
        return all.size() == 1 ? all.front() : nullptr;
    }

    // Chooses `action` in the context menu of card `index`.
    static void contextAction(CProgram_Menu_view& items, int index, const QString& action) {
        std::unique_ptr<QMenu> menu(items.contextMenuFor(index));
        ASSERT_TRUE(menu);
        for (QAction* a : menu->actions())
            if (a->text() == action) return a->trigger();
        FAIL() << "no \"" << ss(action) << "\" for card " << index;
    }
};

TEST_F(CompactFormTest, TheCompactFormBuildsWhatTheDesktopSavesForTheSameClicks) {
    CMainFrame main;
    main.resize(1200, 860);
    main.show();
    CProgramFrame* frame = testing::newProgramFromMenu(main, dir_, "show");
    ASSERT_TRUE(frame);
    CPropertyView& property = *frame->propertyView();
    CProgram_Layout_view* layout = frame->layoutView();
    CProgram_Menu_view& items = *frame->programList()->itemView();
    QWidget* cards = items.viewport();
    auto dropCard = [&](int tab, int entry, const Rect& at) {
        return dropOn(cards, propertyEntry(property, tab, entry).get(), itemViewPoint(items, at));
    };

    ASSERT_TRUE(dropOn(layout, propertyEntry(property, kTabAreaFormat, 1).get(),
                       layout->faceRect().center()));
    // Area 0: the red picture as background, moving in from the left at speed "4"; the blue
    // picture after it leaving with "Move right" after 7 s; then the text page.
    ASSERT_TRUE(dropCard(kTabPicture, 0, itemCardRect(0)));
    ASSERT_TRUE(dropCard(kTabMoveIn, 1, itemCardRect(0)));
    contextAction(items, 0, "Set Speed");
    auto* speed = openedDialog<CSetSpeedDialog>(items);
    ASSERT_TRUE(speed);
    speed->list()->setCurrentIndex(3);
    speed->accept();
    ASSERT_TRUE(dropCard(kTabPicture, 1, itemCardRect(1)));
    ASSERT_TRUE(dropCard(kTabMoveOut, 3, exitBoxRect(1)));
    contextAction(items, 1, "Set Delay");
    auto* delay = openedDialog<CSetDelayDialog>(items);
    ASSERT_TRUE(delay);
    delay->field()->setText("7");
    delay->accept();
    ASSERT_TRUE(dropCard(kTabTextPage, 0, itemCardRect(2)));
    // Area 1: the clip as background, then the clock page held 12 s.
    const Rect right = layout->areaLayout().areas[1];
    QTest::mouseClick(layout, Qt::LeftButton, {},
                      layout->faceRect().topLeft() +
                          QPoint((right.left + right.right) / 2, (right.top + right.bottom) / 2));
    ASSERT_EQ(frame->selectedArea(), 1);
    ASSERT_TRUE(dropCard(kTabVideo, 0, itemCardRect(0)));
    ASSERT_TRUE(dropCard(kTabClockPage, 0, itemCardRect(1)));
    contextAction(items, 1, "Set Delay");
    delay = openedDialog<CSetDelayDialog>(items);
    ASSERT_TRUE(delay);
    delay->field()->setText("12");
    delay->accept();
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();

    std::vector<uint8_t> saved;
    ASSERT_TRUE(readWholeFile(path("show.ZPF"), saved));
    ASSERT_EQ(programData().areaLists[0].size(), 3u);
    ASSERT_EQ(programData().areaLists[1].size(), 2u);

    // The same program said briefly; paths relative to the JSON file's folder.
    ASSERT_TRUE(testkit::writeText(path("show.json"), R"({
  "sign": "128x64",
  "areaFormat": 1,
  "areas": [
    {"background": {"path": "Red Shop.JPG", "in": "Move left", "speed": 3},
     "items": [{"path": "blue.png", "out": "DFR_RT", "hold": 7}, "prices.ZRT"]},
    {"background": "clip.AVI", "items": [{"path": "town.TIM", "hold": 12}]}
  ]
})"));
    cli({"build", "show.json", "built.ZPF"});
    std::vector<uint8_t> built;
    ASSERT_TRUE(readWholeFile(path("built.ZPF"), built));
    EXPECT_EQ(cli({"inspect", "built.ZPF"}), cli({"inspect", "show.ZPF"}));
    EXPECT_EQ(built, saved);

    // The desktop's file has a compact form, and it builds the same file again.
    const std::string compact = cli({"inspect", "show.ZPF", "--compact"});
    ASSERT_TRUE(testkit::writeText(path("back.json"), compact));
    cli({"build", "back.json", "back.ZPF"});
    std::vector<uint8_t> back;
    ASSERT_TRUE(readWholeFile(path("back.ZPF"), back));
    EXPECT_EQ(back, saved) << compact;
}

}  // namespace
}  // namespace brightline::ui
