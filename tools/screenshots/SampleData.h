#pragma once
#include <string>

// Believable Italian sample data for the screenshots, written through the program's own
// data store into the database at DatabasePath (a fresh copy of the template): a few
// vehicles, and for the first one a history in which most lines are in order and a few
// are due again.
namespace SampleData {

// The vehicle whose schedule the pictures show.
extern const char kShownPlate[];
// An intervention of that vehicle that is due again (red face) and was done before.
extern const char kDueIntervention[];

// False with the store's text when a write failed.
bool Fill(std::string& error);

}  // namespace SampleData
