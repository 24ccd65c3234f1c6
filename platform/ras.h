#pragma once
// The handheld's RAS functions on the default phonebook, with the
// platform's structures and result codes. The phonebook itself (where and how
// the entries are kept) is ras_phonebook.h.
//
// Result codes are the handheld's: 0 on success, kRasErrorBufferTooSmall
// (603) when a buffer is too small (the size needed is reported back),
// kRasErrorCannotFindPhonebookEntry (623) for an entry that does not exist,
// kRasErrorInvalidSize (632) when a structure's size field is not the
// platform's, kErrorInvalidName (123) for an entry name the phonebook cannot
// hold, kErrorInvalidParameter (87) for missing arguments. Only the default
// phonebook exists: naming any other fails with
// kRasErrorCannotOpenPhonebook (621).

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

// Text field lengths of the structures, terminator not included.
inline constexpr size_t kRasMaxEntryName = 20;
inline constexpr size_t kRasMaxAreaCode = 10;
inline constexpr size_t kRasMaxPhoneNumber = 128;
inline constexpr size_t kRasMaxCallbackNumber = 48;
inline constexpr size_t kRasMaxDeviceType = 16;
inline constexpr size_t kRasMaxDeviceName = 128;
inline constexpr size_t kRasMaxPadType = 32;
inline constexpr size_t kRasMaxX25Address = 200;
inline constexpr size_t kRasMaxFacilities = 200;
inline constexpr size_t kRasMaxUserData = 200;
inline constexpr size_t kRasMaxUserName = 256;
inline constexpr size_t kRasMaxPassword = 256;
inline constexpr size_t kRasMaxDomain = 15;
inline constexpr size_t kRasMaxPath = 260;

inline constexpr ErrorCode kRasErrorBufferTooSmall = 603;
inline constexpr ErrorCode kRasErrorCannotOpenPhonebook = 621;
inline constexpr ErrorCode kRasErrorCannotFindPhonebookEntry = 623;
inline constexpr ErrorCode kRasErrorCannotWritePhonebook = 624;
inline constexpr ErrorCode kRasErrorCorruptPhonebook = 625;
inline constexpr ErrorCode kRasErrorInvalidSize = 632;

// Entry options (the RASEO_ bits).
inline constexpr uint32_t kRaseoUseCountryAndAreaCodes = 0x00000001;
inline constexpr uint32_t kRaseoSpecificIpAddr = 0x00000002;
inline constexpr uint32_t kRaseoSpecificNameServers = 0x00000004;
inline constexpr uint32_t kRaseoIpHeaderCompression = 0x00000008;
inline constexpr uint32_t kRaseoRemoteDefaultGateway = 0x00000010;
inline constexpr uint32_t kRaseoSwCompression = 0x00000200;

// An IPv4 address as the entry holds it: the 32-bit value
// a*2^24 + b*2^16 + c*2^8 + d in little-endian byte order, so bytes[0] is d.
struct RasIpAddr {
  uint8_t bytes[4] = {0, 0, 0, 0};
};

// The entry properties (RASENTRY) as the handheld lays them out.
struct RasEntry {
  uint32_t size;
  uint32_t options;
  uint32_t countryId;
  uint32_t countryCode;
  char16_t areaCode[kRasMaxAreaCode + 1];
  char16_t localPhoneNumber[kRasMaxPhoneNumber + 1];
  uint32_t alternateOffset;
  RasIpAddr ipAddr;
  RasIpAddr dnsAddr;
  RasIpAddr altDnsAddr;
  RasIpAddr winsAddr;
  RasIpAddr altWinsAddr;
  uint32_t frameSize;
  uint32_t netProtocols;
  uint32_t framingProtocol;
  char16_t script[kRasMaxPath];
  char16_t autodialDll[kRasMaxPath];
  char16_t autodialFunc[kRasMaxPath];
  char16_t deviceType[kRasMaxDeviceType + 1];
  char16_t deviceName[kRasMaxDeviceName + 1];
  char16_t x25PadType[kRasMaxPadType + 1];
  char16_t x25Address[kRasMaxX25Address + 1];
  char16_t x25Facilities[kRasMaxFacilities + 1];
  char16_t x25UserData[kRasMaxUserData + 1];
  uint32_t channels;
  uint32_t reserved1;
  uint32_t reserved2;
  uint32_t reserved3;
};
static_assert(sizeof(RasEntry) == 3472, "the handheld's entry structure is 3472 bytes");

// One record of an entry enumeration (RASENTRYNAME).
struct RasEntryName {
  uint32_t size;
  char16_t entryName[kRasMaxEntryName + 1];
};
static_assert(sizeof(RasEntryName) == 48, "the handheld's entry name record is 48 bytes");

// The dial parameters (RASDIALPARAMS).
struct RasDialParams {
  uint32_t size;
  char16_t entryName[kRasMaxEntryName + 1];
  char16_t phoneNumber[kRasMaxPhoneNumber + 1];
  char16_t callbackNumber[kRasMaxCallbackNumber + 1];
  char16_t userName[kRasMaxUserName + 1];
  char16_t password[kRasMaxPassword + 1];
  char16_t domain[kRasMaxDomain + 1];
};
static_assert(sizeof(RasDialParams) == 1464, "the handheld's dial parameters are 1464 bytes");

// The dotted form a.b.c.d of an entry's address, and back: four numbers
// from 0 to 255 separated by dots and nothing else, or false.
WString RasAddressText(const RasIpAddr& address);
bool ParseRasAddress(WStringView text, RasIpAddr& out);

// Copies text and its terminator into a text field; false, field untouched,
// when it does not fit.
bool CopyRasText(std::span<char16_t> field, WStringView text);
// A field's text up to its terminator (or its end, when it has none).
WString RasText(std::span<const char16_t> field);

// Fills the records with the entry names. *bufferSize is the size of the
// buffer in bytes and receives the size needed; *count receives the number
// of entries. The first record's size field must be sizeof(RasEntryName).
// reserved must be null.
ErrorCode RasEnumEntries(const char16_t* reserved, const char16_t* phonebook,
                         RasEntryName* entries, uint32_t* bufferSize, uint32_t* count);

// Reads an entry's properties and its device configuration block. With
// deviceConfigSize null the block is not asked for. When entry or the block
// buffer is null or smaller than needed, *entrySize and *deviceConfigSize
// receive the sizes needed, nothing else is written and the result is
// kRasErrorBufferTooSmall (an entry without a block needs 0 bytes for it).
ErrorCode RasGetEntryProperties(const char16_t* phonebook, const char16_t* entryName,
                                RasEntry* entry, uint32_t* entrySize, uint8_t* deviceConfig,
                                uint32_t* deviceConfigSize);

// Creates or replaces an entry's properties. A null deviceConfig keeps the
// block the entry has; dial parameters are kept too.
ErrorCode RasSetEntryProperties(const char16_t* phonebook, const char16_t* entryName,
                                const RasEntry* entry, uint32_t entrySize,
                                const uint8_t* deviceConfig, uint32_t deviceConfigSize);

// Stores the user name, password and domain of the entry named in params;
// with removePassword the stored password is removed instead.
ErrorCode RasSetEntryDialParams(const char16_t* phonebook, const RasDialParams* params,
                                bool removePassword);

// Reads them back; *passwordSaved tells whether a password is stored.
ErrorCode RasGetEntryDialParams(const char16_t* phonebook, RasDialParams* params,
                                bool* passwordSaved);

ErrorCode RasDeleteEntry(const char16_t* phonebook, const char16_t* entryName);

}  // namespace platform
