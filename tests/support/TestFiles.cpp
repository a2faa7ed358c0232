#include "tests/support/TestFiles.h"

#ifdef _WIN32
#include "tests/support/WindowsTestSupport.h"

std::filesystem::path TemplateFile() { return ExecutableFolder() / "filedat"; }
std::filesystem::path SampleDatabaseFolder() { return ExecutableFolder() / "samples"; }
#else
std::filesystem::path TemplateFile() { return TEST_TEMPLATE_FILE; }
std::filesystem::path SampleDatabaseFolder() { return TEST_SAMPLES_DIR; }
#endif
