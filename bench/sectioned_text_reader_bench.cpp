// Lookups in a large operator database, streamed from the start of the file
// and through the section index that ListSections builds.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "applet/device/sectioned_text_reader.h"
#include "base/text.h"
#include "platform/device.h"

namespace {

constexpr int kOperators = 600;
constexpr int kKeysPerOperator = 30;

// A device holding \GPRSope.inf with kOperators sections; removed at exit.
class BenchDevice {
 public:
  BenchDevice() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velm-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    root_ = pattern;
    std::filesystem::create_directories(root_ / "fs");
    std::ofstream out(root_ / "fs" / "GPRSope.inf", std::ios::binary);
    for (int op = 0; op < kOperators; ++op) {
      out << "[Operator " << op << "]\r\n";
      out << "; settings of operator " << op << "\r\n";
      for (int k = 0; k < kKeysPerOperator; ++k)
        out << "Key" << k << " = \"value " << op << "/" << k << "\"\r\n";
      out << "HomeNetworkNumber=" << 20800 + op << "\r\n\r\n";
    }
    scoped_ = std::make_unique<platform::ScopedDevice>(root_);
  }
  ~BenchDevice() {
    scoped_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

 private:
  std::filesystem::path root_;
  std::unique_ptr<platform::ScopedDevice> scoped_;
};

BenchDevice& Device() {
  static BenchDevice device;
  return device;
}

void LookupLastOperator(benchmark::State& state, bool indexed) {
  Device();
  applet::SectionedTextReader reader;
  if (!reader.Open(u"\\GPRSope.inf")) state.SkipWithError("no file");
  if (indexed) {
    std::vector<platform::WString> names;
    reader.ListSections(names);
  }
  const platform::WString section = platform::FromUtf8("Operator " + std::to_string(kOperators - 1));
  platform::WString value;
  for (auto _ : state) {
    reader.GetString(section, u"HomeNetworkNumber", value, u"");
    benchmark::DoNotOptimize(value);
  }
}

void BM_LookupStreamed(benchmark::State& state) { LookupLastOperator(state, false); }
void BM_LookupIndexed(benchmark::State& state) { LookupLastOperator(state, true); }

void BM_ListSections(benchmark::State& state) {
  Device();
  for (auto _ : state) {
    applet::SectionedTextReader reader;
    reader.Open(u"\\GPRSope.inf");
    std::vector<platform::WString> names;
    benchmark::DoNotOptimize(reader.ListSections(names));
  }
}

BENCHMARK(BM_LookupStreamed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LookupIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListSections)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
