// The main window: New and Open with their dispatch, the program frame it hosts, shut-down.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QToolBar>

#include <fstream>
#include <thread>

#include "comm/led_set_data.h"
#include "common/file_io.h"
#include "editor/program_data.h"
#include "editor/ui/program_frame.h"
#include "editor/ui/program_layout_view.h"
#include "editor/ui/tests/frame_fixture.h"
#include "shell/ui/edit_user_dialog.h"
#include "shell/ui/led_colour_dialog.h"
#include "shell/ui/logon_dialog.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/new_dialog.h"

namespace brightline::ui {
namespace {

class MainFrameTest : public testing::ProgramFilesTest {
  protected:
    SignList readSignList() {
        SignList list;
        loadSignList(path("LED_SET.ZRC"), list);
        return list;
    }
};

TEST_F(MainFrameTest, MenusToolbarAndCaptionAsDesigned) {
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), "Brightline");
    QStringList menus;
    for (QAction* a : frame.menuBar()->actions()) menus << a->text().remove('&');
    EXPECT_EQ(menus, (QStringList{"File", "Edit", "Send", "Set", "View", "Help"}));
    auto* toolbar = frame.findChild<QToolBar*>("mainToolbar");
    ASSERT_TRUE(toolbar);
    QStringList captions;
    for (QAction* a : toolbar->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{"New", "Open", "Save", "Saveas", "About", "Help"}));
    EXPECT_EQ(frame.action(CMainFrame::Command::New)->shortcut(), QKeySequence("Ctrl+N"));
    // The workspace and the scratch folder exist once the window does.
    EXPECT_TRUE(QDir(QString::fromStdString(workspaceFolder())).exists());
    EXPECT_TRUE(QDir(QString::fromStdString(path("tmp"))).exists());
    // Both built-in bitmap fonts: the GB2312 font first, then the named fonts.
    EXPECT_GT(frame.fonts().count(), 1);
    EXPECT_EQ(frame.fonts().width(0), 16);
}

TEST_F(MainFrameTest, NewProgramOpensTheFrameWithTheSignsSize) {
    writeSignList(192, 64);
    CMainFrame frame;
    frame.resize(1200, 800);
    frame.show();
    frame.action(CMainFrame::Command::New)->trigger();
    auto* dialog = frame.findChild<CNewDialog*>();
    ASSERT_TRUE(dialog);
    // Nothing chosen, then no name: the dialog stays.
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "Please choose one kind of document type!");
    dialog->list()->setCurrentRow(0);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "Please input the document name!");
    EXPECT_TRUE(dialog->isVisible());
    dialog->locationEdit()->setText(QString::fromStdString(dir_));
    QTest::keyClicks(dialog->nameEdit(), "show");
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    QApplication::processEvents();

    CProgramFrame* program = frame.programFrame();
    ASSERT_TRUE(program);
    EXPECT_EQ(program->programPath().toStdString(), path("show.ZPF"));
    EXPECT_EQ(program->windowTitle().toStdString(), path("show.ZPF"));
    EXPECT_EQ(programData().ledWidth, 192);
    EXPECT_EQ(programData().ledHeight, 64);
    for (const auto& list : programData().areaLists) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].thumbIndex, -1);
    }
    EXPECT_EQ(program->layoutView()->widthEdit()->text(), "192");
    EXPECT_EQ(program->layoutView()->faceRect().size(), QSize(192, 64));
    // The location is remembered with its separator.
    EXPECT_EQ(appProfile().getString("SET", "NEW_FILE_PATH", ""), dir_ + "/");

    // Closing the frame itself tells the main window.
    program->parentWidget()->close();
    EXPECT_TRUE(waitFor([&] { return frame.programFrame() == nullptr; }));
    EXPECT_TRUE(programData().areaLists[0].empty());
}

