// What became of one genome (or one record with --per-record) of a run: done,
// failed or skipped with the reason, interrupted, or not run. It becomes text only
// where summary.tsv is written and read ("failed: reason").
#pragma once

#include <string>

namespace morvale {

enum class RunState { kNotRun, kDone, kFailed, kSkipped, kInterrupted };

struct RunStatus {
  RunState state = RunState::kNotRun;
  std::string reason;  // why it failed or was skipped, one line; "" otherwise

  static RunStatus done() { return {RunState::kDone, ""}; }
  static RunStatus interrupted() { return {RunState::kInterrupted, ""}; }
  // Line ends and tabs in `why` become spaces.
  static RunStatus failed(const std::string& why);
  static RunStatus skipped(const std::string& why);

  bool is(RunState s) const { return state == s; }
};

// "done", "failed: reason", "skipped: reason", "interrupted", "not run".
std::string statusText(const RunStatus& status);
// The status of such a text; false when it is none of them.
bool parseStatus(const std::string& text, RunStatus& status);

}  // namespace morvale
