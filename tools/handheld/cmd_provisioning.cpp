// handheld provisioning: the documents handed to the configuration manager.

#include <iostream>

#include "base/text.h"
#include "platform/journal.h"
#include "platform/provisioning_record.h"
#include "tools/handheld/commands.h"

namespace handheld {

namespace {

// UTF-16LE bytes as UTF-8 text, line ends as the terminal wants them.
std::string DocumentText(const std::string& bytes) {
  platform::WString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                         static_cast<uint8_t>(bytes[i + 1]) << 8));
  std::string out;
  for (char c : platform::ToUtf8(text))
    if (c != '\r') out.push_back(c);
  if (bytes.size() % 2 != 0) out += "(an odd byte at the end)\n";
  return out;
}

void PrintDocument(uint32_t number, const std::vector<std::string>& journal) {
  std::string bytes, why;
  if (!platform::ReadProvisioningDocument(number, bytes, &why)) throw CommandError(why);
  const std::string name = platform::ProvisioningFileName(number);
  std::cout << "=== " << name << "\n";
  // What the configuration manager made of it.
  const std::string label = "document " + name.substr(0, name.size() - 4);
  for (const std::string& line : journal) {
    const size_t at = line.find(label);
    if (at != std::string::npos &&
        (at + label.size() == line.size() || line[at + label.size()] == ':'))
      std::cout << "# " << line << "\n";
  }
  std::cout << DocumentText(bytes);
}

}  // namespace

void AddProvisioningCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    uint32_t number = 0;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "provisioning",
      "Print the documents handed to the configuration manager (provisioning/NNNN.xml) as\n"
      "UTF-8 text, each with the journal lines that say what became of it");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_option("N", opts->number, "Print only document N")->check(CLI::PositiveNumber);
  cmd->callback([opts] {
    auto device = OpenDevice(opts->dir);
    const auto journal = device->Get().Journal().Lines();
    if (opts->number != 0) {
      PrintDocument(opts->number, journal);
      return;
    }
    const auto numbers = platform::ListProvisioningDocuments();
    if (numbers.empty()) std::cout << "no documents were handed to the configuration manager\n";
    for (uint32_t n : numbers) PrintDocument(n, journal);
  });
}

}  // namespace handheld
