#pragma once
#include <windows.h>

// The program's caption: its name and the ownership notice.
extern const char kProgramCaption[];

// The whole run of the program: provisions the database, shows the main window and runs
// the message loop until it closes. Returns the process exit code (0 after a normal run,
// 1 after a start-up failure).
int RunProgram(HINSTANCE instance);
