#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/testing/scratch_folder.h"
#include "common/tests/file_size_limit.h"
#include "editor/script_maker.h"

namespace brightline {
namespace {

// Stands in for the codecs: writes a small file naming what it was asked for and remembers the
// calls, so the scripts can be checked byte for byte without decoding anything.
class RecordingMedia : public MediaExport {
  public:
    bool exportPicture(const std::string& source, const std::string& target, int width, int height,
                       std::string& error) override {
        calls.push_back("picture " + source + " -> " + target + " " + std::to_string(width) + "x" +
                        std::to_string(height));
        if (source.find("missing") != std::string::npos) {
            error = "cannot open " + source;
            return false;
        }
        std::string text = source + " " + std::to_string(width) + "x" + std::to_string(height);
        return writeFileAtomically(target, std::vector<uint8_t>(text.begin(), text.end()));
    }
    int convertVideo(const std::string& source, const std::string& target, int width, int height,
                     const std::atomic<bool>& stop, const ConversionProgress&,
                     std::string& error) override {
        calls.push_back(std::string(stop.load() ? "stopped " : "") + "video " + source + " -> " +
                        target + " " + std::to_string(width) + "x" + std::to_string(height));
        if (stop.load()) return 1;
        if (source.find("broken") != std::string::npos) {
            error = "no video frame could be converted";
            return -1;
        }
        return 42;
    }
    int convertFlash(const std::string& source, const std::string& target, int width, int height,
                     const std::atomic<bool>&, const ConversionProgress&,
                     std::string& error) override {
        calls.push_back("flash " + source + " -> " + target + " " + std::to_string(width) + "x" +
                        std::to_string(height));
        if (source.find("broken") != std::string::npos) {
            error = "the movie has no frame";
            return 0;
        }
        return 17;
    }
    int convertTextPage(const std::string& source, const std::string& target,
                        std::string& error) override {
        calls.push_back("page " + source + " -> " + target);
        if (source.find("broken") != std::string::npos) {
            error = "no page could be read";
            return -1;
        }
        return 3;
    }
    std::vector<std::string> calls;
};

class ScriptMakerTest : public testing::Test {
  protected:
    void SetUp() override {
        workspace = scratch.file("ws");
        program.ledWidth = 128;
        program.ledHeight = 64;
        program.areaFormat = 0;
        program.resetToDefaultElements();
        zone = *parsePosixTimeZone("CST-8");
    }
    void TearDown() override { std::system(("rm -rf '" + workspace + "'").c_str()); }

    std::string read(const std::string& name) {
        std::vector<uint8_t> bytes;
        if (!readWholeFile(workspace + "/" + name, bytes)) return "<missing " + name + ">";
        return std::string(bytes.begin(), bytes.end());
    }

    int make(int number = -1, bool append = false) {
        ScriptMaker maker(program, workspace, media, messages);
        maker.setTimeZone(zone);
        maker.setStatusCallback([this](const std::string& s) { statuses.push_back(s); });
        return maker.make(number, append, 7);
    }

    CElement item(const std::string& path) {
        CElement e;
        e.path = path;
        e.thumbIndex = 0;
        return e;
    }

