// Play, Stop and Send through the session: Make on its worker, the preview on the real clock,
// the send rule, one Make at a time, and closing the frame while Make converts a clip.
#include <QDir>
#include <QLineEdit>
#include <QToolButton>
#include <atomic>
#include <thread>

#include "common/file_io.h"
#include "editor/ui/media_export_factory.h"
#include "editor/ui/preview_window.h"
#include "editor/ui/program_layout_view.h"
#include "editor/ui/tests/frame_fixture.h"
#include "editor/workspace_media_export.h"

namespace brightline::ui {
namespace {

class PlayTest : public testing::FrameTest {
  protected:
    PlayTest() { writeSignList(64, 32); }
};

TEST_F(PlayTest, PlayMakesThenPreviewsAndStopEndsIt) {
    auto frame = openFrame(redProgram());
    CProgram_Layout_view* view = frame->layoutView();
    QTest::mouseClick(view->playButton(), Qt::LeftButton);
    EXPECT_FALSE(view->widthEdit()->isEnabled());
    ASSERT_TRUE(waitFor(
        [&] { return session_.preview() && session_.preview()->framesShown() >= 3; }, 20000))
        << lastMessage();
    EXPECT_EQ(session_.lastMakeResult(), 1);
    EXPECT_TRUE(session_.previewed());
    EXPECT_FALSE(programData().needsMake);
    EXPECT_EQ(session_.statusText(), "Playing ...");
    PreviewWindow* preview = session_.preview();
    EXPECT_EQ(preview->windowTitle(), "preview");
    EXPECT_EQ(preview->geometry(), view->faceRect());
    const QImage shown = preview->lastFrame();
    ASSERT_EQ(shown.size(), QSize(64, 32));
    EXPECT_EQ(QColor(shown.pixel(10, 10)).red(), 255);
    EXPECT_EQ(QColor(shown.pixel(10, 10)).green(), 0);
    // Make wrote the show where the engine played it.
    EXPECT_TRUE(QFileInfo::exists(qs(workspaceFolder() + "/run.at")));
    EXPECT_TRUE(QFileInfo::exists(qs(workspaceFolder() + "/70000001.PNG")));

    QTest::mouseClick(view->stopButton(), Qt::LeftButton);
    EXPECT_EQ(session_.preview(), nullptr);
    EXPECT_TRUE(view->widthEdit()->isEnabled());
    EXPECT_EQ(session_.statusText(), "");
    EXPECT_TRUE(session_.previewed());
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
}

TEST_F(PlayTest, SendBeforePlayOrAfterASaveIsRefused) {
    auto frame = openFrame(redProgram());
    CProgram_Layout_view* view = frame->layoutView();
    int requested = 0;
    QObject::connect(&session_, &PlaySession::sendShowRequested, [&](int) { ++requested; });
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    ASSERT_EQ(messages_.messages().size(), 1u);
    const OperatorMessage refusal = messages_.messages()[0];
    EXPECT_EQ(refusal.text,
              "The program script doesn't send to LED sign before it has finished making.");
    EXPECT_EQ(refusal.caption, "INFO");
    EXPECT_EQ(refusal.icon, MessageIcon::Error);

    QTest::mouseClick(view->playButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return session_.previewed(); }, 20000));
    // Saving again means the show on disk is stale.
    ASSERT_TRUE(frame->save());
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    EXPECT_EQ(messages_.messages().size(), 2u);
    EXPECT_EQ(requested, 0);
    // A new Play makes it sendable; Send stops the preview first.
    QTest::mouseClick(view->stopButton(), Qt::LeftButton);
    QTest::mouseClick(view->playButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return session_.previewed(); }, 20000));
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    EXPECT_EQ(requested, 1);
    EXPECT_EQ(session_.preview(), nullptr);
}

