// A Notice that records every message box and answers from a queue (kIdOk when
// the queue is empty).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "drvcmd/notice.h"

namespace testsupport {

struct ShownMessage {
  std::string text;
  std::string caption;  // empty: the application title
  unsigned style = 0;
};

class RecordingNotice : public drvcmd::Notice {
 public:
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    messages.push_back({text, caption, style});
    if (answers.empty()) return drvcmd::kIdOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<ShownMessage> messages;
  std::deque<int> answers;
};

}  // namespace testsupport
