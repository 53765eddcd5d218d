#pragma once
// The fixed texts the operator sees about sign operations, exactly as the sign tools word them.

namespace brightline {

inline constexpr const char* kCaptionInfo = "INFO";
inline constexpr const char* kCaptionError = "Error";
inline constexpr const char* kCaptionGetTimeOk = "Get Time OK!";
inline constexpr const char* kCaptionSendTimeOk = "Send Time OK!";
inline constexpr const char* kCaptionSetAddrOk = "Set ADDR OK!";
inline constexpr const char* kCaptionSetIpOk = "Set IP OK!";

inline constexpr const char* kMsgCommunicationError = "Communication error!";
inline constexpr const char* kMsgCommunicationOk = "Communication ok!";
inline constexpr const char* kMsgIsTaken = "is taken !";
inline constexpr const char* kMsgSending = "Sending...";
inline constexpr const char* kMsgSend = "Send";
inline constexpr const char* kMsgReading = "Reading...";
inline constexpr const char* kMsgCapacity =
    "The amount of file size exceed the FLASH DISK capacity.";
inline constexpr const char* kMsgRebooting =
    "Please wait a minute,the LED sign is rebooting itself!";
inline constexpr const char* kMsgSetAddrOk = "Set ADDR OK!";
inline constexpr const char* kMsgFirmwareOk =
    "UpDate firmware ok! \n\nPlease wait a minute,the LED sign is rebooting itself!";
inline constexpr const char* kMsgFirmwareError = "UpDate firmware error!";
inline constexpr const char* kMsgFontOk =
    "UpDate firmware font ok! \n\nPlease wait a minute,the LED sign is rebooting itself!";
inline constexpr const char* kMsgFontError = "UpDate firmware font error!";
inline constexpr const char* kMsgBootReadFailed = "Read show information on startup failed!\n";
inline constexpr const char* kMsgBootSetOk = "Set show information on startup successful!\n";
inline constexpr const char* kMsgBootSetFailed = "Set show information on startup failed!\n";
inline constexpr const char* kMsgNoException = "There was an exception";

inline constexpr const char* kMsgNoModemChosen =
    "No modem is chosen: choose one with Set > Select Modem first.";

// A verified send.
inline constexpr const char* kMsgVerifying = "Reading the sign's file list back...";
inline constexpr const char* kMsgVerifyMismatch =
    "The sign's file list does not match what was sent:";

// Sending to several signs.
inline constexpr const char* kMsgChooseSigns = "Please choose at least one sign.";
inline constexpr const char* kMsgNoSigns =
    "The sign list is empty: add signs with Set > Set communication first.";
inline constexpr const char* kMsgNothingToSend =
    "There is nothing to send: open a program, or make one first.";

// The guard in front of the address dialogs.
inline constexpr const char* kSignPassword = "480713";
inline constexpr const char* kMsgAdvancedFeature =
    "Warning! this is an advanced feature,wrong\noperation may cause the sign to malfunction!";
inline constexpr const char* kMsgEnterSignPassword = "Please enter password to proceed(480713)";
inline constexpr const char* kMsgSignPasswordError = "Password error!";
// The questions of the change-address and change-IP dialogs (printf formats).
inline constexpr const char* kAskChangeAddress =
    "This is to change the COM communication address of the sign,\nif it goes "
    "successfully,the new COM communication address \nwill be %d ,the new BPS will be %d . "
    "\n\nplease make note of the new COM communication address!";
inline constexpr const char* kAskChangeIp =
    "This is to change the IP address of the sign,\nif it goes successfully,the new IP address "
    "\nwill be %d.%d.%d.%d .\n\nplease make note of the new IP address!";

// Network command words.
inline constexpr const char* kWordDel = "QVX0001DEL";
inline constexpr const char* kWordAck = "QVX0001ACK";
inline constexpr const char* kWordReal0 = "QVX0001REAL0";
inline constexpr const char* kWordResume = "QVX0001RESUME";
inline constexpr const char* kWordUpOs = "QVX0001UP_OS";
inline constexpr const char* kWordUpFont = "QVX0001UP_FONT";
inline constexpr const char* kWordInstallOk = "QVX0001ACK00";
inline constexpr const char* kWordGetDate = "QVX0001GETDATE";
inline constexpr const char* kWordSetDate = "QVX01SETDATE";
inline constexpr const char* kWordGetFile = "QVX01GETFILE";
inline constexpr const char* kWordReboot = "QVX0001REBOOT";
inline constexpr const char* kWordSetIp = "QVX01SETIP";
inline constexpr const char* kWordScan = "QVX01SCAN";
inline constexpr const char* kWordGetBootParam = "QVX0001GETBOOTPARAM";
inline constexpr const char* kWordSetBootParam = "QVX0001SETBOOTPARAM";
inline constexpr const char* kWordBootParamReply = "QVX0001ACKBOOTPARAM:";
inline constexpr const char* kWordBootParamOk = "QVX0001ACK01";
inline constexpr const char* kSerialBootParamReply = "BOOTPARAM:";
inline constexpr const char* kSerialBootParamOk = "ACK01";
inline constexpr const char* kSerialInstallFailed = "ACK00";
inline constexpr const char* kSerialAddressReboot = "ACKREBOOT";

// Files the operations prepare or fetch.
inline constexpr const char* kFirmwareFile = "zos.zos";
inline constexpr const char* kFontFile = "ezfon.bin";
inline constexpr const char* kFileListFile = "filelist.txt";

}  // namespace brightline
