// The clock page editor driven through its own widgets: a new page's items and limits, typed and
// chosen formats against an injected clock, the font list, colours, the file rewritten with
// foreign keys kept, the process's zone following the open page and restored on close, and the
// question on closing a changed page.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <memory>

#include "common/file_io.h"
#include "common/ui/qt_text.h"
#include "common/ui/testing/desktop_test.h"
#include "engine/clock/local_time.h"
#include "engine/fonts/font_table.h"
#include "shell/file_dispatch.h"
#include "shell/ui/clock_page_editor.h"
#include "shell/ui/main_frame.h"

namespace brightline::ui {
namespace {

constexpr const char* kTenHoursEast = "AEST-10AEDT,M10.1.0,M4.1.0/3";
constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

class ClockPageEditorTest : public testing::DesktopTest {
  protected:
    ClockPageEditorTest() : zoneBefore_(processTimeZoneVariable()) {
        fonts_.loadBuiltIn(startFolder(), programFolder());
    }
    ~ClockPageEditorTest() override { setProcessTimeZone(zoneBefore_); }

    std::string read(const std::string& name) const {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(readWholeFile(path(name), bytes)) << name;
        return std::string(bytes.begin(), bytes.end());
    }
    void write(const std::string& name, const std::string& text) const {
        ASSERT_TRUE(
            writeFileAtomically(path(name), std::vector<uint8_t>(text.begin(), text.end())));
    }
    std::unique_ptr<ClockPageEditor> open(const std::string& file, int width, int height,
                                          bool fromFile) {
        auto editor =
            std::make_unique<ClockPageEditor>(qs(file), width, height, fromFile, fonts_, messages_);
        editor->show();
        return editor;
    }
    static void select(ClockPageEditor& editor, const char* itemName) {
        const int at = editor.itemSelector()->findText(itemName);
        ASSERT_GE(at, 0) << itemName;
        editor.itemSelector()->setCurrentIndex(at);
    }
    // The right-most lit column of the preview's sign face within rows [top, top + rows).
    static int rightmostLit(const ClockPageEditor& editor, int top, int rows) {
        const QImage face = editor.preview()->face();
        int right = -1;
        for (int y = top; y < std::min(face.height(), top + rows); ++y)
            for (int x = 0; x < face.width(); ++x)
                if ((face.pixel(x, y) & 0xFFFFFFu) != 0) right = std::max(right, x);
        return right;
    }

