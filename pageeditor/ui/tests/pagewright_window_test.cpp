// The Pagewright window driven as the operator drives it: keys, the mouse, the menus' Ctrl keys,
// the dialogs, input-method text, the questions before work is lost, and undo.
#include <QAction>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <fstream>

#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "pageeditor/dbcs_text.h"
#include "pageeditor/document_names.h"
#include "pageeditor/render/page_painter.h"
#include "pageeditor/text_page_file.h"
#include "pageeditor/ui/extend_font_style_dialog.h"
#include "pageeditor/ui/page_format_dialog.h"
#include "pageeditor/ui/tests/window_fixture.h"

namespace brightline::ui {
namespace {

using namespace pageeditor;
using testing::PagewrightTest;
using Command = PagewrightWindow::Command;

LogFont arialBold() {
    LogFont f = defaultLogFont();
    f.setFace("Arial");
    f.height = -18;
    f.weight = 700;
    f.charSet = kAnsiCharset;
    return f;
}

std::string gbk(const char* utf8) {
    return typedText(utf8).oem;
}

TEST_F(PagewrightTest, MenusAndTheirKeysAsDesigned) {
    QStringList menus;
    for (QAction* a : window().menuBar()->actions()) menus << a->text().remove('&');
    EXPECT_EQ(menus, (QStringList{"File", "Edit", "View", "Set", "Help"}));
    struct Entry {
        Command command;
        const char* text;
        const char* key;
    } entries[] = {
        {Command::New, "New(&N)", "Ctrl+N"},
        {Command::Open, "Open(&O)", "Ctrl+O"},
        {Command::Save, "Save(&S)", "Ctrl+S"},
        {Command::SaveAs, "Save As", ""},
        {Command::Exit, "Exit(&X)", "Ctrl+X"},
        {Command::SelectAll, "Select All(&A)", "Ctrl+A"},
        {Command::AlignLeft, "Align Left(&L)", "Ctrl+L"},
        {Command::AlignCenter, "Align Center(&E)", "Ctrl+E"},
        {Command::AlignRight, "Align Right(&R)", "Ctrl+R"},
        {Command::InsertPicture, "Insert Picture(&P)", "Ctrl+P"},
        {Command::Zoom, "Zoom(&Z)", ""},
        {Command::Font, "Font(&F)", "Ctrl+F"},
        {Command::Color, "Color(&U)", "Ctrl+U"},
        {Command::ExtendFontStyle, "Extend Font Style", "Ctrl+Shift+E"},
        {Command::PageFormat, "Page Format(&M)", "Ctrl+M"},
        {Command::PageEdit, "Page Edit(&I)", ""},
        {Command::About, "About(&A)", ""},
        {Command::Undo, "Undo(&Z)", "Ctrl+Z"},
        {Command::Redo, "Redo(&Y)", "Ctrl+Y"},
    };
    for (const Entry& e : entries) {
        EXPECT_EQ(window().action(e.command)->text().toStdString(), e.text);
        EXPECT_EQ(window().action(e.command)->shortcut(), QKeySequence(e.key)) << e.text;
    }
    // Zoom and page editing are on at start.
    EXPECT_TRUE(window().action(Command::Zoom)->isChecked());
    EXPECT_TRUE(window().action(Command::PageEdit)->isChecked());
    EXPECT_EQ(view()->zoom(), 2);

    window().run(Command::About);
    ASSERT_FALSE(messages_.messages().empty());
    EXPECT_EQ(messages_.messages().back().caption, "About Pagewright");
    EXPECT_NE(lastMessage().find("Version : 1.3"), std::string::npos);
    EXPECT_NE(lastMessage().find("Date : 2009-11-24"), std::string::npos);
}

TEST_F(PagewrightTest, ALineTypedThenPartOfItGetsAFontAColourAndAContour) {
    type("Hello World");
    EXPECT_EQ(doc().page().text, "Hello World");
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT *]");
    // "World" selected with the mouse.
    drag(6, 11);
    ASSERT_TRUE(doc().hasSelection());
    EXPECT_EQ(doc().selection().start, 6);
    EXPECT_EQ(doc().selection().end, 11);

