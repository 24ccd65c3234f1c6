#include "platform/named_event.h"

#include "platform/journal.h"

namespace platform {

namespace {

constexpr char kKind[] = "event";
constexpr char kManualReset[] = "manualReset";
constexpr char kSignalled[] = "signalled";

const char* Flag(bool on) { return on ? "1" : "0"; }

}  // namespace

ErrorCode NamedEvent::Create(WStringView name, bool manualReset, bool initiallySignalled,
                             bool* existed) {
  NamedObject::State state{{kManualReset, Flag(manualReset)},
                           {kSignalled, Flag(initiallySignalled)}};
  return object_.Create(kKind, name, state, existed);
}

ErrorCode NamedEvent::Open(WStringView name) { return object_.Open(kKind, name); }

ErrorCode NamedEvent::Set() {
  ErrorCode e = object_.Update([](NamedObject::State& state) {
    state[kSignalled] = Flag(true);
    return true;
  });
  if (e == kErrorSuccess) JournalEvent("event set " + ToUtf8(object_.Name()));
  return e;
}

ErrorCode NamedEvent::Reset() {
  return object_.Update([](NamedObject::State& state) {
    state[kSignalled] = Flag(false);
    return true;
  });
}

bool NamedEvent::TryWait() {
  bool signalled = false;
  object_.Update([&signalled](NamedObject::State& state) {
    signalled = state[kSignalled] == Flag(true);
    if (!signalled || state[kManualReset] == Flag(true)) return false;
    state[kSignalled] = Flag(false);
    return true;
  });
  return signalled;
}

}  // namespace platform
