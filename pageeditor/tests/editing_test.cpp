// What the editor window relies on without a window: the path it is started on, its title and
// questions, Save As's name, typed text in the code page, caret keys, and undo and redo.
#include <gtest/gtest.h>

#include <fstream>

#include "common/testing/scratch_folder.h"
#include "pageeditor/caret_motion.h"
#include "pageeditor/dbcs_text.h"
#include "pageeditor/document_names.h"
#include "pageeditor/edit_history.h"
#include "pageeditor/tests/fixed_measurer.h"
#include "pageeditor/text_document.h"

namespace brightline::pageeditor {
namespace {

TEST(CommandLine, PathStartsOneCharacterBeforeTheFirstColon) {
    struct Case {
        const char* line;
        const char* path;
    } cases[] = {
        {"", "./new.ZRT"},
        {"   ", "./new.ZRT"},
        {"D:\\pages\\a.ZRT", "D:\\pages\\a.ZRT"},
        {"  D:\\pages\\a.ZRT", "D:\\pages\\a.ZRT"},  // leading spaces
        {"pagewright.exe D:\\pages\\a.ZRT", "D:\\pages\\a.ZRT"},
        {"C:\\My Pages\\big sale.ZRT", "C:\\My Pages\\big sale.ZRT"},  // spaces inside
        // In quotes: both quotes go, not only the opening one.
        {"\"D:\\pages\\a.ZRT\"", "D:\\pages\\a.ZRT"},
        {"  \"D:\\pages\\a.ZRT\"  ", "D:\\pages\\a.ZRT"},
        {"\"/home/ann/my page.ZRT\"", "/home/ann/my page.ZRT"},
        // No colon: the whole line, without the blanks around it.
        {"  pages/a.ZRT ", "pages/a.ZRT"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textPagePathFromCommandLine(c.line), c.path) << "[" << c.line << "]";
}

TEST(CommandLine, APlainPathArgumentIsTakenAsItIs) {
    testkit::ScratchFolder dir("bl_pw_args");
    const std::string colon = dir.file("10:30 prices.ZRT");
    std::ofstream(colon) << "x";
    using Args = std::vector<std::string>;
    EXPECT_EQ(textPagePathFromArguments({}), "./new.ZRT");
    // An absolute path keeps its colons; so does an existing file named relatively.
    EXPECT_EQ(textPagePathFromArguments(Args{"/srv/signs/10:30 prices.ZRT"}),
              "/srv/signs/10:30 prices.ZRT");
    EXPECT_EQ(textPagePathFromArguments(Args{colon}), colon);
    // As the designed command line: leading spaces, quotes, a path split by the shell.
    EXPECT_EQ(textPagePathFromArguments(Args{"  D:\\pages\\a.ZRT"}), "D:\\pages\\a.ZRT");
    EXPECT_EQ(textPagePathFromArguments(Args{"\"D:\\pages\\a.ZRT\""}), "D:\\pages\\a.ZRT");
    EXPECT_EQ(textPagePathFromArguments(Args{"/home/ann/my", "page.ZRT"}), "/home/ann/my page.ZRT");
    EXPECT_EQ(textPagePathFromArguments(Args{"pages/a.ZRT"}), "pages/a.ZRT");
}

TEST(DocumentNames, TitleQuestionAndSaveAsName) {
    EXPECT_EQ(windowTitleFor("./new.ZRT", false), "Pagewright V1.3 - [new.ZRT]");
    EXPECT_EQ(windowTitleFor("./new.ZRT", true), "Pagewright V1.3 - [new.ZRT *]");
    EXPECT_EQ(windowTitleFor(".\\new.ZRT", false), "Pagewright V1.3 - [new.ZRT]");
    // Only "./" is dropped: an absolute Linux path is shown whole.
    EXPECT_EQ(windowTitleFor("/home/ann/a.ZRT", true), "Pagewright V1.3 - [/home/ann/a.ZRT *]");

    const OperatorMessage q = saveChangesQuestion("./new.ZRT");
    EXPECT_EQ(q.text, "Save changes to new.ZRT");
    EXPECT_EQ(q.caption, "Save changes");
    EXPECT_EQ(q.buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(q.icon, MessageIcon::Warning);
    EXPECT_EQ(saveChangesQuestion("/srv/a.ZRT").text, "Save changes to /srv/a.ZRT");

    EXPECT_EQ(saveAsPath("/p/promo"), "/p/promo.ZRT");
    EXPECT_EQ(saveAsPath("/p/promo.ZRT.bak"), "/p/promo.ZRT.bak");
    EXPECT_EQ(saveAsPath("/p/promo.zrt"), "/p/promo.zrt");
    EXPECT_EQ(saveAsPath("/p/promo.v2"), "/p/promo.v2.ZRT");
}

TEST(TypedText, CharactersGbkHoldsAreKeptAndTheOthersRefused) {
    // Latin and Chinese: one byte and two bytes each.
    TypedText t = typedText("Ab \xE4\xB8\xAD");  // "Ab 中"
    EXPECT_EQ(t.oem, "Ab \xD6\xD0");
    EXPECT_EQ(t.refused, "");
    // An emoji and a Korean syllable have no GBK code: left out and named, not stored as '?'.
    t = typedText(
        "a\xF0\x9F\x98\x80"
        "b\xEA\xB0\x80?");  // a😀b가?
    EXPECT_EQ(t.oem, "ab?");
    EXPECT_EQ(t.refused, "\xF0\x9F\x98\x80\xEA\xB0\x80");
    // Tab, carriage return and backspace are not text; the line break is.
    t = typedText("x\ty\rz\b\n");
    EXPECT_EQ(t.oem, "xyz\n");
    EXPECT_EQ(t.refused, "");
}

TEST(CaretMotion, KeysFollowTheLaidOutLines) {
    FixedMeasurer m;
    TextDocument doc(m);
    // 256-pixel page, 10-pixel characters: "hello world" + break, then a 30-character line
    // that wraps after its space.
    doc.insertUtf8(0, "hello world\naaaaaaaaaaaaaaaaaaaa bbbbbbbbbb");
    const TextPage& p = doc.page();
    const TextLayout& l = doc.layout();
    ASSERT_EQ(l.lines.size(), 3u);
    ASSERT_EQ(l.lines[1].start, 12);
    ASSERT_EQ(l.lines[2].start, 33);
    EXPECT_EQ(movedCaret(p, l, 4, CaretMove::Home, 0), 0);
    EXPECT_EQ(movedCaret(p, l, 4, CaretMove::End, 0), 11);   // before the break
    EXPECT_EQ(movedCaret(p, l, 14, CaretMove::End, 0), 32);  // before the wrapping space
    EXPECT_EQ(movedCaret(p, l, 40, CaretMove::End, 0), 43);  // end of text
    EXPECT_EQ(movedCaret(p, l, 0, CaretMove::Left, 0), 0);
    EXPECT_EQ(movedCaret(p, l, 43, CaretMove::Right, 0), 43);
    // Up and Down keep x; beyond a shorter line they stop at its end.
    EXPECT_EQ(movedCaret(p, l, 3, CaretMove::Down, 30), 15);
    EXPECT_EQ(movedCaret(p, l, 30, CaretMove::Up, 180), 11);
    EXPECT_EQ(movedCaret(p, l, 4, CaretMove::Up, 40), 0);
    EXPECT_EQ(movedCaret(p, l, 35, CaretMove::Down, 20), 43);
    EXPECT_EQ(movedCaret(p, l, 2, CaretMove::DocumentEnd, 0), 43);

    // Inside a double-byte character Left and Right step over it whole.
    TextDocument cn(m);
    cn.insertUtf8(0,
                  "a\xE4\xB8\xAD"
                  "b");  // a中b
    EXPECT_EQ(movedCaret(cn.page(), cn.layout(), 1, CaretMove::Right, 0), 3);
    EXPECT_EQ(movedCaret(cn.page(), cn.layout(), 3, CaretMove::Left, 0), 1);
}

TEST(EditHistory, UndoTakesEveryEditBackToTheEmptyDocumentAndRedoReplaysIt) {
    FixedMeasurer m;
    TextDocument doc(m);
    EditHistory h;
    for (const char* c : {"H", "e", "l", "l", "o"})
        h.edit(doc, EditKind::Typing, [&] { doc.typeText(c); });
    doc.select(1, 3);
    h.edit(doc, EditKind::Other, [&] { doc.setTextColor(0x0000FF00); });
    h.edit(doc, EditKind::Other, [&] { doc.setFont(boldFont()); });
    h.edit(doc, EditKind::Other, [&] { doc.setContourStyle(1, 0x00FF0000, 2); });
    h.edit(doc, EditKind::Other, [&] { doc.alignCaretLine(Alignment::Centre); });
    // A step that changes nothing is not kept.
    h.edit(doc, EditKind::Other, [] {});
    ASSERT_EQ(doc.page().runs.size(), 3u);
    ASSERT_EQ(doc.page().fonts.size(), 2u);
    ASSERT_TRUE(doc.modified());
    const std::string text = doc.page().text;

    int undos = 0;
    while (h.undo(doc)) ++undos;
    EXPECT_EQ(undos, 5);  // the typing is one step, then colour, font, contour, alignment
    EXPECT_EQ(doc.page().text, "");
    EXPECT_TRUE(doc.page().runs.empty());
    EXPECT_EQ(doc.page().fonts.size(), 1u);
    EXPECT_FALSE(doc.modified()) << "back to the state it was opened in";
    EXPECT_EQ(doc.currentStyle().contour, 0);

    while (h.redo(doc)) {
    }
    EXPECT_EQ(doc.page().text, text);
    EXPECT_EQ(doc.page().runs.size(), 3u);
    EXPECT_EQ(doc.page().lines[0].alignment, Alignment::Centre);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.selection().start, 1);
    EXPECT_EQ(doc.selection().end, 3);
}

TEST(EditHistory, TheSavedStateIsTheCleanOne) {
    FixedMeasurer m;
    TextDocument doc(m);
    EditHistory h;
    h.edit(doc, EditKind::Typing, [&] { doc.typeText("ab"); });
    doc.setModified(false);  // saved
    h.markClean();
    // Typing on after a save is a step of its own, so undo stops at the saved text.
    h.edit(doc, EditKind::Typing, [&] { doc.typeText("c"); });
    EXPECT_TRUE(doc.modified());
    h.undo(doc);
    EXPECT_EQ(doc.page().text, "ab");
    EXPECT_FALSE(doc.modified());
    h.undo(doc);
    EXPECT_EQ(doc.page().text, "");
    EXPECT_TRUE(doc.modified());
    h.redo(doc);
    EXPECT_FALSE(doc.modified());
    // An edit after undoing past the saved state leaves no way back to it.
    h.undo(doc);
    h.edit(doc, EditKind::Typing, [&] { doc.typeText("x"); });
    EXPECT_FALSE(h.canRedo());
    h.undo(doc);
    EXPECT_EQ(doc.page().text, "");
    EXPECT_TRUE(doc.modified());
}

TEST(EditHistory, KeepsAtMostItsStepsAndTypingElsewhereStartsAStep) {
    FixedMeasurer m;
    TextDocument doc(m);
    EditHistory h(3);
    h.edit(doc, EditKind::Typing, [&] { doc.typeText("abc"); });
    doc.setCaret(1);
    h.edit(doc, EditKind::Typing, [&] { doc.typeText("X"); });  // not where typing ended
    for (const char* c : {"1", "2"}) h.edit(doc, EditKind::Other, [&] { doc.typeText(c); });
    int undos = 0;
    while (h.undo(doc)) ++undos;
    EXPECT_EQ(undos, 3);
    EXPECT_EQ(doc.page().text, "abc");
    EXPECT_TRUE(doc.modified()) << "the clean state was dropped with the oldest step";

    // A byte budget keeps a long text from being copied a thousand times, but the last edit
    // can still be undone.
    TextDocument big(m);
    big.insertText(0, std::string(100000, 'x'));
    EditHistory small(1000, 250000);
    for (const char* c : {"1", "2", "3", "4"})
        small.edit(big, EditKind::Other, [&] { big.typeText(c); });
    undos = 0;
    while (small.undo(big)) ++undos;
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(big.page().text.size(), 100003u);
    EditHistory tiny(1000, 1);
    tiny.edit(big, EditKind::Other, [&] { big.typeText("5"); });
    EXPECT_TRUE(tiny.undo(big));
}

}  // namespace
}  // namespace brightline::pageeditor