    dialogs_->fonts.push_back(arialBold());
    ctrl(Qt::Key_F);
    ASSERT_TRUE(dialogs_->fontPreset);
    EXPECT_EQ(dialogs_->fontPreset->face(), "Tahoma");  // preset with the current font
    ASSERT_EQ(doc().page().fonts.size(), 2u);
    EXPECT_EQ(doc().page().fonts[1].font, arialBold());
    // "World" is measured again in its new font.
    const int w = window().editor().fonts().advance(arialBold(), "W");
    EXPECT_EQ(doc().page().widths[6], w);

    dialogs_->colors.push_back(0x0000FF00);
    ctrl(Qt::Key_U);
    EXPECT_EQ(dialogs_->colorPreset, kWhite);

    ctrl(Qt::Key_E, true);
    auto* style = dialog<ExtendFontStyleDialog>();
    ASSERT_TRUE(style);
    // The fields follow the box.
    EXPECT_FALSE(style->widthEdit()->isEnabled());
    EXPECT_FALSE(style->colorButton()->isEnabled());
    QTest::mouseClick(style->contourBox(), Qt::LeftButton);
    ASSERT_TRUE(style->widthEdit()->isEnabled());
    style->widthEdit()->clear();
    QTest::keyClicks(style->widthEdit(), "2");
    dialogs_->colors.push_back(0x00FF0000);  // blue, through "..."
    QTest::mouseClick(style->colorButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs_->colorPreset, kRed);  // preset with the number in the field
    EXPECT_EQ(style->colorEdit()->text(), "16711680");
    QTest::mouseClick(style->okButton(), Qt::LeftButton);

    // Runs: "Hello " as typed; "World" bold Arial, green, blue 2-pixel contour.
    const auto& runs = doc().page().runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].length, 6);
    EXPECT_EQ(runs[0].resourceId, 1);
    EXPECT_EQ(runs[0].contour, 0);
    EXPECT_EQ(runs[1].start, 6);
    EXPECT_EQ(runs[1].resourceId, 2);
    EXPECT_EQ(runs[1].textColor, 0x0000FF00u);
    EXPECT_EQ(runs[1].contour, 1);
    EXPECT_EQ(runs[1].outlineWidth, 2);
    EXPECT_EQ(runs[1].outlineColor, 0x00FF0000u);
    // The style goes on with what is typed next.
    key(Qt::Key_End);
    type("!");
    EXPECT_EQ(doc().page().runs.back().end(), 12);
    EXPECT_EQ(doc().page().runs.back().contour, 1);

    // Shift with the arrows selects from the caret; Left without Shift goes to the start.
    key(Qt::Key_Left, Qt::ShiftModifier);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(doc().selection().start, 10);
    EXPECT_EQ(doc().selection().end, 12);
    key(Qt::Key_Left);
    EXPECT_FALSE(doc().hasSelection());
    EXPECT_EQ(doc().caret(), 10);
    // A cancelled font or colour dialog changes nothing.
    ctrl(Qt::Key_F);
    ctrl(Qt::Key_U);
    EXPECT_EQ(doc().page().fonts.size(), 2u);
}

TEST_F(PagewrightTest, AlignmentKeysSetTheCaretsLine) {
    type("abc");
    key(Qt::Key_Return);
    type("defgh");
    ASSERT_EQ(doc().layout().lines.size(), 2u);
    const int w0 = doc().layout().lines[0].width, w1 = doc().layout().lines[1].width;
    ctrl(Qt::Key_E);
    EXPECT_EQ(doc().page().lines[1].offset, (256 - w1) / 2);
    EXPECT_EQ(doc().page().lines[0].offset, 0);
    key(Qt::Key_Up);
    ctrl(Qt::Key_R);
    EXPECT_EQ(doc().page().lines[0].alignment, Alignment::Right);
    EXPECT_EQ(doc().page().lines[0].offset, 256 - w0);
    // The letter in upper case (Shift held) runs the same command.
    ctrl(Qt::Key_L, true);
    EXPECT_EQ(doc().page().lines[0].alignment, Alignment::Left);
    EXPECT_EQ(doc().page().lines[1].alignment, Alignment::Centre);
}