// Stands in for a long clip conversion: runs until cancelled.
class EndlessClips : public MediaExport {
  public:
    EndlessClips(std::atomic<bool>& entered, std::atomic<bool>& cancelSeen)
        : entered_(entered), cancelSeen_(cancelSeen) {}
    bool exportPicture(const std::string&, const std::string&, int, int,
                       std::string& error) override {
        error = "no pictures here";
        return false;
    }
    int convertVideo(const std::string&, const std::string&, int, int,
                     const std::atomic<bool>& cancel, const ConversionProgress&,
                     std::string&) override {
        entered_ = true;
        for (int i = 0; i < 3000 && !cancel.load(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        cancelSeen_ = cancel.load();
        return 0;
    }
    int convertTextPage(const std::string&, const std::string&, std::string&) override {
        return -1;
    }

  private:
    std::atomic<bool>& entered_;
    std::atomic<bool>& cancelSeen_;
};

// Exports pictures for real, but each one waits until the test opens the gate.
class GatedPictures : public MediaExport {
  public:
    GatedPictures(std::atomic<int>& entered, std::atomic<bool>& open)
        : entered_(entered), open_(open) {}
    bool exportPicture(const std::string& source, const std::string& target, int width, int height,
                       std::string& error) override {
        ++entered_;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!open_.load() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return real_.exportPicture(source, target, width, height, error);
    }
    int convertVideo(const std::string&, const std::string&, int, int, const std::atomic<bool>&,
                     const ConversionProgress&, std::string&) override {
        return -1;
    }
    int convertTextPage(const std::string&, const std::string&, std::string&) override {
        return -1;
    }

  private:
    std::atomic<int>& entered_;
    std::atomic<bool>& open_;
    WorkspaceMediaExport real_{false, 85};
};

std::vector<std::string> filesIn(const std::string& folder) {
    QStringList names = QDir(qs(folder)).entryList(QDir::Files, QDir::Name);
    std::vector<std::string> out;
    for (const QString& n : names) out.push_back(ss(n));
    return out;
}

TEST_F(PlayTest, AMakeAskedForWhileOneRunsIsRefusedAndTheWorkspaceHoldsOneShow) {
    std::atomic<int> entered{0};
    std::atomic<bool> open{false};
    setMediaExportFactory([&](bool) { return std::make_unique<GatedPictures>(entered, open); });
    auto frame = openFrame(redProgram());
    int sends = 0;
    QObject::connect(&session_, &PlaySession::sendShowRequested, [&](int) { ++sends; });
    QTest::mouseClick(frame->layoutView()->playButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return entered.load() == 1; })) << "Play's Make never exported";

    // Send File (or guide step 3) and Play again while Play's Make writes the workspace.
    EXPECT_FALSE(session_.makeProgramForSend());
    QTest::mouseClick(frame->layoutView()->playButton(), Qt::LeftButton);
    ASSERT_EQ(messages_.messages().size(), 2u);
    for (const OperatorMessage& m : messages_.messages()) {
        EXPECT_EQ(m.text, kMsgMakeRunning);
        EXPECT_EQ(m.caption, "INFO");
    }
    EXPECT_EQ(session_.state(), PlaySession::State::Making);

    open = true;
    ASSERT_TRUE(waitFor([&] { return session_.state() == PlaySession::State::Playing; }, 20000))
        << lastMessage();
    EXPECT_EQ(entered.load(), 1);  // the refused Makes never started
    EXPECT_EQ(sends, 0);
    const std::vector<std::string> show = {"70000.shw", "70000001.PNG", "run.at"};
    EXPECT_EQ(filesIn(workspaceFolder()), show);
    std::vector<uint8_t> runAt;
    ASSERT_TRUE(readWholeFile(workspaceFolder() + "/run.at", runAt));
    const std::string text(runAt.begin(), runAt.end());
    const std::string run = "RUN wzp 1 70000.shw 0 0 64 32 1 \r\nEND";
    ASSERT_GT(text.size(), run.size());
    EXPECT_EQ(text.substr(text.size() - run.size()), run) << text;
    EXPECT_EQ(text.find("RUN"), text.rfind("RUN")) << text;

    // Once it has ended, a Make for a send closes the preview, runs, and asks for the send.
    ASSERT_TRUE(session_.makeProgramForSend());
    EXPECT_EQ(session_.preview(), nullptr);
    ASSERT_TRUE(waitFor([&] { return sends == 1; }, 20000)) << lastMessage();
    EXPECT_EQ(session_.state(), PlaySession::State::Idle);
    EXPECT_EQ(filesIn(workspaceFolder()), show);
    setMediaExportFactory(nullptr);
}

