// The user file "UserInfo.dat" from arbitrary bytes.
#include <cstdlib>

#include "shell/user_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    std::vector<CUserInfo> users = {{"keep", "X"}};
    const auto before = users;
    if (!decodeUsers(data, size, users)) {
        if (!(users == before)) std::abort();
        return 0;
    }
    std::vector<uint8_t> again = encodeUsers(users);
    std::vector<CUserInfo> back;
    if (!decodeUsers(again.data(), again.size(), back) || !(back == users)) std::abort();
    return 0;
}
