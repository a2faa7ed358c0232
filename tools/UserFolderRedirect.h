#pragma once
#include <windows.h>

#include <filesystem>
#include <string>

// Points the user's local application-data folder (as the shell reports it, for this
// process and the programs it starts) at another folder, and puts the previous setting
// back at the end. The start-up benchmark and profile use it for new and existing users.
class UserFolderRedirect {
 public:
  UserFolderRedirect();
  ~UserFolderRedirect();
  UserFolderRedirect(const UserFolderRedirect&) = delete;
  UserFolderRedirect& operator=(const UserFolderRedirect&) = delete;

  bool PointAt(const std::filesystem::path& folder);

 private:
  bool Write(const std::wstring& value);

  HKEY key_ = nullptr;
  std::wstring previous_;
  bool hadPrevious_ = false;
};
