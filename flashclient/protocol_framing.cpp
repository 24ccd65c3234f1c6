#include "flashclient/protocol_framing.h"

#include "base/clock.h"
#include "flashclient/driver_state.h"
#include "flashclient/port_layer.h"

namespace drkclient {

int SendByte(uint8_t byte) {
  DriverState& s = State();
  s.oneByte = byte;
  return PortOutput(&s.oneByte, 1);
}

int ReadByte() { return PortInput(&State().oneByte, 1); }

int SendCommand(std::string_view command) {
  int text = PortOutput(reinterpret_cast<const uint8_t*>(command.data()), command.size());
  int zero = SendByte(0);
  return text != 0 ? text : zero;
}

void WaitForAnswer() { platform::Sleep(kCommandWaitMs); }

int AwaitMarker(std::string_view markers, int* reads) {
  DriverState& s = State();
  if (reads != nullptr) *reads = 0;
  for (;;) {
    int r = ReadByte();
    if (r != 0) return r;
    if (reads != nullptr) ++*reads;
    if (markers.find(static_cast<char>(s.oneByte)) != std::string_view::npos) return 0;
  }
}

int ReadText(std::string& text) {
  DriverState& s = State();
  text.clear();
  for (;;) {
    int r = ReadByte();
    if (r != 0) return r;
    if (s.oneByte == 0) return 0;
    if (text.size() >= kMaxDeviceTextBytes) return 1;
    text.push_back(static_cast<char>(s.oneByte));
  }
}

}  // namespace drkclient
