#include "islands/chain.h"

#include <iostream>

#include "base/whole_file.h"
#include "islands/result_files.h"

namespace morvale {

namespace {

struct Span {
  std::int64_t start;
  std::int64_t end;
};

// The islands file's lines, written whole at the end.
class IslandsWriter {
 public:
  void write(const Span& s) {
    ++lines_;
    text_ += formatIslandLine(s.start, s.end);
  }
  const std::string& text() const { return text_; }
  std::int64_t lines() const { return lines_; }

 private:
  std::string text_;
  std::int64_t lines_ = 0;
};

}  // namespace

std::string chainIslands(const std::vector<std::int64_t>& sizes,
                         const std::vector<std::int64_t>& centres, std::int64_t windowCount,
                         std::int32_t minWindows, const std::string& islandsFileName,
                         std::ostream& messages) {
  IslandsWriter out;
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
  return writeWholeFile(islandsFileName, out.text());
}

}  // namespace morvale
