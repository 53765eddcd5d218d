#include "comm/modem_connection.h"

#include "comm/sign_operations.h"

namespace brightline {

ModemConnection::ModemConnection(SignOperations& operations, Profile* profile)
    : operations_(operations), dialer_(operations.serialLink(), profile) {
    dialer_.onStatus([this](const std::string& status) {
        if (listener_) listener_(status);
    });
}

ModemConnection::~ModemConnection() {
    release();
}

void ModemConnection::onStatus(std::function<void(const std::string&)> listener) {
    joinWork();
    listener_ = std::move(listener);
}

bool ModemConnection::connect(int comPort, const std::string& device) {
    release();
    LinkSelection& selection = operations_.selection();
    selection.comPort = comPort;
    OperationEnvironment env = operations_.environment();
    env.serialDevice = device;
    operations_.setEnvironment(env);
    if (!operations_.openSerial()) return false;  // "COM%d is taken !" and why, shown
    selection.held = true;
    return true;
}

bool ModemConnection::isHeld() const {
    return operations_.selection().held;
}

void ModemConnection::joinWork() {
    if (worker_.joinable()) worker_.join();
}

bool ModemConnection::startWork(std::function<void()> work) {
    if (busy_.load() || !isHeld() || operations_.runState() != RunState::Idle) return false;
    joinWork();
    busy_.store(true);
    worker_ = std::thread([this, work = std::move(work)] {
        work();
        busy_.store(false);
    });
    return true;
}

bool ModemConnection::startDial(const std::string& number) {
    return startWork([this, number] { dialer_.dial(number); });
}

bool ModemConnection::startHangUp() {
    return startWork([this] { dialer_.hangUp(); });
}

std::string ModemConnection::dial(const std::string& number) {
    if (!startDial(number)) return dialer_.status();
    joinWork();
    return dialer_.status();
}

std::string ModemConnection::hangUp() {
    if (!startHangUp()) return dialer_.status();
    joinWork();
    return dialer_.status();
}

void ModemConnection::release() {
    dialer_.cancel();
    joinWork();
    SerialLink& link = operations_.serialLink();
    link.setLineMode(false);
    operations_.selection().held = false;
    // An operation still running over the link ends at its next request once the link is gone.
    if (operations_.runState() == RunState::Idle) link.close();
}

}  // namespace brightline
