// Prints a checksum of a drawn sample: text in several faces and styles, a
// wide line. The environment test runs it under different environments and
// compares what it prints.
#include <cstdio>

#include "tests/platform/drawing/sample_drawing.h"

int main() {
  std::printf("%016llx\n", static_cast<unsigned long long>(drawing_test::SampleDrawingChecksum()));
  return 0;
}
