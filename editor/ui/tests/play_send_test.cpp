// Play, Stop and Send: Make on its worker, the preview on the real clock, the send rule, a send
// that reaches the virtual sign, and closing the frame while Make converts a clip.
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <atomic>
#include <thread>

#include "comm/led_set_data.h"
#include "comm/ui/operation_windows.h"
#include "editor/program_data.h"
#include "editor/ui/media_export_factory.h"
#include "editor/ui/preview_window.h"
#include "editor/ui/program_frame.h"
#include "editor/ui/program_layout_view.h"
#include "shell/ui/getting_started_guide.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/tests/ui_test_support.h"
#include "signsim/sign_simulator.h"

namespace brightline::ui {
namespace {

class PlayTest : public testing::DesktopTest {
  protected:
    PlayTest() {
        SignList list;
        CLED_Set_Data sign;
        sign.name = "Sample LED";
        sign.width = 64;
        sign.height = 32;
        list.signs = {sign};
        EXPECT_TRUE(saveSignList(path("LED_SET.ZRC"), list));
    }
    // A program of the sign's size whose area 0 shows a red picture, format 0.
    std::string redProgram() {
        QImage red(64, 32, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        EXPECT_TRUE(red.save(QString::fromStdString(path("red.png"))));
        ProgramData program;
        program.ledWidth = 64;
        program.ledHeight = 32;
        program.resetToDefaultElements();
        program.areaLists[0][0].path = path("red.png");
        program.areaLists[0][0].thumbIndex = 0;
        EXPECT_TRUE(saveProgram(path("red.ZPF"), program));
        return path("red.ZPF");
    }
    std::unique_ptr<CProgramFrame> openFrame(const std::string& file) {
        auto frame = std::make_unique<CProgramFrame>(QString::fromStdString(file), false, false, 0,
                                                     messages_);
        frame->resize(900, 700);
        frame->show();
        return frame;
    }
};

TEST_F(PlayTest, PlayMakesThenPreviewsAndStopEndsIt) {
    auto frame = openFrame(redProgram());
    CProgram_Layout_view* view = frame->layoutView();
    QTest::mouseClick(view->playButton(), Qt::LeftButton);
    EXPECT_FALSE(view->widthEdit()->isEnabled());
    ASSERT_TRUE(
        waitFor([&] { return view->preview() && view->preview()->framesShown() >= 3; }, 20000))
        << lastMessage();
    EXPECT_EQ(view->lastMakeResult(), 1);
    EXPECT_TRUE(view->previewed());
    EXPECT_FALSE(programData().needsMake);
    EXPECT_EQ(view->statusText(), "Playing ...");
    PreviewWindow* preview = view->preview();
    EXPECT_EQ(preview->windowTitle(), "preview");
    EXPECT_EQ(preview->geometry(), view->faceRect());
    const QImage shown = preview->lastFrame();
    ASSERT_EQ(shown.size(), QSize(64, 32));
    EXPECT_EQ(QColor(shown.pixel(10, 10)).red(), 255);
    EXPECT_EQ(QColor(shown.pixel(10, 10)).green(), 0);
    // Make wrote the show where the engine played it.
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(workspaceFolder() + "/run.at")));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(workspaceFolder() + "/70000001.PNG")));

    QTest::mouseClick(view->stopButton(), Qt::LeftButton);
    EXPECT_EQ(view->preview(), nullptr);
    EXPECT_TRUE(view->widthEdit()->isEnabled());
    EXPECT_EQ(view->statusText(), "");
    EXPECT_TRUE(view->previewed());
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
}

TEST_F(PlayTest, SendBeforePlayOrAfterASaveIsRefused) {
    auto frame = openFrame(redProgram());
    CProgram_Layout_view* view = frame->layoutView();
    int requested = 0;
    QObject::connect(view, &CProgram_Layout_view::sendShowRequested, [&](int) { ++requested; });
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    ASSERT_EQ(messages_.messages().size(), 1u);
    const OperatorMessage refusal = messages_.messages()[0];
    EXPECT_EQ(refusal.text,
              "The program script doesn't send to LED sign before it has finished making.");
    EXPECT_EQ(refusal.caption, "INFO");
    EXPECT_EQ(refusal.icon, MessageIcon::Error);

    QTest::mouseClick(view->playButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return view->previewed(); }, 20000));
    // Saving again means the show on disk is stale.
    ASSERT_TRUE(frame->save());
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    EXPECT_EQ(messages_.messages().size(), 2u);
    EXPECT_EQ(requested, 0);
    // A new Play makes it sendable; Send stops the preview first.
    QTest::mouseClick(view->stopButton(), Qt::LeftButton);
    QTest::mouseClick(view->playButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return view->previewed(); }, 20000));
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    EXPECT_EQ(requested, 1);
    EXPECT_EQ(view->preview(), nullptr);
}

