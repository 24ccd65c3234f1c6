#pragma once
// The documents handed to the configuration manager, kept in the device
// root's "provisioning/" folder byte for byte as they were submitted
// (UTF-16LE), one file each: "0001.xml", "0002.xml", ... (four digits, more
// once 9999 is passed). Numbers run over the device's whole life and are
// never given twice, also across resets and when files are removed: the
// last number given is kept in "provisioning/sequence", and a lock on
// "provisioning/.lock" serialises the processes that record.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The largest document the configuration manager takes, in bytes.
inline constexpr size_t kMaxProvisioningDocumentSize = 1024 * 1024;

std::string ProvisioningFileName(uint32_t number);

// Records a document under the next number and returns the number, or
// nullopt (with *why) when it cannot be written.
std::optional<uint32_t> RecordProvisioningDocument(std::string_view bytes, std::string* why);

// The numbers of the recorded documents, in increasing order.
std::vector<uint32_t> ListProvisioningDocuments();
bool ReadProvisioningDocument(uint32_t number, std::string& bytes, std::string* why);

}  // namespace platform
