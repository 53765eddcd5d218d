#pragma once
// The OEM / ANSI code page of the sign and of the stored 8-bit texts: GBK (code page 936).
// Thread-safe; each thread keeps its own converters.
#include <string>

namespace brightline {

// UTF-8 → GBK bytes. A character GBK cannot hold becomes '?', as the sign's tools did.
std::string toOem(const std::string& utf8);
// GBK bytes → UTF-8. A byte sequence that is not GBK becomes U+FFFD.
std::string fromOem(const std::string& oem);

}  // namespace brightline
