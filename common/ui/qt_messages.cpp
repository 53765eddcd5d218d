#include "common/ui/qt_messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <atomic>
#include <cstdio>

namespace brightline::ui {

namespace {

std::atomic<OperatorMessages*> interceptor{nullptr};

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtMessages::setInterceptor(OperatorMessages* target) {
    interceptor.store(target);
}

MessageAnswer QtMessages::show(const OperatorMessage& message) {
    if (OperatorMessages* target = interceptor.load()) return target->show(message);
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        std::fprintf(stderr, "Brightline: a message from a worker thread without a bridge: %s\n",
                     message.text.c_str());
        return decliningAnswer(message.buttons);
    }
    if (!qobject_cast<QApplication*>(app)) return affirmativeAnswer(message.buttons);
    QMessageBox box(boxIcon(message.icon),
                    message.caption.empty() ? QString(kApplicationTitle) : qs(message.caption),
                    qs(message.text), QMessageBox::NoButton, parent_);
    switch (message.buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            break;
    }
    // Closed without a button: the declining answer.
    return decliningAnswer(message.buttons);
}

MessageAnswer showMessage(const OperatorMessage& message, QWidget* parent) {
    QtMessages messages(parent);
    return messages.show(message);
}

}  // namespace brightline::ui
