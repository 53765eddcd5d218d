// The schedule window in the main window: its commands and keys with the file rewritten after
// each, the entry dialog in each kind, the checker's findings, Close Schedule and the caption.
#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimeEdit>
#include <QToolBar>

#include "common/file_io.h"
#include "editor/program_data.h"
#include "editor/ui/tests/frame_fixture.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/schedule_entry_dialog.h"
#include "shell/ui/schedule_window.h"

namespace brightline::ui {
namespace {

class ScheduleWindowTest : public testing::ProgramFilesTest {
  protected:
    ScheduleWindowTest() {
        writeSignList(64, 32);
        ProgramData program;
        program.ledWidth = 64;
        program.ledHeight = 32;
        program.resetToDefaultElements();
        EXPECT_TRUE(saveProgram(path("a.ZPF"), program));
        EXPECT_TRUE(saveProgram(path("b.ZPF"), program));
    }
    // The entries the file holds now.
    std::vector<CAT_Data> onDisk(const std::string& name = "week.AT") {
        std::vector<CAT_Data> entries;
        EXPECT_EQ(loadSchedule(path(name), entries), ScheduleLoadResult::Loaded);
        return entries;
    }
    static void key(ScheduleWindow* w, Qt::Key k) { QTest::keyClick(w->list(), k); }
    static QString rowText(ScheduleWindow* w, int row, int column) {
        return w->list()->item(row, column)->text();
    }
    // "Add Schedule" for `program`; the dialog is left open for the caller.
    static CScheduleDialog* add(ScheduleWindow* w, const std::string& program) {
        w->setProgramChooser([program] { return qs(program); });
        w->action(kAddSchedule)->trigger();
        return w->entryDialog();
    }
};

TEST_F(ScheduleWindowTest, CommandsAndKeysRewriteTheFileAfterEachChange) {
    CMainFrame main;
    main.resize(1200, 800);
    main.show();
    main.newFile(FileKind::Schedule, dir_, "week");
    ScheduleWindow* w = main.scheduleWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(main.windowTitle().toStdString(), path("week.AT"));
    EXPECT_EQ(w->list()->horizontalHeaderItem(0)->text(), "Program");
    EXPECT_EQ(w->list()->horizontalHeaderItem(1)->text(), "Schedule");
    QStringList buttons;
    for (QAction* a : w->toolBar()->actions())
        if (!a->isSeparator()) buttons << a->text();
    EXPECT_EQ(buttons, (QStringList{"Add Schedule", "Del Schedule", "Preview at...", "Close"}));
    EXPECT_FALSE(QFileInfo::exists(qs(path("week.AT"))));  // nothing written before a change

    // Cancel in the file choice or in the dialog adds nothing.
    w->setProgramChooser([] { return QString(); });
    w->action(kAddSchedule)->trigger();
    EXPECT_FALSE(w->entryDialog());
    CScheduleDialog* dialog = add(w, path("a.ZPF"));
    ASSERT_TRUE(dialog);
    dialog->reject();
    EXPECT_TRUE(waitFor([&] { return !w->entryDialog(); }));
    EXPECT_EQ(w->list()->rowCount(), 0);

    // Monday 08:00 to 17:30, both dates ignored.
    dialog = add(w, path("a.ZPF"));
    ASSERT_TRUE(dialog);
    QTest::mouseClick(dialog->boxes()[1], Qt::LeftButton, {}, QPoint(4, 4));
    dialog->startTime()->setTime(QTime(8, 0));
    dialog->endTime()->setTime(QTime(17, 30));
    dialog->ignoreStart()->setChecked(true);
    dialog->ignoreEnd()->setChecked(true);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    ASSERT_EQ(onDisk().size(), 1u);
    EXPECT_EQ(rowText(w, 0, 0).toStdString(), path("a.ZPF"));
    EXPECT_EQ(rowText(w, 0, 1), "Week: Mon.     Start Time:08:00 End Time:17:30 ");
    EXPECT_EQ(onDisk()[0].weekdays, (std::array<int32_t, 7>{0, 1, 0, 0, 0, 0, 0}));

    // The first and last day of the month, then an Other entry.
    dialog = add(w, path("b.ZPF"));
    ASSERT_TRUE(dialog);
    QTest::mouseClick(dialog->kindButton(CAT_Data::Day), Qt::LeftButton);
    ASSERT_EQ(dialog->boxes().size(), 31);
    dialog->boxes()[0]->setChecked(true);
    dialog->boxes()[30]->setChecked(true);
    dialog->startTime()->setTime(QTime(8, 0));
    dialog->endTime()->setTime(QTime(17, 30));
    dialog->ignoreStart()->setChecked(true);
    dialog->ignoreEnd()->setChecked(true);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    dialog = add(w, path("a.ZPF"));
    ASSERT_TRUE(dialog);
    QTest::mouseClick(dialog->kindButton(CAT_Data::Other), Qt::LeftButton);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    ASSERT_EQ(w->list()->rowCount(), 3);
    EXPECT_EQ(rowText(w, 1, 1), "Day: 1  31    Start Time:08:00 End Time:17:30 ");
    EXPECT_EQ(rowText(w, 2, 1), "Other ");
    EXPECT_EQ(onDisk().size(), 3u);
    EXPECT_EQ(w->selectedRow(), 2);

    // The first entry does not move up: nothing is saved (the file stays away).
    ASSERT_TRUE(QFile::remove(qs(path("week.AT"))));
    w->list()->setFocus();
    w->list()->selectRow(0);
    key(w, Qt::Key_Left);
    EXPECT_FALSE(QFileInfo::exists(qs(path("week.AT"))));
    // Right: the entry moves down, stays selected, and the file is written.
    key(w, Qt::Key_Right);
    EXPECT_EQ(w->selectedRow(), 1);
    EXPECT_EQ(onDisk()[1].kind, CAT_Data::Week);
    EXPECT_EQ(onDisk()[0].kind, CAT_Data::Day);
    EXPECT_EQ(rowText(w, 1, 1), "Week: Mon.     Start Time:08:00 End Time:17:30 ");
    key(w, Qt::Key_Left);
    EXPECT_EQ(w->selectedRow(), 0);
    EXPECT_EQ(onDisk()[0].kind, CAT_Data::Week);
    // The last entry does not move down.
    w->list()->selectRow(2);
    ASSERT_TRUE(QFile::remove(qs(path("week.AT"))));
    key(w, Qt::Key_Right);
    EXPECT_FALSE(QFileInfo::exists(qs(path("week.AT"))));

    // Enter edits the selected entry: the dialog is preset from it.
    w->list()->selectRow(0);
    key(w, Qt::Key_Return);
    dialog = w->entryDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->kindButton(CAT_Data::Week)->isChecked());
    EXPECT_TRUE(dialog->boxes()[1]->isChecked());
    EXPECT_EQ(dialog->endTime()->time(), QTime(17, 30));
    EXPECT_FALSE(dialog->startDate()->isVisibleTo(dialog));  // "Ignore" hides it
    dialog->endTime()->setTime(QTime(18, 0));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(onDisk()[0].endHour, 18);
    EXPECT_EQ(rowText(w, 0, 1), "Week: Mon.     Start Time:08:00 End Time:18:00 ");

