#include "applet/connections/archive_version.h"

namespace applet {

int32_t archiveVersion = kDocumentVersion;

}  // namespace applet
