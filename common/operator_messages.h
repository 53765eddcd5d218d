#pragma once
// How core code tells the operator something: the exact text, caption, icon and buttons of a
// message box. The desktop shows a box, the command line prints, tests record.
#include <mutex>
#include <string>
#include <vector>

namespace brightline {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct OperatorMessage {
    std::string text;
    std::string caption;  // empty: the application title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Implementations may be called from any thread; the desktop's hands the message to the user
// interface thread and waits for the answer.
class OperatorMessages {
  public:
    virtual ~OperatorMessages() = default;
    virtual MessageAnswer show(const OperatorMessage& message) = 0;

    MessageAnswer show(const std::string& text, const std::string& caption = std::string(),
                       MessageIcon icon = MessageIcon::None,
                       MessageButtons buttons = MessageButtons::Ok) {
        return show(OperatorMessage{text, caption, icon, buttons});
    }
};

// Prints "caption: text" on standard error and answers the affirmative button (Ok or Yes).
class ConsoleMessages : public OperatorMessages {
  public:
    using OperatorMessages::show;
    MessageAnswer show(const OperatorMessage& message) override;
};

// Keeps every message and answers with the queued answers in order, then the affirmative one.
class RecordingMessages : public OperatorMessages {
  public:
    using OperatorMessages::show;
    MessageAnswer show(const OperatorMessage& message) override;

    void queueAnswer(MessageAnswer answer);
    std::vector<OperatorMessage> messages() const;
    void clear();

  private:
    mutable std::mutex mutex_;
    std::vector<OperatorMessage> messages_;
    std::vector<MessageAnswer> answers_;
};

// The affirmative answer of a button set: Ok for Ok and OkCancel, Yes for YesNo and YesNoCancel.
MessageAnswer affirmativeAnswer(MessageButtons buttons);
// The declining answer: Ok for Ok, Cancel for OkCancel and YesNoCancel, No for YesNo.
MessageAnswer decliningAnswer(MessageButtons buttons);

}  // namespace brightline
