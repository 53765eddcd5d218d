#pragma once
// "Modem control": the stored telephone numbers (Add, Del), "Dial up", "Hang up" and the
// connection's status. Dialling runs on the connection's thread; its statuses arrive here
// queued. On "CONNECT" the window moves to the bottom right corner of the screen. Closing it
// cuts a waiting dial short at once and emits closed(); the owner then releases the connection
// (message 2035). User interface thread only.
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace brightline {
class ModemConnection;
class Profile;
}  // namespace brightline

namespace brightline::ui {

class CModemControlWindow : public QWidget {
    Q_OBJECT
  public:
    // `connection` and `profile` are borrowed and must outlive the window.
    CModemControlWindow(ModemConnection& connection, Profile& profile, QWidget* parent = nullptr);

    QComboBox* numberChoice() const { return numbers_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* delButton() const { return del_; }
    QPushButton* dialButton() const { return dial_; }
    QPushButton* hangUpButton() const { return hangUp_; }
    QString status() const;

  signals:
    void closed();

  public slots:
    void addNumber();
    void deleteNumber();
    void dialUp();
    void hangUp();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showStatus(const QString& status);

    ModemConnection& connection_;
    Profile& profile_;
    QComboBox* numbers_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* del_ = nullptr;
    QPushButton* dial_ = nullptr;
    QPushButton* hangUp_ = nullptr;
    QLabel* status_ = nullptr;
    bool closing_ = false;
};

}  // namespace brightline::ui
