#include "comm/sign_record_store.h"

#include "comm/led_set_data.h"

namespace brightline {

bool storeSignRecord(const std::string& path, const std::string& signName,
                     const SignRecordValues& values) {
    SignList list;
    if (!loadSignList(path, list)) return false;
    CLED_Set_Data* sign = list.find(signName);
    if (!sign) return false;
    sign->width = values.width;
    sign->height = values.height;
    if (values.withLink) {
        sign->port = values.port;
        sign->address = values.address;
        sign->baudIndex = values.baudIndex;
    }
    return saveSignList(path, list);
}

bool readSignSize(const std::string& path, const std::string& signName, int& width, int& height) {
    SignList list;
    if (!loadSignList(path, list)) return false;
    const CLED_Set_Data* sign = list.find(signName);
    if (!sign) return false;
    width = sign->width;
    height = sign->height;
    return true;
}

}  // namespace brightline
