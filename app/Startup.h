#pragma once
#include <windows.h>

// Finds and verifies the template database, provisions the user's database and sets
// DatabasePath. Shows the error box and returns false on a start-up failure.
bool ProvisionDatabase();

// The whole run of the program; returns the process exit code (0 normal, 1 start-up failure).
int RunProgram(HINSTANCE instance);
