#include "bench/process_startup.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/data_sets.h"

extern char** environ;

namespace sacotin::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kProtonPrefixes = 41;

// A process to start: the program, its arguments, and the changes to this process's
// environment it gets (nullopt: the variable is removed).
struct Launch {
  std::string program;
  std::vector<std::string> arguments;
  std::map<std::string, std::optional<std::string>> environment;
};

// Starts the process and waits until it says its window is shown (a byte on its descriptor 3);
// the seconds that took, or none when it could not be started, said nothing or did not end with
// status 0 (the probe's "an inventory was shown").
std::optional<double> run(const Launch& launch) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry; ++entry) {
    const std::string variable = *entry;
    if (!launch.environment.contains(variable.substr(0, variable.find('=')))) {
      variables.push_back(variable);
    }
  }
  for (const auto& [name, value] : launch.environment) {
    if (value) variables.push_back(name + "=" + *value);
  }
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  std::vector<std::string> words{launch.program};
  words.insert(words.end(), launch.arguments.begin(), launch.arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  // Its output (the offscreen platform's warnings) would bury the table.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  int shown[2];
  if (pipe2(shown, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_adddup2(&quiet, shown[1], 3);
  const auto start = Clock::now();
  pid_t child = 0;
  const int spawned =
      posix_spawn(&child, launch.program.c_str(), &quiet, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&quiet);
  close(shown[1]);
  char byte = 0;
  const bool said = spawned == 0 && read(shown[0], &byte, 1) == 1;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  close(shown[0]);
  int status = 0;
  if (spawned != 0 || waitpid(child, &status, 0) != child) return std::nullopt;
  if (!said || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return seconds;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// The probe copied into a folder of its own beside the heavy set's liste.dat: the program reads
// the catalogue beside its executable.
std::string probeBesideHeavyCatalogue() {
  static const std::string probe = [] {
    const fs::path folder = fs::path(dataRoot()) / "program-heavy";
    fs::create_directories(folder);
    fs::copy_file(SACOTIN_STARTUP_PROBE, folder / "sacotin_startup_probe",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(dataSet("heavy").catalogue, folder / "liste.dat",
                  fs::copy_options::overwrite_existing);
    return (folder / "sacotin_startup_probe").string();
  }();
  return probe;
}

// A home whose Steam keeps 41 Proton prefixes: the heavy set's user.reg in the oldest, another
// program's 2 MB user.reg in each of the 40 others.
const std::vector<std::string>& protonHomeUserRegs() {
  static const std::vector<std::string> userRegs = [] {
    const fs::path compatdata =
        fs::path(dataRoot()) / "home-41-prefixes/.local/share/Steam/steamapps/compatdata";
    const auto now = fs::file_time_type::clock::now();
    std::vector<std::string> paths;
    for (int i = 0; i < kProtonPrefixes; ++i) {
      const fs::path prefix = compatdata / std::to_string(2000 + i) / "pfx";
      fs::create_directories(prefix);
      const std::string& source =
          i == 0 ? dataSet("heavy").userReg : dataSet("other-program").userReg;
      fs::copy_file(source, prefix / "user.reg", fs::copy_options::update_existing);
      fs::last_write_time(prefix / "user.reg",
                          now - std::chrono::hours(2) + std::chrono::seconds(i));
      paths.push_back((prefix / "user.reg").string());
    }
    return paths;
  }();
  return userRegs;
}

std::string protonHome() {
  protonHomeUserRegs();
  return (fs::path(dataRoot()) / "home-41-prefixes").string();
}

Launch emptyWindow() { return {SACOTIN_STARTUP_PROBE, {"--empty-window"}, {}}; }

Launch withWinePrefix() {
  return {probeBesideHeavyCatalogue(), {}, {{"WINEPREFIX", dataSet("heavy").folder}}};
}

Launch onProtonHome() {
  return {probeBesideHeavyCatalogue(),
          {},
          {{"WINEPREFIX", std::nullopt},
           {"HOME", protonHome()},
           {"XDG_CONFIG_HOME", std::nullopt},
           {"XDG_DATA_HOME", std::nullopt}}};
}

// Medians measured in this run, by kind of launch.
std::map<std::string, double>& measuredMedians() {
  static std::map<std::string, double> measured;
  return measured;
}

// The median of a kind of launch for the ratios: the one its own benchmark measured in this run,
// else that of a few runs made now.
double medianSeconds(const std::string& name, const Launch& launch) {
  auto [entry, added] = measuredMedians().try_emplace(name, 0.0);
  if (added) {
    std::vector<double> runs;
    for (int i = 0; i < 9; ++i) runs.push_back(run(launch).value_or(0));
    entry->second = median(runs);
  }
  return entry->second;
}

double heavyReadFloor() {
  static const double floor = bestOf(5, [] {
    benchmark::DoNotOptimize(readBytes(dataSet("heavy").userReg));
    benchmark::DoNotOptimize(readBytes(dataSet("heavy").catalogue));
  });
  return floor;
}

void readProtonHome() {
  for (const std::string& userReg : protonHomeUserRegs()) {
    benchmark::DoNotOptimize(readBytes(userReg));
  }
}

double protonHomeReadFloor() {
  static const double floor = bestOf(5, readProtonHome);
  return floor;
}

// Times the launch; `addRatios` adds counters from the median of this run's iterations.
template <typename AddRatios>
void timeProcess(benchmark::State& state, const std::string& name, const Launch& launch,
                 AddRatios&& addRatios) {
  std::vector<double> times;
  for (auto _ : state) {
    const std::optional<double> seconds = run(launch);
    if (!seconds) {
      state.SkipWithError("the program did not show an inventory");
      return;
    }
    state.SetIterationTime(*seconds);
    times.push_back(*seconds);
  }
  state.counters["median_ms"] = median(times) * 1e3;
  measuredMedians()[name] = median(times);
  addRatios(state, median(times));
}

void EmptyWindow(benchmark::State& state) {
  timeProcess(state, "empty", emptyWindow(), [](benchmark::State&, double) {});
}

void WinePrefixHeavy(benchmark::State& state) {
  timeProcess(state, "wineprefix", withWinePrefix(), [](benchmark::State& state, double seconds) {
    const double empty = medianSeconds("empty", emptyWindow());
    state.counters["read_floor_ms"] = heavyReadFloor() * 1e3;
    state.counters["empty_window_ms"] = empty * 1e3;
    state.counters["x_read_floor"] = (seconds - empty) / heavyReadFloor();
  });
}

void Home41Heavy(benchmark::State& state) {
  timeProcess(state, "home41", onProtonHome(), [](benchmark::State& state, double seconds) {
    const double withPrefix = medianSeconds("wineprefix", withWinePrefix());
    state.counters["home_floor_ms"] = protonHomeReadFloor() * 1e3;
    state.counters["wineprefix_ms"] = withPrefix * 1e3;
    state.counters["x_home_floor"] = (seconds - withPrefix) / protonHomeReadFloor();
  });
}

void ReadFloorHome41(benchmark::State& state) {
  for (auto _ : state) readProtonHome();
}

}  // namespace

void registerProcessBenchmarks() {
  const auto ms = benchmark::kMillisecond;
  benchmark::RegisterBenchmark("Process/EmptyWindow", EmptyWindow)->Unit(ms)->UseManualTime();
  benchmark::RegisterBenchmark("Process/WinePrefix/Heavy", WinePrefixHeavy)
      ->Unit(ms)
      ->UseManualTime();
  benchmark::RegisterBenchmark("Process/Home41/Heavy", Home41Heavy)->Unit(ms)->UseManualTime();
  benchmark::RegisterBenchmark("ReadFloor/Home41", ReadFloorHome41)->Unit(ms);
}

}  // namespace sacotin::bench
