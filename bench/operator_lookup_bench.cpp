// Boot-time operator lookups at world scale, side by side with the
// libraries and loops people would otherwise use, on the same files in the
// same run:
//   - listing the sections of a database (the reader's ListSections, which
//     builds its index) against a plain C scan for header lines;
//   - the applet's whole lookup after a reset (open the operator database,
//     list the countries, find the operator of the SIM's home network
//     number, fill its record and read its MMS settings) against one parse
//     of the file with libinih that finds the same section.
// Inputs: the world's operators as handheld operators import writes them
// from Debian's mobile-broadband-provider-info, a synthetic database of
// 2000 operators in the applet's format, the same with sections four times
// as long (to show that memory does not grow with the file's size), and the
// shared 2 MB reader input when it is there.
//
// Each iteration times both sides back to back; the counters give their
// mean times, the ratio and whether it is within the goal, and the peak of
// the heap during the applet's side.

#include <benchmark/benchmark.h>
#include <ini.h>
#include <malloc.h>
#include <stdlib.h>
#include <strings.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "applet/connections/operator_database.h"
#include "applet/connections/ras_param.h"
#include "applet/device/sectioned_text_reader.h"
#include "platform/device.h"
#include "base/text.h"
#include "tools/handheld/operator_import.h"
#include "tools/handheld/provider_list.h"

