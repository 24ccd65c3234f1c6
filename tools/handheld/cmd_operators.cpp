// handheld operators: the operator database as the applet on a device sees
// it, for the integrators who write it.

#include <iostream>
#include <optional>

#include "applet/connections/operator_database.h"
#include "applet/connections/operator_keys.h"
#include "applet/connections/sms_center_database.h"
#include "applet/device/country_name.h"
#include "applet/shell/applet_folders.h"
#include "applet/shell/operator_dialog_lists.h"
#include "platform/file.h"
#include "platform/sim_config.h"
#include "tools/handheld/commands.h"
#include "tools/handheld/applet_environment.h"
#include "tools/handheld/operator_check.h"

namespace handheld {

namespace {

using applet::BearerType;
using platform::WString;
using platform::WStringView;

// Exit status of check when it found something.
constexpr int kFindingsExitCode = 2;

std::string U8(WStringView text) { return platform::ToUtf8(text); }

struct OperatorView {
  AppletEnvironment environment;
  const applet::AppletFolders& folders = environment.Folders();
  WString operatorFolder = environment.DatabaseFolder(applet::OperatorDatabase::kFileName);
  WString smsFolder = environment.DatabaseFolder(applet::SmsCenterDatabase::kFileName);
  applet::OperatorDatabase db;

  OperatorView() {
    if (!environment.HasResources())
      std::cerr << "handheld: warning: no usable resource library in " << U8(folders.installed)
                << "; the list texts are empty\n";
  }

