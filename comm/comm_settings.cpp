#include "comm/comm_settings.h"

#include <sys/stat.h>

#include "comm/led_set_data.h"
#include "comm/packet.h"
#include "common/paths.h"
#include "common/profile.h"

namespace brightline {

const char* const kBootParamKeys[6] = {"Show_Sign_Address",    "Show_Baud_Rate",
                                       "Show_IP_Address",      "Show_Subnet_Mask",
                                       "Show_Default_Gateway", "Show_Firmware_Version"};

namespace {

const char* kSet = kProfileSectionSet;

Ipv4 readIp(const Profile& p, const std::string& prefix, const Ipv4& fallback) {
    Ipv4 ip = fallback;
    for (int i = 0; i < 4; ++i)
        ip[i] = static_cast<uint8_t>(p.getInt(kSet, prefix + std::to_string(i), fallback[i]));
    return ip;
}

void writeIp(Profile& p, const std::string& prefix, const Ipv4& ip) {
    for (int i = 0; i < 4; ++i) p.writeInt(kSet, prefix + std::to_string(i), ip[i]);
}

}  // namespace

CommSettings CommSettings::read(const Profile& p) {
    CommSettings s;
    s.ledName = p.getString(kSet, "LED_NAME", s.ledName);
    s.port = static_cast<int>(p.getInt(kSet, "PORT", s.port));
    s.address = static_cast<int>(p.getInt(kSet, "ADDR", s.address));
    s.baudIndex = static_cast<int>(p.getInt(kSet, "BPS", s.baudIndex));
    const long mtu = p.getInt(kSet, "COM232_MTU", 5);
    s.mtuIndex = mtu >= 0 && mtu <= 5 ? static_cast<int>(mtu) : 5;
    s.ip = readIp(p, "IP", s.ip);
    s.host = p.getString(kSet, "HOST_ADDRESS", s.host);
    s.subnetMask = readIp(p, "Subnetmask", s.subnetMask);
    s.gateway = readIp(p, "DefaultGateway", s.gateway);
    s.newIp = readIp(p, "NEW_IP", s.newIp);
    for (int i = 0; i < 6; ++i)
        s.boot.show[i] = static_cast<uint8_t>(p.getInt(kSet, kBootParamKeys[i], 1));
    s.modemPort = static_cast<int>(p.getInt(kSet, "SELECT_MODEM_PORT", -1));
    s.modemNo = static_cast<int>(p.getInt(kSet, "SELECT_MODEM_NO", 0));
    s.width = static_cast<int>(p.getInt(kSet, "LED_W", 256));
    s.height = static_cast<int>(p.getInt(kSet, "LED_H", 128));
    return s;
}

void CommSettings::writeLedSet(Profile& p) const {
    p.writeInt(kSet, "COM232_MTU", mtuIndex);
    p.writeInt(kSet, "PORT", port);
    p.writeInt(kSet, "ADDR", address);
    p.writeInt(kSet, "BPS", baudIndex);
    writeIp(p, "IP", ip);
    p.writeString(kSet, "HOST_ADDRESS", host);
    p.writeString(kSet, "LED_NAME", ledName);
}

void CommSettings::writeOnShutdown(Profile& p) const {
    p.writeInt(kSet, "PORT", port);
    p.writeInt(kSet, "ADDR", address);
    p.writeInt(kSet, "BPS", baudIndex);
    p.writeInt(kSet, "LED_W", width);
    p.writeInt(kSet, "LED_H", height);
}

void CommSettings::writeNewNetwork(Profile& p) const {
    writeIp(p, "NEW_IP", newIp);
    writeIp(p, "Subnetmask", subnetMask);
    writeIp(p, "DefaultGateway", gateway);
}

void CommSettings::writeNetwork(Profile& p) const {
    writeIp(p, "IP", ip);
    p.writeString(kSet, "HOST_ADDRESS", host);
    writeIp(p, "Subnetmask", subnetMask);
    writeIp(p, "DefaultGateway", gateway);
}

void CommSettings::writeBootParams(Profile& p) const {
    for (int i = 0; i < 6; ++i) p.writeInt(kSet, kBootParamKeys[i], boot.show[i]);
}

LinkSetup linkSetup(const CommSettings& settings, Profile& profile, const std::string& workspace,
                    const std::string& startFolder) {
    LinkSetup link;
    link.selection.comPort = settings.port;
    link.selection.address = settings.address;
    link.selection.baudIndex = settings.baudIndex;
    link.selection.host = settings.host;
    OperationEnvironment& env = link.environment;
    env.workspace = workspace;
    env.startFolder = startFolder;
    env.chunkSize = kDefaultChunkSize;
    env.profile = &profile;
    env.signListPath = joinPath(startFolder, kSignListFile);
    env.currentSignName = settings.ledName;
    if (settings.port > 0) env.serialDevice = serialDeviceForPort(profile, settings.port);
    return link;
}

void adoptChangedIp(CommSettings& settings, Profile& profile, const std::string& signListPath,
                    const NetworkSettings& changed, const std::string& host) {
    settings.ip = changed.ip;
    settings.subnetMask = changed.mask;
    settings.gateway = changed.gateway;
    settings.host = host;
    settings.writeNetwork(profile);
    SignList list;
    if (!loadSignList(signListPath, list)) return;
    if (CLED_Set_Data* sign = list.find(settings.ledName)) {
        sign->ip = changed.ip;
        sign->host = host;
        saveSignList(signListPath, list);
    }
}

std::string serialDeviceForPort(const Profile& profile, int port) {
    const std::string configured =
        profile.getString(kSet, "COM" + std::to_string(port) + "_DEVICE", std::string());
    if (!configured.empty()) return configured;
    const std::string usb = "/dev/ttyUSB" + std::to_string(port - 1);
    struct stat st {};
    if (::stat(usb.c_str(), &st) == 0) return usb;
    return "/dev/ttyS" + std::to_string(port - 1);
}

}  // namespace brightline