    testkit::ScratchFolder scratch{"bl_maker"};
    std::string workspace;
    ProgramData program;
    TimeZoneInfo zone;
    RecordingMedia media;
    RecordingMessages messages;
    std::vector<std::string> statuses;
};

const char* kHeader =
    "TIME_ZONE -28800 \r\nDAYLIGHT_START 00/00:00 \r\nDAYLIGHT_END  00/00:00 \r\nDAYLIGHT_BIAS 0 "
    "\r\n"
    "LED_W 128 \r\nLED_H 64 \r\nAT 00:00 00:00 \r\n";

TEST_F(ScriptMakerTest, FullSizeAreaWithABmpBackgroundAndAJpegItem) {
    program.areaLists[0][0] = item("C:\\pics\\back.bmp");
    program.areaLists[0][0].hold = 3;
    program.areaLists[0][0].speed = 5;
    program.areaLists[0].push_back(item("C:\\pics\\front.JPG"));
    EXPECT_EQ(make(), 2);
    EXPECT_EQ(
        read("run.at"),
        std::string(kHeader) + "RUN wzp 2 70000.shw 0 0 128 64 1 70001.shw 0 0 128 64 1 \r\nEND");
    EXPECT_EQ(read("70000.shw"),
              "WIN_TYPE 1\r\nPNG 70000001 \r\nAP SHOW 0\r\nSTOP 0 \r\nEP NULL 0\r\nEND");
    EXPECT_EQ(read("70001.shw"),
              "WIN_TYPE 2\r\nJPG 70001001 \r\nAP SHOW 0\r\nSTOP 3 \r\nEP NULL 0\r\nEND");
    EXPECT_EQ(read("70000001.PNG"), "C:\\pics\\back.bmp 128x64");
    EXPECT_EQ(read("70001001.JPG"), "C:\\pics\\front.JPG 128x64");
    // The background's hold and speed are set to 0 in the program itself.
    EXPECT_EQ(program.areaLists[0][0].hold, 0);
    EXPECT_EQ(program.areaLists[0][0].speed, 0);
    EXPECT_EQ(statuses.front(), "Making ...");
    EXPECT_EQ(statuses[1], "Making : back.bmp");
    EXPECT_EQ(statuses.back(), "Make finish");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(ScriptMakerTest, ItemsOnlyScriptAndEffectsSpeedHold) {
    CElement a = item("/home/op/a.png");
    a.moveIn = 10;  // position 11: FR_LF
    a.moveOut = 3;  // DFR_RT
    a.speed = 2;
    a.hold = 7;
    CElement b = item("/home/op/b.jpg");
    b.moveIn = -1;
    b.moveOut = -1;
    program.areaLists[0].push_back(a);
    program.areaLists[0].push_back(b);
    EXPECT_EQ(make(), 2);
    EXPECT_EQ(read("70001.shw"),
              "WIN_TYPE 1\r\nPNG 70001001 \r\nAP FR_LF 2\r\nSTOP 7 \r\nEP DFR_RT 2\r\n"
              "JPG 70001002 \r\nAP SHOW 0\r\nSTOP 3 \r\nEND");
    EXPECT_EQ(read("run.at"), std::string(kHeader) + "RUN wzp 1 70001.shw 0 0 128 64 1 \r\nEND");
}

TEST_F(ScriptMakerTest, TheSamePictureTwiceIsExportedOnceAndTheSequenceStillAdvances) {
    program.areaLists[0].push_back(item("C:\\p\\same.jpg"));
    program.areaLists[0].push_back(item("C:\\p\\other.jpg"));
    program.areaLists[0].push_back(item("C:\\p\\same.jpg"));
    EXPECT_EQ(make(), 3);
    EXPECT_EQ(read("70001.shw"),
              "WIN_TYPE 1\r\nJPG 70001001 \r\nAP SHOW 0\r\nSTOP 3 \r\nEP NULL 0\r\n"
              "JPG 70001002 \r\nAP SHOW 0\r\nSTOP 3 \r\nEP NULL 0\r\n"
              "JPG 70001001 \r\nAP SHOW 0\r\nSTOP 3 \r\nEP NULL 0\r\nEND");
    EXPECT_EQ(media.calls.size(), 2u);
    EXPECT_FALSE(fileExists(workspace + "/70001003.JPG"));
}

TEST_F(ScriptMakerTest, ClockPagesTextPagesAndClips) {
    program.areaFormat = 1;
    program.regionLines[0].band = Rect{61, -3, 67, 64};
    std::string clock = scratch.file("town.TIM");
    ASSERT_TRUE(writeFileAtomically(clock, {'[', 'A', ']', '\n'}));
    CElement c = item(clock);
    c.hold = 9;
    program.areaLists[0].push_back(c);
    CElement page = item("C:\\pages\\hello.ZRT");
    page.moveIn = 2;
    page.moveOut = 1;
    page.speed = 4;
    page.hold = 6;
    program.areaLists[1][0] = item("C:\\pages\\bg.zrt");
    program.areaLists[1].push_back(page);
    program.areaLists[1].push_back(item("C:\\clips\\a.avi"));
    program.areaLists[1].push_back(item("C:\\clips\\b.swf"));
    EXPECT_EQ(make(), 5);
    EXPECT_EQ(read("70001.shw"), "WIN_TYPE 1\r\nTIME 70001001 1 \r\nSTOP 9 \r\nEND");
    EXPECT_EQ(read("70001001.TIM"), "[A]\n");
    EXPECT_EQ(read("70010.shw"), "WIN_TYPE 1\r\nZAVI 70010001 3 0 SHOW NULL 0 \r\nEND");
    EXPECT_EQ(
        read("70011.shw"),
        "WIN_TYPE 2\r\nZAVI 70011001 3 4 DFR_RT SHOW 6 \r\nZAVI 70011002 42 0 SHOW NULL 0 \r\n"
        "ZAVI 70011003 17 0 SHOW NULL 0 \r\nEND");
    EXPECT_EQ(read("run.at"), std::string(kHeader) +
                                  "RUN wzp 3 70001.shw 0 0 64 64 1 70010.shw 64 0 64 64 1 "
                                  "70011.shw 64 0 64 64 1 \r\nEND");
    EXPECT_EQ(media.calls[media.calls.size() - 2],
              "video C:\\clips\\a.avi -> " + workspace + "/70011002.ZVI 64x64");
    EXPECT_EQ(media.calls.back(), "flash C:\\clips\\b.swf -> " + workspace + "/70011003.ZVI 64x64");
    // The Flash movie's conversion is announced with its path.
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Transforming... C:\\clips\\b.swf"),
              statuses.end());
}

TEST_F(ScriptMakerTest, EmptyAreaContributesNothingAndAppendModeKeepsTheWorkspace) {
    ASSERT_TRUE(cleanWorkspace(workspace));
    ASSERT_TRUE(writeFileAtomically(workspace + "/run.at", {'X', '\r', '\n'}));
    ASSERT_TRUE(writeFileAtomically(workspace + "/keep.txt", {'k'}));
    program.areaLists[0].push_back(item("C:\\p\\a.png"));
    EXPECT_EQ(make(3, true), 1);
    EXPECT_EQ(read("run.at"), "X\r\nRUN wzp 1 70301.shw 0 0 128 64 1 \r\n");
    EXPECT_TRUE(fileExists(workspace + "/keep.txt"));
    EXPECT_TRUE(fileExists(workspace + "/70301001.PNG"));

    // Not appending empties the workspace; an area with an empty background and no items adds
    // nothing to the RUN line.
    program.areaLists[0].resize(1);
    EXPECT_EQ(make(), 0);
    EXPECT_FALSE(fileExists(workspace + "/keep.txt"));
    EXPECT_EQ(read("run.at"), std::string(kHeader) + "RUN wzp 0 \r\nEND");
}

TEST_F(ScriptMakerTest, UnreadablePicturesAndUnknownFilesAreReported) {
    program.areaLists[0].push_back(item("C:\\p\\missing.jpg"));
    program.areaLists[0].push_back(item("C:\\p\\notes.txt"));
    program.areaLists[0].push_back(item("C:\\p\\broken.swf"));
    EXPECT_EQ(make(), 2);
    EXPECT_EQ(read("70001.shw"),
              "WIN_TYPE 1\r\nJPG -1 \r\nAP SHOW 0\r\nSTOP 3 \r\nEP NULL 0\r\n"
              "AP SHOW 0\r\nSTOP 3 \r\nEP NULL 0\r\n"
              "ZAVI 70001002 0 0 SHOW NULL 0 \r\nEND");
    auto shown = messages.messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[0].text.find("missing.jpg"), std::string::npos);
    EXPECT_NE(shown[1].text.find("notes.txt"), std::string::npos);
    EXPECT_NE(shown[2].text.find("broken.swf"), std::string::npos);
}

TEST_F(ScriptMakerTest, MediaThatCannotBeConvertedSayWhy) {
    program.areaLists[0].push_back(item("C:\\p\\broken.avi"));
    program.areaLists[0].push_back(item("C:\\p\\broken.zrt"));
    program.areaLists[0].push_back(item("C:\\p\\broken.swf"));
    EXPECT_EQ(make(), 3);
    auto shown = messages.messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text,
              "Could not convert the clip C:\\p\\broken.avi: no video frame could be converted");
    EXPECT_EQ(shown[1].text,
              "Could not convert the text page C:\\p\\broken.zrt: no page could be read");
    EXPECT_EQ(shown[2].text,
              "Could not convert the Flash clip C:\\p\\broken.swf: the movie has no frame");
}

