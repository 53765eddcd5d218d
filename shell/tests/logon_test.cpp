#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/profile.h"
#include "common/testing/scratch_folder.h"
#include "shell/file_dispatch.h"
#include "shell/logon.h"
#include "shell/user_admin.h"

namespace brightline {
namespace {

namespace fs = std::filesystem;

class TempFolder {
  public:
    std::string operator/(const std::string& name) const { return folder_.file(name); }
    const std::string& path() const { return folder_.path(); }

  private:
    testkit::ScratchFolder folder_{"bl_logon"};
};

TEST(Logon, ChecksInOrderWithTheirMessages) {
    // "pw38" hashes to a 33-character text (its digest holds the byte 0x10).
    const std::vector<CUserInfo> users = {
        {"admin", hashPassword("admin")}, {"op", hashPassword("pw38")},
        {"twice", hashPassword("a")},     {"twice", hashPassword("b")},
        {"same", hashPassword("x")},      {"same", hashPassword("x")}};
    struct Case {
        const char* name;
        const char* password;
        LogonOutcome outcome;
        const char* text;
        bool clearPassword;
    } cases[] = {
        {"", "admin", LogonOutcome::BlankName, "Sorry! User can't be blank!\nPlease input it",
         false},
        {"admin", "", LogonOutcome::BlankPassword,
         "Sorry! Password can't be blank!\nPlease input it", false},
        {"admin", "nope", LogonOutcome::PasswordError, "Password error!", true},
        {"Admin", "admin", LogonOutcome::UnknownUser, "User is not existed!", false},
        {"admin", "admin", LogonOutcome::Accepted, "", false},
        {"op", "pw38", LogonOutcome::Accepted, "", false},
        // Two records with one name: every one must match, the first mismatch ends the attempt.
        {"twice", "a", LogonOutcome::PasswordError, "Password error!", true},
        {"twice", "b", LogonOutcome::PasswordError, "Password error!", true},
        {"same", "x", LogonOutcome::Accepted, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "/" + c.password);
        LogonCheck check = checkLogon(users, c.name, c.password);
        EXPECT_EQ(check.outcome, c.outcome);
        EXPECT_EQ(check.message.text, c.text);
        EXPECT_EQ(check.clearPassword, c.clearPassword);
        if (!check.accepted()) {
            EXPECT_EQ(check.message.caption, "Warning!");
            EXPECT_EQ(check.message.icon, MessageIcon::Warning);
        }
    }
    EXPECT_EQ(hashPassword("pw38").size(), 33u);
}

TEST(Logon, FirstStartWritesTheFlagsAndNeedsTheUserFile) {
    TempFolder dir;
    Profile profile(dir / "profile.ini");
    RecordingMessages messages;
    std::vector<CUserInfo> users;
    EXPECT_EQ(prepareStartupLogon(profile, dir / "UserInfo.dat", users, messages),
              StartupLogon::Exit);
    ASSERT_EQ(messages.messages().size(), 1u);
    // The message says where the file was looked for and how to write it again.
    const std::string text = messages.messages()[0].text;
    EXPECT_EQ(text.rfind("Can't find \"UserInfo.dat\" file, the programm will exit!\n\n", 0), 0u)
        << text;
    EXPECT_NE(text.find("Looked for it at " + (dir / "UserInfo.dat") + "."), std::string::npos);
    EXPECT_NE(text.find("brightline-cli build resources/UserInfo.dat.json"), std::string::npos);
    EXPECT_EQ(messages.messages()[0].caption, "Warning!");
    EXPECT_EQ(profile.getInt("Brightline_II", "First_Running_Flag", 0), 1);
    EXPECT_EQ(profile.getInt("Brightline_II", "Enable_User_Logon_Flag", -1), 1);

    ASSERT_TRUE(saveUsers(dir / "UserInfo.dat", {{"admin", hashPassword("admin")}}));
    messages.clear();
    EXPECT_EQ(prepareStartupLogon(profile, dir / "UserInfo.dat", users, messages),
              StartupLogon::AskUser);
    EXPECT_TRUE(messages.messages().empty());
    ASSERT_EQ(users.size(), 1u);

    // Ticking the auto-logon box turns the logon off for the next start, even without the file.
    acceptLogon(profile, "admin", "admin", true);
    EXPECT_EQ(currentUser().name, "admin");
    EXPECT_EQ(profile.getString("Brightline_II", "User_Name", ""), "admin");
    fs::remove(dir / "UserInfo.dat");
    EXPECT_EQ(prepareStartupLogon(profile, dir / "UserInfo.dat", users, messages),
              StartupLogon::Continue);
    EXPECT_TRUE(messages.messages().empty());
}

TEST(Logon, AnUnreadableUserFileEndsTheStartWithWhereAndWhy) {
    TempFolder dir;
    Profile profile(dir / "profile.ini");
    RecordingMessages messages;
    std::vector<CUserInfo> users;
    std::ofstream(dir / "UserInfo.dat") << "not a user list";
    EXPECT_EQ(prepareStartupLogon(profile, dir / "UserInfo.dat", users, messages),
              StartupLogon::Exit);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(messages.messages()[0].text.find(dir / "UserInfo.dat" + " cannot be read: "),
              std::string::npos)
        << messages.messages()[0].text;
    EXPECT_TRUE(users.empty());

    // An installed program names the package's copy and how to get it back.
    const std::string installed = userFileProblemText(
        "/home/u/.local/share/brightline/UserInfo.dat", "", "/usr/share/brightline/UserInfo.dat");
    EXPECT_NE(installed.find("Looked for it at /home/u/.local/share/brightline/UserInfo.dat."),
              std::string::npos);
    EXPECT_NE(installed.find("/usr/share/brightline/UserInfo.dat"), std::string::npos);
    EXPECT_NE(installed.find("apt install --reinstall brightline"), std::string::npos);
}

class UserAdminTest : public ::testing::Test {
  protected:
    UserAdminTest()
        : profile_(dir_ / "profile.ini"), admin_(dir_ / "UserInfo.dat", profile_, messages_) {}
    std::vector<CUserInfo> onDisk() {
        std::vector<CUserInfo> users;
        loadUsers(dir_ / "UserInfo.dat", users);
        return users;
    }
    std::string lastText() {
        auto all = messages_.messages();
        return all.empty() ? std::string("<none>") : all.back().text;
    }
    TempFolder dir_;
    Profile profile_;
    RecordingMessages messages_;
    UserAdmin admin_;
};

TEST_F(UserAdminTest, MissingFileOpensAnEmptyList) {
    EXPECT_FALSE(admin_.open());
    EXPECT_EQ(lastText(), "Can't find \"UserInfo.dat\" file!");
    EXPECT_TRUE(admin_.users().empty());
}

TEST_F(UserAdminTest, NewUserChecksThenAppendsAndSaves) {
    ASSERT_TRUE(saveUsers(dir_ / "UserInfo.dat", {{"admin", hashPassword("admin")}}));
    ASSERT_TRUE(admin_.open());
    struct Case {
        const char* name;
        const char* password;
        const char* confirm;
        const char* text;
        const char* caption;
        bool clearName;
    } refused[] = {
        {"", "p", "p", "User name can't be blank!\n\nPlease input again!", "Prompt", false},
        {"admin", "p", "p", "User name has existed!\n\nPlease input again!", "Prompt", true},
        {"bob", "", "", "Sorry! Password can't be blank!\nPlease input it", "Warning!", false},
        {"bob", "p", "q", "Confirm password is different with password!\n\nPlease input again!",
         "Warning!", false},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.text);
        UserDialogResult r = admin_.addUser(c.name, c.password, c.confirm);
        EXPECT_FALSE(r.accepted);
        EXPECT_EQ(r.clearName, c.clearName);
        EXPECT_EQ(lastText(), c.text);
        EXPECT_EQ(messages_.messages().back().caption, c.caption);
    }
    EXPECT_EQ(onDisk().size(), 1u);
    EXPECT_TRUE(admin_.addUser("bob", "p", "p").accepted);
    ASSERT_EQ(onDisk().size(), 2u);
    EXPECT_EQ(onDisk()[1], (CUserInfo{"bob", hashPassword("p")}));
    EXPECT_EQ(admin_.users().back().userName, "bob");
}

TEST_F(UserAdminTest, ModifyPasswordNeedsTheOldOne) {
    ASSERT_TRUE(saveUsers(dir_ / "UserInfo.dat", {{"admin", hashPassword("admin")}}));
    ASSERT_TRUE(admin_.open());
    EXPECT_FALSE(admin_.canEdit(-1));
    EXPECT_EQ(lastText(), "Please select a user to edit!");
    EXPECT_FALSE(admin_.changePassword("", "admin", "n", "n").accepted);
    EXPECT_EQ(lastText(), "User name is empty!");
    EXPECT_FALSE(admin_.changePassword("admin", "admin", "", "").accepted);
    EXPECT_EQ(lastText(), "Sorry! Password can't be blank!\nPlease input it");
    EXPECT_FALSE(admin_.changePassword("admin", "admin", "n", "m").accepted);
    EXPECT_EQ(lastText(), "Confirm password is different with password!\n\nPlease input again!");
    EXPECT_FALSE(admin_.changePassword("admin", "wrong", "n", "n").accepted);
    EXPECT_EQ(lastText(), "Old password is error!\n\nPlease input again!");
    EXPECT_EQ(onDisk()[0].passwordHash, hashPassword("admin"));
    EXPECT_TRUE(admin_.changePassword("admin", "admin", "n", "n").accepted);
    EXPECT_EQ(onDisk()[0].passwordHash, hashPassword("n"));
}

TEST_F(UserAdminTest, RemoveAsksAndRefusesTheLoggedOnUser) {
    ASSERT_TRUE(saveUsers(dir_ / "UserInfo.dat",
                          {{"admin", hashPassword("admin")}, {"a", "X"}, {"b", "Y"}}));
    ASSERT_TRUE(admin_.open());
    EXPECT_EQ(admin_.removeUser(-1, "admin"), -1);
    EXPECT_EQ(lastText(), "Please select a user to remove!");
    EXPECT_EQ(admin_.removeUser(0, "admin"), 0);
    EXPECT_EQ(lastText(), "This user has logon!\nCan't remove it!");
    messages_.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(admin_.removeUser(2, "admin"), 2);
    EXPECT_EQ(onDisk().size(), 3u);
    EXPECT_EQ(messages_.messages().back().caption, "Prompt!");
    EXPECT_EQ(messages_.messages().back().buttons, MessageButtons::YesNo);
    messages_.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(admin_.removeUser(2, "admin"), 1);
    ASSERT_EQ(onDisk().size(), 2u);
    EXPECT_EQ(onDisk()[1].userName, "a");
}

TEST_F(UserAdminTest, CloseWithLogonOnNeedsAUser) {
    ASSERT_TRUE(saveUsers(dir_ / "UserInfo.dat", {{"a", "X"}}));
    ASSERT_TRUE(admin_.open());
    messages_.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(admin_.removeUser(0, "admin"), -1);
    EXPECT_FALSE(admin_.close(true));
    EXPECT_EQ(messages_.messages().back().caption, "Prompt!");
    EXPECT_NE(lastText().find("it must create a user at first!"), std::string::npos);
    EXPECT_TRUE(admin_.close(false));
    EXPECT_EQ(profile_.getInt("Brightline_II", "Enable_User_Logon_Flag", -1), 0);
}

TEST(FileDispatch, KindsFromTheNewDialogAndTheOpenDialog) {
    EXPECT_EQ(newDialogKind(0, 0), FileKind::Program);
    EXPECT_EQ(newDialogKind(0, 1), FileKind::Schedule);
    EXPECT_EQ(newDialogKind(1, 0), FileKind::ClockPage);
    EXPECT_EQ(newDialogKind(1, 1), FileKind::TextPage);
    EXPECT_EQ(newDialogKind(0, -1), FileKind::None);

    ChosenFile picture = chosenFileOf("/home/op/pics/a.b.Bmp");
    EXPECT_EQ(picture.folder, "/home/op/pics/");
    EXPECT_EQ(picture.title, "a.b");
    EXPECT_EQ(picture.kind, FileKind::Bmp);
    EXPECT_EQ(chosenFileOf("C:\\signs\\x.ztx").kind, FileKind::Ztx);
    EXPECT_EQ(chosenFileOf("/tmp/notes.txt").kind, FileKind::None);
    EXPECT_EQ(chosenFileOf("/tmp/show.zpf").pathWith("ZPF"), "/tmp/show.ZPF");
}

TEST(FileDispatch, NewDialogChecksAndLocation) {
    auto none = checkNewDialog(-1, "clock");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->text, "Please choose one kind of document type!");
    EXPECT_EQ(none->icon, MessageIcon::Question);
    EXPECT_EQ(none->caption, "");
    auto noName = checkNewDialog(0, "");
    ASSERT_TRUE(noName);
    EXPECT_EQ(noName->text, "Please input the document name!");
    EXPECT_FALSE(checkNewDialog(1, "clock"));

