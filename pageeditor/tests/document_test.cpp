// Document operations: runs split and merged at range ends, double-byte characters kept whole,
// the font table's reuse rule, alignments following their lines, pictures in the text.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "pageeditor/tests/fixed_measurer.h"
#include "pageeditor/text_document.h"

namespace brightline::pageeditor {
namespace {

// The runs as "start+length:font/colour" for compact comparison.
std::vector<std::string> runSummary(const TextDocument& doc) {
    std::vector<std::string> out;
    for (const StyleRun& r : doc.page().runs) {
        char text[64];
        std::snprintf(text, sizeof text, "%d+%d:%s%d/%06X%s", r.start, r.length,
                      r.kind == kRunPicture ? "p" : "f", r.resourceId, r.textColor,
                      r.contour ? "c" : "");
        out.push_back(text);
    }
    return out;
}

using Runs = std::vector<std::string>;

TEST(Document, StyleChangesSplitRunsAtTheRangeEndsAndEditsMergeThemAgain) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0, "abcdefgh");
    EXPECT_EQ(runSummary(doc), (Runs{"0+8:f1/FFFFFF"}));

    doc.applyTextColor({2, 5}, 0x0000FF00);
    EXPECT_EQ(runSummary(doc), (Runs{"0+2:f1/FFFFFF", "2+3:f1/00FF00", "5+3:f1/FFFFFF"}));

    doc.applyContour({4, 6}, 1, kRed, 2);
    EXPECT_EQ(runSummary(doc), (Runs{"0+2:f1/FFFFFF", "2+2:f1/00FF00", "4+1:f1/00FF00c",
                                     "5+1:f1/FFFFFFc", "6+2:f1/FFFFFF"}));

    // Typing inside a run of another style splits it around the new run.
    doc.setCaret(1);
    doc.setTextColor(0x00FF0000);
    doc.typeText("XY");
    EXPECT_EQ(doc.page().text, "aXYbcdefgh");
    EXPECT_EQ(runSummary(doc),
              (Runs{"0+1:f1/FFFFFF", "1+2:f1/FF0000", "3+1:f1/FFFFFF", "4+2:f1/00FF00",
                    "6+1:f1/00FF00c", "7+1:f1/FFFFFFc", "8+2:f1/FFFFFF"}));

    // Deleting what separated two runs of one style leaves one run.
    doc.deleteRange(1, 8);
    EXPECT_EQ(doc.page().text, "agh");
    EXPECT_EQ(runSummary(doc), (Runs{"0+3:f1/FFFFFF"}));
    std::string why;
    EXPECT_TRUE(runsAreConsistent(doc.page(), &why)) << why;
}

TEST(Document, DoubleByteCharactersStayWhole) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0,
                   "a\xE4\xB8\xAD\xE6\x96\x87"
                   "b");  // a中文b: a, two double-byte, b
    ASSERT_EQ(doc.page().text.size(), 6u);
    EXPECT_EQ(doc.page().widths, (std::vector<uint8_t>{10, 20, 0, 20, 0, 10}));

    // A range that starts or ends inside a character takes the whole character.
    doc.applyTextColor({2, 4}, 0x000000FF);
    EXPECT_EQ(runSummary(doc), (Runs{"0+1:f1/FFFFFF", "1+4:f1/0000FF", "5+1:f1/FFFFFF"}));
    doc.deleteRange(2, 3);
    EXPECT_EQ(doc.page().text,
              "a\xCE\xC4"
              "b");
    doc.setCaret(2);
    EXPECT_EQ(doc.caret(), 1);
    EXPECT_EQ(doc.nextPosition(1), 3);
    EXPECT_EQ(doc.previousPosition(3), 1);

    // Inserting inside a character inserts before it; control bytes and a lone lead byte are
    // not inserted, a line break is.
    doc.insertText(2, "\t\r\x01x\n\xB0");
    EXPECT_EQ(doc.page().text,
              "ax\n\xCE\xC4"
              "b");
}

TEST(Document, FontsAreReusedWhenEqualAndAppendedWithTheNextId) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0, "abcd");
    EXPECT_EQ(doc.fontIdFor(defaultLogFont()), 1);
    doc.select(1, 3);
    doc.setFont(boldFont());
    EXPECT_EQ(doc.page().fonts.size(), 2u);
    EXPECT_EQ(doc.currentStyle().fontId, 2);
    EXPECT_EQ(runSummary(doc), (Runs{"0+1:f1/FFFFFF", "1+2:f2/FFFFFF", "3+1:f1/FFFFFF"}));
    // The range's characters are measured again in the new font.
    EXPECT_EQ(doc.page().widths, (std::vector<uint8_t>{10, 11, 11, 10}));
    EXPECT_EQ(doc.page().runs[1].height, 14);
    EXPECT_EQ(doc.page().runs[1].averageWidth, 7);

    TextPage page = doc.page();
    page.fonts[1].id = 5;
    page.runs[1].resourceId = 5;
    doc.setPage(page);
    LogFont italic = defaultLogFont();
    italic.italic = 1;
    EXPECT_EQ(doc.fontIdFor(italic), 6);
    EXPECT_EQ(doc.fontIdFor(boldFont()), 5);
}

