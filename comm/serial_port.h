#pragma once
// One open serial device on POSIX termios: 8 data bits, no parity, 1 stop bit, raw (binary),
// no flow control, exclusive. DTR then RTS are raised after opening and dropped before closing
// (devices without modem lines, such as pseudo-terminals, simply skip that).
// Thread affinity: open/close on one thread; write() and read() may run on different threads.
#include <cstddef>
#include <cstdint>
#include <string>

namespace brightline {

class SerialPort {
  public:
    SerialPort() = default;
    ~SerialPort() { close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // `baudRate` in bit/s, one of the baud table's values. False with `error` set when the
    // device cannot be opened or set up (nothing is left open then).
    bool open(const std::string& device, int baudRate, std::string* error = nullptr);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Writes all bytes, waiting at most `timeoutMs` in all. False on error or time-out.
    bool write(const uint8_t* data, size_t size, int timeoutMs);
    // Reads what is waiting, at most `capacity` bytes, without blocking. Returns the count,
    // 0 when nothing is waiting, -1 on error or hang-up.
    long readAvailable(uint8_t* buffer, size_t capacity);

  private:
    int fd_ = -1;
};

}  // namespace brightline