    EXPECT_EQ(withTrailingSeparator("/signs"), "/signs/");
    EXPECT_EQ(withTrailingSeparator("D:\\signs\\"), "D:\\signs\\");
    TempFolder dir;
    Profile profile(dir / "p.ini");
    EXPECT_EQ(newFileLocation(profile, "/start"), "/start/");
    profile.writeString("SET", "NEW_FILE_PATH", "/elsewhere");
    EXPECT_EQ(newFileLocation(profile, "/start"), "/elsewhere/");
}

TEST(FileDispatch, OutsidePrograms) {
    TempFolder dir;
    Profile profile(dir / "p.ini");
    EXPECT_EQ(pictureEditorFor("/p/a.Bmp", profile).argv,
              (std::vector<std::string>{"xdg-open", "/p/a.Bmp"}));
    profile.writeString("SET", "PICTURE_EDITOR", "gimp");
    EXPECT_EQ(pictureEditorFor("/p/a.Bmp", profile).argv[0], "gimp");
    // The text page editor beside the program wins, then the build tree's sibling folder, then
    // the PATH; the path is one argument, spaces and all.
    for (const char* folder : {"bin", "apps/brightline", "apps/pagewright", "path1", "path2"})
        fs::create_directories(dir / folder);
    const std::string path = dir / "path1" + ":" + dir / "path2";
    auto program = textPageEditorFor("/p/my page.ZRT", dir / "bin", path);
    EXPECT_TRUE(program.argv.empty());
    EXPECT_EQ(program.missing, "The text page editor \"pagewright\" is neither in " + dir / "bin" +
                                   " nor on the PATH.");
    for (const char* place : {"path2", "path1", "apps/pagewright", "bin"}) {
        fs::copy_file("/bin/true", dir / place + "/pagewright");
        const std::string folder =
            std::string(place).rfind("apps/", 0) == 0 ? dir / "apps/brightline" : dir / "bin";
        program = textPageEditorFor("/p/my page.ZRT", folder, path);
        const std::string expected = std::string(place) == "apps/pagewright"
                                         ? dir / "apps/brightline/../pagewright/pagewright"
                                         : dir / place + "/pagewright";
        EXPECT_EQ(program.argv, (std::vector<std::string>{expected, "/p/my page.ZRT"})) << place;
    }
    // A file that cannot be run is passed over; an empty PATH entry (the current folder) too.
    fs::create_directories(dir / "plain");
    std::ofstream(dir / "plain/pagewright") << "not a program";
    EXPECT_TRUE(textPageEditorFor("/p/a.ZRT", dir / "none", dir / "plain" + "::").argv.empty());
}