TEST_F(ScriptMakerTest, CancelStopsBeforeTheNextElement) {
    program.areaFormat = 1;
    program.regionLines[0].band = Rect{61, -3, 67, 64};
    program.areaLists[0].push_back(item("C:\\p\\a.png"));
    program.areaLists[1].push_back(item("C:\\p\\b.png"));
    std::atomic<bool> cancel{false};
    ScriptMaker maker(program, workspace, media, messages);
    maker.setTimeZone(zone);
    maker.setCancelFlag(&cancel);
    maker.setStatusCallback([&](const std::string& s) {
        if (s == "Making : a.png") cancel = true;
    });
    EXPECT_EQ(maker.make(-1, false, 7), 0);
    EXPECT_TRUE(fileExists(workspace + "/run.at"));
    EXPECT_FALSE(fileExists(workspace + "/70011.shw"));
    EXPECT_EQ(media.calls.size(), 1u);
}

TEST_F(ScriptMakerTest, VideoContainersAreMadeLikeAviClips) {
    program.areaLists[0].push_back(item("/home/op/holiday.mp4"));
    program.areaLists[0].push_back(item("/home/op/Talk.WEBM"));
    program.areaLists[0].push_back(item("/home/op/old.mpg"));
    EXPECT_EQ(make(), 3);
    EXPECT_EQ(read("70001.shw"),
              "WIN_TYPE 1\r\nZAVI 70001001 42 0 SHOW NULL 0 \r\nZAVI 70001002 42 0 SHOW NULL 0 "
              "\r\nZAVI 70001003 42 0 SHOW NULL 0 \r\nEND");
    ASSERT_EQ(media.calls.size(), 3u);
    EXPECT_EQ(media.calls[1], "video /home/op/Talk.WEBM -> " + workspace + "/70001002.ZVI 128x64");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(ScriptMakerTest, AStoppedConversionKeepsItsFramesAndMakeWritesEveryScript) {
    program.areaFormat = 1;
    program.regionLines[0].band = Rect{61, -3, 67, 64};
    program.areaLists[0].push_back(item("C:\\clips\\a.avi"));
    program.areaLists[1].push_back(item("C:\\clips\\b.mov"));
    program.areaLists[1].push_back(item("C:\\p\\c.png"));
    std::atomic<bool> cancel{false}, stop{true};
    ScriptMaker maker(program, workspace, media, messages);
    maker.setTimeZone(zone);
    maker.setCancelFlag(&cancel);
    maker.setConversionStopFlag(&stop);
    EXPECT_EQ(maker.make(-1, false, 7), 3);
    EXPECT_EQ(read("70001.shw"), "WIN_TYPE 1\r\nZAVI 70001001 1 0 SHOW NULL 0 \r\nEND");
    EXPECT_EQ(read("70011.shw"),
              "WIN_TYPE 1\r\nZAVI 70011001 1 0 SHOW NULL 0 \r\nPNG 70011002 \r\nAP SHOW "
              "0\r\nSTOP 3 \r\nEP NULL 0\r\nEND");
    ASSERT_EQ(media.calls.size(), 3u);
    EXPECT_EQ(media.calls[0].rfind("stopped video", 0), 0u) << media.calls[0];
    EXPECT_TRUE(messages.messages().empty()) << messages.messages().front().text;
}

TEST_F(ScriptMakerTest, AFolderOfTheUsersOwnIsRefusedWithNothingDeleted) {
    ASSERT_TRUE(ensureFolder(workspace));
    ASSERT_TRUE(writeFileAtomically(workspace + "/show.ZPF", {'Z'}));
    ASSERT_TRUE(writeFileAtomically(workspace + "/holiday.jpg", {'J'}));
    program.areaLists[0].push_back(item("C:\\p\\a.png"));
    ScriptMaker maker(program, workspace, media, messages);
    EXPECT_EQ(maker.make(-1, false, 7), 0);
    EXPECT_TRUE(maker.failed());
    EXPECT_NE(maker.error().find("is not a Brightline workspace folder"), std::string::npos);
    EXPECT_EQ(read("show.ZPF"), "Z");
    EXPECT_EQ(read("holiday.jpg"), "J");
    EXPECT_FALSE(fileExists(workspace + "/run.at"));
    EXPECT_TRUE(media.calls.empty());
    ASSERT_EQ(messages.messages().size(), 1u);
}

TEST_F(ScriptMakerTest, AWorkspaceInUseElsewhereIsRefusedWithNothingDeleted) {
    program.areaLists[0].push_back(item("C:\\p\\a.png"));
    ASSERT_EQ(make(), 1);
    const std::string before = read("run.at");
    {
        // Another Make (another window, brightline-cli) is writing the folder.
        const WorkspaceLock other(workspace, WorkspaceLock::Mode::Write);
        ASSERT_TRUE(other.held());
        media.calls.clear();
        ScriptMaker maker(program, workspace, media, messages);
        EXPECT_EQ(maker.make(-1, false, 7), 0);
        EXPECT_NE(maker.error().find("is in use by another Make or send"), std::string::npos)
            << maker.error();
        EXPECT_TRUE(media.calls.empty());
        EXPECT_EQ(read("run.at"), before);
    }
    EXPECT_EQ(make(), 1);
}

TEST_F(ScriptMakerTest, ScriptsThatCannotBeWrittenFailMakeAndLeaveNoEmptyFile) {
    program.areaLists[0].push_back(item("C:\\p\\a.png"));
    ASSERT_EQ(make(), 1);  // the workspace now carries the mark
    // The disk is full: no byte can be written.
    ScriptMaker maker(program, workspace, media, messages);
    int made;
    {
        FileSizeLimit full(0);
        made = maker.make(-1, false, 7);
    }
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(maker.failed());
    EXPECT_NE(maker.error().find("run.at"), std::string::npos) << maker.error();
    EXPECT_FALSE(fileExists(workspace + "/run.at"));
    EXPECT_FALSE(fileExists(workspace + "/70001.shw"));
}

}  // namespace
}  // namespace brightline

