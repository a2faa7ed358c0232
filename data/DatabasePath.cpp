#include "data/DatabasePath.h"

std::wstring DatabasePath;
