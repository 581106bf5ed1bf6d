// The console dialogue: the two menus, every parameter prompt, and the order in
// which the phases and island assemblies run. The phases themselves are reached
// through an interface: the program runs the real ones, tests record the calls.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "base/console.h"
#include "scan/phase_runner.h"
#include "scan/settings.h"

namespace morvale {

// A refinement as the dialogue asks for it.
struct RefinementRequest {
  int measure = 0;
  int tupleSize = 0;
  std::string genomeFile;
  std::string islandsFile;
  RefinementSettings settings;
};

// Why a scan stops the run (with status 1): the lines shown last on the screen,
// or the t-test's failure message, which the run reports on standard error alone
// as the numerical routines' three-line run-time error report. Empty when done.
struct ScanStop {
  ScanStop() = default;
  ScanStop(std::vector<std::string> shown) : lines(std::move(shown)) {}  // NOLINT: implicit
  std::vector<std::string> lines;
  std::string numericalFailure;
  bool empty() const { return lines.empty() && numericalFailure.empty(); }
};

// Each operation returns [] when done, or the lines that say why the run stops
// (with status 1); nothing of an earlier run is touched when its inputs fail.
class Phases {
 public:
  virtual ~Phases() = default;
  virtual ScanStop firstPhase(const FirstPhaseSettings& settings,
                              const std::string& genomeFile) = 0;
  virtual std::vector<std::string> firstAssembly(const FirstAssemblySettings& assembly) = 0;
  virtual ScanStop refinement(const RefinementRequest& request) = 0;
  virtual std::vector<std::string> refinementAssembly(double cutoff, int voteThreshold) = 0;
};

// The real phases in the working folder, single-threaded, seeded from the clock
// when each phase starts, with the console's progress lines on `out`.
class DialoguePhases : public Phases {
 public:
  DialoguePhases(std::ostream& out, Console& console);
  ~DialoguePhases() override;
  ScanStop firstPhase(const FirstPhaseSettings& settings, const std::string& genomeFile) override;
  std::vector<std::string> firstAssembly(const FirstAssemblySettings& assembly) override;
  ScanStop refinement(const RefinementRequest& request) override;
  std::vector<std::string> refinementAssembly(double cutoff, int voteThreshold) override;

 private:
  PhaseRunner& runner(int measure);

  std::ostream& out_;
  Console& console_;
  ConsoleProgress progress_;
  WorkerPool workers_{1};
  std::unique_ptr<PhaseRunner> runner_;
  GenomeInput genome_;
};

// Runs the whole dialogue on `in` and `out`; returns the process's exit status.
// `notice`, when not empty, goes to standard error after the first screen clear.
int runDialogue(std::istream& in, std::ostream& out, Console& console, Phases& phases,
                const std::string& notice = "");

// The console program: takes the lock of `folder` (the working folder for ""),
// runs the dialogue, and releases the lock. A folder in use by another run is
// refused with one line on standard error and status 1.
int runConsoleProgram(std::istream& in, std::ostream& out, Console& console, Phases& phases,
                      const std::string& folder = "");

}  // namespace morvale