namespace brightline {
namespace {

// The recording stand-in made safe for Make's workers. Each call waits (with a deadline) until
// `together` calls are in progress at once, so a Make that never overlaps two media is seen; when
// `cancel` is given, that moment also cancels Make.
class ConcurrentMedia : public MediaExport {
  public:
    explicit ConcurrentMedia(int together, std::atomic<bool>* cancel = nullptr)
        : together_(together), cancel_(cancel) {}
    bool concurrent() const override { return true; }
    bool exportPicture(const std::string& source, const std::string& target, int width, int height,
                       std::string& error) override {
        return call([&] { return inner_.exportPicture(source, target, width, height, error); });
    }
    int convertVideo(const std::string& source, const std::string& target, int width, int height,
                     const std::atomic<bool>& stop, const ConversionProgress& progress,
                     std::string& error) override {
        return call([&] {
            return inner_.convertVideo(source, target, width, height, stop, progress, error);
        });
    }
    int convertFlash(const std::string& source, const std::string& target, int width, int height,
                     const std::atomic<bool>& stop, const ConversionProgress& progress,
                     std::string& error) override {
        return call([&] {
            return inner_.convertFlash(source, target, width, height, stop, progress, error);
        });
    }
    int convertTextPage(const std::string& source, const std::string& target,
                        std::string& error) override {
        return call([&] { return inner_.convertTextPage(source, target, error); });
    }
    size_t calls() {
        std::lock_guard<std::mutex> lock(mutex_);
        return inner_.calls.size();
    }
    int mostAtOnce() {
        std::lock_guard<std::mutex> lock(mutex_);
        return mostAtOnce_;
    }

