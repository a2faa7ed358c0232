// Developer tool: runs the engine's structural validator on any database file and prints
// what it found. Exit status 0 when the file is consistent, 1 when not, 2 on bad usage.
// Usage: jetcheck FILE [--notes]
#include <cstring>
#include <iostream>

#include "data/jet/JetError.h"
#include "data/jet/PageSource.h"
#include "data/jet/Validator.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--notes") != 0)) {
    std::cerr << "usage: " << argv[0] << " FILE [--notes]\n";
    return 2;
  }
  try {
    Jet::FilePageSource source(argv[1]);
    Jet::ValidationReport report = Jet::ValidateDatabase(source);
    for (const std::string& problem : report.problems) std::cout << "problem: " << problem << "\n";
    if (argc == 3) {
      for (const std::string& note : report.notes) std::cout << "note: " << note << "\n";
    }
    std::cout << (report.Ok() ? "consistent" : "inconsistent") << " (" << report.problems.size()
              << " problems, " << report.notes.size() << " notes)\n";
    return report.Ok() ? 0 : 1;
  } catch (const Jet::JetError& error) {
    std::cout << "problem: " << error.what() << "\ninconsistent\n";
    return 1;
  }
}