TEST_F(MainFrameTest, OpenDispatchesByKind) {
    CMainFrame frame;
    frame.show();
    // A text that is no program: the open error, and no frame.
    ASSERT_TRUE(writeFileAtomically(path("bad.ZPF"), std::vector<uint8_t>{'X', 'Y', 'Z', 0, 1, 2}));
    frame.openFile(path("bad.ZPF"));
    EXPECT_EQ(lastMessage(), path("bad.ZPF") + " file open error!");
    ASSERT_TRUE(frame.programFrame());
    frame.closeProgram();
    EXPECT_FALSE(frame.programFrame());
    messages_.clear();
    // ZTX and unknown extensions do nothing at all.
    frame.openFile(path("page.ztx"));
    frame.openFile(path("notes.txt"));
    EXPECT_TRUE(messages_.messages().empty());
    EXPECT_FALSE(frame.programFrame());

    // A saved program opens with its size and format; opening another replaces it.
    ProgramData program;
    program.ledWidth = 320;
    program.ledHeight = 96;
    program.areaFormat = 4;
    program.resetToDefaultElements();
    ASSERT_TRUE(saveProgram(path("wide.zpf"), program));
    ASSERT_TRUE(saveProgram(path("again.ZPF"), program));
    frame.openFile(path("wide.zpf"));
    ASSERT_TRUE(frame.programFrame());
    // The extension is matched in upper case and the path rebuilt with it, as designed.
    EXPECT_EQ(frame.programFrame()->programPath().toStdString(), path("wide.ZPF"));
    frame.openFile(path("again.ZPF"));
    ASSERT_TRUE(frame.programFrame());
    EXPECT_EQ(frame.programFrame()->programPath().toStdString(), path("again.ZPF"));
    EXPECT_EQ(programData().ledWidth, 320);
    EXPECT_EQ(frame.programFrame()->layoutView()->areaLayout().areaCount, 3);
}

