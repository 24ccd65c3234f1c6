#pragma once
// The configuration manager of the handheld (DMProcessConfigXML): takes a
// WAP provisioning document, checks it with a real XML parser and applies
// it to the device (config_service_providers.h).
//
// Every document handed over is recorded byte for byte under provisioning/
// (provisioning_record.h), then journalled with its number:
//
//   configuration manager accepted document 0003: CM_GPRSEntries
//   configuration manager ignored characteristic FOO of document 0004
//   configuration manager rejected document 0005: <why>
//
// A document that is not well-formed XML, whose root is not
// <wap-provisioningdoc>, that holds anything but characteristic,
// nocharacteristic and parm elements, or that the device cannot apply (a
// phonebook entry name too long, an address that does not parse) is
// rejected: nothing of it is applied and the result is not 0. A
// characteristic type the device does not know is recorded and journalled
// as ignored, and the rest of the document applies.

#include <cstdint>
#include <memory>

#include "base/text.h"

namespace platform {

// The flags of the call: process the document (the only one supported).
inline constexpr uint32_t kCfgFlagProcess = 1;

// Results (HRESULT values).
inline constexpr long kConfigSuccess = 0;
inline constexpr long kConfigErrorInvalidArgument = 0x80070057L;  // E_INVALIDARG
inline constexpr long kConfigErrorFailed = 0x80004005L;           // E_FAIL
inline constexpr long kConfigErrorNotImplemented = 0x80004001L;   // E_NOTIMPL

// The result document; the caller releases it (by letting it go).
using ConfigResultText = std::unique_ptr<char16_t[]>;

// Processes a document. flags must be kCfgFlagProcess; any other flag is
// not supported. A document of more than kMaxProvisioningDocumentSize bytes
// is refused unrecorded (kConfigErrorInvalidArgument). *result (when result is not null) receives the processed
// document, zero-terminated, or null when the document was rejected.
long DMProcessConfigXML(WStringView document, uint32_t flags, ConfigResultText* result);

}  // namespace platform
