#pragma once
// Where the network link finds the sign when it is not on the standard ports: the environment
// value BRIGHTLINE_VIRTUAL_SIGN = "host:commandPort:ftpPort" (./run sets it for the virtual sign
// it starts). The host then replaces the configured host address for this process.
#include <optional>
#include <string>

namespace brightline {

inline constexpr const char* kVirtualSignVariable = "BRIGHTLINE_VIRTUAL_SIGN";

struct SignEndpoint {
    std::string host;
    int commandPort = 0;
    int ftpPort = 0;
};

// Nothing for an empty or malformed value (ports must be 1..65535).
std::optional<SignEndpoint> parseSignEndpoint(const std::string& text);
std::optional<SignEndpoint> signEndpointFromEnvironment();

}  // namespace brightline
