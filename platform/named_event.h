#pragma once
// Named events of the handheld (CreateEvent, OpenEvent, SetEvent,
// ResetEvent, CloseHandle), shared by the processes of one device through
// named_object.h. Setting an event is journalled, since nothing else shows
// it once the last handle is gone:
//
//   event set QZ_MMSDetected
//
// An auto-reset event stays signalled until one wait takes the signal; a
// manual-reset event until it is reset.

#include "base/errors.h"
#include "base/text.h"
#include "platform/named_object.h"

namespace platform {

class NamedEvent {
 public:
  // Creates the event, or opens it when one of that name exists (then the
  // two flags are ignored and *existed is true, as the handheld reports
  // ERROR_ALREADY_EXISTS). Errors as NamedObject::Create.
  ErrorCode Create(WStringView name, bool manualReset, bool initiallySignalled,
                   bool* existed = nullptr);
  // Opens an existing event; kErrorFileNotFound when there is none.
  ErrorCode Open(WStringView name);
  void Close() { object_.Close(); }
  bool IsOpen() const { return object_.IsOpen(); }

  ErrorCode Set();
  ErrorCode Reset();
  // A wait that does not block: true when the event was signalled, in which
  // case an auto-reset event is reset by it.
  bool TryWait();

 private:
  NamedObject object_;
};

}  // namespace platform
