#include "islands/chain.h"

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "base/system_error.h"
#include "islands/result_files.h"

namespace morvale {

namespace {

struct Span {
  std::int64_t start;
  std::int64_t end;
};

// The islands file, written line by line with a flush after each.
class IslandsWriter {
 public:
  explicit IslandsWriter(const std::string& name) : file_(std::fopen(name.c_str(), "w")) {
    ok_ = file_ != nullptr;
  }
  ~IslandsWriter() { close(); }
  void write(const Span& s) {
    ++lines_;
    if (!file_) return;
    const std::string text = formatIslandLine(s.start, s.end);
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0)
      ok_ = false;
  }
  bool close() {
    if (file_ && std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
    return ok_;
  }
  std::int64_t lines() const { return lines_; }

 private:
  std::FILE* file_;
  bool ok_ = true;
  std::int64_t lines_ = 0;
};

}  // namespace

bool chainIslands(const std::vector<std::int64_t>& sizes, const std::vector<std::int64_t>& centres,
                  std::int64_t windowCount, std::int32_t minWindows,
                  const std::string& islandsFileName, std::ostream& messages) {
  IslandsWriter out(islandsFileName);
  if (windowCount > 0) {
    Span run{spanStart(sizes[0], centres[0]), spanEnd(sizes[0], centres[0])};
    std::int64_t runWindows = 1;
    bool hasPending = false;
    Span pending{0, 0};
    for (std::size_t i = 1; i < static_cast<std::size_t>(windowCount); ++i) {
      const std::int64_t s = spanStart(sizes[i], centres[i]);
      const std::int64_t e = spanEnd(sizes[i], centres[i]);
      if (s <= run.end && e >= run.start) {
        if (s < run.start) run.start = s;
        if (e > run.end) run.end = e;
        ++runWindows;
        continue;
      }
      if (runWindows >= minWindows) {
        if (!hasPending) {
          pending = run;
          hasPending = true;
        } else if (run.start > pending.end) {
          out.write(pending);
          pending = run;
        } else {
          pending.end = run.end;
        }
      }
      run = Span{s, e};
      runWindows = 1;
    }
    if (hasPending) out.write(pending);
    if (runWindows >= minWindows) out.write(run);
  }
  if (out.lines() == 0) messages << "No islands found with these parameters." << std::endl;
  return out.close();
}

std::string islandsWriteError(const std::string& islandsFileName) {
  return systemErrorText("Cannot write islands file " + islandsFileName, errno);
}

}  // namespace morvale
