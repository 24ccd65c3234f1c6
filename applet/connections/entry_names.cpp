#include "applet/connections/entry_names.h"

#include "platform/ras.h"
#include "platform/resource_library.h"

namespace applet {

using platform::WString;
using platform::WStringView;

bool EntryExists(RasSession& session, WStringView name) {
  session.EnumEntries();
  const WString wanted = platform::ToUpper(name);
  for (const platform::RasEntryName& entry : session.Entries())
    if (platform::ToUpper(platform::RasText(entry.entryName)) == wanted) return true;
  return false;
}

bool MakeUniqueEntryName(RasSession& session, CRASparam& record, WStringView name) {
  const WString base(name.substr(0, platform::kRasMaxEntryName));
  WString candidate = base;
  for (long long n = 1; EntryExists(session, candidate); ++n) {
    candidate = platform::FormatNameCount(base, n);
    if (candidate.size() > platform::kRasMaxEntryName) {
      const size_t over = candidate.size() - platform::kRasMaxEntryName;
      candidate = platform::FormatNameCount(WStringView(base).substr(0, base.size() - over), n);
    }
  }
  record.entryName = candidate;
  return !record.entryName.empty();
}

bool EnsureEntryName(RasSession& session, CRASparam& record, uint32_t resourceText) {
  if (record.entryName.empty())
    record.entryName = platform::LoadString(resourceText).value_or(WString());
  const WString name = record.entryName;
  return MakeUniqueEntryName(session, record, name);
}

}  // namespace applet
