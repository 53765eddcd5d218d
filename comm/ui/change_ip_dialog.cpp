#include "comm/ui/change_ip_dialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "comm/sign_messages.h"
#include "comm/sign_operations.h"
#include "comm/ui/network_fields.h"
#include "common/ui/qt_text.h"

namespace brightline::ui {

CChangeIpDialog::CChangeIpDialog(SignOperations& operations, const CommSettings& settings,
                                 const std::string& host, OperatorMessages& messages,
                                 QWidget* parent)
    : QDialog(parent), operations_(operations), messages_(messages) {
    setObjectName("CChangeIpDialog");
    setWindowTitle("Change IP address *");
    auto* currentIp = new QLineEdit(qs(formatIp(settings.ip)), this);
    currentIp->setReadOnly(true);
    auto* currentHost = new QLineEdit(qs(host), this);
    currentHost->setReadOnly(true);
    auto* current = new QFormLayout;
    current->addRow("Current IP address:", currentIp);
    current->addRow("Send to:", currentHost);
    network_ = new NetworkFields(settings, this);
    send_ = new QPushButton(kMsgSend, this);
    connect(send_, &QPushButton::clicked, this, &CChangeIpDialog::send);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(current);
    layout->addWidget(network_);
    layout->addWidget(send_, 0, Qt::AlignRight);
}

void CChangeIpDialog::send() {
    NetworkSettings wanted{network_->ip(), network_->mask(), network_->gateway()};
    char question[512];
    std::snprintf(question, sizeof question, kAskChangeIp, wanted.ip[0], wanted.ip[1], wanted.ip[2],
                  wanted.ip[3]);
    if (!network_->confirm(messages_, question)) return;
    send_->setText(kMsgSending);
    send_->setEnabled(false);
    QApplication::processEvents();
    const std::optional<std::string> host =
        operations_.setIp(wanted.ip, wanted.mask, wanted.gateway);
    send_->setText(kMsgSend);
    send_->setEnabled(true);
    if (!host) return;  // "Communication error!" was shown
    changed_ = wanted;
    newHost_ = *host;
}

}  // namespace brightline::ui
