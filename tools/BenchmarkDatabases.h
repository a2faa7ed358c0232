// The databases the native benchmarks measure, written by the engine itself.
#pragma once
#include <filesystem>

// A new file with one table, MISURE (6 columns: number, texts, date, double), of `rows` rows.
void WriteExportDatabase(const std::filesystem::path& file, long rows);

inline constexpr char16_t kExportTable[] = u"MISURE";

// A copy of the program's template with `rows` history rows spread over 100 vehicles
// and 26 catalogue kinds; kScheduleVehicle has a hundredth of them.
void WriteScheduleDatabase(const std::filesystem::path& templateFile,
                           const std::filesystem::path& file, int rows);

inline constexpr int kScheduleVehicle = 42;
