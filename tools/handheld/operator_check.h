#pragma once
// The integrator's check of an operator database and its SMS-centre
// database: everything in them that the applet would silently drop or read
// differently from what the file seems to say, each with its line. That
// includes operators the operator dialog never lists (as its own list
// decides) and country codes that the applet's country table gives another
// country than the public telephone codes do.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"

namespace handheld {

struct Finding {
  platform::WString file;     // device path of the file
  size_t line = 0;            // from 1; 0 when the file as a whole is meant
  platform::WString section;  // empty when the line lies in no section
  std::string message;        // UTF-8, a sentence without the place
};

// Checks operatorFolder + "GPRSope.inf" and smsFolder + "OPE.inf" (each
// folder ends with a backslash). The applet's resource library must be the
// current resource source: the operator dialog's lists begin with its texts,
// and its custom operator entry is named by it. Findings come file by file
// in line order.
std::vector<Finding> CheckOperatorFiles(platform::WStringView operatorFolder,
                                        platform::WStringView smsFolder);

// "path:line: [section] message" in UTF-8.
std::string FormatFinding(const Finding& finding);

// The "Network" tokens of a set of BearerType bits, blank-separated, in bit
// order ("GPRS CSD"); "(none)" for the empty set.
std::string KindNames(int32_t networks);

// What is wrong with a "CountryProvider" code for the operator it is given
// to: a code the applet's country table lacks (the operator is never
// listed), or one that the table gives a country whose public telephone
// code it is not (the operator is listed under that country). nullopt when
// the code is fine.
std::optional<std::string> CountryCodeFault(int code);

}  // namespace handheld