// The heap in use, counted through the global allocation functions.
namespace {
std::atomic<size_t> gHeapInUse{0};
std::atomic<size_t> gHeapPeak{0};

void* Allocate(size_t n) {
  void* p = malloc(n == 0 ? 1 : n);
  if (p == nullptr) throw std::bad_alloc();
  const size_t now = gHeapInUse += malloc_usable_size(p);
  size_t peak = gHeapPeak.load();
  while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void Release(void* p) noexcept {
  if (p == nullptr) return;
  gHeapInUse -= malloc_usable_size(p);
  free(p);
}
}  // namespace

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

namespace {

namespace fs = std::filesystem;
using platform::WString;

constexpr double kListingGoal = 3.0;
constexpr double kLookupGoal = 3.0;
constexpr int kSyntheticOperators = 2000;
// The shared benchmark inputs lie next to the checkout (or next to the
// folder of worktrees).
const char* const kSharedReaderInputs[] = {VELM_SOURCE_DIR "/../shared/bench-images/operators.ini",
                                           VELM_SOURCE_DIR "/../../shared/bench-images/operators.ini"};

// A database on the bench device, and the home network number of its last
// operator that a SIM card can find.
struct Database {
  std::string name;
  WString folder;  // device path, ends with a backslash
  fs::path hostFile;
  std::string lastNumber;
};

// The synthetic operators: what the import writes for a provider with
// internet, WAP and MMS access points, under the countries of the applet's
// table and under no country. padding adds comment lines and keys the
// applet does not read, so that the sections grow and their number does not.
std::string SyntheticDatabase(int padding) {
  const int codes[] = {33, 44, 49, 39, 34, 31, 1, 61, -1, -1};
  std::string text = "; synthetic operator database\r\n";
  for (int op = 0; op < kSyntheticOperators; ++op) {
    const std::string n = std::to_string(op);
    text += "\r\n[Operator " + n + "]\r\n; Operator " + n + ", synthetic\r\n";
    if (codes[op % 10] > 0) text += "CountryProvider=" + std::to_string(codes[op % 10]) + "\r\n";
    text += "Network=GPRS,WAPGPRS\r\nHomeNetworkNumber=" + std::to_string(10000 + op * 3) + "," +
            std::to_string(10001 + op * 3) + "\r\nAPN=internet" + n + ".example,web" + n +
            ".example\r\nUsername=user" + n + "\r\nPassword=secret" + n +
            "\r\nGPRS Auth=PAP\r\nDNS1=10.1.2.3\r\nDNS2=10.1.2.4\r\nWAPGPRS APN=wap" + n +
            ".example\r\nWAPGPRS Username=wap\r\nMMSonly=1\r\nMMS APN=mms" + n +
            ".example\r\nMMS Center=http://mms" + n +
            ".example/mmsc\r\nMMS WapGw=10.0.0.1\r\nMMS WapGwPort=8080\r\nMMS Username=mms\r\n"
            "MMS Password=mms\r\n";
    for (int p = 0; p < padding; ++p)
      text += "; a comment line of the kind integrators leave in their files, number " + std::to_string(p) +
              "\r\nNotes" + std::to_string(p) + "=text the applet never reads, kept for the integrator\r\n";
  }
  return text;
}

std::string LastNumber(const WString& deviceFolder) {
  applet::SectionedTextReader reader;
  reader.Open(deviceFolder + u"GPRSope.inf");
  std::vector<WString> sections;
  reader.ListSections(sections);
  for (auto it = sections.rbegin(); it != sections.rend(); ++it) {
    std::vector<WString> numbers;
    if (reader.GetList(*it, u"HomeNetworkNumber", u',', numbers) > 0) return platform::ToUtf8(numbers.front());
  }
  return std::string();
}

class BenchDevice {
 public:
  BenchDevice() {
    std::string pattern = (fs::temp_directory_path() / "velm-lookup-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    root_ = pattern;
    fs::create_directories(root_ / "fs");
    scoped_ = std::make_unique<platform::ScopedDevice>(root_);

    handheld::ProviderList list;
    std::string why;
    if (handheld::LoadProviderList(handheld::kDefaultProviderFile, list, why)) {
      const handheld::ImportResult world = handheld::ImportOperators(
          list, handheld::ImportSettings{handheld::CodePageText(1252), u"(Select your operator)",
                                         u"Other operator", handheld::kDefaultProviderFile});
      Add("world", world.fileText);
    } else {
      std::fprintf(stderr, "no world database: %s\n", why.c_str());
    }
    Add("synthetic2000", SyntheticDatabase(0));
    Add("synthetic2000x4", SyntheticDatabase(8));
    for (const char* input : kSharedReaderInputs) {
      std::ifstream shared(input, std::ios::binary);
      if (!shared) continue;
      Add("shared2MB", std::string(std::istreambuf_iterator<char>(shared), {}));
      break;
    }
  }
  ~BenchDevice() {
    scoped_.reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  const std::vector<Database>& Databases() const { return databases_; }

 private:
  void Add(const std::string& name, const std::string& text) {
    fs::create_directories(root_ / "fs" / name);
    const fs::path file = root_ / "fs" / name / "GPRSope.inf";
    std::ofstream(file, std::ios::binary) << text;
    const WString folder = u"\\" + platform::FromUtf8(name) + u"\\";
    databases_.push_back({name, folder, file, LastNumber(folder)});
  }

  fs::path root_;
  std::unique_ptr<platform::ScopedDevice> scoped_;
  std::vector<Database> databases_;
};

BenchDevice& Device() {
  static BenchDevice device;
  return device;
}

// --- the reference sides ---

// The header lines of a file, read line by line with the C library.
size_t PlainHeaderScan(const fs::path& file, std::vector<std::string>& names) {
  FILE* f = std::fopen(file.c_str(), "rb");
  if (f == nullptr) return 0;
  char line[2048];
  while (std::fgets(line, sizeof line, f) != nullptr) {
    const char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p != '[') continue;
    const char* close = std::strchr(p, ']');
    if (close != nullptr) names.emplace_back(p + 1, close);
  }
  std::fclose(f);
  return names.size();
}

// One libinih parse that finds the first section listing a number.
struct InihSearch {
  const char* number;
  std::string found;
};

int InihHandler(void* user, const char* section, const char* name, const char* value) {
  auto* search = static_cast<InihSearch*>(user);
  if (search->found.empty() && strcasecmp(name, "HomeNetworkNumber") == 0 && std::strstr(value, search->number))
    search->found = section;
  return 1;
}

// --- the applet's side ---

// What the applet does after a reset with a new SIM card.
WString BootLookup(const Database& db, const WString& imsi) {
  applet::OperatorDatabase operators;
  operators.Open(db.folder, u"");
  operators.SetListTexts(u"(No country)", u"(Select your operator)");
  WString country;
  benchmark::DoNotOptimize(operators.ListCountries(u"", country));
  const WString section = operators.FindByHomeNetwork(imsi);
  operators.SelectOperator(section);
  benchmark::DoNotOptimize(operators.NetworksOf());
  applet::CRASparam record;
  record.operatorName = section;
  record.bearer = applet::BearerType::Gprs;
  operators.FillRecord(nullptr, record);
  WString text;
  operators.HomeNetworkNumber(section, text);
  benchmark::DoNotOptimize(operators.MmsOnly());
  operators.MmsCenter(text);
  operators.MmsApn(true, text);
  operators.MmsUserName(text);
  operators.MmsPassword(text);
  operators.MmsGateway(text);
  operators.MmsGatewayPort(text);
  return section;
}

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

void Report(benchmark::State& state, double ours, double reference, double goal) {
  const double n = static_cast<double>(state.iterations());
  state.counters["ours_us"] = ours / n;
  state.counters["reference_us"] = reference / n;
  state.counters["ratio"] = ours / reference;
  state.counters["goal"] = goal;
  state.counters["within_goal"] = ours / reference <= goal ? 1 : 0;
}

void BM_ListSections(benchmark::State& state, size_t which) {
  if (which >= Device().Databases().size()) return state.SkipWithError("no such database");
  const Database& db = Device().Databases()[which];
  double ours = 0;
  double reference = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    applet::SectionedTextReader reader;
    reader.Open(db.folder + u"GPRSope.inf");
    std::vector<WString> names;
    const size_t listed = reader.ListSections(names);
    const auto t1 = Clock::now();
    std::vector<std::string> plain;
    const size_t scanned = PlainHeaderScan(db.hostFile, plain);
    const auto t2 = Clock::now();
    if (listed != scanned) return state.SkipWithError("the scan and the reader disagree");
    ours += Micros(t1 - t0);
    reference += Micros(t2 - t1);
  }
  Report(state, ours, reference, kListingGoal);
}

void BM_BootLookup(benchmark::State& state, size_t which) {
  if (which >= Device().Databases().size()) return state.SkipWithError("no such database");
  const Database& db = Device().Databases()[which];
  const WString imsi = platform::FromUtf8(db.lastNumber + "1234567890");
  double ours = 0;
  double reference = 0;
  size_t peak = 0;
  for (auto _ : state) {
    const size_t before = gHeapInUse.load();
    gHeapPeak = before;
    const auto t0 = Clock::now();
    const WString found = BootLookup(db, imsi);
    const auto t1 = Clock::now();
    peak = std::max(peak, gHeapPeak.load() - before);
    InihSearch search{db.lastNumber.c_str(), {}};
    ini_parse(db.hostFile.c_str(), InihHandler, &search);
    const auto t2 = Clock::now();
    if (found.empty() || search.found.empty()) return state.SkipWithError("the last operator was not found");
    ours += Micros(t1 - t0);
    reference += Micros(t2 - t1);
  }
  Report(state, ours, reference, kLookupGoal);
  state.counters["peak_heap_kB"] = static_cast<double>(peak) / 1024.0;
  state.counters["file_kB"] = static_cast<double>(fs::file_size(db.hostFile)) / 1024.0;
}

// Registers the benchmarks of every database once the device is laid out.
int RegisterAll() {
  const auto& databases = Device().Databases();
  for (size_t i = 0; i < databases.size(); ++i) {
    benchmark::RegisterBenchmark(("ListSections/" + databases[i].name).c_str(), BM_ListSections, i)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BootLookup/" + databases[i].name).c_str(), BM_BootLookup, i)
        ->Unit(benchmark::kMicrosecond);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
