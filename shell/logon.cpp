#include "shell/logon.h"

#include <mutex>

#include "common/file_io.h"
#include "common/folders.h"
#include "common/paths.h"
#include "common/profile.h"

namespace brightline {

namespace {

OperatorMessage warning(const char* text) {
    return OperatorMessage{text, kCaptionWarning, MessageIcon::Warning, MessageButtons::Ok};
}

std::mutex userMutex;
CurrentUser theUser;

}  // namespace

LogonFlags readLogonFlags(Profile& profile) {
    LogonFlags flags;
    flags.firstRunning = profile.getInt(kProfileSectionApp, kKeyFirstRunning, 0);
    flags.enableLogon = profile.getInt(kProfileSectionApp, kKeyEnableLogon, 1);
    if (flags.firstRunning == 0) {
        flags.firstRunning = 1;
        writeLogonFlags(profile, flags);
    }
    return flags;
}

void writeLogonFlags(Profile& profile, const LogonFlags& flags) {
    profile.writeInt(kProfileSectionApp, kKeyFirstRunning, flags.firstRunning);
    profile.writeInt(kProfileSectionApp, kKeyEnableLogon, flags.enableLogon);
}

LogonCheck checkLogon(const std::vector<CUserInfo>& users, const std::string& name,
                      const std::string& password) {
    LogonCheck check;
    if (name.empty()) {
        check.outcome = LogonOutcome::BlankName;
        check.message = warning(kMsgUserBlank);
        return check;
    }
    if (password.empty()) {
        check.outcome = LogonOutcome::BlankPassword;
        check.message = warning(kMsgPasswordBlank);
        return check;
    }
    const std::string hash = hashPassword(password);
    bool matched = false;
    for (const CUserInfo& user : users) {
        if (user.userName != name) continue;
        if (user.passwordHash != hash) {
            check.outcome = LogonOutcome::PasswordError;
            check.message = warning(kMsgPasswordError);
            check.clearPassword = true;
            return check;
        }
        matched = true;
    }
    if (!matched) {
        check.outcome = LogonOutcome::UnknownUser;
        check.message = warning(kMsgUserNotExisted);
        return check;
    }
    check.outcome = LogonOutcome::Accepted;
    return check;
}

StartupLogon prepareStartupLogon(Profile& profile, const std::string& userFilePath,
                                 std::vector<CUserInfo>& users, OperatorMessages& messages) {
    const LogonFlags flags = readLogonFlags(profile);
    if (flags.enableLogon == 0) return StartupLogon::Continue;
    std::string error;
    if (!fileExists(userFilePath) || !loadUsers(userFilePath, users, &error)) {
        OperatorMessage message = warning(kMsgNoUserFileExit);
        message.text = userFileProblemText(userFilePath, error, installedUserFile());
        messages.show(message);
        return StartupLogon::Exit;
    }
    return StartupLogon::AskUser;
}

void acceptLogon(Profile& profile, const std::string& name, const std::string& password,
                 bool autoLogon) {
    setCurrentUser(CurrentUser{name, password});
    profile.writeString(kProfileSectionApp, kKeyUserName, name);
    LogonFlags flags;
    flags.firstRunning = profile.getInt(kProfileSectionApp, kKeyFirstRunning, 1);
    flags.enableLogon = autoLogon ? 0 : 1;
    writeLogonFlags(profile, flags);
}

CurrentUser currentUser() {
    std::lock_guard<std::mutex> lock(userMutex);
    return theUser;
}

void setCurrentUser(const CurrentUser& user) {
    std::lock_guard<std::mutex> lock(userMutex);
    theUser = user;
}

std::string userFilePath() {
    if (installedUserFile().empty()) return joinPath(programFolder(), kUserFile);
    return joinPath(userDataFolder(), kUserFile);
}

std::string installedUserFile() {
    const std::string data = installedDataFolder(programFolder());
    return data.empty() ? std::string() : joinPath(data, kUserFile);
}

std::string userFileProblemText(const std::string& path, const std::string& error,
                                const std::string& installedCopy) {
    std::string text = kMsgNoUserFileExit;
    if (error.empty())
        text += "\n\nLooked for it at " + path + ".";
    else
        text += "\n\n" + path + " cannot be read: " + error + ". Move it aside first.";
    if (!installedCopy.empty()) {
        text += "\nThe first start copies it there from " + installedCopy +
                "; when that file is missing too, reinstall the package: "
                "sudo apt install --reinstall brightline";
    } else {
        text +=
            "\nBuilding the program writes it (cmake --build <build folder> --target "
            "brightline), or write one with the user \"admin\": brightline-cli build "
            "resources/UserInfo.dat.json \"" +
            path + "\"";
    }
    return text;
}

}  // namespace brightline
