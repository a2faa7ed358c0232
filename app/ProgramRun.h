#pragma once
#include <windows.h>

// The program's caption: its name and the ownership notice.
inline constexpr char kProgramCaption[] =
    "TorvaneManutenzione - © Torvane, tutti i diritti riservati";

// The whole run of the program: provisions the database, shows the main window and runs
// the message loop until it closes. Returns the process exit code (0 after a normal run,
// 1 after a start-up failure).
int RunProgram(HINSTANCE instance);
