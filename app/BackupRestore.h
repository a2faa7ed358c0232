#pragma once
#include <windows.h>

#include <string>

// Copies the user's database into a folder the user chooses, as "TorvaneBackup.dat".
void BackupDatabase(HWND owner);
// Brings a backup back over the database, after saving the current database beside it
// as a numbered safety copy (dati.mdb.000, dati.mdb.001, ...).
void RestoreDatabase(HWND owner);
// Brings an automatic copy (AutomaticCopies.h) back over the database, exactly as a backup.
void RestoreAutomaticCopy(HWND owner, const std::wstring& copy);
