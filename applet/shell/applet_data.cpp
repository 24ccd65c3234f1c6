#include "applet/shell/applet_data.h"

namespace applet {

AppletData& SharedAppletData() {
  static AppletData data;
  return data;
}

}  // namespace applet
