#pragma once
// Writing the current sign's values back into the sign list "LED_SET.ZRC": the size after the
// operator typed it in the layout view, and the size and link settings at shut-down.
#include <string>

namespace brightline {

struct SignRecordValues {
    int width = 256;
    int height = 128;
    // Link settings; left alone when `withLink` is false.
    bool withLink = false;
    int port = 0;
    int address = 1;
    int baudIndex = 7;
};

// Loads the list at `path`, sets the first record named `signName`, saves. False (file left
// unchanged) when the list cannot be read or has no such record.
bool storeSignRecord(const std::string& path, const std::string& signName,
                     const SignRecordValues& values);

// The size of the first record named `signName`; false when there is none.
bool readSignSize(const std::string& path, const std::string& signName, int& width, int& height);

}  // namespace brightline