    // The context menu of a row, and none outside the rows.
    QMenu* menu = w->contextMenuFor(1);
    ASSERT_TRUE(menu);
    QStringList entries;
    for (QAction* a : menu->actions()) entries << a->text();
    EXPECT_EQ(entries, (QStringList{"Open Program (Space)", "Edit Schedule (Enter)",
                                    "MoveUp (Left)", "MoveDown (Right)"}));
    menu->actions()[2]->trigger();  // MoveUp
    EXPECT_EQ(onDisk()[0].kind, CAT_Data::Day);
    EXPECT_EQ(w->contextMenuFor(-1), nullptr);

    // Delete removes the selected entry.
    w->list()->selectRow(0);
    key(w, Qt::Key_Delete);
    ASSERT_EQ(onDisk().size(), 2u);
    EXPECT_EQ(w->list()->rowCount(), 2);
    EXPECT_EQ(onDisk()[0].kind, CAT_Data::Week);

    // Space opens the selected entry's program in the main window.
    w->list()->selectRow(0);
    key(w, Qt::Key_Space);
    ASSERT_TRUE(main.programFrame());
    EXPECT_EQ(main.programFrame()->programPath().toStdString(), path("a.ZPF"));
    EXPECT_EQ(main.windowTitle().toStdString(), path("week.AT"));

