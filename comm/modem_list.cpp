#include "comm/modem_list.h"

#include <libudev.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "comm/comm_settings.h"
#include "common/profile.h"

namespace brightline {
namespace {

constexpr int kHighestComPort = 9;  // "COM1".."COM9": the names of four characters

std::string resolved(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string out = real;
    ::free(real);
    return out;
}

std::string phoneKey(size_t index) {
    const std::string number = std::to_string(index);
    return "PHONE_NUMBER" + std::string(number.size() < 2 ? 2 - number.size() : 0, '0') + number;
}

// udev writes blanks in names as '_' ("USB_Modem").
std::string readable(const char* value) {
    std::string s = value ? value : "";
    std::replace(s.begin(), s.end(), '_', ' ');
    return s;
}

const char* property(udev_device* device, const char* preferred, const char* fallback) {
    const char* v = udev_device_get_property_value(device, preferred);
    return v ? v : udev_device_get_property_value(device, fallback);
}

std::vector<InstalledModem> udevModems() {
    std::vector<InstalledModem> modems;
    std::unique_ptr<udev, decltype(&udev_unref)> context(udev_new(), udev_unref);
    if (!context) return modems;
    std::unique_ptr<udev_enumerate, decltype(&udev_enumerate_unref)> scan(
        udev_enumerate_new(context.get()), udev_enumerate_unref);
    if (!scan || udev_enumerate_add_match_subsystem(scan.get(), "tty") < 0 ||
        udev_enumerate_scan_devices(scan.get()) < 0)
        return modems;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
        std::unique_ptr<udev_device, decltype(&udev_device_unref)> device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)),
            udev_device_unref);
        if (!device) continue;
        const char* node = udev_device_get_devnode(device.get());
        const char* model = property(device.get(), "ID_MODEL_FROM_DATABASE", "ID_MODEL");
        const char* vendor = property(device.get(), "ID_VENDOR_FROM_DATABASE", "ID_VENDOR");
        // Consoles and bare UARTs carry neither: only devices something is attached to count.
        if (!node || (!model && !vendor)) continue;
        std::string name = readable(vendor);
        if (model) name += (name.empty() ? "" : " ") + readable(model);
        modems.push_back({name, node});
    }
    std::sort(modems.begin(), modems.end(),
              [](const InstalledModem& a, const InstalledModem& b) { return a.device < b.device; });
    if (modems.size() > kMaxModems) modems.resize(kMaxModems);
    return modems;
}

}  // namespace

std::vector<InstalledModem> parseModemList(const std::string& text) {
    std::vector<InstalledModem> modems;
    size_t start = 0;
    while (start <= text.size() && modems.size() < kMaxModems) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string entry = text.substr(start, end - start);
        const size_t eq = entry.find('=');
        if (eq != std::string::npos && eq > 0 && eq + 1 < entry.size())
            modems.push_back({entry.substr(0, eq), entry.substr(eq + 1)});
        start = end + 1;
    }
    return modems;
}

std::vector<InstalledModem> installedModems() {
    if (const char* list = std::getenv(kModemListVariable)) return parseModemList(list);
    return udevModems();
}

int comPortForDevice(const Profile& profile, const std::string& device) {
    const std::string wanted = resolved(device);
    for (int port = 1; port <= kHighestComPort; ++port)
        if (resolved(serialDeviceForPort(profile, port)) == wanted) return port;
    return -1;
}

PhoneBook readPhoneBook(const Profile& profile) {
    PhoneBook book;
    const long count = profile.getInt(kProfileSectionSet, "PHONE_NUMBER_NUM", 0);
    for (long i = 0; i < count && i < 1000; ++i)
        book.numbers.push_back(profile.getString(
            kProfileSectionSet, phoneKey(static_cast<size_t>(i)), kExamplePhoneNumber));
    book.lastDialled = profile.getString(kProfileSectionSet, "PHONE_NUMBER_SEL", "");
    return book;
}

void addPhoneNumber(Profile& profile, const std::string& number) {
    const long count = std::max(0L, profile.getInt(kProfileSectionSet, "PHONE_NUMBER_NUM", 0));
    profile.writeString(kProfileSectionSet, phoneKey(static_cast<size_t>(count)), number);
    profile.writeInt(kProfileSectionSet, "PHONE_NUMBER_NUM", count + 1);
}

void storePhoneNumbers(Profile& profile, const std::vector<std::string>& numbers) {
    for (size_t i = 0; i < numbers.size(); ++i)
        profile.writeString(kProfileSectionSet, phoneKey(i), numbers[i]);
    profile.writeInt(kProfileSectionSet, "PHONE_NUMBER_NUM", static_cast<long>(numbers.size()));
}

}  // namespace brightline
