#include "tools/handheld/provider_list.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace handheld {

namespace {

constexpr char kFormat[] = "2.0";

std::string Trimmed(std::string_view text) {
  auto white = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && white(text.front())) text.remove_prefix(1);
  while (!text.empty() && white(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string TextOf(const pugi::xml_node& node) { return Trimmed(node.child_value()); }

// A login as written: blanks may belong to it.
std::optional<std::string> Credential(const pugi::xml_node& parent, const char* name) {
  const pugi::xml_node node = parent.child(name);
  if (!node) return std::nullopt;
  return std::string(node.child_value());
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Line numbers from byte offsets of the parsed buffer.
class LineTable {
 public:
  explicit LineTable(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') newlines_.push_back(i);
  }
  size_t LineOf(ptrdiff_t offset) const {
    if (offset < 0) return 0;
    const auto it = std::lower_bound(newlines_.begin(), newlines_.end(), static_cast<size_t>(offset));
    return static_cast<size_t>(it - newlines_.begin()) + 1;
  }

 private:
  std::vector<size_t> newlines_;
};

// The name without a language, else the first one.
std::string ProviderName(const pugi::xml_node& provider) {
  pugi::xml_node chosen;
  for (pugi::xml_node name : provider.children("name")) {
    if (!chosen) chosen = name;
    if (!name.attribute("xml:lang")) {
      chosen = name;
      break;
    }
  }
  return chosen ? TextOf(chosen) : std::string();
}

AccessPoint ReadAccessPoint(const pugi::xml_node& apn, const LineTable& lines) {
  AccessPoint ap;
  // As written: white space around an APN is for the import to judge.
  ap.apn = apn.attribute("value").value();
  ap.line = lines.LineOf(apn.offset_debug());
  const pugi::xml_node usage = apn.child("usage");
  const std::string type = Lower(usage.attribute("type").value());
  // The combined usages of some carriers serve both the internet and MMS.
  const bool combined = type.starts_with("mms-internet");
  ap.internet = !usage || type == "internet" || combined;
  ap.mms = type == "mms" || combined;
  ap.wap = type == "wap";
  ap.username = Credential(apn, "username");
  ap.password = Credential(apn, "password");
  ap.authentication = Lower(apn.child("authentication").attribute("method").value());
  for (pugi::xml_node dns : apn.children("dns")) ap.dns.push_back(TextOf(dns));
  ap.mmsc = TextOf(apn.child("mmsc"));
  ap.mmsProxy = TextOf(apn.child("mmsproxy"));
  return ap;
}

Provider ReadProvider(const pugi::xml_node& node, const LineTable& lines) {
  Provider p;
  p.name = ProviderName(node);
  p.line = lines.LineOf(node.offset_debug());
  if (const pugi::xml_node gsm = node.child("gsm")) {
    p.hasGsm = true;
    for (pugi::xml_node id : gsm.children("network-id"))
      p.networks.push_back({Trimmed(id.attribute("mcc").value()), Trimmed(id.attribute("mnc").value())});
    for (pugi::xml_node apn : gsm.children("apn")) p.accessPoints.push_back(ReadAccessPoint(apn, lines));
  }
  if (const pugi::xml_node cdma = node.child("cdma")) {
    p.hasCdma = true;
    p.cdmaUsername = Credential(cdma, "username");
    p.cdmaPassword = Credential(cdma, "password");
    for (pugi::xml_node dns : cdma.children("dns")) p.cdmaDns.push_back(TextOf(dns));
  }
  return p;
}

bool ReadFile(const std::filesystem::path& path, std::string& data, std::string& why) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) {
    why = path.string() + ": " + ec.message();
    return false;
  }
  if (size > kMaxProviderFileSize) {
    why = path.string() + ": " + std::to_string(size) + " bytes, more than the " +
          std::to_string(kMaxProviderFileSize) + " a provider list may have";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    why = path.string() + ": cannot be read";
    return false;
  }
  return true;
}

}  // namespace

bool LoadProviderList(const std::filesystem::path& path, ProviderList& out, std::string& why) {
  out = ProviderList{};
  std::string data;
  if (!ReadFile(path, data, why)) return false;
  return ParseProviderList(data, path.string(), out, why);
}

bool ParseProviderList(std::string_view data, const std::string& path, ProviderList& out, std::string& why) {
  out = ProviderList{};
  const LineTable lines(data);
  pugi::xml_document doc;
  // A login of blanks only is still a login.
  const pugi::xml_parse_result parsed =
      doc.load_buffer(data.data(), data.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (!parsed) {
    why = path + ":" + std::to_string(lines.LineOf(parsed.offset)) + ": " + parsed.description();
    return false;
  }
  const pugi::xml_node root = doc.child("serviceproviders");
  if (!root) {
    why = path + ": no <serviceproviders> element; not a provider list";
    return false;
  }
  if (std::string_view(root.attribute("format").value()) != kFormat) {
    why = path + ":" + std::to_string(lines.LineOf(root.offset_debug())) +
          ": format \"" + root.attribute("format").value() + "\", expected " + kFormat;
    return false;
  }
  for (pugi::xml_node country : root.children("country")) {
    ProviderCountry& c = out.countries.emplace_back();
    c.region = Upper(Trimmed(country.attribute("code").value()));
    c.name = TextOf(country.child("name"));
    for (pugi::xml_node provider : country.children("provider"))
      c.providers.push_back(ReadProvider(provider, lines));
  }
  return true;
}

}  // namespace handheld