    // Close: the window goes, the caption returns, the entries stay for Send File.
    w->action(kCloseSchedule)->trigger();
    EXPECT_TRUE(waitFor([&] { return !main.scheduleWindow(); }));
    EXPECT_EQ(main.windowTitle(), "Brightline");
    EXPECT_EQ(main.schedule().size(), 2u);
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
}

TEST_F(ScheduleWindowTest, InASmallMainWindowItsToolbarStaysAboveTheStatusBar) {
    CMainFrame main;
    main.resize(850, 530);
    main.show();
    main.newFile(FileKind::Schedule, dir_, "week");
    ScheduleWindow* w = main.scheduleWindow();
    ASSERT_TRUE(w);
    const int statusTop = main.statusBar()->geometry().top();
    EXPECT_LE(w->geometry().bottom(), statusTop);
    EXPECT_LE(w->mapTo(&main, w->toolBar()->geometry().bottomLeft()).y(), statusTop);
    // Large again: back to its place under the toolbar, at full height.
    main.resize(1200, 900);
    EXPECT_EQ(w->height(), 480);
}

TEST_F(ScheduleWindowTest, EntryDialogInEachKind) {
    CAT_Data entry = newScheduleEntry(path("a.ZPF"),
                                      civilFromSeconds(secondsFromCivil(2026, 3, 10, 23, 59, 30)));
    entry.months[4] = 1;  // kept as stored
    EXPECT_EQ(entry.endHour, 0);
    EXPECT_EQ(entry.endMinute, 0);
    CScheduleDialog dialog(entry);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Schedule");
    EXPECT_TRUE(dialog.kindButton(CAT_Data::Week)->isChecked());
    ASSERT_EQ(dialog.boxes().size(), 7);
    QStringList names;
    for (QCheckBox* box : dialog.boxes()) {
        names << box->text();
        EXPECT_FALSE(box->isChecked());
    }
    EXPECT_EQ(names, (QStringList{"Sun.", "Mon.", "Tue.", "Wed.", "Thu.", "Fri.", "Sat."}));
    EXPECT_EQ(dialog.startTime()->time(), QTime(23, 59));
    EXPECT_EQ(dialog.startTime()->displayFormat(), "HH:mm");
    EXPECT_EQ(dialog.startDate()->date(), QDate(2026, 3, 10));
    EXPECT_EQ(dialog.clearAllButton()->text(), "clear  All");

    QTest::mouseClick(dialog.selectAllButton(), Qt::LeftButton);
    for (QCheckBox* box : dialog.boxes()) EXPECT_TRUE(box->isChecked());
    // Switching the kind gives cleared boxes of the new kind.
    QTest::mouseClick(dialog.kindButton(CAT_Data::Day), Qt::LeftButton);
    ASSERT_EQ(dialog.boxes().size(), 31);
    EXPECT_EQ(dialog.boxes()[30]->text(), "31");
    for (QCheckBox* box : dialog.boxes()) EXPECT_FALSE(box->isChecked());
    QTest::mouseClick(dialog.selectAllButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.clearAllButton(), Qt::LeftButton);
    dialog.boxes()[14]->setChecked(true);
    // Clicking the kind already chosen is no switch: the ticks stay.
    QTest::mouseClick(dialog.kindButton(CAT_Data::Day), Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_EQ(dialog.boxes().size(), 31);
    EXPECT_TRUE(dialog.boxes()[14]->isChecked());
    // "Ignore" hides its date.
    QTest::mouseClick(dialog.ignoreEnd(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(dialog.endDate()->isVisible());
    EXPECT_TRUE(dialog.startDate()->isVisible());
    CAT_Data day = dialog.entry();
    EXPECT_EQ(day.kind, CAT_Data::Day);
    EXPECT_EQ(day.days[14], 1);
    EXPECT_EQ(day.openEnd, 1);
    EXPECT_EQ(day.openStart, 0);
    EXPECT_EQ(day.months[4], 1);
    EXPECT_EQ(day.weekdays, entry.weekdays);

    // Other hides the buttons, the pickers and the "Ignore" boxes; Week shows them again.
    QTest::mouseClick(dialog.kindButton(CAT_Data::Other), Qt::LeftButton);
    EXPECT_TRUE(dialog.boxes().isEmpty());
    for (QWidget* w : std::initializer_list<QWidget*>{
             dialog.selectAllButton(), dialog.clearAllButton(), dialog.startTime(),
             dialog.endTime(), dialog.startDate(), dialog.endDate(), dialog.ignoreStart(),
             dialog.ignoreEnd()})
        EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(dialog.entry().kind, CAT_Data::Other);
    QTest::mouseClick(dialog.kindButton(CAT_Data::Week), Qt::LeftButton);
    EXPECT_TRUE(dialog.selectAllButton()->isVisible());
    EXPECT_TRUE(dialog.startDate()->isVisible());
    EXPECT_FALSE(dialog.endDate()->isVisible());  // still ignored
    EXPECT_EQ(dialog.boxes().size(), 7);
}

TEST_F(ScheduleWindowTest, AFileThatIsNoScheduleSaysSoAndIsRewrittenOnlyAfterAChange) {
    ASSERT_TRUE(writeFileAtomically(path("bad.AT"), std::vector<uint8_t>{'Z', 'P', 'F', 0, 9}));
    CMainFrame main;
    main.show();
    main.openFile(path("bad.AT"));
    ScheduleWindow* w = main.scheduleWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(lastMessage(), path("bad.AT") + " file type error!");
    EXPECT_EQ(w->list()->rowCount(), 0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(path("bad.AT"), bytes));
    EXPECT_EQ(bytes.size(), 5u);
    // A second schedule is not opened while one is.
    main.openFile(path("other.AT"));
    EXPECT_EQ(main.scheduleWindow(), w);
    CScheduleDialog* dialog = add(w, path("a.ZPF"));
    ASSERT_TRUE(dialog);
    QTest::mouseClick(dialog->kindButton(CAT_Data::Other), Qt::LeftButton);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(onDisk("bad.AT").size(), 1u);
}

TEST_F(ScheduleWindowTest, TheCheckerSpeaksOfTheScheduleAsItChanges) {
    // The current sign is 64 x 32.
    appProfile().writeInt("SET", "LED_W", 64);
    appProfile().writeInt("SET", "LED_H", 32);
    CMainFrame main;
    main.show();
    main.newFile(FileKind::Schedule, dir_, "check");
    ScheduleWindow* w = main.scheduleWindow();
    ASSERT_TRUE(w);
    // Empty: dark throughout.
    ASSERT_EQ(w->findings().size(), 1u);
    EXPECT_EQ(w->findings()[0].kind, FindingKind::NothingPlays);
    // A program that does not exist, all day every day.
    CScheduleDialog* dialog = add(w, path("gone.ZPF"));
    ASSERT_TRUE(dialog);
    dialog->startTime()->setTime(QTime(0, 0));
    dialog->endTime()->setTime(QTime(0, 0));
    dialog->ignoreStart()->setChecked(true);
    dialog->ignoreEnd()->setChecked(true);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    ASSERT_EQ(w->findings().size(), 1u);
    EXPECT_EQ(w->findings()[0].kind, FindingKind::MissingProgram);
    ASSERT_EQ(w->findingsList()->count(), 1);
    EXPECT_EQ(w->findingsList()->item(0)->text().toStdString(), w->findings()[0].text);
    // Its program appears: nothing to warn about.
    ProgramData program;
    program.ledWidth = 64;
    program.ledHeight = 32;
    program.resetToDefaultElements();
    ASSERT_TRUE(saveProgram(path("gone.ZPF"), program));
    w->check();
    EXPECT_TRUE(w->findings().empty()) << w->findings()[0].text;
    ASSERT_EQ(w->findingsList()->count(), 1);
    EXPECT_TRUE(w->findingsList()->item(0)->text().startsWith("Nothing to warn about"));
}

}  // namespace
}  // namespace brightline::ui
