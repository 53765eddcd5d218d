#pragma once
// "LED Set": the list of signs in "LED_SET.ZRC" and the link settings of the one chosen.
// Every change to the list is saved at once; OK hands the chosen values to the caller.
#include <QDialog>

#include <array>
#include <string>

#include "comm/comm_settings.h"
#include "comm/led_set_data.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace brightline::ui {

class CLedSetDialog : public QDialog {
    Q_OBJECT
  public:
    // `current` gives the current sign name, IP octets and host text; `signListPath` is
    // "LED_SET.ZRC" in the start folder. A list that cannot be read becomes the default record,
    // saved at once.
    CLedSetDialog(const CommSettings& current, std::string signListPath, QWidget* parent = nullptr);

    // The values on OK: name, width, height, port, address, baud index, chunk size index (-1 when
    // none is chosen), IP octets and host text.
    CLED_Set_Data chosen() const;
    const SignList& signs() const { return list_; }

    QListWidget* list() const { return names_; }
    QLineEdit* nameEdit() const { return name_; }
    QSpinBox* widthEdit() const { return width_; }
    QSpinBox* heightEdit() const { return height_; }
    QComboBox* portChoice() const { return port_; }

  public slots:
    void addSign();
    void deleteSign();
    void editSign();

  private:
    void refill(int select);
    void showRecord(int index);
    void updateEnabled();
    void save();

    std::string path_;
    SignList list_;
    QListWidget* names_ = nullptr;
    QLineEdit* name_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QComboBox* port_ = nullptr;
    QSpinBox* address_ = nullptr;
    QComboBox* baud_ = nullptr;
    QComboBox* mtu_ = nullptr;
    std::array<QSpinBox*, 4> ip_{};
    QLineEdit* host_ = nullptr;
};

}  // namespace brightline::ui
