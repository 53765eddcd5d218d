#pragma once
// The desktop's one way to show an operator message: a message box with the exact text, caption,
// icon and buttons. The only place that uses QMessageBox.
//
// show() runs on the user interface thread. A worker reaches the operator through
// WorkerMessages (common/ui/worker_messages.h), which hands the message to this thread; a call
// from any other thread shows nothing, warns on standard error and gets the declining answer.
// Tests install an interceptor that receives every message (from any thread) instead of a box,
// so no modal box is ever left open.
#include "common/operator_messages.h"
#include "common/ui/qt_text.h"

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
    QWidget* parent_;
};

// A message through the process's desktop helper (the interceptor when one is set).
MessageAnswer showMessage(const OperatorMessage& message, QWidget* parent = nullptr);

}  // namespace brightline::ui
