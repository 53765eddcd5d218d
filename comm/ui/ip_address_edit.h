#pragma once
// An IP address field: four octets 0..255, first octet first. Read-only on request.
#include <QWidget>

#include <array>

#include "comm/sign_requests.h"

class QSpinBox;

namespace brightline::ui {

class IpAddressEdit : public QWidget {
    Q_OBJECT
  public:
    explicit IpAddressEdit(QWidget* parent = nullptr);
    Ipv4 value() const;
    void setValue(const Ipv4& ip);
    void setReadOnly(bool readOnly);
    QSpinBox* octet(int index) const { return octets_[static_cast<size_t>(index)]; }

  private:
    std::array<QSpinBox*, 4> octets_{};
};

}  // namespace brightline::ui
