#include "batch/run_status.h"

#include "base/tsv_text.h"

namespace morvale {

namespace {

constexpr const char* kFailedWord = "failed: ";
constexpr const char* kSkippedWord = "skipped: ";

bool startsWith(const std::string& text, const std::string& head) {
  return text.compare(0, head.size(), head) == 0;
}

}  // namespace

RunStatus RunStatus::failed(const std::string& why) {
  return {RunState::kFailed, tsvField(why)};
}

RunStatus RunStatus::skipped(const std::string& why) {
  return {RunState::kSkipped, tsvField(why)};
}

std::string statusText(const RunStatus& status) {
  switch (status.state) {
    case RunState::kDone:
      return "done";
    case RunState::kFailed:
      return kFailedWord + status.reason;
    case RunState::kSkipped:
      return kSkippedWord + status.reason;
    case RunState::kInterrupted:
      return "interrupted";
    case RunState::kNotRun:
      break;
  }
  return "not run";
}

bool parseStatus(const std::string& text, RunStatus& status) {
  const std::string failed = kFailedWord, skipped = kSkippedWord;
  if (startsWith(text, failed)) {
    status = {RunState::kFailed, text.substr(failed.size())};
  } else if (startsWith(text, skipped)) {
    status = {RunState::kSkipped, text.substr(skipped.size())};
  } else if (text == "done") {
    status = RunStatus::done();
  } else if (text == "interrupted") {
    status = RunStatus::interrupted();
  } else if (text == "not run") {
    status = RunStatus();
  } else {
    return false;
  }
  return true;
}

}  // namespace morvale