  private:
    template <typename F>
    auto call(F f) -> decltype(f()) {
        std::unique_lock<std::mutex> lock(mutex_);
        mostAtOnce_ = std::max(mostAtOnce_, ++atOnce_);
        if (atOnce_ >= together_) {
            met_ = true;
            if (cancel_) *cancel_ = true;
            cv_.notify_all();
        }
        cv_.wait_for(lock, std::chrono::seconds(10), [this] { return met_; });
        auto result = f();  // the inner stand-in records under the lock
        --atOnce_;
        return result;
    }

    RecordingMedia inner_;
    std::mutex mutex_;
    std::condition_variable cv_;
    const int together_;
    std::atomic<bool>* cancel_;
    int atOnce_ = 0;
    int mostAtOnce_ = 0;
    bool met_ = false;
};

std::vector<std::pair<std::string, std::string>> filesOf(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::vector<uint8_t> bytes;
        readWholeFile(entry.path().string(), bytes);
        out.emplace_back(entry.path().filename().string(), std::string(bytes.begin(), bytes.end()));
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(ScriptMakerTest, MediaMadeOnSeveralThreadsComeOutAsIfMadeOneAfterAnother) {
    program.areaFormat = 1;
    program.regionLines[0].band = Rect{61, -3, 67, 64};
    program.areaLists[0][0] = item("C:\\p\\back.bmp");
    for (const char* path : {"C:\\p\\a.jpg", "C:\\p\\b.png", "C:\\p\\a.jpg", "C:\\p\\missing.png",
                             "C:\\p\\missing.png", "C:\\c\\clip.avi", "C:\\c\\broken.avi"})
        program.areaLists[0].push_back(item(path));
    for (const char* path : {"C:\\p\\page.zrt", "C:\\p\\broken.zrt", "C:\\p\\movie.swf",
                             "C:\\p\\b.png", "C:\\p\\odd.txt", "C:\\p\\c.bmp"})
        program.areaLists[1].push_back(item(path));
    const ProgramData original = program;

    const int serialMade = make();
    const auto serialFiles = filesOf(workspace);
    const auto serialMessages = messages.messages();
    const auto serialStatuses = statuses;
    ASSERT_GT(serialMessages.size(), 3u);  // the missing picture twice, the broken media

    program = original;
    statuses.clear();
    messages.clear();
    ConcurrentMedia media(2);
    ScriptMaker maker(program, workspace, media, messages);
    maker.setTimeZone(zone);
    maker.setWorkers(4);
    maker.setStatusCallback([this](const std::string& s) { statuses.push_back(s); });
    EXPECT_EQ(maker.make(-1, false, 7), serialMade);
    EXPECT_GE(media.mostAtOnce(), 2);
    // The failed picture is tried again for its second use, as before: one call more than jobs.
    EXPECT_EQ(media.calls(), this->media.calls.size());
    EXPECT_EQ(filesOf(workspace), serialFiles);
    EXPECT_EQ(statuses, serialStatuses);
    const auto parallelMessages = messages.messages();
    ASSERT_EQ(parallelMessages.size(), serialMessages.size());
    for (size_t i = 0; i < serialMessages.size(); ++i)
        EXPECT_EQ(parallelMessages[i].text, serialMessages[i].text);
}

TEST_F(ScriptMakerTest, CancelLetsEachWorkerFinishItsMediumAndStartsNoOther) {
    for (int i = 0; i < 6; ++i)
        program.areaLists[0].push_back(item("C:\\p\\" + std::to_string(i) + ".png"));
    std::atomic<bool> cancel{false};
    ConcurrentMedia media(2, &cancel);
    ScriptMaker maker(program, workspace, media, messages);
    maker.setTimeZone(zone);
    maker.setWorkers(2);
    maker.setCancelFlag(&cancel);
    EXPECT_EQ(maker.make(-1, false, 7), 0);
    EXPECT_EQ(media.calls(), 2u);
    // The items script stands as it was when the two pictures were made, without END.
    EXPECT_EQ(read("70001.shw"),
              "WIN_TYPE 1\r\nPNG 70001001 \r\nAP SHOW 0\r\nSTOP 3 \r\nEP NULL 0\r\nPNG 70001002 "
              "\r\nAP SHOW 0\r\nSTOP 3 \r\nEP NULL 0\r\n");
    EXPECT_TRUE(fileExists(workspace + "/70001002.PNG"));
    EXPECT_FALSE(fileExists(workspace + "/70001003.PNG"));
}

}  // namespace
}  // namespace brightline
