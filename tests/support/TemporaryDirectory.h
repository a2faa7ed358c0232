#pragma once
#include <filesystem>
#include <string>

// A fresh, empty folder under the system temporary folder (or the given parent), removed
// with its content when the object goes away.
class TemporaryDirectory {
 public:
  explicit TemporaryDirectory(
      const std::filesystem::path& nameHint = "test",
      const std::filesystem::path& parent = std::filesystem::temp_directory_path());
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFileBytes(const std::filesystem::path& path);
