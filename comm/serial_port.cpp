#include "comm/serial_port.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace brightline {
namespace {

speed_t speedFor(int baudRate) {
    switch (baudRate) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        default:
            return B115200;
    }
}

void setModemLine(int fd, int line, bool on) {
    // Pseudo-terminals have no modem lines; the request then fails and is of no consequence.
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace

bool SerialPort::open(const std::string& device, int baudRate, std::string* error) {
    close();
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = device + ": " + std::strerror(errno);
        return false;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        if (error) *error = device + ": not a serial device";
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speedFor(baudRate));
    ::cfsetospeed(&tio, speedFor(baudRate));
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        if (error) *error = device + ": cannot set the line: " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    ::tcflush(fd, TCIOFLUSH);
    setModemLine(fd, TIOCM_DTR, true);
    setModemLine(fd, TIOCM_RTS, true);
    fd_ = fd;
    return true;
}

void SerialPort::close() {
    if (fd_ < 0) return;
    setModemLine(fd_, TIOCM_DTR, false);
    setModemLine(fd_, TIOCM_RTS, false);
    ::close(fd_);
    fd_ = -1;
}

bool SerialPort::write(const uint8_t* data, size_t size, int timeoutMs) {
    if (fd_ < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd_, data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return false;
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
    return true;
}

long SerialPort::readAvailable(uint8_t* buffer, size_t capacity) {
    if (fd_ < 0) return -1;
    ssize_t n = ::read(fd_, buffer, capacity);
    if (n > 0) return n;
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    return n == 0 ? 0 : -1;
}

}  // namespace brightline
