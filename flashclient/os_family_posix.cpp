#include "flashclient/os_family.h"

namespace drkclient {

// Terminals are driven the way the NT 5.x family drives its ports: the
// receive queue is polled, and every write first drops unread input.
int32_t ReadOsFamily() { return kOsFamilyNt5; }

}  // namespace drkclient
