#include "comm/ui/led_set_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace brightline::ui {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Typing a size larger than the other side allows replaces it with the limit.
void limitWhileTyping(QSpinBox* edited, QSpinBox* other) {
    int limited = limitTypedSignSide(edited->value(), other->value());
    if (limited != edited->value()) edited->setValue(limited);
}

}  // namespace

CLedSetDialog::CLedSetDialog(const CommSettings& current, std::string signListPath, QWidget* parent)
    : QDialog(parent), path_(std::move(signListPath)) {
    setWindowTitle("LED Set");
    names_ = new QListWidget(this);
    names_->setIconSize(QSize(96, 64));
    name_ = new QLineEdit(this);
    width_ = new QSpinBox(this);
    height_ = new QSpinBox(this);
    // The arrows run 0..256; typed values are limited by the other side instead.
    for (QSpinBox* side : {width_, height_}) side->setRange(0, 65536);
    port_ = new QComboBox(this);
    port_->addItem("LAN");
    for (int i = 1; i <= 8; ++i) port_->addItem(QString("COM%1").arg(i));
    address_ = new QSpinBox(this);
    address_->setRange(1, 254);
    baud_ = new QComboBox(this);
    for (const char* b : {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"})
        baud_->addItem(b);
    mtu_ = new QComboBox(this);
    for (const char* m : {"32", "64", "128", "256", "512", "1024"}) mtu_->addItem(m);
    auto* ipRow = new QHBoxLayout;
    for (auto& octet : ip_) {
        octet = new QSpinBox(this);
        octet->setRange(0, 255);
        ipRow->addWidget(octet);
    }
    host_ = new QLineEdit(this);
    ipRow->addWidget(host_);

    auto* form = new QFormLayout;
    form->addRow("LED Name:", name_);
    form->addRow("Width:", width_);
    form->addRow("Height:", height_);
    form->addRow("Port:", port_);
    form->addRow("ADDR:", address_);
    form->addRow("BPS:", baud_);
    form->addRow("MTU:", mtu_);
    form->addRow("Host:", ipRow);

    auto* add = new QPushButton("<< Add", this);
    auto* del = new QPushButton("Del", this);
    auto* edit = new QPushButton("<< Edit", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* side = new QVBoxLayout;
    side->addLayout(form);
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(add);
    editRow->addWidget(del);
    editRow->addWidget(edit);
    side->addLayout(editRow);
    side->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(names_);
    layout->addLayout(side);

    connect(add, &QPushButton::clicked, this, &CLedSetDialog::addSign);
    connect(del, &QPushButton::clicked, this, &CLedSetDialog::deleteSign);
    connect(edit, &QPushButton::clicked, this, &CLedSetDialog::editSign);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(names_, &QListWidget::currentRowChanged, this, &CLedSetDialog::showRecord);
    connect(port_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CLedSetDialog::updateEnabled);
    connect(width_, qOverload<int>(&QSpinBox::valueChanged), this,
            [this] { limitWhileTyping(width_, height_); });
    connect(height_, qOverload<int>(&QSpinBox::valueChanged), this,
            [this] { limitWhileTyping(height_, width_); });

    if (!loadSignList(path_, list_)) {
        list_ = SignList();
        list_.signs.push_back(defaultSignRecord(current.ip, current.host));
        save();
    }
    int select = 0;
    for (size_t i = 0; i < list_.signs.size(); ++i)
        if (list_.signs[i].name == current.ledName) {
            select = static_cast<int>(i);
            break;
        }
    refill(select);
}

void CLedSetDialog::refill(int select) {
    names_->blockSignals(true);
    names_->clear();
    for (const auto& sign : list_.signs) names_->addItem(qs(sign.name));
    names_->blockSignals(false);
    if (select >= 0 && select < names_->count()) {
        names_->setCurrentRow(select);
        showRecord(select);
    }
}

void CLedSetDialog::showRecord(int index) {
    if (index < 0 || index >= static_cast<int>(list_.signs.size())) return;
    const CLED_Set_Data& s = list_.signs[static_cast<size_t>(index)];
    name_->setText(qs(s.name));
    // Shown as stored, without the typing limit.
    width_->blockSignals(true);
    height_->blockSignals(true);
    width_->setValue(s.width);
    height_->setValue(s.height);
    width_->blockSignals(false);
    height_->blockSignals(false);
    port_->setCurrentIndex(s.port >= 0 && s.port <= 8 ? s.port : 0);
    address_->setValue(s.address);
    baud_->setCurrentIndex(s.baudIndex >= 0 && s.baudIndex <= 7 ? s.baudIndex : -1);
    // The default record's chunk size index 6 is none of the choices: nothing is selected.
    mtu_->setCurrentIndex(s.mtuIndex >= 0 && s.mtuIndex <= 5 ? s.mtuIndex : -1);
    for (size_t i = 0; i < 4; ++i) ip_[i]->setValue(s.ip[i]);
    host_->setText(qs(s.host));
    updateEnabled();
}

void CLedSetDialog::updateEnabled() {
    const bool lan = port_->currentIndex() == 0;
    baud_->setEnabled(!lan);
    address_->setEnabled(!lan);
    mtu_->setEnabled(!lan);
    for (QSpinBox* octet : ip_) octet->setEnabled(lan);
    host_->setEnabled(lan);
}

CLED_Set_Data CLedSetDialog::chosen() const {
    CLED_Set_Data s;
    s.name = name_->text().toStdString();
    s.width = width_->value();
    s.height = height_->value();
    s.port = port_->currentIndex();
    s.address = address_->value();
    s.baudIndex = baud_->currentIndex();
    s.mtuIndex = mtu_->currentIndex();
    for (size_t i = 0; i < 4; ++i) s.ip[i] = static_cast<uint8_t>(ip_[i]->value());
    s.host = host_->text().toStdString();
    return s;
}

void CLedSetDialog::save() {
    saveSignList(path_, list_);
}

void CLedSetDialog::addSign() {
    list_.signs.push_back(chosen());
    refill(static_cast<int>(list_.signs.size()) - 1);
    save();
}

void CLedSetDialog::deleteSign() {
    int row = names_->currentRow();
    if (row < 0 || row >= static_cast<int>(list_.signs.size())) return;
    list_.signs.erase(list_.signs.begin() + row);
    refill(row > 0 ? row - 1 : 0);
    save();
}

void CLedSetDialog::editSign() {
    int row = names_->currentRow();
    if (row < 0 || row >= static_cast<int>(list_.signs.size())) return;
    // Sizes are rounded down to a multiple of 8, and the fields show the rounded values.
    width_->blockSignals(true);
    height_->blockSignals(true);
    width_->setValue(width_->value() / 8 * 8);
    height_->setValue(height_->value() / 8 * 8);
    width_->blockSignals(false);
    height_->blockSignals(false);
    list_.signs[static_cast<size_t>(row)] = chosen();
    names_->item(row)->setText(name_->text());
    save();
}

}  // namespace brightline::ui
