#pragma once
#include <windows.h>

// Copies the user's database into a folder the user chooses, as "TorvaneBackup.dat".
void BackupDatabase(HWND owner);
// Brings a backup back over the database, after saving the current database beside it
// as a numbered safety copy (dati.mdb.000, dati.mdb.001, ...).
void RestoreDatabase(HWND owner);