TEST_F(PagewrightTest, PageFormatRefusesWithItsMessagesAndKeepsTheDialogOpen) {
    const PageFormatLimits limits = window().pageFormatLimits();
    ASSERT_GE(limits.maxWidth, 128);
    ASSERT_GE(limits.maxHeight, 128);
    ctrl(Qt::Key_M);
    auto* d = dialog<PageFormatDialog>();
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->verticalButton()->isChecked());
    EXPECT_EQ(d->widthEdit()->text(), "256");
    EXPECT_EQ(d->heightEdit()->text(), "128");
    auto enter = [&](QLineEdit* field, int value) {
        field->selectAll();
        QTest::keyClicks(field, QString::number(value));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    };

    struct Refusal {
        bool horizontal;
        QLineEdit* field;
        int value;
        std::string message;
    } refusals[] = {
        {false, d->widthEdit(), 6,
         "Minimum width and height is 7\xC3\x97"
         "8, please check and try again."},
        {false, d->heightEdit(), 7,
         "Minimum width and height is 7\xC3\x97"
         "8, please check and try again."},
        {true, d->heightEdit(), limits.maxHeight + 1,
         "Set height=" + std::to_string(limits.maxHeight) +
             " error. Please check the value and try again."},
        {false, d->widthEdit(), limits.maxWidth + 1,
         "Set width=" + std::to_string(limits.maxWidth) +
             " error. Please check the value and try again."},
    };
    for (const Refusal& r : refusals) {
        messages_.clear();
        (r.horizontal ? d->horizontalButton() : d->verticalButton())->setChecked(true);
        enter(r.field, r.value);
        EXPECT_EQ(lastMessage(), r.message);
        EXPECT_EQ(messages_.messages().back().caption, "Pagewright V1.3");
        EXPECT_TRUE(d->isVisible()) << r.message;
        // The current value is back in the field, selected.
        const QString current = r.field == d->widthEdit() ? "256" : "128";
        EXPECT_EQ(r.field->text(), current);
        EXPECT_EQ(r.field->selectedText(), current);
        EXPECT_EQ(doc().page().geometry.pageWidth, 256);
        EXPECT_FALSE(doc().modified());
    }
    // The largest page the screen allows passes, and the other side is not bounded.
    d->horizontalButton()->setChecked(true);
    d->widthEdit()->setText("10000");
    enter(d->heightEdit(), limits.maxHeight);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(doc().page().geometry.layout, PageLayout::Horizontal);
    EXPECT_EQ(doc().page().geometry.pageWidth, 10000);
    EXPECT_EQ(doc().page().geometry.pageHeight, limits.maxHeight);
    EXPECT_TRUE(doc().modified());

    // 7 x 8 is the smallest page.
    ctrl(Qt::Key_M);
    auto* again = dialog<PageFormatDialog>();
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->horizontalButton()->isChecked());
    again->verticalButton()->setChecked(true);
    again->widthEdit()->setText("7");
    again->heightEdit()->setText("8");
    QTest::mouseClick(again->okButton(), Qt::LeftButton);
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(doc().page().geometry.pageWidth, 7);
    EXPECT_EQ(doc().page().geometry.pageHeight, 8);
}

TEST_F(PagewrightTest, SaveAsAppendsTheExtensionOnlyWhenTheNameHasNone) {
    type("promo");
    dialogs_->saveNames = {qs(path("promo")), qs(path("promo.ZRT.bak"))};
    EXPECT_TRUE(window().saveAs());
    EXPECT_TRUE(fileExists(path("promo.ZRT")));
    EXPECT_FALSE(fileExists(path("promo")));
    EXPECT_EQ(doc().path(), path("promo.ZRT"));
    EXPECT_EQ(title(), "Pagewright V1.3 - [" + path("promo.ZRT") + "]");
    EXPECT_EQ(dialogs_->saveInitial.toStdString(), path("new.ZRT"));  // the current path

    EXPECT_TRUE(window().saveAs());
    EXPECT_EQ(dialogs_->saveInitial.toStdString(), path("promo.ZRT"));
    EXPECT_TRUE(fileExists(path("promo.ZRT.bak")));
    EXPECT_FALSE(fileExists(path("promo.ZRT.bak.ZRT")));
    EXPECT_EQ(doc().path(), path("promo.ZRT.bak"));

    // "promo" again: promo.ZRT is there, and the dialog never saw that name, so it is asked.
    type("!");
    dialogs_->saveNames = {qs(path("promo"))};
    messages_.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(window().saveAs());
    EXPECT_EQ(lastMessage(), path("promo.ZRT") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(doc().path(), path("promo.ZRT.bak"));
    EXPECT_TRUE(doc().modified());
    // Cancelled: nothing happens.
    EXPECT_FALSE(window().saveAs());
}

TEST_F(PagewrightTest, TitleShowsTheModifiedMarkUntilSaved) {
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT]");
    type("x");
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT *]");
    ctrl(Qt::Key_S);
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT]");
    EXPECT_TRUE(fileExists(path("new.ZRT")));  // the default path, in the current folder
    ctrl(Qt::Key_Z);
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT *]");
    ctrl(Qt::Key_Y);
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT]");
}

