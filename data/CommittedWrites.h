#pragma once
#include <cstdint>

// How many changes this process has committed to a database: a statement that changed
// rows, whichever engine ran it, and a restore. Lets the program know at its end whether
// the run changed any data.
void CountCommittedWrite();
std::uint64_t CommittedWrites();
