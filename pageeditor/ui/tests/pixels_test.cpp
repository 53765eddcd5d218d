// A page typed in the editor, saved, gives the page pictures that brightline-cli builds from the
// same document written as JSON; and a page saved again is what the next Make turns into a clip.
#include <QCheckBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>

#include "common/file_io.h"
#include "media/bmp_picture.h"
#include "media/zrt_file.h"
#include "media/zvi_reader.h"
#include "pageeditor/ui/extend_font_style_dialog.h"
#include "pageeditor/ui/page_format_dialog.h"
#include "pageeditor/ui/tests/window_fixture.h"

namespace brightline::ui {
namespace {

using namespace pageeditor;
using testing::PagewrightTest;

constexpr const char* kSimSun = "\xE5\xAE\x8B\xE4\xBD\x93";  // 宋体

LogFont font(const char* face, int32_t height, int32_t weight, uint8_t charSet) {
    LogFont f = defaultLogFont();
    f.setFace(face);
    f.height = height;
    f.weight = weight;
    f.charSet = charSet;
    return f;
}

// The page pictures of a text page file, each a bitmap file.
std::vector<std::vector<uint8_t>> pagePictures(const std::string& path) {
    std::vector<std::vector<uint8_t>> pages;
    media::ZrtPageReader reader;
    if (reader.open(media::FileByteSource::open(path)) != media::ZrtHeaderStatus::Ok) return pages;
    std::vector<uint8_t> bmp;
    while (reader.nextPage(bmp)) pages.push_back(bmp);
    return pages;
}

// Runs brightline-cli with `arguments`; its standard output, or a failure with what it said.
std::string cli(const QStringList& arguments) {
    QProcess p;
    p.start(BRIGHTLINE_CLI, arguments);
    if (!p.waitForFinished(60000)) {
        ADD_FAILURE() << "brightline-cli " << arguments.join(' ').toStdString()
                      << " did not end in 60 s";
        p.kill();
        p.waitForFinished(5000);
        return {};
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        ADD_FAILURE() << "brightline-cli " << arguments.join(' ').toStdString() << ": "
                      << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

class PagePixels : public PagewrightTest {
  protected:
    // The page typed as the operator types it: the format in its dialog, two fonts from the
    // font dialog, colours, a contour through Extend Font Style, Chinese through the input
    // method, the first line centred.
    void typePage(PageLayout layout) {
        ctrl(Qt::Key_M);
        auto* format = dialog<PageFormatDialog>();
        ASSERT_TRUE(format);
        (layout == PageLayout::Horizontal ? format->horizontalButton() : format->verticalButton())
            ->setChecked(true);
        format->widthEdit()->setText("128");
        format->heightEdit()->setText("32");
        QTest::mouseClick(format->okButton(), Qt::LeftButton);

        dialogs_->fonts = {font("Arial", -18, 700, kAnsiCharset),
                           font(kSimSun, 16, 400, kGb2312Charset)};
        dialogs_->colors = {0x0000FFFF, 0x00FFFFFF};
        ctrl(Qt::Key_F);
        ctrl(Qt::Key_U);
        type("Price ");
        ctrl(Qt::Key_F);
        contour(true);
        commit("\xE4\xBB\xB7\xE6\xA0\xBC");  // 价格
        key(Qt::Key_Return);
        contour(false);
        ctrl(Qt::Key_U);
        type("12.50 ");
        commit("\xE5\x85\x83");  // 元
        ctrl(Qt::Key_Home);
        ctrl(Qt::Key_E);
    }
    void contour(bool on) {
        ctrl(Qt::Key_E, true);
        auto* d = dialog<ExtendFontStyleDialog>();
        ASSERT_TRUE(d);
        d->contourBox()->setChecked(on);
        d->widthEdit()->setText("1");
        d->colorEdit()->setText("255");
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    }
    void commit(const char* utf8) {
        QInputMethodEvent e;
        e.setCommitString(QString::fromUtf8(utf8));
        QApplication::sendEvent(view(), &e);
    }
    // Types the page, saves it, builds the JSON with brightline-cli and compares the files.
    void compareWithBuilt(PageLayout layout) {
        typePage(layout);
        EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
        const std::string typed = path("typed.ZRT"), built = path("built.ZRT");
        ASSERT_TRUE(window().editor().save(typed));
        std::ofstream(path("page.json")) << json(layout);
        cli({"build", qs(path("page.json")), qs(built)});

        const auto editor = pagePictures(typed);
        const auto command = pagePictures(built);
        ASSERT_FALSE(editor.empty());
        ASSERT_EQ(editor.size(), command.size());
        for (size_t k = 0; k < editor.size(); ++k) {
            media::Picture picture;
            ASSERT_TRUE(media::decodeBmp(editor[k], picture));
            EXPECT_EQ(picture.width, 128);
            EXPECT_EQ(picture.height, 32);
            EXPECT_TRUE(editor[k] == command[k]) << "page " << k << " differs";
        }
        // Not only the pictures: the document sections are the same bytes too.
        std::vector<uint8_t> a, b;
        ASSERT_TRUE(readWholeFile(typed, a));
        ASSERT_TRUE(readWholeFile(built, b));
        EXPECT_TRUE(a == b);
    }
    // The same document as JSON for brightline-cli build.
    std::string json(PageLayout layout) {
        const bool h = layout == PageLayout::Horizontal;
        return std::string("{\"kind\": \"textpage\", \"layout\": \"") +
               (h ? "horizontal" : "vertical") +
               "\", \"pageWidth\": 128, \"pageHeight\": 32,\n"
               " \"fonts\": [{\"id\": 1, \"face\": \"Tahoma\", \"height\": 14, \"charSet\": 1},\n"
               "  {\"id\": 2, \"face\": \"Arial\", \"height\": -18, \"weight\": 700, \"charSet\": "
               "0},\n"
               "  {\"id\": 3, \"face\": \"" +
               kSimSun +
               "\", \"height\": 16, \"charSet\": 134}],\n"
               " \"runs\": [{\"font\": 2, \"text\": \"Price \", \"color\": \"#FFFF00\"},\n"
               "  {\"font\": 3, \"text\": \"\xE4\xBB\xB7\xE6\xA0\xBC\\n\", \"color\": \"#FFFF00\","
               " \"contour\": 1, \"outlineColor\": \"#FF0000\", \"outlineWidth\": 1},\n"
               "  {\"font\": 3, \"text\": \"12.50 \xE5\x85\x83\", \"color\": \"#FFFFFF\"}],\n"
               " \"lines\": [{\"align\": \"center\"}" +
               (h ? "" : ", {\"align\": \"left\"}") + "]}\n";
    }
};

TEST_F(PagePixels, AVerticalPageTypedGivesThePagePicturesTheCommandLineBuilds) {
    compareWithBuilt(PageLayout::Vertical);
}

TEST_F(PagePixels, AHorizontalPageTypedGivesThePagePicturesTheCommandLineBuilds) {
    compareWithBuilt(PageLayout::Horizontal);
}

TEST_F(PagePixels, ThePageSavedLastIsWhatTheNextMakeShows) {
    typePage(PageLayout::Vertical);
    const std::string page = path("offer.ZRT");
    ASSERT_TRUE(window().editor().save(page));
    const std::string line =
        R"({"band": [0,0,0,0], "selected": 0, "horizontal": 0, "role": 0, "endLineA": -1, "endLineB": -1})";
    std::ofstream(path("program.json"))
        << R"({"kind": "program", "ledWidth": 128, "ledHeight": 32, "areaFormat": 0, "regionLines": [)"
        << line << "," << line << "," << line << "," << line << "," << line << "," << line << ","
        << line << "," << line << R"(], "areaLists": [[)"
        << R"({"path": "", "thumbIndex": -1, "moveIn": 0, "moveOut": -1, "speed": 0, "start": 0, "hold": 3, "barRect": [0,0,0,0]},)"
        << R"({"path": ")" << page
        << R"(", "thumbIndex": 0, "moveIn": 0, "moveOut": -1, "speed": 0, "start": 0, "hold": 1, "barRect": [0,0,0,0]}], [], [], []]})";
    cli({"build", qs(path("program.json")), qs(path("show.ZPF"))});

    // Each Make's clip holds the pages of the file as it was saved last.
    auto makeAndCompare = [&] {
        cli({"make", qs(path("show.ZPF")), "--workspace", qs(path("ws"))});
        const QStringList clips = QDir(qs(path("ws"))).entryList({"*.zvi", "*.ZVI"});
        ASSERT_EQ(clips.size(), 1);
        media::ZviReader reader;
        ASSERT_TRUE(reader.openFile(path("ws/" + ss(clips.front()))));
        const auto pages = pagePictures(page);
        ASSERT_EQ(reader.header().frameCount, int(pages.size()));
        for (const auto& bmp : pages) {
            media::Picture expected, frame;
            ASSERT_TRUE(media::decodeBmp(bmp, expected));
            ASSERT_EQ(reader.readFrame(frame), media::ClipFrameStatus::Decoded);
            EXPECT_TRUE(frame.pixels == expected.pixels);
        }
    };
    makeAndCompare();
    const size_t before = pagePictures(page).size();
    ctrl(Qt::Key_End, false);
    for (int i = 0; i < 3; ++i) {
        key(Qt::Key_Return);
        type("more");
    }
    ctrl(Qt::Key_S);
    ASSERT_GT(pagePictures(page).size(), before);
    makeAndCompare();
}

}  // namespace
}  // namespace brightline::ui
