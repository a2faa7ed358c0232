#pragma once
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace LumoUtility {

// Owns one image list and destroys it; move-only.
class OwnedImageList {
 public:
  OwnedImageList() = default;
  explicit OwnedImageList(HIMAGELIST list) : list_(list) {}
  ~OwnedImageList() { Reset(); }
  OwnedImageList(OwnedImageList&& other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
  OwnedImageList& operator=(OwnedImageList&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.list_, nullptr));
    return *this;
  }
  OwnedImageList(const OwnedImageList&) = delete;
  OwnedImageList& operator=(const OwnedImageList&) = delete;

  HIMAGELIST Get() const { return list_; }
  void Reset(HIMAGELIST list = nullptr) {
    HIMAGELIST old = std::exchange(list_, list);
    if (old) ImageList_Destroy(old);
  }

 private:
  HIMAGELIST list_ = nullptr;
};

// The header's sort arrows, drawn by the program: the header draws its own arrow
// (HDF_SORTUP, HDF_SORTDOWN) only with version 6 of the common controls, which a
// program without a manifest for them does not get on Windows.
constexpr int kSortUpImage = 0;
constexpr int kSortDownImage = 1;
OwnedImageList MakeSortArrows();

}  // namespace LumoUtility
