#include <atomic>

#include "flashclient/serial/serial_port.h"

namespace drkclient {

namespace {
std::atomic<PortOpener*> g_opener{nullptr};
}  // namespace

PortOpener& CurrentPortOpener() {
  PortOpener* installed = g_opener.load();
  return installed != nullptr ? *installed : DefaultPortOpener();
}

void InstallPortOpener(PortOpener* opener) { g_opener.store(opener); }

}  // namespace drkclient
