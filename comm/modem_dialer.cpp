#include "comm/modem_dialer.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "comm/serial_link.h"
#include "common/code_page.h"
#include "common/profile.h"

namespace brightline {

ModemDialer::ModemDialer(SerialLink& link, Profile* profile) : link_(link), profile_(profile) {}

void ModemDialer::setStatus(const std::string& status) {
    status_ = status;
    if (listener_) listener_(status);
}

bool ModemDialer::pause(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!closing_.load() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 10)));
    return !closing_.load();
}

bool ModemDialer::exchange(const std::string& command, std::string* reply, int timeoutMs) {
    if (reply) {
        link_.lineEvent().reset();
        link_.exchangeDoneEvent().reset();
    }
    // Looked at after the reset: a cancel from now on finds the exchange waiting and wakes it.
    if (closing_.load()) return false;
    return link_.lineExchange(command, reply, timeoutMs);
}

namespace {

// The modem's answer as one line: "\r\nNO CARRIER\r" is "NO CARRIER".
std::string answerWords(const std::string& reply) {
    std::string words;
    for (char c : reply) {
        const bool space = c == '\r' || c == '\n' || c == ' ' || c == '\t';
        if (space) {
            if (!words.empty() && words.back() != ' ') words.push_back(' ');
        } else if (c != 0) {
            words.push_back(c);
        }
    }
    while (!words.empty() && words.back() == ' ') words.pop_back();
    return words;
}

std::string waitText(int ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

}  // namespace

std::string ModemDialer::dial(const std::string& number) {
    closing_.store(false);
    failure_.clear();
    const std::string command = "ATDT" + toOem(number) + "\r\n";
    setStatus("");
    if (profile_) profile_->writeString(kProfileSectionSet, "PHONE_NUMBER_SEL", number);
    for (const char* setup : {"AT&D0\r\n", "ATV1\r\n", "ATE0\r\n"}) {
        exchange(setup, nullptr, 0);
        if (!pause(timings_.commandPauseMs)) return status_;
    }
    std::string reply;
    if (exchange("ATE0\r\n", &reply, timings_.firstAnswerMs)) {
        if (reply.find("OK") != std::string::npos) setStatus("OK");
        if (!closing_.load() && exchange(command, &reply, timings_.dialAnswerMs)) {
            std::string status = status_;
            if (reply.find("CONNECT") != std::string::npos) status = "CONNECT";
            if (reply.find("NO") != std::string::npos) status = "NO";
            if (reply.find("ERROR") != std::string::npos) status = "ERROR";
            setStatus(status);
            if (status != "CONNECT") {
                const std::string words = answerWords(reply);
                failure_ =
                    words.empty() ? "the modem answered nothing" : "the modem answered " + words;
            }
            return status_;
        }
        if (!closing_.load())
            failure_ =
                "the modem did not answer the dial within " + waitText(timings_.dialAnswerMs);
    } else if (!closing_.load()) {
        failure_ = "the modem did not answer ATE0 within " + waitText(timings_.firstAnswerMs) +
                   ": is a modem on this port?";
    }
    if (!closing_.load()) setStatus(kStatusDisconnected);
    return status_;
}

std::string ModemDialer::hangUp() {
    closing_.store(false);
    setStatus(kStatusHangingUp);
    pause(timings_.guardMs);
    exchange("+++", nullptr, 0);
    pause(timings_.escapePauseMs);
    exchange("+++\r\n", nullptr, 0);
    pause(timings_.shortPauseMs);
    exchange("ATH0\r\n", nullptr, 0);
    pause(timings_.guardMs);
    std::string reply;
    if (exchange("ATH0\r\n", &reply, timings_.hangUpAnswerMs) &&
        reply.find("OK") != std::string::npos)
        setStatus(kStatusDisconnected);
    return status_;
}

void ModemDialer::cancel() {
    closing_.store(true);
    link_.lineEvent().set();
}

}  // namespace brightline
