// The sign's reply texts from arbitrary bytes: the length header, the upload folder, the
// refusal, the start-up display settings and the file list a verified send reads back.
#include <cstdlib>
#include <string>

#include "comm/network_link.h"
#include "comm/send_verification.h"
#include "comm/sign_requests.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brightline;
    const std::string reply(reinterpret_cast<const char*>(data), size);
    const long length = parseReplyLength(reply.data(), std::min<size_t>(8, reply.size()));
    if (length < 0 || length > 999999999) std::abort();
    const std::string folder = remoteFolderFromReply(reply);
    if (folder.size() > reply.size()) std::abort();
    (void)replyRefuses(reply);
    if (auto p = parseBootParams(reply, "BOOTPARAM:")) {
        if (reply.compare(0, 10, "BOOTPARAM:") != 0) std::abort();
    }
    (void)parseIp(reply);
    const std::vector<ListedFile> listed = parseSignFileList(reply);
    for (const ListedFile& f : listed)
        if (f.name.empty() || f.name.size() > reply.size()) std::abort();
    const std::vector<SentFile> sent = {{"run.at", 12}, {"70001001.JPG", 4000}};
    if (compareWithSignList(sent, listed, folder).size() > sent.size()) std::abort();
    return 0;
}