TEST_F(PagewrightTest, NewAsksToSaveChangesWithYesNoAndCancel) {
    ctrl(Qt::Key_N);  // nothing changed: nothing asked
    EXPECT_TRUE(messages_.messages().empty());
    type("keep me");

    messages_.queueAnswer(MessageAnswer::Cancel);
    ctrl(Qt::Key_N);
    ASSERT_EQ(messages_.messages().size(), 1u);
    const OperatorMessage q = messages_.messages().back();
    EXPECT_EQ(q.text, "Save changes to new.ZRT");
    EXPECT_EQ(q.caption, "Save changes");
    EXPECT_EQ(q.buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(doc().page().text, "keep me");

    messages_.queueAnswer(MessageAnswer::No);
    ctrl(Qt::Key_N);
    EXPECT_EQ(doc().page().text, "");
    EXPECT_FALSE(fileExists(path("new.ZRT")));
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT]");

    type("saved");
    messages_.queueAnswer(MessageAnswer::Yes);
    ctrl(Qt::Key_N);
    EXPECT_EQ(doc().page().text, "");
    TextPage stored;
    ASSERT_EQ(readTextPageFile(path("new.ZRT"), stored), TextPageLoadResult::Loaded);
    EXPECT_EQ(stored.text, "saved");

    // Yes with a save that fails: the message says why and the page stays.
    doc().setPath(path("no such folder/a.ZRT"));
    type("precious");
    messages_.clear();
    messages_.queueAnswer(MessageAnswer::Yes);
    ctrl(Qt::Key_N);
    EXPECT_EQ(doc().page().text, "precious");
    // The cause stands on a line of its own after the message.
    const std::string said = "The text page could not be saved.\n";
    EXPECT_EQ(lastMessage().rfind(said, 0), 0u) << lastMessage();
    EXPECT_GT(lastMessage().size(), said.size()) << "no cause given";

    // Closing asks too; Cancel keeps the window.
    messages_.queueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(window().close());
    EXPECT_TRUE(window().isVisible());
}

TEST_F(PagewrightTest, StartsOnThePathOfItsCommandLine) {
    // A page to open, in a folder with a space in its name.
    std::filesystem::create_directories(path("my pages"));
    const std::string page = path("my pages/a.ZRT");
    type("from the file");
    ASSERT_TRUE(window().editor().save(page));

    struct Case {
        std::vector<std::string> arguments;
    } cases[] = {
        {{"  " + page}},                // leading spaces
        {{"\"" + page + "\""}},         // in quotes
        {{page}},                       // a plain path argument
        {{path("my"), "pages/a.ZRT"}},  // split by a shell
    };
    for (const Case& c : cases) {
        PagewrightWindow other(std::make_unique<testing::ScriptedDialogs>());
        other.startOn(textPagePathFromArguments(c.arguments));
        EXPECT_EQ(other.editor().document().path(), page) << c.arguments.front();
        EXPECT_EQ(other.editor().document().page().text, "from the file");
        EXPECT_EQ(other.windowTitle().toStdString(), "Pagewright V1.3 - [" + page + "]");
    }

    // A path that is not there yet: an empty page that saves there.
    PagewrightWindow fresh(std::make_unique<testing::ScriptedDialogs>());
    fresh.startOn(path("later.ZRT"));
    EXPECT_EQ(fresh.editor().document().path(), path("later.ZRT"));
    EXPECT_TRUE(messages_.messages().empty());

    // A file that is no text page: said so, and the page keeps the default path, so a Save
    // does not overwrite it.
    std::ofstream(path("notes.ZRT")) << "shopping list";
    PagewrightWindow wrong(std::make_unique<testing::ScriptedDialogs>());
    wrong.startOn(path("notes.ZRT"));
    EXPECT_NE(lastMessage().find("is not a text page"), std::string::npos) << lastMessage();
    EXPECT_EQ(wrong.editor().document().path(), "./new.ZRT");
}

