#pragma once
// What an upload sends from the workspace folder, for the network and the serial link alike: the
// entries directly in it, except "." and ".." and Make's subfolders "data" and "script", which
// never go to the sign. Any other entry is sent as it is (a stray folder fails the upload rather
// than being passed over). Names in name order.
#include <string>
#include <vector>

namespace brightline {

// True for a name an upload sends.
bool isUploadedName(const std::string& name);
// The names in `folder` an upload sends; none when the folder cannot be read.
std::vector<std::string> uploadNames(const std::string& folder);

}  // namespace brightline
