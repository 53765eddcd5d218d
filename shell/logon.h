#pragma once
// Logging on: the profile flags read at start-up, the checks of the "Log In" dialog with their
// exact messages, and the operator who logged on. No window here; the dialogs call these.
#include <string>
#include <vector>

#include "common/operator_messages.h"
#include "shell/user_info.h"

namespace brightline {

class Profile;

inline constexpr const char* kCaptionWarning = "Warning!";
inline constexpr const char* kMsgNoUserFileExit =
    "Can't find \"UserInfo.dat\" file, the programm will exit!";
inline constexpr const char* kMsgUserBlank = "Sorry! User can't be blank!\nPlease input it";
inline constexpr const char* kMsgPasswordBlank = "Sorry! Password can't be blank!\nPlease input it";
inline constexpr const char* kMsgPasswordError = "Password error!";
inline constexpr const char* kMsgUserNotExisted = "User is not existed!";
inline constexpr const char* kAutoLogonText = "Auto log in system without user next time.";
inline constexpr const char* kDefaultUserName = "admin";

// Profile keys of section "Brightline_II".
inline constexpr const char* kKeyFirstRunning = "First_Running_Flag";
inline constexpr const char* kKeyEnableLogon = "Enable_User_Logon_Flag";
inline constexpr const char* kKeyUserName = "User_Name";

struct LogonFlags {
    long firstRunning = 0;  // 0 until the program has run once
    long enableLogon = 1;   // 1: ask for a logon at start
};

// Reads both flags; on the first run (First_Running_Flag 0) writes it as 1 and the logon flag back
// unchanged.
LogonFlags readLogonFlags(Profile& profile);
void writeLogonFlags(Profile& profile, const LogonFlags& flags);

enum class LogonOutcome { Accepted, BlankName, BlankPassword, PasswordError, UnknownUser };

struct LogonCheck {
    LogonOutcome outcome = LogonOutcome::UnknownUser;
    OperatorMessage message;     // empty text when accepted
    bool clearPassword = false;  // "Password error!" empties the password field
    bool accepted() const { return outcome == LogonOutcome::Accepted; }
};

// The "Log In" button's checks, in order: blank name, blank password (never hashed), then every
// record with that name in list order must carry the hash of the password (the first mismatch
// is "Password error!"); no record with the name is "User is not existed!".
LogonCheck checkLogon(const std::vector<CUserInfo>& users, const std::string& name,
                      const std::string& password);

// What the start-up does before the main window.
enum class StartupLogon {
    Continue,  // logon off: no dialog
    Exit,      // the user file is missing (the message was shown)
    AskUser,   // show "Log In"
};

// Reads the flags (first-run write included); with logon on, a user file that is missing or
// cannot be read shows userFileProblemText (caption "Warning!", warning icon) and gives Exit;
// else loads the users into `users` and gives AskUser.
StartupLogon prepareStartupLogon(Profile& profile, const std::string& userFilePath,
                                 std::vector<CUserInfo>& users, OperatorMessages& messages);

// After a successful "Log In": remembers the operator, writes "User_Name", and the logon flag as
// the opposite of the auto-logon box.
void acceptLogon(Profile& profile, const std::string& name, const std::string& password,
                 bool autoLogon);

// The operator of this process (empty when logon is off). Set once, by the start-up logon.
struct CurrentUser {
    std::string name;
    std::string password;
};
CurrentUser currentUser();
void setCurrentUser(const CurrentUser& user);

// The user file: "UserInfo.dat" in the user data folder for an installed program (its first start
// copies it there from installedUserFile()), else beside the executable.
std::string userFilePath();
// "UserInfo.dat" in the installed data folder; empty when the program runs from a build tree.
std::string installedUserFile();

// kMsgNoUserFileExit followed by where the file was looked for (`path`), why it could not be
// read (`error`, empty when it is missing) and how to get it back: from the package
// (`installedCopy`, the copy a first start takes) or, in a build tree, by writing it anew.
std::string userFileProblemText(const std::string& path, const std::string& error,
                                const std::string& installedCopy);

}  // namespace brightline
