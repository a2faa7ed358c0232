#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// The vehicles the store writer (StoreWriter.cpp) inserts, numbered from 1, and how a
// test recognises them: every field is a function of the number, so a row cut short or
// mixed with another shows.
namespace WriterRows {

inline std::string Plate(int number, char prefix = 'W') {
  char plate[16];
  std::snprintf(plate, sizeof plate, "%c%06d", prefix, number);
  return plate;
}

// Long enough that rows fill pages quickly and inserts keep allocating new ones.
inline std::string Description(int number) {
  std::string text = "Veicolo di prova " + std::to_string(number) + ":";
  while (text.size() < 200) text += " " + std::to_string(number * 7919 % 100000);
  return text.substr(0, 200);
}

inline std::int32_t Kilometres(int number) { return number * 1013; }

inline int Year(int number) { return 2000 + number % 20; }
inline int Month(int number) { return 1 + number % 12; }
inline int Day(int number) { return 1 + number % 28; }

}  // namespace WriterRows
