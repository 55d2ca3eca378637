// Measures what a user waits for, on generated Wine prefixes (see bench/data_sets.h):
//
//   ReadFloor/<set>           read user.reg and liste.dat into memory, nothing else: the cost of
//                             the files themselves, which start-up and search are held to
//   Floor/<set>               open the game's key once (user.reg parsed as the program does), read
//                             liste.dat once
//   EmptyWindow               the main window created and shown on a registry without keys
//   Startup/<set>             from creating the main window to its first inventory, shown
//   SeeInv/<set>              one inventory load of the first character, files already read
//   Search/<set>              one whole search for the item half the characters carry
//   SearchFilesChanged/<set>  the same after user.reg and liste.dat changed on disk
//   Session/<set>             start-up, search mode, one search: once, for the peak memory
//   Naive*/<set>              the same work reading liste.dat once per slot (baseline)
//
// Start-up and the searches also report themselves as ratios of the read floor measured in the
// same run (x_read_floor; start-up also against read floor + empty window). The window runs on
// Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise. At the end the process's peak
// resident set size is printed.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "bench/data_sets.h"
#include "bench/naive_reference.h"
#include "bench/process_startup.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_cache.h"
#include "main_window/form1.h"
#include "registry/game_registry.h"
#include "registry/wine/wine_user_registry.h"

namespace sacotin::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCodePage = 1252;

double peakRssMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::unique_ptr<WineUserRegistry> userRegistry(const DataSet& data) {
  return std::make_unique<WineUserRegistry>(data.userReg, makeAnsiCodePage(kCodePage));
}

// The main window on a data set, shown and painted, as at the program's start.
// The window's registry, which it keeps, is pointed at through registry when asked for.
std::unique_ptr<Form1> showWindow(const DataSet& data, WineUserRegistry** registry = nullptr) {
  auto backend = userRegistry(data);
  if (registry) *registry = backend.get();
  Form1Sources sources{std::move(backend), makeAnsiCodePage(kCodePage),
                       QString::fromStdString(data.catalogue)};
  auto window = std::make_unique<Form1>(std::move(sources));
  window->show();
  QCoreApplication::processEvents();
  return window;
}

void readBothFiles(const DataSet& data) {
  benchmark::DoNotOptimize(readBytes(data.userReg));
  benchmark::DoNotOptimize(readBytes(data.catalogue));
}

// The read floor and the empty window of this run, measured once per set, for the ratios.
double readFloorSeconds(const DataSet& data) {
  static std::map<std::string, double> measured;
  auto [entry, added] = measured.try_emplace(data.name, 0.0);
  if (added) entry->second = bestOf(5, [&data] { readBothFiles(data); });
  return entry->second;
}
double emptyWindowSeconds();

void addRatios(benchmark::State& state, const DataSet& data, double totalSeconds,
               bool withEmptyWindow) {
  const double mean = totalSeconds / static_cast<double>(state.iterations());
  const double floor = readFloorSeconds(data);
  state.counters["read_floor_ms"] = floor * 1e3;
  state.counters["x_read_floor"] = mean / floor;
  if (withEmptyWindow) {
    state.counters["x_read_floor_plus_empty_window"] = mean / (floor + emptyWindowSeconds());
  }
}

void addCommonCounters(benchmark::State& state, const DataSet& data) {
  state.counters["user_reg_MB"] = static_cast<double>(data.userRegBytes) / 1e6;
  state.counters["peak_rss_MiB"] = peakRssMiB();
}

void ReadFloor(benchmark::State& state, const std::string& set) {
  const DataSet& data = dataSet(set);
  for (auto _ : state) readBothFiles(data);
  addCommonCounters(state, data);
}

void Floor(benchmark::State& state, const std::string& set) {
  const DataSet& data = dataSet(set);
  const std::shared_ptr<const AnsiCodePage> codePage = makeAnsiCodePage(kCodePage);
  for (auto _ : state) {
    WineUserRegistry registry(data.userReg, makeAnsiCodePage(kCodePage));
    auto root = registry.openKey(GameRegistry::kKeyPath);
    auto catalogue = CatalogueCache(data.catalogue, codePage).current();
    if (!root || !catalogue) state.SkipWithError("data set unreadable");
    benchmark::DoNotOptimize(catalogue);
  }
  addCommonCounters(state, data);
}

