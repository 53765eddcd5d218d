#pragma once
// The communication settings of the profile's section "SET": the current sign's link, the
// network settings last given to a sign, the start-up display settings and the modem choice.
// Plain values; read() and the write functions touch the profile only.
#include <array>
#include <string>

#include "comm/sign_operations.h"
#include "comm/sign_requests.h"

namespace brightline {

class Profile;

struct CommSettings {
    std::string ledName = "Sample LED";   // "LED_NAME"
    int port = 0;                         // "PORT": COM port number, 0 = network
    int address = 1;                      // "ADDR": 1..254
    int baudIndex = 7;                    // "BPS": 0..7
    int mtuIndex = 5;                     // "COM232_MTU": 0..5 (others read as 5)
    Ipv4 ip{{192, 168, 0, 6}};            // "IP0".."IP3"
    std::string host = "192.168.0.6";     // "HOST_ADDRESS"
    Ipv4 subnetMask{{255, 255, 255, 0}};  // "Subnetmask0".."Subnetmask3"
    Ipv4 gateway{{192, 168, 0, 1}};       // "DefaultGateway0".."DefaultGateway3"
    Ipv4 newIp{{192, 168, 0, 6}};         // "NEW_IP0".."NEW_IP3"
    BootParams boot;                      // the six "Show_*" keys
    int modemPort = -1;                   // "SELECT_MODEM_PORT"
    int modemNo = 0;                      // "SELECT_MODEM_NO"
    int width = 256;                      // "LED_W"
    int height = 128;                     // "LED_H"

    static CommSettings read(const Profile& profile);

    // What confirming "LED Set" stores: "COM232_MTU", "PORT", "ADDR", "BPS", "IP0".."IP3",
    // "HOST_ADDRESS", "LED_NAME".
    void writeLedSet(Profile& profile) const;
    // What the shut-down stores: "PORT", "ADDR", "BPS", "LED_W", "LED_H".
    void writeOnShutdown(Profile& profile) const;
    // "NEW_IP0".."3", "Subnetmask0".."3", "DefaultGateway0".."3" (what a changed address stores).
    void writeNewNetwork(Profile& profile) const;
    // "IP0".."3", "HOST_ADDRESS", "Subnetmask0".."3", "DefaultGateway0".."3".
    void writeNetwork(Profile& profile) const;
    // The six "Show_*" keys.
    void writeBootParams(Profile& profile) const;
};

// The link the settings name, as the desktop and the command line start sign operations with it.
struct LinkSetup {
    // COM port, address, baud index and host address of the settings.
    LinkSelection selection;
    // `workspace` and `startFolder` as given; the profile; the sign list "LED_SET.ZRC" in the
    // start folder; the current sign's name; the serial device of a COM port; the default chunk
    // size (the desktop keeps the one "LED Set" put in force).
    OperationEnvironment environment;
};
LinkSetup linkSetup(const CommSettings& settings, Profile& profile, const std::string& workspace,
                    const std::string& startFolder);

// After the sign confirmed a new IP address (Set IP): `settings` take the new address, mask,
// gateway and host text; "IP0".."IP3", "HOST_ADDRESS", "Subnetmask0".., "DefaultGateway0".. are
// written; the current sign's record in the sign list at `signListPath` gets the new octets and
// host text (skipped when the list cannot be read).
void adoptChangedIp(CommSettings& settings, Profile& profile, const std::string& signListPath,
                    const NetworkSettings& changed, const std::string& host);

// The six "Show_*" keys in the order of BootParams.
extern const char* const kBootParamKeys[6];

// The serial device for COM port `port` (1-based): the profile key "COM<n>_DEVICE" of section
// "SET" when set, else /dev/ttyUSB<n-1> when it exists, else /dev/ttyS<n-1>.
std::string serialDeviceForPort(const Profile& profile, int port);

}  // namespace brightline