TEST_F(MainFrameTest, TextPagesStartTheEditorAndSayWhyWhenItCannotStart) {
    // A stand-in editor on the PATH that notes the arguments it was started with.
    QDir().mkpath(qs(path("bin")));
    const std::string started = path("started.txt");
    {
        std::ofstream script(path("bin/pagewright"));
        script << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " << started << ".part && /bin/mv " << started
               << ".part " << started << "\n";
    }
    QFile::setPermissions(qs(path("bin/pagewright")), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    struct RestorePath {
        QByteArray value;
        ~RestorePath() { qputenv("PATH", value); }
    } restore{oldPath};
    qputenv("PATH", qs(path("bin")).toUtf8());
    auto startedWith = [&] {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(waitFor([&] { return fileExists(started); }, 10000))
            << "the text page editor was not started";
        readWholeFile(started, bytes);
        QFile::remove(qs(started));
        return std::string(bytes.begin(), bytes.end());
    };

    CMainFrame frame;
    frame.show();
    // New, "ZRT File": the editor on the new path, which is not quoted or split.
    frame.newFile(FileKind::TextPage, path("my pages"), "offer");
    EXPECT_EQ(startedWith(), path("my pages/offer.ZRT") + "\n");
    // Open of a text page, and a double click on one in a program or the guide's step 1 (the
    // frame asks to open the medium).
    // (the file's own name: Linux names keep their case)
    frame.openFile(path("sale.zrt"));
    EXPECT_EQ(startedWith(), path("sale.zrt") + "\n");
    frame.newFile(FileKind::Program, dir_, "show");
    ASSERT_TRUE(frame.programFrame());
    emit frame.programFrame()->openMediumRequested(qs(path("NEWTXT.ZRT")));
    EXPECT_EQ(startedWith(), path("NEWTXT.ZRT") + "\n");
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();

    // Nowhere to be found: the operator is told where it was looked for.
    qputenv("PATH", qs(path("nothing here")).toUtf8());
    frame.openFile(path("sale.ZRT"));
    EXPECT_EQ(lastMessage(), "The text page editor \"pagewright\" is neither in " +
                                 programFolder() + " nor on the PATH.");
    // There, but it cannot run: the reason.
    {
        std::ofstream script(path("bin/pagewright"));
        script << "#!/no/such/shell\n";
    }
    qputenv("PATH", qs(path("bin")).toUtf8());
    messages_.clear();
    frame.openFile(path("sale.ZRT"));
    ASSERT_TRUE(waitFor([&] { return !messages_.messages().empty(); }, 10000))
        << "no message for a program that cannot start";
    const std::string said =
        "The text page editor could not be started (" + path("bin/pagewright") + ").\n";
    EXPECT_EQ(lastMessage().rfind(said, 0), 0u) << lastMessage();
    EXPECT_GT(lastMessage().size(), said.size()) << "no cause given";

    // It starts but gives up at once (xdg-open without a browser does): the status and the last
    // line it wrote on its error output.
    {
        std::ofstream script(path("bin/pagewright"));
        script << "#!/bin/sh\necho 'starting' >&2\necho 'cannot open display :99' >&2\nexit 3\n";
    }
    messages_.clear();
    frame.openFile(path("sale.ZRT"));
    ASSERT_TRUE(waitFor([&] { return !messages_.messages().empty(); }, 10000))
        << "no message for a program that failed at once";
    EXPECT_EQ(lastMessage(),
              "The text page editor ended at once with status 3.\ncannot open display :99");
}

TEST_F(MainFrameTest, HelpLooksForTheManualInTheProgramsDataFolder) {
    // A test program has no manual beside it: the toolbar's Help says where it looked.
    CMainFrame frame;
    frame.show();
    QAction* help = nullptr;
    for (QAction* a : frame.findChild<QToolBar*>()->actions())
        if (a->text() == "Help") help = a;
    ASSERT_TRUE(help);
    help->trigger();
    EXPECT_EQ(
        lastMessage().rfind(
            "The manual is not there: " + programFolder() + "/manual/index.html is missing.\n", 0),
        0u)
        << lastMessage();
}

TEST_F(MainFrameTest, RefusedUpdateFilesStartNothingAndSayWhich) {
    CMainFrame frame;
    frame.show();
    // A firmware file whose header already carries a length is refused.
    std::vector<uint8_t> wos = {'Z', 'O', 'S', '_', 'Z', 'S', 'Y', 0, 3, 0,
                                0,   0,   6,   0,   0,   0,   1,   2, 3};
    ASSERT_TRUE(writeFileAtomically(path("new.WOS"), wos));
    EXPECT_FALSE(frame.updateFromFile(false, path("new.WOS")));
    EXPECT_EQ(lastMessage(), "File " + path("new.WOS") +
                                 " format unknown.\na firmware file carries no length or sum in "
                                 "its header");
    // A font file whose sum does not match its content is refused too.
    std::vector<uint8_t> wfn = {'Z', 'O', 'S', '_', 'Z', 'S', 'Y', 0, 3, 0,
                                0,   0,   7,   0,   0,   0,   1,   2, 3};
    ASSERT_TRUE(writeFileAtomically(path("new.WFN"), wfn));
    EXPECT_FALSE(frame.updateFromFile(true, path("new.WFN")));
    EXPECT_EQ(lastMessage(), "File " + path("new.WFN") +
                                 " format unknown.\nits content does not match the length and sum "
                                 "in its header");
    EXPECT_FALSE(fileExists(workspaceFolder() + "/ezfon.bin"));
}

TEST_F(MainFrameTest, ShutDownWritesTheSignRecordAndTheProfile) {
    writeSignList(128, 96);
    appProfile().writeString("SET", "LED_NAME", "Sample LED");
    appProfile().writeInt("SET", "ADDR", 7);
    {
        CMainFrame frame;
        frame.resize(1000, 700);
        frame.show();
        frame.newFile(FileKind::Program, dir_, "size");
        ASSERT_TRUE(frame.programFrame());
        CProgram_Layout_view* view = frame.programFrame()->layoutView();
        view->widthEdit()->selectAll();
        QTest::keyClicks(view->widthEdit(), "64");
        frame.close();
    }
    const SignList list = readSignList();
    ASSERT_EQ(list.signs.size(), 1u);
    EXPECT_EQ(list.signs[0].width, 64);
    EXPECT_EQ(list.signs[0].address, 7);
    EXPECT_EQ(appProfile().getInt("SET", "LED_W", 0), 64);
    EXPECT_EQ(appProfile().getInt("SET", "LED_H", 0), 96);
    EXPECT_EQ(appProfile().getInt("SET", "ADDR", 0), 7);
}

TEST_F(MainFrameTest, ShutDownWhileTheOperationWaitsForTheOperatorShowsNoBoxAndEnds) {
    // A sign that refuses connections: the operation's worker fails at once and asks the user
    // interface thread to show "communication error"; this thread dispatches nothing meanwhile.
    const int port = [] {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
        ::close(fd);
        return static_cast<int>(ntohs(a.sin_port));
    }();
    const std::string endpoint = "127.0.0.1:" + std::to_string(port) + ":" + std::to_string(port);
    ::setenv("BRIGHTLINE_VIRTUAL_SIGN", endpoint.c_str(), 1);
    {
        CMainFrame frame;
        ASSERT_TRUE(frame.startOperation(OperationCode::GetTime, 1));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        frame.close();  // must not wait for this thread to show the box
        EXPECT_EQ(frame.operations().runState(), RunState::Idle);
    }
    ::unsetenv("BRIGHTLINE_VIRTUAL_SIGN");
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
}

TEST_F(MainFrameTest, GuideShownUntilSwitchedOff) {
    appProfile().writeInt("SET", "SHOW_STEP", 0);
    {
        CMainFrame frame;
        frame.show();
        ASSERT_TRUE(frame.guide());
        EXPECT_EQ(frame.guide()->windowTitle(), "Getting started");
        EXPECT_TRUE(frame.guide()->isVisible());
        // Step 2 makes a fresh "NEW.ZPF" program in the start folder.
        ASSERT_TRUE(writeFileAtomically(path("NEW.ZPF"), std::vector<uint8_t>{'o', 'l', 'd'}));
        auto buttons = frame.guide()->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 3);
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        EXPECT_TRUE(waitFor([&] { return frame.programFrame() != nullptr; }));
        EXPECT_EQ(frame.programFrame()->programPath().toStdString(), path("NEW.ZPF"));
        EXPECT_TRUE(messages_.messages().empty());
        frame.guide()->dontShowBox()->setChecked(true);
    }
    EXPECT_EQ(appProfile().getInt("SET", "SHOW_STEP", 0), 1);
    CMainFrame again;
    EXPECT_FALSE(again.guide());
}

