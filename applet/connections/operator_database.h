#pragma once
// The operator database "GPRSope.inf": one section per operator, named as
// the user sees the operator, with the settings of each kind of connection,
// the MMS settings, the WAP proxies and the home network numbers of the
// operator's SIM cards (see operator_keys.h for the keys).
//
// Opening lists the operators, leaves out those whose "CountryProvider"
// code the country table does not hold, and merges the countries by code
// in the order they first appear. Per-operator lookups read the section
// named by the current operator, which only Open, SelectOperator and
// FillRecord change; lookups that take a section name leave it alone.
// Without an open file every lookup gives its default, and the text
// lookups leave their output untouched.

#include <cstdint>
#include <vector>

#include "applet/connections/adresse_ip.h"
#include "applet/connections/connection_kinds.h"
#include "applet/connections/quality_of_service.h"
#include "applet/connections/ras_param.h"
#include "applet/device/sectioned_text_reader.h"
#include "base/text.h"

namespace applet {

class OperatorDatabase {
 public:
  static constexpr char16_t kFileName[] = u"GPRSope.inf";
  // A section of this name holds settings but is never listed.
  static constexpr char16_t kUnknownSection[] = u"Unknown";
  // The kinds mask of ListOperators that lists every operator.
  static constexpr int32_t kAllKinds = 255;
  // The resource strings Open takes the two list texts from.
  static constexpr uint32_t kCustomOperatorString = 65090;
  static constexpr uint32_t kNoCountryString = 65084;
  // The APN a record for the custom operator gets when the file offers none.
  static constexpr char16_t kCustomOperatorApn[] = u"APN";
  // A home network number: mobile country code and network code.
  static constexpr size_t kHomeNetworkNumberLength = 5;

  OperatorDatabase() = default;

  // Takes the list texts from the current resource source, then opens
  // folder + "GPRSope.inf" (the folder ends with a backslash), makes
  // operatorName the current operator and lists the operators and their
  // countries. False, with everything but the list texts unchanged, when
  // the file cannot be opened.
  bool Open(platform::WStringView folder, platform::WStringView operatorName);
  bool IsOpen() const { return reader_.IsOpen(); }

  // The first entry of every operator list (the name of the entry users
  // fill in themselves) and of every country list.
  const platform::WString& CustomOperator() const { return customOperator_; }
  const platform::WString& NoCountry() const { return noCountry_; }
  // Replaces the two list texts (the applet's settings use their own).
  void SetListTexts(platform::WStringView noCountry, platform::WStringView customOperator);

  void SelectOperator(platform::WStringView name) { currentOperator_ = name; }
  const platform::WString& CurrentOperator() const { return currentOperator_; }

  // A country of the lists: its name as shown and the "CountryProvider"
  // code its operators give.
  struct Country {
    platform::WString name;
    int32_t code;
    bool operator==(const Country&) const = default;
  };
  // An operator section kept by Open and the index of its country.
  struct Operator {
    platform::WString section;
    size_t country;
    bool operator==(const Operator&) const = default;
  };
  // In file order; a section name given twice is kept twice.
  const std::vector<Operator>& Operators() const { return operators_; }
  // In order of first appearance.
  const std::vector<Country>& Countries() const { return countries_; }

  // The country of a section: the custom operator has none (the no-country
  // text and -1); any other section has its "CountryProvider" code and that
  // code's country name (-1 gives the no-country text, a code the country
  // table lacks an empty name). True when the name is not empty.
  bool CountryOf(platform::WStringView section, platform::WString& name, int32_t& code);

  // The no-country text followed by the countries (but for the country of
  // code -1, which the first entry stands for); countryOfOperator is set to
  // the named operator's country, or the no-country text.
  std::vector<platform::WString> ListCountries(platform::WStringView operatorName,
                                               platform::WString& countryOfOperator);

  // The custom operator followed by the operators of a country (compared
  // exactly) in file order, without "Unknown" and without a name that an
  // entry already listed begins with (letter case ignored). Unless kinds is
  // kAllKinds, only operators whose "Network" set shares a bit with kinds.
  std::vector<platform::WString> ListOperators(platform::WStringView country, int32_t kinds);

