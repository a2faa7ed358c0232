// One whole process, timed and measured from outside: wall time from fork to its end,
// and its peak resident set from wait4. Linux carries the forking process's peak into the
// child's figure, so the harness that forks must itself stay small: work that grows memory
// runs in children too, and a child doing nothing shows the floor.
#pragma once
#include <string>
#include <vector>

struct ProcessFigures {
  double milliseconds = 0;
  double peakKiB = 0;
  bool ok = false;  // exited with code 0
};

// Runs the program (searched on PATH), its standard output to /dev/null unless kept.
ProcessFigures RunProcess(const std::vector<std::string>& command, bool keepOutput = false);

// This program's own path, to start it again in another mode.
std::string ThisProgram();
