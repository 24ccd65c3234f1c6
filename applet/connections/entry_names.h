#pragma once
// Names of the phonebook entries the applet creates. The phonebook holds
// names of at most kRasMaxEntryName (20) characters; a unique name is made
// within that length, so that a long name is never cut into one that
// already exists.

#include <cstdint>

#include "applet/connections/ras_param.h"
#include "applet/connections/ras_session.h"
#include "base/text.h"

namespace applet {

// Whether the default phonebook holds an entry of that name, letter case
// ignored.
bool EntryExists(RasSession& session, platform::WStringView name);

// Sets the record's entryName to name, cut to 20 characters, or, while an
// entry of that name exists, to "name (n)" with n counting from 1, the name
// cut so that the whole stays within 20 characters. True when the name is
// not empty.
bool MakeUniqueEntryName(RasSession& session, CRASparam& record, platform::WStringView name);

// Loads entryName from the applet's resource text of that number when it
// is empty, then makes it unique.
bool EnsureEntryName(RasSession& session, CRASparam& record, uint32_t resourceText);

}  // namespace applet