TEST_F(PagewrightTest, OpenLoadsAPageAndRefusesAFileThatIsNone) {
    type("first");
    ASSERT_TRUE(window().editor().save(path("first.ZRT")));
    ctrl(Qt::Key_N);
    type("second");
    std::ofstream(path("junk.ZRT")) << "junk";
    // Open, discarding the changes: the page is loaded, not modified.
    messages_.queueAnswer(MessageAnswer::No);
    dialogs_->openNames = {qs(path("first.ZRT"))};
    ctrl(Qt::Key_O);
    EXPECT_EQ(doc().page().text, "first");
    EXPECT_EQ(doc().path(), path("first.ZRT"));
    EXPECT_FALSE(doc().modified());
    EXPECT_FALSE(window().action(Command::Undo)->isEnabled());
    // A file that is no text page leaves the page and its path alone.
    dialogs_->openNames = {qs(path("junk.ZRT"))};
    ctrl(Qt::Key_O);
    EXPECT_NE(lastMessage().find("is not a text page"), std::string::npos) << lastMessage();
    EXPECT_EQ(doc().page().text, "first");
    EXPECT_EQ(doc().path(), path("first.ZRT"));
}

TEST_F(PagewrightTest, UndoTakesEveryEditBackToTheEmptyDocument) {
    type("Sale");
    key(Qt::Key_Return);
    type("now");
    ctrl(Qt::Key_A);
    dialogs_->fonts.push_back(arialBold());
    ctrl(Qt::Key_F);
    dialogs_->colors.push_back(0x0000FFFF);
    ctrl(Qt::Key_U);
    ctrl(Qt::Key_E);
    key(Qt::Key_Backspace);  // the selection
    type("x");
    const std::string text = doc().page().text;
    ASSERT_EQ(text, "x");
    EXPECT_TRUE(window().action(Command::Undo)->isEnabled());
    EXPECT_FALSE(window().action(Command::Redo)->isEnabled());

    int undos = 0;
    while (window().action(Command::Undo)->isEnabled() && undos < 50) {
        ctrl(Qt::Key_Z);
        ++undos;
    }
    EXPECT_EQ(doc().page().text, "");
    EXPECT_TRUE(doc().page().runs.empty());
    EXPECT_EQ(doc().page().fonts.size(), 1u);
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT]");
    // Everything comes back with redo, Ctrl+Shift+Z as well as Ctrl+Y.
    ctrl(Qt::Key_Z, true);
    EXPECT_EQ(doc().page().text, "Sale\nnow");  // typed on without moving: one step
    while (window().action(Command::Redo)->isEnabled()) ctrl(Qt::Key_Y);
    EXPECT_EQ(doc().page().text, text);
    EXPECT_EQ(title(), "Pagewright V1.3 - [new.ZRT *]");
}

