#pragma once
// The "Edit User" dialog's work without the window: the user list as the dialog shows it, and the
// checks of "New User", "Modify Password", "Remove User" and "Close" with their exact messages.
// Every change is saved to the user file at once; the list is reloaded from the file before the
// new-user and change-password checks, as the dialogs always did.
#include <string>
#include <vector>

#include "common/operator_messages.h"
#include "shell/user_info.h"

namespace brightline {

class Profile;

inline constexpr const char* kCaptionPrompt = "Prompt";
inline constexpr const char* kCaptionPromptBang = "Prompt!";
inline constexpr const char* kMsgNoUserFile = "Can't find \"UserInfo.dat\" file!";
inline constexpr const char* kMsgNameBlank = "User name can't be blank!\n\nPlease input again!";
inline constexpr const char* kMsgNameExists = "User name has existed!\n\nPlease input again!";
inline constexpr const char* kMsgConfirmDiffers =
    "Confirm password is different with password!\n\nPlease input again!";
inline constexpr const char* kMsgSelectToEdit = "Please select a user to edit!";
inline constexpr const char* kMsgNameEmpty = "User name is empty!";
inline constexpr const char* kMsgOldPasswordError = "Old password is error!\n\nPlease input again!";
inline constexpr const char* kMsgSelectToRemove = "Please select a user to remove!";
inline constexpr const char* kMsgUserLoggedOn = "This user has logon!\nCan't remove it!";
inline constexpr const char* kMsgConfirmRemove = "Are you sure you want to \nremove this user?";
inline constexpr const char* kMsgMustCreateUser =
    "You have enabled user for log in system, \nit must create a user at first! \n\nPlease click "
    "[New User] button to create a user.";

// What a dialog's OK did: whether it may close, and which field to empty.
struct UserDialogResult {
    bool accepted = false;
    bool clearName = false;
};

class UserAdmin {
  public:
    // `messages` and `profile` are borrowed.
    UserAdmin(std::string userFile, Profile& profile, OperatorMessages& messages);

    // Opening the dialog: loads the users when the file exists, else shows kMsgNoUserFile and
    // leaves the list empty. Returns whether the file existed.
    bool open();
    const std::vector<CUserInfo>& users() const { return users_; }
    // The check box "Enable user for log in system." starts from the logon flag.
    bool logonEnabled() const;

    // "New User" OK. On acceptance the user is appended (last in the list) and the file saved.
    UserDialogResult addUser(const std::string& name, const std::string& password,
                             const std::string& confirm);
    // "Modify Password" OK for `name` (the selected user).
    UserDialogResult changePassword(const std::string& name, const std::string& oldPassword,
                                    const std::string& newPassword, const std::string& confirm);
    // "Edit Password" with the selection `index` (-1: none): false with the message when nothing
    // is selected.
    bool canEdit(int index);
    // "Remove User" with the selection `index` (-1: none), asking for confirmation. Returns the
    // entry to select afterwards (the one before the removed one, -1 for none), or `index`
    // unchanged when nothing was removed.
    int removeUser(int index, const std::string& loggedOnUser);
    // "Close" (or closing the window) with the check box state: false (and the prompt) when the
    // box is ticked while the list is empty; else the logon flag takes the box and true.
    bool close(bool enableLogon);

  private:
    void reload();
    void save();

    std::string userFile_;
    Profile& profile_;
    OperatorMessages& messages_;
    std::vector<CUserInfo> users_;
};

}  // namespace brightline