TEST_F(PlayTest, SendAfterPlayReachesTheVirtualSign) {
    signsim::SimulatorOptions options;
    options.storage = path("sign");
    options.serial = false;
    signsim::SignSimulator sign(options);
    std::string error;
    ASSERT_TRUE(sign.start(&error)) << error;
    const std::string endpoint =
        "127.0.0.1:" + std::to_string(sign.commandPort()) + ":" + std::to_string(sign.ftpPort());
    ::setenv("BRIGHTLINE_VIRTUAL_SIGN", endpoint.c_str(), 1);
    const std::string program = redProgram();
    {
        CMainFrame main;
        main.resize(1000, 760);
        main.show();
        OperationEnvironment env = main.operations().environment();
        env.uploadPauseMs = 0;
        main.operations().setEnvironment(env);
        main.openFile(program);
        ASSERT_TRUE(main.programFrame());
        CProgram_Layout_view* view = main.programFrame()->layoutView();
        QTest::mouseClick(view->playButton(), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return view->previewed(); }, 20000)) << lastMessage();
        bool finished = false;
        QObject::connect(&main, &CMainFrame::operationFinished, [&] { finished = true; });
        QTest::mouseClick(view->sendButton(), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return finished; }, 60000)) << lastMessage();
        EXPECT_TRUE(main.operations().confirmed());
        EXPECT_EQ(main.operationWindows().lastPosition(), 1);
        // The window showed each remote name in the sign's folder.
        EXPECT_TRUE(main.operationWindows().lastFileName().startsWith(
            QString::fromStdString(sign.sign().currentFolder()) + "\\"))
            << main.operationWindows().lastFileName().toStdString();
        EXPECT_TRUE(waitFor([&] { return main.operationWindows().progress() == nullptr; }));
        EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
    }
    ::unsetenv("BRIGHTLINE_VIRTUAL_SIGN");
    const auto log = sign.sign().log();
    EXPECT_NE(std::find(log.begin(), log.end(), "QVX0001DEL"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "QVX0001RESUME"), log.end());
    const std::string folder = sign.sign().currentFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(
        QFileInfo::exists(QString::fromStdString(path("sign/" + folder + "/70000001.PNG"))));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path("sign/" + folder + "/run.at"))));
    sign.stop();
}

TEST_F(PlayTest, GuideStep3MakesAndSendsTheOpenProgramWithoutAPreview) {
    signsim::SimulatorOptions options;
    options.storage = path("sign");
    options.serial = false;
    signsim::SignSimulator sign(options);
    std::string error;
    ASSERT_TRUE(sign.start(&error)) << error;
    ::setenv(
        "BRIGHTLINE_VIRTUAL_SIGN",
        ("127.0.0.1:" + std::to_string(sign.commandPort()) + ":" + std::to_string(sign.ftpPort()))
            .c_str(),
        1);
    appProfile().writeInt("SET", "SHOW_STEP", 0);
    const std::string program = redProgram();
    {
        CMainFrame main;
        main.show();
        OperationEnvironment env = main.operations().environment();
        env.uploadPauseMs = 0;
        main.operations().setEnvironment(env);
        ASSERT_TRUE(main.guide());
        main.openFile(program);
        bool finished = false;
        QObject::connect(&main, &CMainFrame::operationFinished, [&] { finished = true; });
        auto buttons = main.guide()->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 3);
        QTest::mouseClick(buttons[2], Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return finished; }, 60000)) << lastMessage();
        EXPECT_TRUE(main.operations().confirmed());
        EXPECT_EQ(main.programFrame()->layoutView()->preview(), nullptr);
    }
    ::unsetenv("BRIGHTLINE_VIRTUAL_SIGN");
    const std::string folder = sign.sign().currentFolder();
    ASSERT_FALSE(folder.empty());
    // Program 0 of the show: the same names as a Play makes.
    EXPECT_TRUE(
        QFileInfo::exists(QString::fromStdString(path("sign/" + folder + "/70000001.PNG"))));
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
    sign.stop();
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

TEST_F(PlayTest, ClosingTheFrameWhileMakeConvertsAClipCancelsIt) {
    std::atomic<bool> entered{false}, cancelSeen{false};
    setMediaExportFactory(
        [&](bool) { return std::make_unique<EndlessClips>(entered, cancelSeen); });
    QFile clip(QString::fromStdString(path("clip.AVI")));
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
    EXPECT_TRUE(frame->layoutView()->makeRunning());
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

}  // namespace
}  // namespace brightline::ui