  // Opens the database and gives its lists the texts the operator dialog shows.
  void Open() {
    if (!db.Open(operatorFolder, u""))
      throw CommandError("cannot open " + U8(operatorFolder) + U8(applet::OperatorDatabase::kFileName) +
                         " (looked in " + U8(folders.working) + " and " + U8(folders.installed) + ")");
    applet::UseDialogListTexts(db);
    std::cout << "database " << U8(operatorFolder) << U8(applet::OperatorDatabase::kFileName) << "\n";
  }
};

const char* AuthName(applet::AuthMethod method) {
  switch (method) {
    case applet::AuthMethod::None: return "NONE";
    case applet::AuthMethod::Pap: return "PAP";
    case applet::AuthMethod::Chap: return "CHAP";
    case applet::AuthMethod::Auto: return "AUTO";
  }
  return "?";
}

std::string QosText(const applet::CQualityOfService& q) {
  if (!q.IsSet()) return "(not set)";
  return std::to_string(q.precedence) + "," + std::to_string(q.delay) + "," +
         std::to_string(q.reliability) + "," + std::to_string(q.peakClass) + "," +
         std::to_string(q.meanClass);
}

void PrintField(const char* name, const std::string& value) {
  std::cout << "  " << name << std::string(20 - std::min<size_t>(19, std::string(name).size()), ' ')
            << value << "\n";
}

void PrintRecord(applet::OperatorDatabase& db, applet::CRASparam& r) {
  WString text;
  db.ConnectionName(r.bearer, text);
  PrintField("connection", U8(text));
  PrintField("iconIndex", std::to_string(r.iconIndex));
  PrintField("iconFile", U8(r.iconFile));
  if (r.IsGprsFamily()) {
    std::string apns;
    for (const WString& apn : r.apnList) apns += (apns.empty() ? "" : ", ") + U8(apn);
    PrintField("apn", U8(r.apn));
    PrintField("apnList", apns);
    PrintField("pdpType", U8(r.pdpType));
    PrintField("pdpAddress", U8(r.pdpAddress));
    PrintField("qosRequested", QosText(r.qosRequested));
    PrintField("qosMinimum", QosText(r.qosMinimum));
  }
  PrintField("phoneNumber", U8(r.phoneNumber));
  db.ModemCommand(r.bearer, text);
  PrintField("modem command", U8(text));
  PrintField("userName", U8(r.userName));
  PrintField("password", U8(r.password));
  PrintField("authentication", AuthName(r.authentication));
  PrintField("serverAssignedDns", std::to_string(r.serverAssignedDns));
  PrintField("dns1", U8(r.dns1.ToText()));
  PrintField("dns2", U8(r.dns2.ToText()));
  PrintField("serverAssignedIp", std::to_string(r.serverAssignedIp));
  PrintField("ipAddress", U8(r.ipAddress.ToText()));
  PrintField("headerCompression", std::to_string(r.headerCompression));
  PrintField("dataCompression", std::to_string(r.dataCompression));
}

void PrintOperatorExtras(applet::OperatorDatabase& db) {
  WString proxy, secure;
  if (db.WapProxies(proxy, secure)) {
    PrintField("WAP proxy", U8(proxy));
    PrintField("WAP secure proxy", U8(secure));
  }
  if (!db.MmsOnly()) {
    PrintField("MMS", "not set up (MMSonly is not 1)");
    return;
  }
  WString text;
  db.MmsCenter(text);
  PrintField("MMS centre", U8(text));
  db.MmsGateway(text);
  PrintField("MMS gateway", U8(text));
  db.MmsGatewayPort(text);
  PrintField("MMS gateway port", U8(text));
  db.MmsApn(true, text);
  PrintField("MMS APN", U8(text));
  db.MmsUserName(text);
  PrintField("MMS userName", U8(text));
}

void ShowCountries(OperatorView& view) {
  // The list the applet shows: the no-country entry, then each country with
  // its code (the country of code -1 is the first entry already).
  std::cout << U8(view.db.NoCountry()) << "\n";
  for (const auto& country : view.db.Countries())
    if (country.code != applet::kNoCountryCode)
      std::cout << U8(platform::FormatNameCount(country.name, country.code)) << "\n";
}

// A country given by name or by its telephone code.
WString ResolveCountry(OperatorView& view, const std::string& given) {
  const WString name = platform::FromUtf8(given);
  for (const auto& country : view.db.Countries())
    if (country.name == name || std::to_string(country.code) == given) return country.name;
  if (name == view.db.NoCountry()) return name;
  throw CommandError("no country \"" + given + "\" in the database (see: handheld operators DIR countries)");
}

void ListOperators(OperatorView& view, const std::string& country, int32_t kinds) {
  const WString name = ResolveCountry(view, country);
  const auto list = view.db.ListOperators(name, kinds);
  for (size_t i = 0; i < list.size(); ++i) {
    if (i == 0) {
      std::cout << U8(list[i]) << "\n";
      continue;
    }
    std::cout << U8(list[i]) << "  [" << KindNames(view.db.NetworksOf(list[i])) << "]\n";
  }
}

// The kind find shows: GPRS, else CSD, else the first the operator offers.
std::optional<BearerType> ShownKind(int32_t networks) {
  for (BearerType kind : {BearerType::Gprs, BearerType::Csd})
    if (networks & applet::BearerBit(kind)) return kind;
  for (const auto& keys : applet::operator_keys::AllKindKeys())
    if (networks & applet::BearerBit(keys.kind)) return keys.kind;
  return std::nullopt;
}

void FindOperator(OperatorView& view, std::string number) {
  if (number.empty()) {
    std::string why;
    auto sim = platform::SimConfig::Load(platform::CurrentDevice().SimPath(), &why);
    if (!sim || sim->imsi.empty()) throw CommandError("no HOME-NETWORK-NUMBER given and the SIM has no IMSI");
    number = sim->imsi;
  }
  const WString section = view.db.FindByHomeNetwork(platform::FromUtf8(number));
  if (section.empty()) throw CommandError("no operator lists the home network number of " + number);
  WString country;
  int32_t code = 0;
  view.db.CountryOf(section, country, code);
  view.db.SelectOperator(section);
  const int32_t networks = view.db.NetworksOf();
  std::cout << "section [" << U8(section) << "], country " << (country.empty() ? "(not in the table)" : U8(country))
            << ", offers " << KindNames(networks) << "\n";

  if (std::optional<BearerType> kind = ShownKind(networks)) {
    applet::CRASparam record;
    record.operatorName = section;
    record.bearer = *kind;
    view.db.FillRecord(nullptr, record);
    std::cout << "record for " << KindNames(applet::BearerBit(*kind)) << ":\n";
    PrintRecord(view.db, record);
  }
  view.db.SelectOperator(section);
  PrintOperatorExtras(view.db);

  const WString smsSection = view.db.FindSmsOperator(view.smsFolder, section);
  applet::SmsCenterDatabase sms;
  WString centre;
  if (!smsSection.empty() && sms.Open(view.smsFolder, applet::SmsCenterDatabase::kFileName) &&
      sms.FirstSmsCenter(smsSection, centre))
    PrintField("SMS centre", U8(centre) + "  (section [" + U8(smsSection) + "] of " +
                                 U8(view.smsFolder) + U8(applet::SmsCenterDatabase::kFileName) + ")");
  else
    PrintField("SMS centre", "(none found)");
}

int CheckDatabases(OperatorView& view) {
  const auto findings = CheckOperatorFiles(view.operatorFolder, view.smsFolder);
  for (const Finding& f : findings) std::cout << FormatFinding(f) << "\n";
  std::cout << (findings.empty() ? "no findings" : std::to_string(findings.size()) + " finding(s)")
            << " in " << U8(view.operatorFolder) << U8(applet::OperatorDatabase::kFileName) << " and "
            << U8(view.smsFolder) << U8(applet::SmsCenterDatabase::kFileName) << "\n";
  return findings.empty() ? 0 : kFindingsExitCode;
}

}  // namespace

void AddOperatorsCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    std::string country;
    int32_t kinds = applet::kOperatorDialogKinds;
    std::string number;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "operators",
      "Show the operator database as the applet on the device sees it. The databases\n"
      "GPRSope.inf and OPE.inf are read from the applet's working folder when they are\n"
      "there, else from its installed folder (both as the device's registry names them).");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->require_subcommand(1);

  auto run = [opts](const std::function<void(OperatorView&)>& action) {
    auto device = OpenDevice(opts->dir);
    OperatorView view;
    action(view);
  };

  cmd->add_subcommand("countries", "List the countries, with their telephone codes")
      ->callback([run] { run([](OperatorView& v) { v.Open(); ShowCountries(v); }); });

  CLI::App* list = cmd->add_subcommand(
      "list", "List the operators of a country as the operator dialog offers them");
  list->add_option("COUNTRY", opts->country, "Country name, or its telephone code")->required();
  list->add_option("--kinds", opts->kinds,
                   "Kinds of connection as a bit mask: 1 GPRS, 2 CSD, 4 1xRTT, 8 CDMA, 16-128 their\n"
                   "WAP variants; 255 lists every operator (default 3, as the operator dialog)")
      ->check(CLI::Range(0, 255));
  list->callback([run, opts] {
    run([opts](OperatorView& v) { v.Open(); ListOperators(v, opts->country, opts->kinds); });
  });

  CLI::App* find = cmd->add_subcommand(
      "find",
      "Find the operator of a home network number and show the record the applet makes\n"
      "for its first GPRS or CSD connection, its MMS and WAP settings and its SMS centre");
  find->add_option("HOME-NETWORK-NUMBER", opts->number,
                   "Country and network code (five digits), or a whole IMSI\n"
                   "(default: the IMSI of the device's SIM)");
  find->callback([run, opts] {
    run([opts](OperatorView& v) { v.Open(); FindOperator(v, opts->number); });
  });

  AddOperatorsImportCommand(*cmd, [opts](const std::function<void()>& action) {
    auto device = OpenDevice(opts->dir);
    action();
  });

  cmd->add_subcommand(
         "check",
         "Report, with line numbers, what the applet would silently drop or misread in the\n"
         "databases: malformed lines and values, operators no SIM card finds or the operator\n"
         "dialog never lists, missing SMS centres, and country codes that the applet's country\n"
         "table gives another country than the public telephone codes; exits with 2 when\n"
         "there are findings")
      ->callback([run] {
        int status = 0;
        run([&status](OperatorView& v) { status = CheckDatabases(v); });
        if (status != 0) throw CLI::RuntimeError(status);
      });
}

}  // namespace handheld
