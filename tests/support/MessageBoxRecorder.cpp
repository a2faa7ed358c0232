#include "tests/support/MessageBoxRecorder.h"

#include <utility>

MessageBoxRecorder::MessageBoxRecorder() {
  previous_ = LumoUtility::SetMessageBoxPresenter([this](const LumoUtility::MessageBoxRequest& r) {
    requests_.push_back(r);
    if (answers_.empty()) return IDOK;
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    if (answer.whileShown) answer.whileShown();
    return answer.button;
  });
}

MessageBoxRecorder::~MessageBoxRecorder() {
  LumoUtility::SetMessageBoxPresenter(std::move(previous_));
}
