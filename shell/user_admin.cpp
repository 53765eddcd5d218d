#include "shell/user_admin.h"

#include "common/file_io.h"
#include "common/profile.h"
#include "shell/logon.h"

namespace brightline {

namespace {

OperatorMessage warning(const char* text) {
    return OperatorMessage{text, kCaptionWarning, MessageIcon::Warning, MessageButtons::Ok};
}

OperatorMessage prompt(const char* text) {
    return OperatorMessage{text, kCaptionPrompt, MessageIcon::Information, MessageButtons::Ok};
}

}  // namespace

UserAdmin::UserAdmin(std::string userFile, Profile& profile, OperatorMessages& messages)
    : userFile_(std::move(userFile)), profile_(profile), messages_(messages) {}

bool UserAdmin::open() {
    users_.clear();
    if (!fileExists(userFile_)) {
        messages_.show(warning(kMsgNoUserFile));
        return false;
    }
    loadUsers(userFile_, users_);
    return true;
}

bool UserAdmin::logonEnabled() const {
    return profile_.getInt(kProfileSectionApp, kKeyEnableLogon, 1) != 0;
}

void UserAdmin::reload() {
    loadUsers(userFile_, users_);
}

void UserAdmin::save() {
    saveUsers(userFile_, users_);
}

UserDialogResult UserAdmin::addUser(const std::string& name, const std::string& password,
                                    const std::string& confirm) {
    UserDialogResult result;
    if (name.empty()) {
        messages_.show(prompt(kMsgNameBlank));
        return result;
    }
    reload();
    for (const CUserInfo& user : users_) {
        if (user.userName == name) {
            messages_.show(prompt(kMsgNameExists));
            result.clearName = true;
            return result;
        }
    }
    if (password.empty()) {
        messages_.show(warning(kMsgPasswordBlank));
        return result;
    }
    if (confirm != password) {
        messages_.show(warning(kMsgConfirmDiffers));
        return result;
    }
    users_.push_back(CUserInfo{name, hashPassword(password)});
    save();
    result.accepted = true;
    return result;
}

UserDialogResult UserAdmin::changePassword(const std::string& name, const std::string& oldPassword,
                                           const std::string& newPassword,
                                           const std::string& confirm) {
    UserDialogResult result;
    if (name.empty()) {
        messages_.show(prompt(kMsgNameEmpty));
        return result;
    }
    if (newPassword.empty()) {
        messages_.show(warning(kMsgPasswordBlank));
        return result;
    }
    if (confirm != newPassword) {
        messages_.show(warning(kMsgConfirmDiffers));
        return result;
    }
    reload();
    CUserInfo* found = nullptr;
    for (CUserInfo& user : users_) {
        if (user.userName == name) {
            found = &user;
            break;
        }
    }
    if (!found) {
        save();
        result.accepted = true;
        return result;
    }
    if (found->passwordHash != hashPassword(oldPassword)) {
        messages_.show(warning(kMsgOldPasswordError));
        return result;
    }
    found->passwordHash = hashPassword(newPassword);
    save();
    result.accepted = true;
    return result;
}

bool UserAdmin::canEdit(int index) {
    if (index < 0 || index >= static_cast<int>(users_.size())) {
        messages_.show(warning(kMsgSelectToEdit));
        return false;
    }
    return true;
}

int UserAdmin::removeUser(int index, const std::string& loggedOnUser) {
    if (index < 0 || index >= static_cast<int>(users_.size())) {
        messages_.show(warning(kMsgSelectToRemove));
        return index;
    }
    if (users_[static_cast<size_t>(index)].userName == loggedOnUser) {
        messages_.show(warning(kMsgUserLoggedOn));
        return index;
    }
    const MessageAnswer answer = messages_.show(OperatorMessage{
        kMsgConfirmRemove, kCaptionPromptBang, MessageIcon::Question, MessageButtons::YesNo});
    if (answer != MessageAnswer::Yes) return index;
    users_.erase(users_.begin() + index);
    save();
    return index - 1;
}

bool UserAdmin::close(bool enableLogon) {
    if (enableLogon && users_.empty()) {
        messages_.show(OperatorMessage{kMsgMustCreateUser, kCaptionPromptBang,
                                       MessageIcon::Information, MessageButtons::Ok});
        return false;
    }
    LogonFlags flags;
    flags.firstRunning = profile_.getInt(kProfileSectionApp, kKeyFirstRunning, 1);
    flags.enableLogon = enableLogon ? 1 : 0;
    writeLogonFlags(profile_, flags);
    return true;
}

}  // namespace brightline
