#include "app/DatabasePath.h"

std::wstring DatabasePath;
