#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/TemporaryDirectory.h"

// A fresh folder that the shell's folder chooser always lists, for tests that pick it
// there: the old chooser hides folders whose names start with a dot (under Wine, on the
// way to a clone in such a folder) and hidden ones such as AppData, home of the temporary
// folder (on Windows). It lies under <system drive>\torvane-test, which goes too when
// nothing else is left in it.
class ChooserVisibleFolder {
 public:
  explicit ChooserVisibleFolder(const std::string& nameHint);
  ~ChooserVisibleFolder();
  ChooserVisibleFolder(const ChooserVisibleFolder&) = delete;
  ChooserVisibleFolder& operator=(const ChooserVisibleFolder&) = delete;

  const std::filesystem::path& Path() const { return folder_->Path(); }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return Path() / name; }

 private:
  static std::filesystem::path Root();

  std::filesystem::path root_ = Root();
  std::unique_ptr<TemporaryDirectory> folder_;
};
