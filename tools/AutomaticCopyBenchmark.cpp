// Times the automatic copy the program writes at its end (copy at a committed point, read
// back and validated, old copies thinned out) on a database of a few MB: the template
// grown with interventions. Usage: automatic-copy-benchmark <filedat> [megabytes] [runs]
// Run under Wine (scripts/wine-run); prints the database's size and the times in ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AutomaticCopies.h"
#include "data/jet/WritableDatabase.h"

namespace fs = std::filesystem;

namespace {

double NowMs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER count{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Adds interventions with long notes, a thousand per commit, until the file has the size.
void Grow(const fs::path& database, std::uintmax_t bytes) {
  Jet::WritableDatabase writable = Jet::WritableDatabase::Open(database);
  const std::u16string notes(200, u'n');
  for (std::int32_t row = 0; fs::file_size(database) < bytes;) {
    writable.BeginWrites();
    for (int i = 0; i < 1000; ++i, ++row) {
      writable.InsertRow(u"INTERVENTI_VEICOLO",
                         {Jet::Value(), Jet::Value(std::int32_t{1}), Jet::Value(std::int32_t{1}),
                          Jet::Value(row), Jet::Value(), Jet::Value(84.5), Jet::Value(notes)});
    }
    writable.CommitWrites();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: automatic-copy-benchmark <filedat> [megabytes] [runs]\n");
    return 2;
  }
  const double megabytes = argc > 2 ? std::atof(argv[2]) : 4;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 12;
  const fs::path folder = fs::temp_directory_path() / "automatic-copy-benchmark";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path database = folder / "dati.mdb";
  fs::copy_file(argv[1], database);
  Grow(database, static_cast<std::uintmax_t>(megabytes * 1024 * 1024));

  SYSTEMTIME now{};
  GetLocalTime(&now);
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const double start = NowMs();
    if (!WriteAutomaticCopy(database.wstring(), now)) {
      std::fprintf(stderr, "the copy failed\n");
      return 1;
    }
    times.push_back(NowMs() - start);
  }
  std::sort(times.begin(), times.end());
  std::printf("database %.2f MB, %d copies: median %.1f ms, min %.1f ms, max %.1f ms\n",
              static_cast<double>(fs::file_size(database)) / (1024 * 1024), runs,
              times[times.size() / 2], times.front(), times.back());
  fs::remove_all(folder);
  return 0;
}
