#pragma once
#include <deque>
#include <functional>
#include <vector>

#include "toolkit/MessageBoxes.h"

// While alive, message boxes are not shown: each request is recorded and answered with
// the next queued answer (IDOK when none is queued). Restores the previous presenter.
class MessageBoxRecorder {
 public:
  MessageBoxRecorder();
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  // `whileShown` runs when the box is asked for, before it is answered: what the user or
  // the world does while the box is on screen.
  void QueueAnswer(int answer, std::function<void()> whileShown = nullptr) {
    answers_.push_back({answer, std::move(whileShown)});
  }
  const std::vector<LumoUtility::MessageBoxRequest>& Requests() const { return requests_; }

 private:
  std::vector<LumoUtility::MessageBoxRequest> requests_;
  struct Answer {
    int button;
    std::function<void()> whileShown;
  };
  std::deque<Answer> answers_;
  LumoUtility::MessageBoxPresenter previous_;
};