TEST(Document, AlignmentsStayWithTheirLinesWhenLinesComeAndGo) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0, "one\ntwo\nthree");
    doc.setLineAlignment(1, Alignment::Centre);
    doc.setLineAlignment(2, Alignment::Right);
    // A line break typed in the centred line: the new line is centred too, "three" stays right.
    doc.setCaret(5);
    doc.typeText("\n");
    ASSERT_EQ(doc.page().lines.size(), 4u);
    EXPECT_EQ(doc.page().lines[1].alignment, Alignment::Centre);
    EXPECT_EQ(doc.page().lines[2].alignment, Alignment::Centre);
    EXPECT_EQ(doc.page().lines[3].alignment, Alignment::Right);
    // Removing the first line break: "three" keeps its alignment.
    doc.deleteRange(3, 4);
    ASSERT_EQ(doc.page().lines.size(), 3u);
    EXPECT_EQ(doc.page().lines[2].alignment, Alignment::Right);
    doc.setCaret(0);
    doc.alignCaretLine(Alignment::Right);
    EXPECT_EQ(doc.page().lines[0].alignment, Alignment::Right);
}

TEST(Document, PicturesStandInTheTextAndLeaveWithIt) {
    FixedMeasurer m;
    TextDocument doc(m);
    doc.insertUtf8(0, "ab");
    media::Picture picture(30, 20);
    picture.at(0, 0) = 0x00123456;
    const TextRange r = doc.insertPicture(1, picture);
    EXPECT_EQ(r.start, 1);
    EXPECT_EQ(runSummary(doc), (Runs{"0+1:f1/FFFFFF", "1+1:p1/FFFFFF", "2+1:f1/FFFFFF"}));
    ASSERT_EQ(doc.page().pictures.size(), 1u);
    const PictureEntry& p = doc.page().pictures[0];
    EXPECT_EQ(p.info.bitsSize, 30 * 20 * 4);
    EXPECT_EQ(p.info.stride, 120);
    EXPECT_EQ(p.data()[0], 0x56);  // blue, green, red, 0
    EXPECT_EQ(p.data()[2], 0x12);
    EXPECT_EQ(doc.layout().lines[0].width, 50);
    EXPECT_EQ(doc.layout().lines[0].height, 20 + 4);  // picture above the baseline, descent below
    doc.deleteRange(0, 2);
    EXPECT_TRUE(doc.page().pictures.empty());
}

TEST(Document, InsertPictureFileReportsAFileThatIsNoBitmap) {
    FixedMeasurer m;
    TextDocument doc(m);
    const std::string folder = ::testing::TempDir() + "/pageeditor_picture";
    std::filesystem::create_directories(folder);
    const std::string bad = folder + "/bad.bmp", good = folder + "/good.bmp";
    ASSERT_TRUE(writeFileAtomically(bad, {'B', 'M', 1, 2, 3}));
    ASSERT_TRUE(writeFileAtomically(good, media::encodeBmp24(media::Picture(8, 4))));
    RecordingMessages messages;
    EXPECT_FALSE(doc.insertPictureFile(bad, messages));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "Open picture failed, please check !");
    EXPECT_EQ(messages.messages()[0].caption, "Open Picture Error");
    EXPECT_EQ(messages.messages()[0].icon, MessageIcon::Error);
    EXPECT_FALSE(doc.modified());

    doc.insertUtf8(0, "abc");
    doc.select(0, 2);
    EXPECT_TRUE(doc.insertPictureFile(good, messages));
    EXPECT_EQ(doc.page().text, std::string("\x01") + "c");
    EXPECT_EQ(messages.messages().size(), 1u);
    std::filesystem::remove_all(folder);
}

TEST(Document, RepairMakesForeignRunsCoverTheText) {
    TextPage page;
    page.text = "abcdef\xD6\xD0";
    page.fonts.push_back(FontEntry{3, defaultLogFont(), {}});
    StyleRun a, b, c;
    a.resourceId = b.resourceId = c.resourceId = 3;
    a.start = 1, a.length = 2;  // gap before
    b.start = 2, b.length = 3;  // overlaps a
    b.textColor = 0x00FF00;
    c.start = 7, c.length = 9;  // starts inside 中 and runs past the end
    c.textColor = 0xFF;
    page.runs = {a, b, c};
    EXPECT_FALSE(runsAreConsistent(page));
    EXPECT_TRUE(repairRuns(page));
    std::string why;
    EXPECT_TRUE(runsAreConsistent(page, &why)) << why;
    ASSERT_EQ(page.runs.size(), 4u);
    EXPECT_EQ(page.runs[0].start, 0);
    EXPECT_EQ(page.runs[0].length, 3);  // the filler merged with run a (same style)
    EXPECT_EQ(page.runs[1].start, 3);
    EXPECT_EQ(page.runs[1].textColor, 0x00FF00u);
    EXPECT_EQ(page.runs[3].start, 6);  // the filler before the character's start
    EXPECT_FALSE(repairRuns(page));
}

}  // namespace
}  // namespace brightline::pageeditor