  // What ListOperators decides for each operator of a country, for tools
  // that explain why an operator is missing from a list.
  enum class Listing {
    Listed,
    NeverListed,      // the "Unknown" section
    NameTaken,        // an entry listed before begins with the operator's name
    NoKindInCommon,   // its "Network" set shares no bit with the kinds asked for
  };
  struct ListingDecision {
    platform::WString section;
    Listing listing;
    platform::WString takenBy;  // for NameTaken: the entry that begins with the name
  };
  std::vector<ListingDecision> DecideOperatorList(platform::WStringView country, int32_t kinds);

  // The "Network" set of the current operator, or of a section, as
  // BearerType bits.
  int32_t NetworksOf() { return NetworksOf(currentOperator_); }
  int32_t NetworksOf(platform::WStringView section);

  // Per-kind lookups of the current operator. Text lookups return whether
  // the key was found; out gets the value, or the default when the key is
  // absent, and stays as it was when no file is open.
  bool ConnectionName(BearerType kind, platform::WString& out);
  void ApnList(BearerType kind, std::vector<platform::WString>& out);
  bool PhoneNumber(BearerType kind, platform::WString& out);
  bool ModemCommand(BearerType kind, platform::WString& out);
  bool UserName(BearerType kind, platform::WString& out);
  bool Password(BearerType kind, platform::WString& out);
  // Addresses and profiles: true when the text parsed; an absent or
  // malformed text gives a cleared value.
  bool Dns1(BearerType kind, CAdresseIP& out);
  bool Dns2(BearerType kind, CAdresseIP& out);
  bool IpAddress(BearerType kind, CAdresseIP& out);
  bool HeaderCompression(BearerType kind);
  bool DataCompression(BearerType kind);
  // "NONE", "PAP", "CHAP"; anything else, or nothing, is Auto.
  AuthMethod Authentication(BearerType kind);

  int32_t IconIndex();
  bool IconFile(platform::WString& out);
  bool QosRequested(CQualityOfService& out);
  bool QosMinimum(CQualityOfService& out);
  bool PdpType(platform::WString& out);

  bool MmsOnly();
  bool MmsGateway(platform::WString& out);
  bool MmsCenter(platform::WString& out);
  // With useFallback, an empty value becomes the first "APN" entry.
  bool MmsApn(bool useFallback, platform::WString& out);
  // An empty value becomes the GPRS login or password.
  bool MmsUserName(platform::WString& out);
  bool MmsPassword(platform::WString& out);
  bool MmsGatewayPort(platform::WString& out);

  // The WAP proxy and the secure proxy; true when either is not empty.
  bool WapProxies(platform::WString& proxy, platform::WString& secureProxy);

  // The raw "HomeNetworkNumber" value of a section.
  bool HomeNetworkNumber(platform::WStringView section, platform::WString& out);
  // The entries of that list, as FindByHomeNetwork compares them.
  std::vector<platform::WString> HomeNetworkNumbers(platform::WStringView section);

  // Fills a record for its operatorName and bearer. With a folder the
  // database is opened there first, else the operator is selected. Fields
  // that the database does not describe keep their values.
  void FillRecord(const platform::WString* folder, CRASparam& record);

  // The first section in file order whose "HomeNetworkNumber" list holds
  // the number (its part before the first comma, at most five characters:
  // a subscriber identity may be given whole). Empty when none does.
  platform::WString FindByHomeNetwork(platform::WStringView number);

  // The section of the SMS-centre database "ope.inf" in folder that serves
  // a section of this database: the first that lists the section's first
  // home network number. Opens folder + "GPRSope.inf" unless the database
  // is open. Empty when there is no such number or section.
  platform::WString FindSmsOperator(platform::WStringView folder, platform::WStringView section);

 private:
  bool GetText(const char16_t* key, platform::WString& out, platform::WStringView defaultValue);
  bool GetAddress(const char16_t* key, CAdresseIP& out);
  bool GetQos(const char16_t* key, CQualityOfService& out);
  // An integer key that is on when it is 1.
  bool IsOn(const char16_t* key);
  void LoadListTexts();
  void ListOperatorSections();

  SectionedTextReader reader_;
  platform::WString customOperator_;
  platform::WString noCountry_;
  platform::WString currentOperator_;
  std::vector<platform::WString> sections_;  // every section, as the file lists them
  std::vector<Operator> operators_;
  std::vector<Country> countries_;
};

}  // namespace applet
