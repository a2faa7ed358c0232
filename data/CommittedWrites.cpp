#include "data/CommittedWrites.h"

#include <atomic>

namespace {

// Atomic: the tests' writer threads commit too.
std::atomic<std::uint64_t> committedWrites{0};

}  // namespace

void CountCommittedWrite() { ++committedWrites; }

std::uint64_t CommittedWrites() { return committedWrites.load(); }
