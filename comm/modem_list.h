#pragma once
// The modems of this machine for "Select Modem", the telephone numbers the "Modem control"
// window keeps, and which COM number a modem's device is.
//
// Modems: the serial (tty) devices udev describes with a model or vendor, at most 10, named
// "<vendor> <model>" and ordered by device path. The environment value BRIGHTLINE_MODEMS, when
// set, replaces that list: "Name=/dev/device" entries separated by ';' (tests, and machines
// without udev).
#include <string>
#include <vector>

namespace brightline {

class Profile;

inline constexpr const char* kModemListVariable = "BRIGHTLINE_MODEMS";
inline constexpr size_t kMaxModems = 10;

struct InstalledModem {
    std::string name;    // friendly name
    std::string device;  // device path, e.g. /dev/ttyACM0
};

std::vector<InstalledModem> installedModems();
// "Name=/dev/x;Other=/dev/y": entries without '=' or with an empty side are skipped; at most 10.
std::vector<InstalledModem> parseModemList(const std::string& text);

// The COM port number 1..9 whose device (serialDeviceForPort) is `device`, symbolic links
// resolved; -1 when no COM number maps to it. COM10 and above cannot be chosen, as before.
int comPortForDevice(const Profile& profile, const std::string& device);

// The stored telephone numbers: "PHONE_NUMBER_NUM" of them under PHONE_NUMBER00, 01, ... (a
// missing one reads as kExamplePhoneNumber), and "PHONE_NUMBER_SEL", the number last dialled.
inline constexpr const char* kExamplePhoneNumber = "5551234";
struct PhoneBook {
    std::vector<std::string> numbers;
    std::string lastDialled;
};
PhoneBook readPhoneBook(const Profile& profile);
// "Add": `number` under the key of index "PHONE_NUMBER_NUM", which grows by one.
void addPhoneNumber(Profile& profile, const std::string& number);
// "Del": the keys from PHONE_NUMBER00 up rewritten with `numbers` and "PHONE_NUMBER_NUM" set to
// their count; keys above it stay in the profile but no longer count.
void storePhoneNumbers(Profile& profile, const std::vector<std::string>& numbers);

}  // namespace brightline
