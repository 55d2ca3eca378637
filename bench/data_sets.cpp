#include "bench/data_sets.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>

#include "files/file_stamp.h"

namespace sacotin::bench {
namespace {

namespace fs = std::filesystem;

// Generator options of each set.
const std::map<std::string, std::string>& generatorOptions() {
  static const std::map<std::string, std::string> options = {
      {"typical", "--set typical"},
      {"heavy", "--set heavy"},
      {"lin-base", "--accounts 25 --characters 5 --slots 100 --catalogue 5000 --size-mb 0"},
      {"lin-2x-accounts", "--accounts 50 --characters 5 --slots 100 --catalogue 5000 --size-mb 0"},
      {"lin-2x-slots", "--accounts 25 --characters 5 --slots 200 --catalogue 5000 --size-mb 0"},
      {"lin-2x-catalogue",
       "--accounts 25 --characters 5 --slots 100 --catalogue 10000 --size-mb 0"},
      {"lin-unrelated-30mb",
       "--accounts 25 --characters 5 --slots 100 --catalogue 5000 --size-mb 30"},
      {"other-program", "--set typical --without-game"},
  };
  return options;
}

fs::path rootFolder() {
  if (const char* kept = std::getenv("SACOTIN_BENCH_DATA"); kept && *kept) return kept;
  static QTemporaryDir temporary;
  if (!temporary.isValid()) throw std::runtime_error("no temporary folder for the data sets");
  return temporary.path().toStdString();
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Files just written have a recent time, which the catalogue cache does not trust for long;
// an hour back they look like files the game and the user wrote some time ago.
const fs::file_time_type kAnHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);

void ageFiles(const DataSet& data, fs::file_time_type time) {
  fs::last_write_time(data.userReg, time);
  fs::last_write_time(data.catalogue, time);
}

// Makes the files look like files written a while ago: an hour-old modification time, and a
// change time old enough that the catalogue cache trusts their stamp (it compares the bytes of a
// file changed moments before). Waits up to a few seconds for the latter.
void settle(const DataSet& data) {
  if (fs::last_write_time(data.catalogue) > kAnHourAgo) ageFiles(data, kAnHourAgo);
  const auto stamp = stampOf(data.catalogue);
  if (!stamp) return;
  const auto changed = std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(
          std::chrono::nanoseconds(stamp->changedNs)));
  const auto settledAt = changed + std::chrono::milliseconds(2500);
  if (std::chrono::system_clock::now() < settledAt) std::this_thread::sleep_until(settledAt);
}

void writeEmptySet(const fs::path& folder) {
  fs::create_directories(folder);
  std::ofstream(folder / "user.reg", std::ios::binary)
      << "WINE REGISTRY Version 2\n;; All keys relative to "
         "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
         "\n#arch=win32\n";
  std::ofstream(folder / "liste.dat", std::ios::binary);
  std::ofstream(folder / "bench-info.txt") << "search_item=Epee\ncarriers=0\n";
}

void generate(const std::string& name, const fs::path& folder) {
  if (name == "empty") return writeEmptySet(folder);
  const auto options = generatorOptions().find(name);
  if (options == generatorOptions().end()) throw std::invalid_argument("unknown set " + name);
  const std::string command = std::string(SACOTIN_BENCH_PYTHON) + " " +
                              quoted(SACOTIN_BENCH_GENERATOR) + " " + options->second + " --out " +
                              quoted(folder) + " > /dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

DataSet load(const std::string& name, const fs::path& folder) {
  DataSet data;
  data.name = name;
  data.folder = folder.string();
  data.userReg = (folder / "user.reg").string();
  data.catalogue = (folder / "liste.dat").string();
  std::ifstream info(folder / "bench-info.txt");
  std::string line;
  while (std::getline(info, line)) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (key == "search_item") data.searchItem = QString::fromStdString(value);
    if (key == "carriers") data.carriers = std::stoi(value);
    if (key == "accounts") data.accounts = std::stoi(value);
    if (key == "characters") data.characters = std::stoi(value);
    if (key == "slots_per_character") data.slotsPerCharacter = std::stoi(value);
  }
  data.userRegBytes = static_cast<long long>(fs::file_size(data.userReg));
  settle(data);
  return data;
}

}  // namespace

const DataSet& dataSet(const std::string& name) {
  static std::map<std::string, std::unique_ptr<DataSet>> sets;
  auto& set = sets[name];
  if (!set) {
    const fs::path folder = rootFolder() / name;
    if (!fs::exists(folder / "bench-info.txt")) generate(name, folder);
    set = std::make_unique<DataSet>(load(name, folder));
  }
  return *set;
}

std::string dataRoot() { return rootFolder().string(); }

// A whole file read into memory, as a reader that knows nothing of its content would: one buffer
// of the file's size, filled by read().
std::size_t readBytes(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat info {};
  ::fstat(fd, &info);
  const auto size = static_cast<std::size_t>(info.st_size);
  std::unique_ptr<char[]> bytes(new char[size + 1]);
  std::size_t filled = 0;
  ssize_t got = 0;
  while (filled <= size && (got = ::read(fd, bytes.get() + filled, size + 1 - filled)) > 0) {
    filled += static_cast<std::size_t>(got);
  }
  ::close(fd);
  benchmark::DoNotOptimize(bytes.get());
  return filled;
}

void markFilesChanged(const DataSet& data) {
  static int changes = 0;
  ++changes;
  ageFiles(data, kAnHourAgo + std::chrono::milliseconds(changes));
}

}  // namespace sacotin::bench