TEST_F(PlayTest, ClosingTheFrameWhileMakeConvertsAClipCancelsIt) {
    std::atomic<bool> entered{false}, cancelSeen{false};
    setMediaExportFactory(
        [&](bool) { return std::make_unique<EndlessClips>(entered, cancelSeen); });
    QFile clip(qs(path("clip.AVI")));
    ASSERT_TRUE(clip.open(QIODevice::WriteOnly));
    clip.close();
    ProgramData program;
    program.ledWidth = 64;
    program.ledHeight = 32;
    program.resetToDefaultElements();
    program.areaLists[0].push_back(CElement{});
    program.areaLists[0][1].path = path("clip.AVI");
    ASSERT_TRUE(saveProgram(path("clip.ZPF"), program));

    auto frame = openFrame(path("clip.ZPF"));
    QTest::mouseClick(frame->layoutView()->playButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return entered.load(); }));
    EXPECT_EQ(session_.state(), PlaySession::State::Making);
    // The view stays responsive while Make works.
    QApplication::processEvents();
    frame->close();
    EXPECT_TRUE(cancelSeen.load());
    EXPECT_EQ(frame->layoutView(), nullptr);
    EXPECT_TRUE(programData().areaLists[0].empty());
    frame.reset();
    // Queued status lines of the cancelled Make find no view and are dropped.
    QApplication::processEvents();
    setMediaExportFactory(nullptr);
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
}

TEST_F(PlayTest, StopDuringMakeEndsTheConversionAndMakeStillWritesEveryScript) {
    std::atomic<bool> entered{false}, stopSeen{false};
    setMediaExportFactory([&](bool) { return std::make_unique<EndlessClips>(entered, stopSeen); });
    QImage blue(8, 8, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(qs(path("blue.png"))));
    ProgramData program;
    program.ledWidth = 64;
    program.ledHeight = 32;
    program.resetToDefaultElements();
    program.areaLists[0].push_back(CElement{});
    program.areaLists[0][1].path = path("clip.AVI");
    program.areaLists[0].push_back(CElement{});
    program.areaLists[0][2].path = path("blue.png");
    ASSERT_TRUE(saveProgram(path("clip.ZPF"), program));
    int sends = 0;
    QObject::connect(&session_, &PlaySession::sendShowRequested, [&](int) { ++sends; });

    auto frame = openFrame(path("clip.ZPF"));
    CProgram_Layout_view* view = frame->layoutView();
    QTest::mouseClick(view->playButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return entered.load(); })) << "the clip conversion never started";
    QTest::mouseClick(view->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return session_.state() == PlaySession::State::Idle; }))
        << "Make did not end after Stop";
    EXPECT_TRUE(stopSeen.load());
    EXPECT_EQ(session_.preview(), nullptr);
    EXPECT_FALSE(session_.previewed());
    EXPECT_EQ(session_.lastMakeResult(), 2);  // the clip and the picture (its export fails)
    EXPECT_EQ(session_.statusText(), "");
    EXPECT_TRUE(view->widthEdit()->isEnabled());
    std::vector<uint8_t> script;
    ASSERT_TRUE(readWholeFile(workspaceFolder() + "/70001.shw", script));
    const std::string text(script.begin(), script.end());
    EXPECT_NE(text.find("ZAVI 70001001 0 0 SHOW NULL 0"), std::string::npos) << text;
    EXPECT_NE(text.find("PNG -1"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 3), "END") << text;
    EXPECT_EQ(sends, 0);
    setMediaExportFactory(nullptr);
}

TEST_F(PlayTest, AMakeForSendingKeepsTheBackgroundsHoldAndSpeedOfZero) {
    auto frame = openFrame(redProgram());
    programData().areaLists[0][0].hold = 5;
    programData().areaLists[0][0].speed = 2;
    int sends = 0;
    QObject::connect(&session_, &PlaySession::sendShowRequested, [&](int) { ++sends; });
    ASSERT_TRUE(session_.makeProgramForSend());
    ASSERT_TRUE(waitFor([&] { return sends == 1; }, 20000)) << lastMessage();
    EXPECT_EQ(programData().areaLists[0][0].hold, 0);
    EXPECT_EQ(programData().areaLists[0][0].speed, 0);
}

}  // namespace
}  // namespace brightline::ui
