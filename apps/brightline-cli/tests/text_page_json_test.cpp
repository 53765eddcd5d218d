// Text pages as JSON: a hand-written page becomes the document it describes, inspect output
// builds the same file again, and wrong fields are named.
#include <gtest/gtest.h>

#include "apps/brightline-cli/json_files.h"
#include "pageeditor/text_document.h"
#include "pageeditor/text_page_file.h"

namespace brightline {
namespace {

using namespace pageeditor;

// Every single-byte character 8 pixels, every double-byte one 16; fonts as tall as asked.
class EvenMeasurer : public FontMeasurer {
  public:
    FontMetrics metrics(const LogFont& f) override {
        return FontMetrics{std::abs(f.height) - 2, 2, std::abs(f.height) / 2};
    }
    int advance(const LogFont&, const std::string& c) override { return c.size() == 2 ? 16 : 8; }
};

const char* kPage = R"({
  "kind": "textpage", "layout": "vertical", "pageWidth": 96, "pageHeight": 32,
  "fonts": [{"id": 1, "face": "Arial", "height": -14},
            {"id": 4, "face": "宋体", "height": 16, "weight": 700, "charSet": 134}],
  "pictures": [{"id": 2, "width": 2, "height": 1, "stride": 8, "bitsPerPixel": 32,
                "bits": "AQIDAAQFBgA="}],
  "runs": [{"font": 4, "text": "价格", "color": "#FF8000", "contour": 1,
            "outlineColor": "#0000FF", "outlineWidth": 2},
           {"picture": 2},
           {"font": 1, "text": " Tea\r\n9.00"}],
  "lines": [{"align": "center"}, {"align": "right"}]
})";

TEST(TextPageJson, AHandWrittenPageBecomesTheDocumentItDescribes) {
    EvenMeasurer m;
    TextDocument doc(m);
    textPageFromJson(nlohmann::json::parse(kPage), "", doc);
    const TextPage& page = doc.page();
    EXPECT_EQ(page.geometry.pageWidth, 96);
    ASSERT_EQ(page.fonts.size(), 2u);
    EXPECT_EQ(page.fonts[1].id, 4);
    EXPECT_EQ(page.fonts[1].font.face(), "宋体");
    EXPECT_EQ(page.fonts[1].font.weight, 700);
    EXPECT_EQ(page.fonts[0].font.weight, 400);  // defaults for what is left out
    // The code page text: 价格, the picture's placeholder, " Tea" and a line break ("\r" is
    // not text), "9.00".
    EXPECT_EQ(page.text, "\xBC\xDB\xB8\xF1\x01 Tea\n9.00");
    ASSERT_EQ(page.runs.size(), 3u);
    EXPECT_EQ(page.runs[0].resourceId, 4);
    EXPECT_EQ(page.runs[0].textColor, 0x000080FFu);  // 0x00BBGGRR
    EXPECT_EQ(page.runs[0].outlineColor, 0x00FF0000u);
    EXPECT_EQ(page.runs[0].outlineWidth, 2);
    EXPECT_EQ(page.runs[1].kind, kRunPicture);
    EXPECT_EQ(page.runs[2].textColor, kWhite);
    ASSERT_EQ(page.pictures.size(), 1u);
    EXPECT_EQ(page.pictures[0].data(), (std::vector<uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));
    ASSERT_EQ(doc.layout().lines.size(), 2u);
    EXPECT_EQ(doc.layout().lines[0].width, 32 + 2 + 32);
    EXPECT_EQ(doc.layout().lines[0].x, (96 - 66) / 2);
    EXPECT_EQ(doc.layout().lines[1].x, 96 - 32);

    // What inspect prints builds the same file again.
    const std::vector<uint8_t> file = encodeTextPageFile(page, {});
    const nlohmann::ordered_json shown = fileToJson(file);
    EXPECT_EQ(shown["runs"][0]["text"], "价格");
    EXPECT_EQ(shown["runs"][0]["color"], "#FF8000");
    EXPECT_EQ(shown["lines"][1]["align"], "right");
    TextDocument again(m);
    textPageFromJson(nlohmann::json::parse(shown.dump()), "", again);
    EXPECT_EQ(encodeTextPageFile(again.page(), {}), file);

    // The mark in lower case is still a text page; version 2 is not.
    std::vector<uint8_t> lower = file;
    lower[0] = 'z';
    EXPECT_EQ(fileToJson(lower)["kind"], "textpage");
    std::vector<uint8_t> v2 = file;
    v2[4] = 2;
    EXPECT_THROW(fileToJson(v2), FileFormatError);
}

TEST(TextPageJson, WrongFieldsAreNamed) {
    auto expectError = [](const std::string& from, const std::string& to,
                          const std::string& needle) {
        std::string text = kPage;
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        EvenMeasurer m;
        TextDocument doc(m);
        try {
            textPageFromJson(nlohmann::json::parse(text), "", doc);
            ADD_FAILURE() << "no error for " << to;
        } catch (const FileFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(needle), std::string::npos) << e.what();
        }
    };
    expectError(R"("layout": "vertical")", R"("layout": "diagonal")", "layout must be");
    expectError(R"("pageWidth": 96)", R"("pageWidth": 6)", "Minimum width and height is 7");
    expectError(R"({"picture": 2})", R"({"picture": 3})", "runs[1].picture names no picture");
    expectError(R"("#FF8000")", R"("#FF80")", "runs[0].color must be");
    expectError(R"("id": 4)", R"("id": 1)", "fonts[1].id is used twice");
    expectError(R"("bits": "AQIDAAQFBgA=")", R"("bits": "A!")", "pictures[0].bits is not base64");
    expectError(R"({"id": 2, "width": 2)", R"({"id": 2, "file": "no-such.bmp", "width": 2)",
                "pictures[0].file");
    expectError(R"({"align": "right"})", R"({"align": "middle"})", "lines[1].align must be");
    expectError(R"("#FF8000")", R"("#FF8000", "bold": 1)", "runs[0].bold is not a field here");
    expectError(R"("layout": "vertical")", R"("layout": "vertical", "margin": 2)",
                "margin is not a field here");
}

}  // namespace
}  // namespace brightline