TEST(FileDispatch, HelpOpensTheManualUnlessTheStartFolderHasAHelpProgram) {
    TempFolder dir;
    fs::create_directories(dir / "start");
    fs::create_directories(dir / "manual");
    OutsideProgram help = helpProgram(dir / "start", dir / "manual");
    EXPECT_TRUE(help.argv.empty());
    EXPECT_EQ(help.missing, "The manual is not there: " + dir / "manual/index.html" +
                                " is missing.\nIt is installed with the package \"brightline\" (a "
                                "build from the source writes it with the target "
                                "brightline_manual).");
    std::ofstream(dir / "manual/index.html") << "<html></html>";
    help = helpProgram(dir / "start", dir / "manual");
    EXPECT_EQ(help.argv, (std::vector<std::string>{"xdg-open", dir / "manual/index.html"}));
    // Without xdg-open the operator is told where the manual is.
    EXPECT_NE(help.instead.find(dir / "manual/index.html"), std::string::npos);
    // A help program in the start folder comes first, but only one that can run.
    std::ofstream(dir / "start/brightline_Help") << "not a program";
    EXPECT_EQ(helpProgram(dir / "start", dir / "manual").argv[0], "xdg-open");
    fs::remove(dir / "start/brightline_Help");
    fs::copy_file("/bin/true", dir / "start/brightline_Help");
    EXPECT_EQ(helpProgram(dir / "start", dir / "manual").argv,
              (std::vector<std::string>{dir / "start/brightline_Help"}));
}

TEST(FileDispatch, DateAndTimeSettingsAreLookedForOnThePath) {
    TempFolder dir;
    fs::create_directories(dir / "bin");
    fs::create_directories(dir / "kde");
    // A file that is not executable does not count; the first known program found does.
    std::ofstream(dir / "bin/gnome-control-center") << "not a program";
    fs::copy_file("/bin/true", dir / "kde/kcmshell5");
    fs::copy_file("/bin/true", dir / "kde/time-admin");
    const std::string path = dir / "nothing" + ":" + dir / "bin" + "::" + dir / "kde";
    EXPECT_EQ(dateTimeSettingsProgram(path).argv,
              (std::vector<std::string>{dir / "kde/kcmshell5", "clock"}));
    EXPECT_TRUE(dateTimeSettingsProgram(dir / "bin").argv.empty());
    EXPECT_NE(noDateTimeSettingsMessage().find("gnome-control-center, cinnamon-settings"),
              std::string::npos);
}

}  // namespace
}  // namespace brightline
