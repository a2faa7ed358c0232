#include "data/FallbackEngine.h"

namespace {

class FallbackEngine : public DbEngine {
 public:
  FallbackEngine(std::unique_ptr<DbEngine> preferred, std::unique_ptr<DbEngine> fallback)
      : preferred_(std::move(preferred)), fallback_(std::move(fallback)) {
    // A preferred engine that cannot even start is not tried at all.
    if (preferred_ && !preferred_->StartupError().empty()) preferred_.reset();
  }

  std::string StartupError() const override { return fallback_->StartupError(); }

  std::unique_ptr<DbSession> Open(const std::wstring& connectionString) override {
    if (preferred_) {
      try {
        return preferred_->Open(connectionString);
      } catch (const std::exception&) {
        // The fallback's own failure, if any, is the one reported.
      }
    }
    return fallback_->Open(connectionString);
  }

 private:
  std::unique_ptr<DbEngine> preferred_;
  std::unique_ptr<DbEngine> fallback_;
};

}  // namespace

std::unique_ptr<DbEngine> MakeFallbackEngine(std::unique_ptr<DbEngine> preferred,
                                             std::unique_ptr<DbEngine> fallback) {
  return std::make_unique<FallbackEngine>(std::move(preferred), std::move(fallback));
}
