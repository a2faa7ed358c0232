#pragma once
#include <deque>
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

  void QueueAnswer(int answer) { answers_.push_back(answer); }
  const std::vector<LumoUtility::MessageBoxRequest>& Requests() const { return requests_; }

 private:
  std::vector<LumoUtility::MessageBoxRequest> requests_;
  std::deque<int> answers_;
  LumoUtility::MessageBoxPresenter previous_;
};