void Startup(benchmark::State& state, const std::string& set) {
  const DataSet& data = dataSet(set);
  int listed = 0;
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    auto window = showWindow(data);
    const double seconds = secondsSince(start);
    state.SetIterationTime(seconds);
    total += seconds;
    listed = window->List1->count();
    window.reset();  // closing is not part of the start-up
  }
  if (set != "empty" && listed == 0) state.SkipWithError("no inventory listed at start-up");
  state.counters["items_listed"] = listed;
  if (set != "empty") addRatios(state, data, total, true);
  addCommonCounters(state, data);
}

double emptyWindowSeconds() {
  static const double measured = bestOf(3, [] { showWindow(dataSet("empty")); });
  return measured;
}

void SeeInv(benchmark::State& state, const std::string& set) {
  const DataSet& data = dataSet(set);
  auto window = showWindow(data);
  for (auto _ : state) {
    window->see_inv();
    QCoreApplication::processEvents();
  }
  if (window->List1->count() != data.slotsPerCharacter) state.SkipWithError("wrong item count");
  state.counters["slots"] = window->List1->count();
  addCommonCounters(state, data);
}

// One whole search; with filesChanged, user.reg and liste.dat are given a new modification time
// before each run (not timed), so the run reads both again.
void Search(benchmark::State& state, const std::string& set, bool filesChanged) {
  const DataSet& data = dataSet(set);
  WineUserRegistry* registry = nullptr;
  auto window = showWindow(data, &registry);
  window->mnu_recherche_Click();
  const int parsesBefore = registry->parseCount();
  window->Combo3->setEditText(data.searchItem);
  double total = 0;
  for (auto _ : state) {
    if (filesChanged) markFilesChanged(data);
    const auto start = Clock::now();
    window->search();
    QCoreApplication::processEvents();
    const double seconds = secondsSince(start);
    state.SetIterationTime(seconds);
    total += seconds;
  }
  addRatios(state, data, total, false);
  if (window->List2->count() != data.carriers) state.SkipWithError("wrong result count");
  state.counters["result_lines"] = window->List2->count();
  // user.reg parses per run: 0 when unchanged, 1 after a change.
  state.counters["user_reg_parses"] = static_cast<double>(registry->parseCount() - parsesBefore) /
                                      static_cast<double>(state.iterations());
  state.counters["characters"] = data.characters;
  addCommonCounters(state, data);
}

// What one user session costs in memory: start-up, search mode entered, one search. Run it
// alone (--benchmark_filter=Session/Heavy) for the peak resident set size of such a session.
void Session(benchmark::State& state, const std::string& set) {
  const DataSet& data = dataSet(set);
  for (auto _ : state) {
    auto window = showWindow(data);
    window->mnu_recherche_Click();
    window->Combo3->setEditText(data.searchItem);
    window->search();
    QCoreApplication::processEvents();
    if (window->List2->count() != data.carriers) state.SkipWithError("wrong result count");
  }
  addCommonCounters(state, data);
}

void NaiveSeeInv(benchmark::State& state, const std::string& set) {
  const DataSet& data = dataSet(set);
  auto registry = userRegistry(data);
  const auto codePage = makeAnsiCodePage(kCodePage);
  NaiveInventoryReader reader(*registry, data.catalogue, *codePage);
  // The first character of the first account, as the window shows at start-up.
  std::u16string account, character;
  registry->openKey(GameRegistry::kKeyPath)->forEachSubkey([&](const std::u16string& name) {
    if (account.empty()) account = name;
  });
  registry->openKey(std::u16string(GameRegistry::kKeyPath) + u"\\" + account + u"\\Characters")
      ->forEachSubkey([&](const std::u16string& name) {
        if (character.empty()) character = name;
      });
  std::size_t slotCount = 0;
  for (auto _ : state) slotCount = reader.inventory(account, character).size();
  if (slotCount != static_cast<std::size_t>(data.slotsPerCharacter)) {
    state.SkipWithError("wrong item count");
  }
  state.counters["slots"] = static_cast<double>(slotCount);
}

