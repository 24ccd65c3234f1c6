#pragma once
// The integrator's check of an operator database and its SMS-centre
// database: everything in them that the applet would silently drop or read
// differently from what the file seems to say, each with its line.

#include <cstddef>
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
// current resource source, so that the custom operator's name is known.
// Findings come file by file in line order.
std::vector<Finding> CheckOperatorFiles(platform::WStringView operatorFolder,
                                        platform::WStringView smsFolder);

// "path:line: [section] message" in UTF-8.
std::string FormatFinding(const Finding& finding);

}  // namespace handheld
