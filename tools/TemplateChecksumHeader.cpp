// Build-time tool: writes the header that holds the checksum of the shipped template,
// so the constant always matches the file that ships and is never typed by hand.
// Usage: template-checksum-header <template file> <header to write>
#include <fstream>
#include <iostream>

#include "app/FileChecksum.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: " << argv[0] << " <template file> <header to write>\n";
    return 2;
  }
  std::ifstream probe(argv[1], std::ios::binary);
  if (!probe) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ofstream header(argv[2], std::ios::trunc);
  header << "#pragma once\n"
         << "// Generated at build time from the shipped template database; do not edit.\n"
         << "constexpr char ExpectedTemplateChecksum[] = \"" << ComputeFileChecksum(argv[1])
         << "\";\n";
  return header.good() ? 0 : 1;
}
