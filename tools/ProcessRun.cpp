#include "tools/ProcessRun.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tools/Stopwatch.h"

ProcessFigures RunProcess(const std::vector<std::string>& command, bool keepOutput) {
  std::vector<char*> arguments;
  for (const std::string& argument : command)
    arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  ProcessFigures figures;
  const auto start = Clock::now();
  std::fflush(nullptr);  // what this process printed comes before the child's output
  const pid_t child = fork();
  if (child < 0) return figures;
  if (child == 0) {
    if (!keepOutput) dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
    execvp(arguments[0], arguments.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return figures;
  figures.milliseconds = MillisecondsSince(start);
  figures.peakKiB = static_cast<double>(usage.ru_maxrss);  // KiB on Linux
  figures.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return figures;
}

std::string ThisProgram() { return std::filesystem::canonical("/proc/self/exe").string(); }
