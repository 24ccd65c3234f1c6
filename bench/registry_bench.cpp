// Re-reading registry.reg after another process changed it: the same number
// of values in one key and spread over keys of ten values each. Lookups by
// name must stay near constant time, so the two shapes should cost about the
// same per value.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "base/host_file.h"
#include "base/registry_file.h"
#include "base/registry_text.h"

namespace {

namespace fs = std::filesystem;

constexpr int kValuesPerSpreadKey = 10;

// The text of a registry with `values` dword values, all in one key or in
// keys of kValuesPerSpreadKey each.
std::string RegistryText(int values, bool oneKey) {
  platform::RegistryTree tree;
  for (int i = 0; i < values; ++i) {
    const platform::WString key = oneKey ? u"Big" : u"Key" + platform::FormatInt(i / kValuesPerSpreadKey);
    tree.FindOrCreate(platform::Hive::CurrentUser, {u"Bench", key})
        .SetValue(platform::RegistryValue::Dword(u"Value" + platform::FormatInt(i), static_cast<uint32_t>(i)));
  }
  return platform::FormatRegistryText(tree);
}

void BM_ParseRegistryText(benchmark::State& state) {
  const int values = static_cast<int>(state.range(0));
  const std::string text = RegistryText(values, state.range(1) != 0);
  for (auto _ : state) {
    platform::RegistryTree tree;
    if (!platform::ParseRegistryText(text, tree, nullptr)) state.SkipWithError("the text does not parse");
    benchmark::DoNotOptimize(tree);
  }
  state.SetItemsProcessed(state.iterations() * values);
  state.SetLabel(state.range(1) != 0 ? "one key" : "keys of 10");
}

// A handle reloading the file, as after a change by another process.
void BM_RereadRegistryFile(benchmark::State& state) {
  const int values = static_cast<int>(state.range(0));
  std::string pattern = (fs::temp_directory_path() / "velm-registry-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) abort();
  const fs::path dir = pattern;
  const fs::path file = dir / "registry.reg";
  platform::WriteHostFileAtomically(file, RegistryText(values, state.range(1) != 0), nullptr);
  for (auto _ : state) {
    platform::RegistryFile handle(file);
    uint32_t found = 0;
    handle.Read([&](const platform::RegistryTree& tree) {
      const platform::RegistryNode* key =
          tree.Find(platform::Hive::CurrentUser, {u"Bench", state.range(1) != 0 ? u"Big" : u"Key0"});
      const platform::RegistryValue* v = key != nullptr ? key->FindValue(u"VALUE0") : nullptr;
      found = v != nullptr ? v->AsDword().value_or(1) + 1 : 0;
      return platform::kErrorSuccess;
    });
    if (found != 1) state.SkipWithError("the value was not found");
  }
  state.SetItemsProcessed(state.iterations() * values);
  state.SetLabel(state.range(1) != 0 ? "one key" : "keys of 10");
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace

BENCHMARK(BM_ParseRegistryText)->ArgsProduct({{1000, 10000}, {1, 0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RereadRegistryFile)->ArgsProduct({{1000, 10000}, {1, 0}})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