TEST_F(PagewrightTest, EditingKeysMoveAndDeleteWholeCharacters) {
    window().editor().typeText(
        QString::fromUtf8("ab\xE4\xB8\xAD"
                          "cd"));  // ab中cd
    ASSERT_EQ(doc().page().text, "ab" + gbk("\xE4\xB8\xAD") + "cd");
    key(Qt::Key_Home);
    EXPECT_EQ(doc().caret(), 0);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);  // over the Chinese character
    EXPECT_EQ(doc().caret(), 4);
    key(Qt::Key_Backspace);
    EXPECT_EQ(doc().page().text, "abcd");
    EXPECT_EQ(doc().caret(), 2);
    key(Qt::Key_Delete);
    EXPECT_EQ(doc().page().text, "abd");
    key(Qt::Key_End);
    EXPECT_EQ(doc().caret(), 3);
    key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(doc().selection().start, 0);
    EXPECT_EQ(doc().selection().end, 3);
    type("Z");  // replaces the selection
    EXPECT_EQ(doc().page().text, "Z");
    // Tab is not text; Ctrl with another letter does nothing; Ctrl+A selects everything.
    key(Qt::Key_Tab);
    ctrl(Qt::Key_B);
    ctrl(Qt::Key_Q);
    EXPECT_EQ(doc().page().text, "Z");
    EXPECT_TRUE(messages_.messages().empty());
    ctrl(Qt::Key_A);
    EXPECT_EQ(doc().selection().end, 1);
    key(Qt::Key_Escape);
    EXPECT_FALSE(doc().hasSelection());
}

TEST_F(PagewrightTest, InputMethodTextBecomesGbkCharactersWithTheirWidths) {
    // A composition shows at the caret without being inserted; the commit is inserted.
    QInputMethodEvent composing(QString::fromUtf8("jiage"), {});
    QApplication::sendEvent(view(), &composing);
    EXPECT_EQ(doc().page().text, "");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xE4\xBB\xB7\xE6\xA0\xBC"));  // 价格
    QApplication::sendEvent(view(), &commit);
    const std::string expected = gbk("\xE4\xBB\xB7\xE6\xA0\xBC");
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(doc().page().text, expected);
    const int width =
        window().editor().fonts().advance(doc().currentFont().font, expected.substr(0, 2));
    ASSERT_GT(width, 0);
    EXPECT_EQ(doc().page().widths,
              (std::vector<uint8_t>{uint8_t(width), 0, doc().page().widths[2], 0}));
    EXPECT_GT(doc().page().widths[2], 0);
    EXPECT_TRUE(messages_.messages().empty());

    // What GBK cannot hold is refused with a short message, the rest goes in.
    QInputMethodEvent emoji;
    emoji.setCommitString(QString::fromUtf8("a\xF0\x9F\x98\x80"));  // a😀
    QApplication::sendEvent(view(), &emoji);
    EXPECT_EQ(doc().page().text, expected + "a");
    EXPECT_EQ(
        lastMessage(),
        "\"\xF0\x9F\x98\x80\" cannot be written in a text page: it holds GBK characters only.");

    // The composition window stands at the caret, in the current font.
    const QRect caret = view()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(caret.topLeft(), view()->caretRect().topLeft() + view()->viewport()->pos());
    EXPECT_GT(view()->inputMethodQuery(Qt::ImFont).value<QFont>().pixelSize(), 0);
}

TEST_F(PagewrightTest, InsertPictureAndItsMessageOnFailure) {
    media::Picture star(9, 7);
    for (uint32_t& px : star.pixels) px = 0x00FFCC00;
    ASSERT_TRUE(writeFileAtomically(path("star.bmp"), media::encodeBmp24(star)));
    std::ofstream(path("broken.bmp")) << "BM not really";
    type("ab");
    key(Qt::Key_Left);
    dialogs_->pictureNames = {qs(path("star.bmp")), qs(path("broken.bmp"))};
    ctrl(Qt::Key_P);
    EXPECT_EQ(doc().page().text, std::string("a") + kPicturePlaceholder + "b");
    ASSERT_EQ(doc().page().pictures.size(), 1u);
    EXPECT_EQ(doc().page().pictures[0].info.width, 9);
    EXPECT_EQ(doc().page().widths[1], 9);
    ctrl(Qt::Key_P);
    ASSERT_FALSE(messages_.messages().empty());
    EXPECT_EQ(lastMessage(), "Open picture failed, please check !");
    EXPECT_EQ(messages_.messages().back().caption, "Open Picture Error");
    EXPECT_EQ(messages_.messages().back().icon, MessageIcon::Error);
    EXPECT_EQ(doc().page().pictures.size(), 1u);
}

