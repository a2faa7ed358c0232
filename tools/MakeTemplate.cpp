// Developer tool: writes the template database that ships as data/template/filedat.
// Usage: make-template <file to write>
#include <iostream>

#include "data/jet/JetError.h"
#include "tools/TemplateDatabase.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: " << argv[0] << " <file to write>\n";
    return 2;
  }
  try {
    WriteTemplateDatabase(argv[1]);
  } catch (const Jet::JetError& error) {
    std::cerr << "make-template: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
