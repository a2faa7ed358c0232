#pragma once
#include <string>

// Host programs (mdbtools, mdb-reader, jetdump) run through the shell by the native tests.

// Runs the command and answers what it wrote to standard output; status is pclose's
// answer, or -1 when the command could not be started.
std::string RunShellCommand(const std::string& command, int& status);

// The text as one single-quoted shell word.
std::string ShellQuote(const std::string& text);
