// Flashes a 1 MB and an 8 MB image through bootloader-sim on a
// pseudo-terminal and compares the time taken with the floor the protocol's
// own waits impose on the same exchange: every read waits at least 20 ms
// before it looks, every command 500 ms before its answer is read, and so
// on. The driver counts each wait it performs on its clock, so the floor is
// the sum of the waits of this very run. Goal: within 10% of that floor,
// with a peak memory that does not grow with the image.
//
// Each run happens in a child process, so that its peak resident memory is
// its own; the parent reads it from wait4().

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/clock.h"
#include "flashclient/client_interface.h"
#include "tools/bootloader-sim/sim_process.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPollMs = 100;
constexpr double kGoalOverFloor = 0.10;

struct RunStats {
  int progress = 0;
  double elapsedMs = 0;
  double sleptMs = 0;
  double sleeps = 0;
};

// In the child: one whole session, identification to release.
RunStats FlashOnce(const std::string& image) {
  RunStats stats;
  bootsim::SimProcess sim(BOOTLOADER_SIM_PATH, {"--max-seconds", "600"});
  ::setenv("DRK_SERIAL_PORT", sim.Path().c_str(), 1);
  ::setenv("DRK_REGISTRY", "/nonexistent/drkclient/registry.reg", 1);
  platform::Clock& clock = platform::CurrentClock();
  const uint64_t sleptBefore = clock.SleptMs(), sleepsBefore = clock.SleepCount();
  const uint64_t start = clock.NowMs();
  if (drkclient::Client_Initialize() == 0 && drkclient::Client_FlashOS(image.c_str(), 0) == 0) {
    drkclient::Client_StartFlash();
    // The host's polling is outside the driver's waits: it does not delay
    // the worker, which runs on, and it sleeps on a clock of its own so that
    // the current clock counts the driver's waits alone.
    platform::SystemClock host;
    int progress;
    while ((progress = drkclient::Client_Progress()) >= 0 && progress < 100) host.Sleep(kPollMs);
    drkclient::JoinDriverThreads();
    drkclient::Client_Shutdown();
  }
  stats.elapsedMs = static_cast<double>(clock.NowMs() - start);
  stats.progress = drkclient::Client_Progress() == 0 ? 100 : drkclient::Client_Progress();
  stats.sleptMs = static_cast<double>(clock.SleptMs() - sleptBefore);
  stats.sleeps = static_cast<double>(clock.SleepCount() - sleepsBefore);
  return stats;
}

void BM_FlashThroughSim(benchmark::State& state) {
  const size_t megabytes = static_cast<size_t>(state.range(0));
  fs::path dir = fs::temp_directory_path() / ("flash-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::path image = dir / "os.nb0";
  {
    std::string block(1 << 20, '\0');
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + i / 7);
    std::ofstream out(image, std::ios::binary);
    for (size_t i = 0; i < megabytes; ++i) out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  for (auto _ : state) {
    int pipefd[2];
    if (::pipe(pipefd) != 0) {
      state.SkipWithError("pipe failed");
      break;
    }
    pid_t child = ::fork();
    if (child == 0) {
      ::close(pipefd[0]);
      RunStats s = FlashOnce(image.string());
      (void)!::write(pipefd[1], &s, sizeof s);
      ::_exit(0);
    }
    ::close(pipefd[1]);
    RunStats s;
    bool got = ::read(pipefd[0], &s, sizeof s) == static_cast<ssize_t>(sizeof s);
    ::close(pipefd[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (!got || s.progress != 100) {
      state.SkipWithError("the flash did not complete");
      break;
    }
    state.SetIterationTime(s.elapsedMs / 1000.0);
    const double over = (s.elapsedMs - s.sleptMs) / s.sleptMs;
    state.counters["MB_per_s"] = static_cast<double>(megabytes) / (s.elapsedMs / 1000.0);
    state.counters["elapsed_ms"] = s.elapsedMs;
    state.counters["floor_ms"] = s.sleptMs;
    state.counters["waits"] = s.sleeps;
    state.counters["over_floor_pct"] = over * 100.0;
    state.counters["within_goal"] = over <= kGoalOverFloor ? 1 : 0;
    state.counters["peak_rss_kB"] = static_cast<double>(usage.ru_maxrss);
  }
  state.SetBytesProcessed(static_cast<int64_t>(megabytes) * (1 << 20));
  fs::remove_all(dir);
}

BENCHMARK(BM_FlashThroughSim)
    ->Arg(1)
    ->Arg(8)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