    FontTable fonts_;
    std::optional<std::string> zoneBefore_;
};

TEST_F(ClockPageEditorTest, ANewPageForAWideSignAndItsZoneTenHoursEast) {
    ASSERT_TRUE(setProcessTimeZone(std::string(kTenHoursEast)));
    auto editor = open("", 128, 32, false);
    EXPECT_EQ(editor->windowTitle().toStdString(), "New");
    EXPECT_EQ(editor->xSpin()->maximum(), 128);
    EXPECT_EQ(editor->ySpin()->maximum(), 32);

    struct Expected {
        const char* name;
        int x, y;
        std::vector<std::string> formats;
    } items[] = {
        {"Date",
         0,
         0,
         {"YYYY/MM/DD", "MM/DD/YYYY", "DD/MM/YYYY", "YY/MM/DD", "MM/DD/YY", "DD/MM/YY"}},
        {"Time", 0, 8, {"HH:MM", "HH:MMP", "HH:MM:SS", "HH:MM:SSP"}},
        {"Week", 0, 16, {"WWW.", "D"}},
        // The temperature's own text is not in its list: it is added at the end.
        {"Temperature", 0, 48, {"## 'C", "## 'F", "##'C"}},
        {"Title", 0, 32, {"Temperature"}},
    };
    ASSERT_EQ(editor->itemSelector()->count(), 5);
    for (int i = 0; i < 5; ++i) {
        const Expected& e = items[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(editor->itemSelector()->itemText(i).toStdString(), e.name);
        editor->itemSelector()->setCurrentIndex(i);
        const ClockItem& item = editor->page().items[static_cast<size_t>(i)];
        EXPECT_EQ(item.x, e.x);
        EXPECT_EQ(item.y, e.y);
        // The fields stop at the sign's edge; the item stays where it is until moved.
        EXPECT_EQ(editor->ySpin()->value(), std::min(e.y, 32));
        std::vector<std::string> offered;
        for (int f = 0; f < editor->formatBox()->count(); ++f)
            offered.push_back(ss(editor->formatBox()->itemText(f)));
        EXPECT_EQ(offered, e.formats);
        EXPECT_EQ(editor->fontList()->currentText().toStdString(), "E5X7");
    }

    editor->setFileChooser([this](bool save) {
        EXPECT_TRUE(save);
        return qs(path("harbour"));
    });
    editor->action("Save")->trigger();  // unnamed: Save As
    EXPECT_EQ(editor->windowTitle().toStdString(), path("harbour.TIM"));
    EXPECT_FALSE(editor->modified());
    const std::string file = read("harbour.TIM");
    for (const char* line :
         {"DIFF_TIME=-36000\r\n", "DAYLIGHT=-3600\r\n", "DAYLIGHT_START=10/01:02\r\n",
          "DAYLIGHT_END=04/01:03\r\n", "TIME_ZONE0=65\r\n", "TIME_ZONE1=69\r\n",
          "DATE_COLOR=#ff0000\r\n", "TEMPERATURE_MODE=C\r\n", "TITLE_Y=32\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << " not in\n" << file;
    // Saved: closing asks nothing.
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
}

TEST_F(ClockPageEditorTest, FormatsTypedAndChosenShowTheInjectedMoment) {
    ASSERT_TRUE(setProcessTimeZone(std::string("UTC0")));
    auto editor = open("", 64, 32, false);
    // Monday 9 March 2026, 13:05:09.
    editor->setClock(std::make_shared<ManualUtcClock>(secondsFromCivil(2026, 3, 9, 13, 5, 9)));
    select(*editor, "Time");
    EXPECT_EQ(editor->shownText(kClockTime).toStdString(), "13:05:09");
    const int eightChars = rightmostLit(*editor, 8, 8);

    QLineEdit* typed = editor->formatBox()->lineEdit();
    typed->selectAll();
    QTest::keyClicks(typed, "HH:MM:SSP");
    EXPECT_EQ(editor->page().items[kClockTime].format, "HH:MM:SSP");
    EXPECT_EQ(editor->shownText(kClockTime).toStdString(), "01:05:09PM");
    // The preview was redrawn with the longer text at the time item's row.
    EXPECT_GT(rightmostLit(*editor, 8, 8), eightChars);
    EXPECT_TRUE(editor->modified());

    // Choosing from the list also takes the font list's choice.
    select(*editor, "Week");
    editor->fontList()->setCurrentIndex(editor->fontList()->findText("E7X12"));
    const int d = editor->formatBox()->findText("D");
    editor->formatBox()->setCurrentIndex(d);
    emit editor->formatBox()->activated(d);
    EXPECT_EQ(editor->shownText(kClockWeek).toStdString(), "1");
    EXPECT_EQ(editor->page().items[kClockWeek].fontIndex, 20);
    editor->formatBox()->setCurrentIndex(editor->formatBox()->findText("WWW."));
    emit editor->formatBox()->activated(editor->formatBox()->findText("WWW."));
    EXPECT_EQ(editor->shownText(kClockWeek).toStdString(), "Mon.");

    // A hidden item leaves the selector, which starts again at its first entry.
    editor->showBox(kClockDate)->setChecked(false);
    EXPECT_EQ(editor->itemSelector()->count(), 4);
    EXPECT_EQ(editor->itemSelector()->currentText().toStdString(), "Time");
    EXPECT_FALSE(editor->page().items[kClockDate].shown);

    messages_.queueAnswer(MessageAnswer::No);
    editor->close();
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(ClockPageEditorTest, AnOpenedPageSetsTheZoneKeepsForeignKeysAndClosingRestoresTheZone) {
    write("sydney.TIM",
          "; written by hand\r\n"
          "[TIME]\r\n"
          "SHOW_WEEK=0\r\n"
          "DIFF_TIME=-36000\r\n"
          "DAYLIGHT=-3600\r\n"
          "DAYLIGHT_START=10/01:02\r\n"
          "DAYLIGHT_END=04/01:03\r\n"
          "TIME_ZONE0=65\r\n"
          "TIME_ZONE1=69\r\n"
          "DATE_COLOR=#FF0000\r\n"
          "TIME_FONT_INDEX=20\r\n"
          "TIME_X=900\r\n"
          "BRIGHTNESS=7\r\n"
          "[OTHER]\r\n"
          "KEEP=yes\r\n");
    ASSERT_TRUE(setProcessTimeZone(std::string(kCentralEurope)));
    {
        // Unchanged: closing asks nothing and gives the zone back.
        auto editor = open(path("sydney.TIM"), 64, 32, true);
        EXPECT_EQ(currentTimeZone().standardOffsetWest, -36000);
        editor->close();
        EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
        EXPECT_EQ(processTimeZoneVariable(), std::optional<std::string>(kCentralEurope));
    }
    auto editor = open(path("sydney.TIM"), 64, 32, true);
    EXPECT_EQ(editor->windowTitle().toStdString(), path("sydney.TIM"));
    // Week is hidden: the selector holds the four others.
    EXPECT_EQ(editor->itemSelector()->count(), 4);
    EXPECT_FALSE(editor->showBox(kClockWeek)->isChecked());
    select(*editor, "Time");
    EXPECT_EQ(editor->fontList()->currentText().toStdString(), "E7X12");
    // A page made for a wider sign keeps its position until the item is moved; the field stops
    // at this sign's edge.
    EXPECT_EQ(editor->xSpin()->value(), 64);

    editor->setColourChooser([](const QColor& was) {
        EXPECT_EQ(was, QColor(255, 0, 0));
        return QColor(0, 160, 255);
    });
    editor->action("Colour")->trigger();
    editor->ySpin()->setValue(20);
    editor->action("Save")->trigger();
    const std::string file = read("sydney.TIM");
    for (const char* line :
         {"; written by hand\r\n[TIME]\r\nSHOW_WEEK=0\r\n", "TIME_COLOR=#00a0ff\r\n",
          "DATE_COLOR=#ff0000\r\n", "TIME_Y=20\r\n", "TIME_X=900\r\n", "TIME_FONT_INDEX=20\r\n",
          "BRIGHTNESS=7\r\n", "[OTHER]\r\nKEEP=yes\r\n", "DIFF_TIME=-36000\r\n",
          "DAYLIGHT_START=10/01:02\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << " not in\n" << file;
    // Each key once: updated in place, not added again.
    EXPECT_EQ(file.find("DATE_COLOR="), file.rfind("DATE_COLOR="));

    // Zone reads the zone in force into the page and says when no settings program is there.
    setProcessTimeZone(std::string("UTC0"));
    editor->setSettingsStarter([] { return false; });
    editor->action("Zone")->trigger();
    EXPECT_EQ(editor->page().diffTime, 0);
    EXPECT_EQ(lastMessage(), noDateTimeSettingsMessage());
    messages_.clear();

    // Changed again: Cancel keeps the editor open, No closes without writing.
    messages_.queueAnswer(MessageAnswer::Cancel);
    editor->close();
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].text, kMsgSaveTim);
    EXPECT_EQ(messages_.messages()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(editor->isVisible());
    messages_.queueAnswer(MessageAnswer::No);
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(read("sydney.TIM"), file);
    EXPECT_EQ(processTimeZoneVariable(), std::optional<std::string>(kCentralEurope));
}

TEST_F(ClockPageEditorTest, NewAndOpenInTheEditorFollowThePagesZone) {
    ClockPageDocument page = newClockPageDocument(*parsePosixTimeZone(kTenHoursEast), 31);
    ASSERT_TRUE(saveClockPageDocument(path("east.TIM"), page));
    ASSERT_TRUE(setProcessTimeZone(std::string(kCentralEurope)));
    auto editor = open("", 64, 32, false);
    EXPECT_EQ(editor->page().diffTime, -3600);
    editor->setFileChooser([this](bool save) {
        EXPECT_FALSE(save);
        return qs(path("east.TIM"));
    });
    editor->action("Open")->trigger();
    EXPECT_EQ(editor->windowTitle().toStdString(), path("east.TIM"));
    EXPECT_EQ(currentTimeZone().standardOffsetWest, -36000);
    EXPECT_FALSE(editor->modified());
    editor->action("New")->trigger();
    EXPECT_EQ(editor->windowTitle().toStdString(), "New");
    EXPECT_EQ(processTimeZoneVariable(), std::optional<std::string>(kCentralEurope));
    EXPECT_EQ(editor->page().diffTime, -3600);
    messages_.queueAnswer(MessageAnswer::No);
    editor->close();
}

TEST_F(ClockPageEditorTest, TheMainWindowsNewRunsTheEditorForTheSignSize) {
    CMainFrame main;
    main.show();
    QString title;
    int xMax = -1;
    // The editor runs modally: look at it and close it from inside its loop.
    QTimer::singleShot(0, [&] {
        auto* editor = testing::visibleWindow<ClockPageEditor>();
        ASSERT_TRUE(editor) << "no clock page editor";
        title = editor->windowTitle();
        xMax = editor->xSpin()->maximum();
        messages_.queueAnswer(MessageAnswer::Yes);
        editor->close();
    });
    main.newFile(FileKind::ClockPage, dir_, "lobby");
    EXPECT_EQ(title.toStdString(), path("lobby.TIM"));
    EXPECT_GT(xMax, 0);
    // Yes to "Save TIM file ?": the new page is on disk.
    EXPECT_NE(read("lobby.TIM").find("[TEMPERATURE]"), std::string::npos);
}

}  // namespace
}  // namespace brightline::ui
