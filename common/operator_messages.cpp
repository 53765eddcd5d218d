#include "common/operator_messages.h"

#include <cstdio>

namespace brightline {

MessageAnswer affirmativeAnswer(MessageButtons buttons) {
    const bool yes = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
    return yes ? MessageAnswer::Yes : MessageAnswer::Ok;
}

MessageAnswer decliningAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

MessageAnswer ConsoleMessages::show(const OperatorMessage& message) {
    std::string caption = message.caption.empty() ? "Brightline" : message.caption;
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), message.text.c_str());
    return affirmativeAnswer(message.buttons);
}

MessageAnswer RecordingMessages::show(const OperatorMessage& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back(message);
    if (!answers_.empty()) {
        MessageAnswer a = answers_.front();
        answers_.erase(answers_.begin());
        return a;
    }
    return affirmativeAnswer(message.buttons);
}

void RecordingMessages::queueAnswer(MessageAnswer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(answer);
}

std::vector<OperatorMessage> RecordingMessages::messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

void RecordingMessages::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
    answers_.clear();
}

}  // namespace brightline