TEST_F(MainFrameTest, UserManagementAsksTheOperatorsPasswordFirst) {
    ASSERT_TRUE(saveUsers(
        QDir(QCoreApplication::applicationDirPath()).filePath("UserInfo.dat").toStdString(),
        {{"admin", hashPassword("admin")}}));
    appProfile().writeInt("Brightline_II", "First_Running_Flag", 1);
    appProfile().writeInt("Brightline_II", "Enable_User_Logon_Flag", 1);
    CMainFrame frame;
    frame.show();
    frame.action(CMainFrame::Command::CreateEditUser)->trigger();
    auto* logon = frame.findChild<CLogonDialog*>();
    ASSERT_TRUE(logon);
    EXPECT_EQ(logon->nameEdit()->text(), "admin");
    EXPECT_FALSE(logon->nameEdit()->isEnabled());
    EXPECT_FALSE(frame.findChild<CEditUserDialog*>());
    QTest::keyClicks(logon->passwordEdit(), "admin");
    QTest::mouseClick(logon->logInButton(), Qt::LeftButton);
    QApplication::processEvents();
    auto* users = frame.findChild<CEditUserDialog*>();
    ASSERT_TRUE(users);
    EXPECT_EQ(users->userList()->count(), 1);
    EXPECT_TRUE(messages_.messages().empty()) << lastMessage();
    QFile::remove(QDir(QCoreApplication::applicationDirPath()).filePath("UserInfo.dat"));
}

TEST_F(MainFrameTest, LedColourSetWritesTheColourMode) {
    CMainFrame frame;
    frame.action(CMainFrame::Command::LedColourSet)->trigger();
    auto* dialog = frame.findChild<CLedColourDialog*>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->value(), 0);
    auto radios = dialog->findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 2);
    EXPECT_EQ(radios[1]->text(), "Grayscale");
    radios[1]->setChecked(true);
    dialog->accept();
    EXPECT_EQ(appProfile().getInt("SET", "GRAY", 0), 1);
}

}  // namespace
}  // namespace brightline::ui
