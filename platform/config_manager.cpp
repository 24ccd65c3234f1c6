#include "platform/config_manager.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/config_service_providers.h"
#include "platform/journal.h"
#include "platform/provisioning_record.h"

namespace platform {

namespace {

constexpr char kRoot[] = "wap-provisioningdoc";
constexpr char kCharacteristic[] = "characteristic";
constexpr char kNoCharacteristic[] = "nocharacteristic";
constexpr char kParm[] = "parm";
// Characteristics nest a few levels deep (list, entry, device settings).
constexpr int kMaxDepth = 8;

std::string Utf16LeBytes(WStringView text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

bool Fail(std::string* why, const std::string& message) {
  if (why) *why = message;
  return false;
}

bool ReadCharacteristic(const pugi::xml_node& node, int depth, ConfigCharacteristic& out,
                        std::string* why);

bool ReadChildren(const pugi::xml_node& node, int depth, ConfigCharacteristic& out,
                  std::string* why) {
  for (const pugi::xml_node& child : node.children()) {
    if (child.type() == pugi::node_comment) continue;
    if (child.type() != pugi::node_element)
      return Fail(why, "text inside <" + std::string(node.name()) + ">");
    if (std::strcmp(child.name(), kParm) == 0) {
      if (!child.attribute("name")) return Fail(why, "a <parm> without a name");
      out.parms.push_back({FromUtf8(child.attribute("name").value()),
                           FromUtf8(child.attribute("value").value())});
      continue;
    }
    ConfigCharacteristic inner;
    if (!ReadCharacteristic(child, depth + 1, inner, why)) return false;
    out.children.push_back(std::move(inner));
  }
  return true;
}

bool ReadCharacteristic(const pugi::xml_node& node, int depth, ConfigCharacteristic& out,
                        std::string* why) {
  const bool removal = std::strcmp(node.name(), kNoCharacteristic) == 0;
  if (!removal && std::strcmp(node.name(), kCharacteristic) != 0)
    return Fail(why, "unexpected element <" + std::string(node.name()) + ">");
  if (depth > kMaxDepth) return Fail(why, "characteristics nested too deep");
  if (!node.attribute("type") || node.attribute("type").value()[0] == '\0')
    return Fail(why, "a <" + std::string(node.name()) + "> without a type");
  out.type = FromUtf8(node.attribute("type").value());
  out.removal = removal;
  if (removal && node.first_child()) return Fail(why, "a <nocharacteristic> with content");
  return ReadChildren(node, depth, out, why);
}

// Parses the document into its top-level characteristics.
bool ParseDocument(const std::string& bytes, std::vector<ConfigCharacteristic>& out,
                   std::string* why) {
  pugi::xml_document doc;
  pugi::xml_parse_result parsed =
      doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf16_le);
  if (!parsed)
    return Fail(why, std::string(parsed.description()) + " at offset " +
                         std::to_string(parsed.offset));
  pugi::xml_node root = doc.document_element();
  if (std::strcmp(root.name(), kRoot) != 0)
    return Fail(why, "the root element is <" + std::string(root.name()) + ">, not <" + kRoot + ">");
  ConfigCharacteristic top;
  if (!ReadChildren(root, 0, top, why)) return false;
  if (!top.parms.empty()) return Fail(why, "a <parm> outside any characteristic");
  out = std::move(top.children);
  return true;
}

std::string Label(uint32_t number) {
  std::string name = ProvisioningFileName(number);
  return name.substr(0, name.size() - 4);  // without ".xml"
}

}  // namespace

long DMProcessConfigXML(WStringView document, uint32_t flags, ConfigResultText* result) {
  if (result) result->reset();
  if (flags != kCfgFlagProcess)
    return (flags & kCfgFlagProcess) ? kConfigErrorNotImplemented : kConfigErrorInvalidArgument;
  const std::string bytes = Utf16LeBytes(document);
  if (bytes.size() > kMaxProvisioningDocumentSize) return kConfigErrorInvalidArgument;

  std::string why;
  const auto number = RecordProvisioningDocument(bytes, &why);
  const std::string label = number ? "document " + Label(*number) : "an unrecorded document";

  std::vector<ConfigCharacteristic> characteristics;
  std::vector<ConfigChange> changes;
  std::vector<std::string> applied, ignored;
  bool ok = ParseDocument(bytes, characteristics, &why);
  for (size_t i = 0; ok && i < characteristics.size(); ++i) {
    const ConfigCharacteristic& c = characteristics[i];
    if (!IsKnownCharacteristicType(c.type)) {
      ignored.push_back(ToUtf8(c.type));
      continue;
    }
    ok = PrepareCharacteristic(c, changes, &why);
    applied.push_back(ToUtf8(c.type));
  }
  if (!ok) {
    JournalEvent("configuration manager rejected " + label + ": " + why);
    return kConfigErrorFailed;
  }

  for (const ConfigChange& change : changes) change();
  std::string types;
  for (const std::string& t : applied) types += (types.empty() ? "" : ", ") + t;
  JournalEvent("configuration manager accepted " + label + ": " + (types.empty() ? "nothing to apply" : types));
  for (const std::string& t : ignored)
    JournalEvent("configuration manager ignored characteristic " + t + " of " + label);

  if (result) {
    *result = std::make_unique<char16_t[]>(document.size() + 1);
    std::copy(document.begin(), document.end(), result->get());
  }
  return kConfigSuccess;
}

}  // namespace platform
