#pragma once
// "Send to signs": a checklist of the sign list; OK hands back the signs ticked (at least one,
// else it says so and stays open).
#include <QDialog>
#include <vector>

#include "comm/led_set_data.h"

class QListWidget;

namespace brightline {
class OperatorMessages;
}

namespace brightline::ui {

class CSendToSignsDialog : public QDialog {
    Q_OBJECT
  public:
    CSendToSignsDialog(SignList signs, OperatorMessages& messages, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    std::vector<CLED_Set_Data> chosen() const;

  public slots:
    void accept() override;

  private:
    SignList signs_;
    OperatorMessages& messages_;
    QListWidget* list_ = nullptr;
};

}  // namespace brightline::ui
