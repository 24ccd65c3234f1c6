// handheld operators DIR import: the world's operators from the mobile
// broadband provider list, as an operator database in the applet's working
// folder, where the applet prefers it to the installed one.

#include <iostream>

#include "applet/connections/operator_database.h"
#include "applet/connections/sms_center_database.h"
#include "applet/shell/applet_folders.h"
#include "applet/shell/operator_dialog_lists.h"
#include "platform/code_page.h"
#include "platform/device_path.h"
#include "platform/file.h"
#include "tools/handheld/commands.h"
#include "tools/handheld/applet_environment.h"
#include "tools/handheld/import_report.h"
#include "tools/handheld/operator_import.h"
#include "tools/handheld/provider_list.h"

namespace handheld {

namespace {

using platform::WString;

std::string U8(platform::WStringView text) { return platform::ToUtf8(text); }

// Creates a folder and the folders above it that are missing.
void CreateFolders(const WString& folder) {
  if (folder.empty() || platform::IsDirectory(folder)) return;
  const WString parent = platform::DeviceParentPath(folder);
  if (parent != folder) CreateFolders(parent);
  if (platform::CreateDeviceDirectory(folder) != platform::kErrorSuccess && !platform::IsDirectory(folder))
    throw CommandError("cannot create the folder " + U8(folder));
}

// Writes the file through a temporary one, so that the applet never reads
// half of it.
void WriteAtomically(const WString& path, const std::string& text) {
  const WString temporary = path + u".new";
  if (platform::WriteDeviceFile(temporary, text) != platform::kErrorSuccess ||
      platform::ReplaceDeviceFile(temporary, path) != platform::kErrorSuccess) {
    platform::DeleteDeviceFile(temporary);
    throw CommandError("cannot write " + U8(path));
  }
}

struct ImportOptions {
  std::string xml = kDefaultProviderFile;
  bool force = false;
};

void Import(const ImportOptions& options) {
  const AppletEnvironment environment;
  const applet::AppletFolders& folders = environment.Folders();
  const WString target = folders.working + applet::OperatorDatabase::kFileName;
  if (platform::FileExists(target) && !options.force)
    throw CommandError(U8(target) + " exists; --force replaces it");

  const unsigned codePage = platform::DeviceCodePage();
  if (!platform::IsCodePageSupported(codePage))
    throw CommandError("the device's code page " + std::to_string(codePage) + " has no converter");

  ProviderList list;
  std::string why;
  if (!LoadProviderList(options.xml, list, why)) throw CommandError(why);

  if (!environment.HasResources())
    std::cerr << "handheld: warning: no usable resource library in " << U8(folders.installed)
              << "; names are not checked against the operator lists' first entries\n";
  auto text = [&](uint32_t number) { return environment.Text(number).value_or(WString()); };
  ImportSettings settings{CodePageText(codePage), text(applet::kPlaceholderOperatorString),
                          text(applet::OperatorDatabase::kCustomOperatorString), options.xml};
  const ImportResult result = ImportOperators(list, settings);

  CreateFolders(folders.working.substr(0, folders.working.size() - 1));
  WriteAtomically(target, result.fileText);

  ImportReportContext context{options.xml, U8(target), codePage,
                              U8(text(applet::OperatorDatabase::kNoCountryString))};
  for (const WString& folder : {folders.working, folders.installed}) {
    if (platform::FileExists(folder + applet::SmsCenterDatabase::kFileName)) {
      context.smsCentres = U8(folder + applet::SmsCenterDatabase::kFileName);
      break;
    }
  }
  context.countries = list.countries.size();
  for (const ProviderCountry& country : list.countries) context.providers += country.providers.size();
  PrintImportReport(std::cout, result, context);
}

}  // namespace

void AddOperatorsImportCommand(CLI::App& operators, const std::function<void(const std::function<void()>&)>& onDevice) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* cmd = operators.add_subcommand(
      "import",
      "Write an operator database made from the mobile broadband provider list (Debian's\n"
      "mobile-broadband-provider-info) into the applet's working folder, where the applet\n"
      "prefers it to the installed one, and tell what the applet cannot use of the list.\n"
      "The SMS-centre database OPE.inf is left as it is (the list has no SMS centres).");
  cmd->add_option("XML", options->xml, "The provider list (default: " + std::string(kDefaultProviderFile) + ")");
  cmd->add_flag("--force", options->force, "Replace an operator database that is in the working folder");
  cmd->callback([options, onDevice] { onDevice([options] { Import(*options); }); });
}

}  // namespace handheld
