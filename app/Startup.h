#pragma once
#include <windows.h>

// Finds and verifies the template database, provisions the user's database and sets
// DatabasePath. Shows the error box and returns false on a start-up failure.
bool ProvisionDatabase();