void NaiveSearch(benchmark::State& state, const std::string& set) {
  const DataSet& data = dataSet(set);
  auto registry = userRegistry(data);
  const auto codePage = makeAnsiCodePage(kCodePage);
  NaiveInventoryReader reader(*registry, data.catalogue, *codePage);
  std::size_t found = 0;
  for (auto _ : state) found = reader.search(data.searchItem.toStdU16String()).size();
  if (found != static_cast<std::size_t>(data.carriers)) state.SkipWithError("wrong result count");
  state.counters["result_lines"] = static_cast<double>(found);
}

// One slot looked up the naive way; from it, what a whole naive search of the set would take
// (one lookup per slot of every character).
void NaiveLookup(benchmark::State& state, const std::string& set) {
  const DataSet& data = dataSet(set);
  auto registry = userRegistry(data);
  const auto codePage = makeAnsiCodePage(kCodePage);
  NaiveInventoryReader reader(*registry, data.catalogue, *codePage);
  const char slot[] = {'\x34', '\x12'};
  double seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(reader.lookUp(std::string_view(slot, 2)));
    seconds += secondsSince(start);
  }
  const double slotCount = static_cast<double>(data.characters) * data.slotsPerCharacter;
  state.counters["whole_search_estimate_s"] =
      seconds / static_cast<double>(state.iterations()) * slotCount;
}

void registerAll() {
  using benchmark::RegisterBenchmark;
  const auto ms = benchmark::kMillisecond;
  for (const std::string set : {"Typical", "Heavy", "LinBase", "Lin2xAccounts", "Lin2xSlots",
                                "Lin2xCatalogue", "LinUnrelated30MB"}) {
    std::string folder = set == "Typical"          ? "typical"
                         : set == "Heavy"          ? "heavy"
                         : set == "LinBase"        ? "lin-base"
                         : set == "Lin2xAccounts"  ? "lin-2x-accounts"
                         : set == "Lin2xSlots"     ? "lin-2x-slots"
                         : set == "Lin2xCatalogue" ? "lin-2x-catalogue"
                                                   : "lin-unrelated-30mb";
    RegisterBenchmark(("ReadFloor/" + set).c_str(), ReadFloor, folder)->Unit(ms);
    RegisterBenchmark(("Floor/" + set).c_str(), Floor, folder)->Unit(ms);
    RegisterBenchmark(("Startup/" + set).c_str(), Startup, folder)->Unit(ms)->UseManualTime();
    RegisterBenchmark(("Search/" + set).c_str(), Search, folder, false)->Unit(ms)->UseManualTime();
    if (set == "Typical" || set == "Heavy") {
      RegisterBenchmark(("Session/" + set).c_str(), Session, folder)->Unit(ms)->Iterations(1);
      RegisterBenchmark(("SeeInv/" + set).c_str(), SeeInv, folder)->Unit(ms);
      RegisterBenchmark(("SearchFilesChanged/" + set).c_str(), Search, folder, true)
          ->Unit(ms)
          ->UseManualTime();
      RegisterBenchmark(("NaiveLookup/" + set).c_str(), NaiveLookup, folder)->Unit(ms);
    }
    if (set == "Typical") {
      RegisterBenchmark(("NaiveSeeInv/" + set).c_str(), NaiveSeeInv, folder)->Unit(ms);
      RegisterBenchmark(("NaiveSearch/" + set).c_str(), NaiveSearch, folder)->Unit(ms);
    }
  }
  RegisterBenchmark("EmptyWindow", Startup, std::string("empty"))->Unit(ms)->UseManualTime();
  registerProcessBenchmarks();
}

}  // namespace
}  // namespace sacotin::bench

namespace {

// The offscreen platform warns on every window shown that it can't pass size hints on; that
// noise would bury the table.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
  if (message.contains(QStringLiteral("propagateSizeHints"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(quietOffscreenWarnings);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  sacotin::bench::registerAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::fprintf(stderr, "peak RSS (ru_maxrss): %.1f MiB\n", sacotin::bench::peakRssMiB());
  return 0;
}
