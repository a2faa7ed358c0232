#pragma once

// What a test counts to see that windows and GDI objects come back after use.

// How many more GDI objects the process can make: Wine answers 0 to GetGuiResources, so
// the free room in its handle table is measured instead. Any object left behind shows as
// room lost.
int GdiRoom();

// Top-level windows of this thread (forms and tooltips; child windows go with them).
int ThreadWindows();
