// The program's two contacts with its surroundings besides files: the clock that
// seeds the C random generator and the command that clears the terminal. Both are
// reached through one replaceable object, so tests can pin the seed and keep the
// screen untouched.
#pragma once

#include <ctime>
#include <ostream>
#include <string>

namespace morvale {

class Platform {
 public:
  virtual ~Platform() = default;
  // Calendar time in whole seconds, as time() gives it.
  virtual std::time_t now() = 0;
  // Clears the terminal behind `out` (the program's standard output).
  virtual void clearScreen(std::ostream& out) = 0;
};

// The platform in force: the real one unless a test installed another.
Platform& platform();
// Installs `p` (not owned); nullptr restores the real platform.
void setPlatform(Platform* p);

// The real platform: time() and the shell command "clear". The command runs once;
// the bytes it wrote are kept and written again for every later clear, which has
// the same effect on the terminal without starting a process per window.
class SystemPlatform : public Platform {
 public:
  std::time_t now() override;
  void clearScreen(std::ostream& out) override;

 private:
  bool captured_ = false;
  std::string clearBytes_;
};

}  // namespace morvale
