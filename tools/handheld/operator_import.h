#pragma once
// Turns the providers of mobile-broadband-provider-info into an operator
// database "GPRSope.inf" that the applet reads as the package means it, and
// accounts for everything it could not carry over.
//
// Each provider becomes one section, in the package's order (so that a SIM
// card finds the first provider that lists its network, as the package's
// other readers do):
//   CountryProvider    the code the applet's country table has for the
//                      provider's country; a country the table has no row
//                      for is filed under no country (the key is left out
//                      and a comment names the country and its public
//                      telephone code), since the applet would list the
//                      operator under no country at all, or under another
//                      country that shares its code
//   Network            GPRS (and WAPGPRS with a WAP access point) for GSM,
//                      1XRTT for CDMA
//   HomeNetworkNumber  the five-digit network codes (MCC + MNC) that no
//                      section before it lists; six-digit ones, which no
//                      SIM card matches because the applet compares the
//                      first five digits of its identity, and codes that an
//                      earlier section already lists stay in comments
//   APN, Username, Password, GPRS Auth, DNS1, DNS2
//                      the internet access points that share the first
//                      one's login, and that login
//   WAPGPRS APN, WAPGPRS Username, ...   the same of the WAP access points
//   MMSonly, MMS APN, MMS Center, MMS WapGw, MMS WapGwPort, MMS Username,
//   MMS Password       the first MMS access point that names an MMS centre
//   1XRTT Username, 1XRTT Password, 1XRTT DNS1, 1XRTT DNS2   of CDMA
//
// Names that the code page cannot hold are written in Latin letters with
// the original in a comment; a name that another section has, or that the
// operator dialog would hide, gets a suffix. A value the reader would not
// give back is left out with a warning, and a GSM provider without a usable
// internet access point is skipped (unless it offers CDMA).

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "tools/handheld/code_page_text.h"
#include "tools/handheld/provider_list.h"

namespace handheld {

struct ImportSettings {
  CodePageText codePage{1252};
  // The first entry of the operator dialog's lists, and the database's
  // custom operator entry (from the applet's resource library).
  platform::WString placeholder;
  platform::WString customOperator;
  std::string source;  // named in the file's opening comment
};

enum class NoteKind {
  Skipped,          // the provider has no section
  Renamed,          // its section has another name than the provider
  Transliterated,   // its name is written in Latin letters
  Warning,          // a value is left out or changed
  SixDigitCode,     // a network code that no SIM card matches
  ClaimedCode,      // a network code that an earlier section lists
  NoCountry,        // a country the applet's country table has no row for
  CountryCode,      // a country the table files under another code than its public one
};

struct ImportNote {
  NoteKind kind;
  size_t line;                // in the provider list; 0 for a country
  std::string provider;       // UTF-8, as in the list; empty for a country
  std::string region;         // ISO 3166 code
  platform::WString section;  // the section written, or empty
  // UTF-8: why, for the kinds that a provider's line explains; the name
  // written for Transliterated, the code for the two code kinds.
  std::string message;
};

struct WrittenSection {
  platform::WString name;
  std::string provider;  // the provider's name in the list
  std::string region;
  size_t line;           // of the provider in the list
  int32_t countryCode;   // as written; -1 for no country
  bool gsm;              // offers GPRS
};

struct ImportResult {
  std::string fileText;  // in the code page
  std::vector<WrittenSection> sections;
  std::vector<ImportNote> notes;  // in the list's order
};

ImportResult ImportOperators(const ProviderList& providers, const ImportSettings& settings);

}  // namespace handheld
