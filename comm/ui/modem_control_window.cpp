#include "comm/ui/modem_control_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "comm/modem_connection.h"
#include "comm/modem_list.h"
#include "common/ui/qt_text.h"

namespace brightline::ui {

CModemControlWindow::CModemControlWindow(ModemConnection& connection, Profile& profile,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), connection_(connection), profile_(profile) {
    setObjectName("CModemControlWindow");
    setWindowTitle("Modem control");
    numbers_ = new QComboBox(this);
    numbers_->setEditable(true);
    numbers_->setMinimumWidth(180);
    add_ = new QPushButton("Add", this);
    del_ = new QPushButton("Del", this);
    dial_ = new QPushButton("Dial up", this);
    hangUp_ = new QPushButton("Hang up", this);
    status_ = new QLabel(kStatusDisconnected, this);
    status_->setMinimumWidth(120);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Telephone number:", this), 0, 0);
    grid->addWidget(numbers_, 0, 1, 1, 2);
    grid->addWidget(add_, 0, 3);
    grid->addWidget(del_, 0, 4);
    grid->addWidget(new QLabel("Connect status:", this), 1, 0);
    grid->addWidget(status_, 1, 1, 1, 2);
    grid->addWidget(dial_, 1, 3);
    grid->addWidget(hangUp_, 1, 4);
    connect(add_, &QPushButton::clicked, this, &CModemControlWindow::addNumber);
    connect(del_, &QPushButton::clicked, this, &CModemControlWindow::deleteNumber);
    connect(dial_, &QPushButton::clicked, this, &CModemControlWindow::dialUp);
    connect(hangUp_, &QPushButton::clicked, this, &CModemControlWindow::hangUp);

    const PhoneBook book = readPhoneBook(profile_);
    for (const std::string& number : book.numbers) numbers_->addItem(qs(number));
    if (numbers_->count() > 0) numbers_->setCurrentIndex(0);
    for (const std::string& number : book.numbers)
        if (number == book.lastDialled) numbers_->setEditText(qs(number));

    // Statuses come from the dialling thread; the window may be gone when one arrives.
    QPointer<CModemControlWindow> self(this);
    connection_.onStatus([self](const std::string& status) {
        const QString text = qs(status);
        QMetaObject::invokeMethod(
            self.data(),
            [self, text] {
                if (self) self->showStatus(text);
            },
            Qt::QueuedConnection);
    });
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString CModemControlWindow::status() const {
    return status_->text();
}

void CModemControlWindow::showStatus(const QString& status) {
    status_->setText(status);
    if (status == "CONNECT") {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.right() - frameGeometry().width() + 1,
                 area.bottom() - frameGeometry().height() + 1);
        }
    }
}

void CModemControlWindow::addNumber() {
    const QString number = numbers_->currentText();
    addPhoneNumber(profile_, ss(number));
    numbers_->addItem(number);
}

void CModemControlWindow::deleteNumber() {
    const int at = numbers_->currentIndex();
    if (at < 0) return;
    numbers_->removeItem(at);
    numbers_->setCurrentIndex(at < numbers_->count() ? at : 0);
    std::vector<std::string> rest;
    for (int i = 0; i < numbers_->count(); ++i) rest.push_back(ss(numbers_->itemText(i)));
    storePhoneNumbers(profile_, rest);
}

void CModemControlWindow::dialUp() {
    status_->clear();
    connection_.startDial(ss(numbers_->currentText()));
}

void CModemControlWindow::hangUp() {
    connection_.startHangUp();
}

void CModemControlWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        connection_.cancel();  // a waiting dial ends now, not after its 30 seconds
        emit closed();
    }
    event->accept();
}

}  // namespace brightline::ui
