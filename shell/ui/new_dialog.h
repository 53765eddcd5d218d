#pragma once
// "New": the tabs "Projects" (Program File, Schedule File) and "File" (Time File, ZRT File), a
// large-icon list, "File:" and "Location:" with a "..." folder button. OK checks that a kind is
// chosen and a name given (the dialog stays open otherwise). "NEW_FILE_PATH" is written after
// every use: the location entered after OK, the value read before after Cancel.
#include <QDialog>

#include "common/file_kind.h"
#include "common/operator_messages.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabBar;

namespace brightline {
class Profile;
}

namespace brightline::ui {

class CNewDialog : public QDialog {
    Q_OBJECT
  public:
    CNewDialog(Profile& profile, const std::string& startFolder, OperatorMessages& messages,
               QWidget* parent = nullptr);

    FileKind kind() const;
    QString name() const;
    // With its trailing separator.
    QString location() const;

    QTabBar* tabs() const { return tabs_; }
    QListWidget* list() const { return list_; }
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* locationEdit() const { return location_; }
    QPushButton* okButton() const { return ok_; }

    void done(int result) override;

  private:
    void fill(int tab);
    void ok();
    void browse();

    Profile& profile_;
    OperatorMessages& messages_;
    std::string before_;
    QTabBar* tabs_;
    QListWidget* list_;
    QLineEdit* name_;
    QLineEdit* location_;
    QPushButton* ok_;
};

}  // namespace brightline::ui