TEST_F(PagewrightTest, ZoomAndPageEditToggle) {
    type("x");
    const QSize zoomed = view()->sizeHint();
    window().action(Command::Zoom)->trigger();
    EXPECT_EQ(view()->zoom(), 1);
    EXPECT_FALSE(window().action(Command::Zoom)->isChecked());
    EXPECT_LT(view()->sizeHint().width(), zoomed.width());
    // A click lands on the same character at either zoom.
    EXPECT_EQ(view()->canvasPoint(view()->viewportPoint(QPoint(7, 5))), QPoint(7, 5));
    EXPECT_FALSE(doc().page().text.empty());

    // Page editing moves a line that would cross a page edge to the next page.
    for (int i = 0; i < 12; ++i) {
        key(Qt::Key_Return);
        type("line");
    }
    auto crossing = [&] {
        for (const LineBox& l : doc().layout().lines)
            if (l.top / 128 != (l.top + l.height - 1) / 128) return true;
        return false;
    };
    EXPECT_FALSE(crossing());
    window().action(Command::PageEdit)->trigger();
    EXPECT_FALSE(doc().pageEdit());
    EXPECT_TRUE(crossing());
}

TEST_F(PagewrightTest, TheViewShowsEachPageAsItsPagePicture) {
    type("Hello");
    key(Qt::Key_Return);
    window().editor().typeText(QString::fromUtf8("\xE4\xBB\xB7\xE6\xA0\xBC 12"));  // 价格 12
    ctrl(Qt::Key_A);
    dialogs_->colors.push_back(0x0000FFFF);
    ctrl(Qt::Key_U);
    ctrl(Qt::Key_Home);
    ctrl(Qt::Key_E);
    PagePainter painter(window().editor().fonts());
    const QImage page = painter.renderPage(doc().page(), doc().layout(), 0);
    ASSERT_EQ(page.size(), QSize(256, 128));
    // At zoom 1 the view shows the canvas pixel for pixel; at zoom 2 each pixel is doubled.
    // The caret is left out (no focus).
    view()->clearFocus();
    for (int zoom : {2, 1}) {
        if (view()->zoom() != zoom) window().action(Command::Zoom)->trigger();
        view()->scrollToStart();
        QApplication::processEvents();
        const QImage shown =
            view()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_GE(shown.width(), 256 * zoom);
        ASSERT_GE(shown.height(), 128 * zoom);
        const QImage expected =
            zoom == 1 ? page
                      : page.scaled(page.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        EXPECT_TRUE(shown.copy(0, 0, 256 * zoom, 128 * zoom) == expected) << "zoom " << zoom;
        // The edge between the first two pages is marked just below the first page.
        EXPECT_NE(shown.pixel(2, 128 * zoom), qRgb(0, 0, 0));
    }
}

TEST(FontDialogFont, PresetAndChoiceConvertAsTheFontTableStoresThem) {
    // Presets show the installed face that draws the page's font, at its pixel size in points.
    const QFont arial = dialogFontFor(arialBold());
    EXPECT_EQ(arial.family(), "Liberation Sans");
    EXPECT_EQ(arial.pointSizeF(), 13.5);
    EXPECT_EQ(arial.weight(), QFont::Bold);
    EXPECT_FALSE(arial.styleName().isEmpty());
    // What the dialog gives back: minus the pixel size, the weight, and GB2312 for a face with
    // Chinese characters.
    const LogFont chosen = logFontFromDialog(arial);
    EXPECT_EQ(chosen.face(), "Liberation Sans");
    EXPECT_EQ(chosen.height, -18);
    EXPECT_EQ(chosen.weight, 700);
    EXPECT_EQ(chosen.charSet, kAnsiCharset);
    QFont hei("WenQuanYi Zen Hei");
    hei.setPointSizeF(12);
    hei.setItalic(true);
    hei.setUnderline(true);
    const LogFont chinese = logFontFromDialog(hei);
    EXPECT_EQ(chinese.height, -16);
    EXPECT_EQ(chinese.charSet, kGb2312Charset);
    EXPECT_EQ(chinese.italic, 1);
    EXPECT_EQ(chinese.underline, 1);
    EXPECT_EQ(colorRefOf(QColor(0x12, 0x34, 0x56)), 0x00563412u);
}

}  // namespace
}  // namespace brightline::ui
