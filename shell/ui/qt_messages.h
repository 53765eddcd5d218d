#pragma once
// The desktop's one way to show an operator message: a message box with the exact text, caption,
// icon and buttons. The only place that uses QMessageBox.
//
// show() may be called from any thread: off the user interface thread the box is shown there
// (blocking queued) and the answer handed back. Tests install an interceptor that receives every
// message instead of a box, so no modal box is ever left open.
#include <QString>

#include "common/operator_messages.h"

class QWidget;

namespace brightline::ui {

inline constexpr const char* kApplicationTitle = "Brightline";

class QtMessages : public OperatorMessages {
  public:
    using OperatorMessages::show;
    // `parent` (may be null) is the window the boxes are centred on.
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
    MessageAnswer show(const OperatorMessage& message) override;

    // While set, every QtMessages hands its messages to `interceptor` (borrowed) instead of
    // showing a box. nullptr restores the boxes.
    static void setInterceptor(OperatorMessages* interceptor);

  private:
    MessageAnswer showOnGuiThread(const OperatorMessage& message);
    QWidget* parent_;
};

// A message through the process's desktop helper (the interceptor when one is set).
MessageAnswer showMessage(const OperatorMessage& message, QWidget* parent = nullptr);

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string ss(const QString& text) {
    return text.toStdString();
}

}  // namespace brightline::ui
