// The program's contacts with its surroundings besides files: the clock that seeds
// the random draws and stamps run records, and the terminal behind standard
// output. Front ends and scans receive it, so tests pin the clock and keep the
// screen untouched.
#pragma once

#include <ctime>
#include <ostream>
#include <string>

namespace morvale {

class Console {
 public:
  virtual ~Console() = default;
  // Calendar time in whole seconds.
  virtual std::time_t now() = 0;
  // Clears the terminal behind `out` (standard output); does nothing when it is
  // not a terminal, so logs hold plain lines.
  virtual void clearScreen(std::ostream& out) = 0;
  // True when standard error shows on the same terminal as standard output, so a
  // message written to standard error is already on the screen.
  virtual bool errorsShareTheScreen() = 0;
};

// The real console: time(), and the shell command "clear", run once when standard
// output is a terminal; the bytes it wrote are kept and written again for every
// later clear (the same effect without a process per window).
class SystemConsole : public Console {
 public:
  std::time_t now() override;
  void clearScreen(std::ostream& out) override;
  bool errorsShareTheScreen() override;

 private:
  int checked_ = 0;  // 0 not yet, 1 a terminal, -1 not a terminal
  std::string clearBytes_;
};

// "YYYY-MM-DD HH:MM:SS" in local time.
std::string localTimeText(std::time_t t);

}  // namespace morvale
