#include "tools/screenshots/ModalCapture.h"

#include <utility>

#include "tools/screenshots/ScreenCapture.h"

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr auto kAppearTimeout = std::chrono::seconds(10);
// Wine paints a new window shortly after it is shown, not at once.
constexpr auto kSettleTime = std::chrono::milliseconds(700);

}  // namespace

ModalCapture::ModalCapture(Finder find, Area area, std::filesystem::path bmpFile, Dismiss dismiss)
    : find_(std::move(find)),
      area_(std::move(area)),
      bmpFile_(std::move(bmpFile)),
      dismiss_(std::move(dismiss)),
      thread_([this] { Run(); }) {}

ModalCapture::~ModalCapture() {
  if (thread_.joinable()) thread_.join();
}

void ModalCapture::Run() {
  const auto deadline = std::chrono::steady_clock::now() + kAppearTimeout;
  HWND found = nullptr;
  while (!(found = find_()) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kPollInterval);
  }
  if (found) {
    std::this_thread::sleep_for(kSettleTime);
    succeeded_ = CaptureScreenArea(area_(found), bmpFile_);
    dismiss_(found);
  }
  done_ = true;
}
