#include "comm/sign_endpoint.h"

#include <cstdlib>

namespace brightline {

namespace {

std::optional<int> port(const std::string& text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return std::nullopt;
    return value;
}

}  // namespace

std::optional<SignEndpoint> parseSignEndpoint(const std::string& text) {
    const size_t second = text.rfind(':');
    if (second == std::string::npos || second == 0) return std::nullopt;
    const size_t first = text.rfind(':', second - 1);
    if (first == std::string::npos || first == 0) return std::nullopt;
    auto command = port(text.substr(first + 1, second - first - 1));
    auto ftp = port(text.substr(second + 1));
    if (!command || !ftp) return std::nullopt;
    return SignEndpoint{text.substr(0, first), *command, *ftp};
}

std::optional<SignEndpoint> signEndpointFromEnvironment() {
    const char* value = std::getenv(kVirtualSignVariable);
    if (!value) return std::nullopt;
    return parseSignEndpoint(value);
}

}  // namespace brightline
