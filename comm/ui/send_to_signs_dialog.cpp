#include "comm/ui/send_to_signs_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "comm/sign_messages.h"
#include "common/operator_messages.h"
#include "common/ui/qt_text.h"

namespace brightline::ui {

CSendToSignsDialog::CSendToSignsDialog(SignList signs, OperatorMessages& messages, QWidget* parent)
    : QDialog(parent), signs_(std::move(signs)), messages_(messages) {
    setObjectName("CSendToSignsDialog");
    setWindowTitle("Send to signs");
    list_ = new QListWidget(this);
    for (const CLED_Set_Data& sign : signs_.signs) {
        const std::string link = sign.port > 0 ? "COM" + std::to_string(sign.port) : sign.host;
        auto* item = new QListWidgetItem(qs(sign.name + "    " + link), list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSendToSignsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Send the show to these signs:", this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(360, 300);
}

std::vector<CLED_Set_Data> CSendToSignsDialog::chosen() const {
    std::vector<CLED_Set_Data> out;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            out.push_back(signs_.signs[static_cast<size_t>(i)]);
    return out;
}

void CSendToSignsDialog::accept() {
    if (chosen().empty()) {
        messages_.show(kMsgChooseSigns, kCaptionInfo, MessageIcon::Information);
        return;
    }
    QDialog::accept();
}

}  // namespace brightline::ui
