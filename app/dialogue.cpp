#include "app/dialogue.h"

#include <iostream>

#include "app/answers.h"
#include "base/folder_lock.h"
#include "islands/island_list.h"
#include "islands/result_files.h"

namespace morvale {

namespace {

struct Session {
  Answers& ask;
  std::ostream& out;
  Console& console;
  Phases& phases;
  int measure = 0;
  int tupleSize = 0;
  std::string genomeFile;
};

void clear(Session& s) {
  s.console.clearScreen(s.out);
}

// Shows why the run stops as the last lines on the screen, and on standard error
// unless that is the same screen; returns the status 1.
int fail(Session& s, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    s.out << line << std::endl;
    if (!s.console.errorsShareTheScreen()) std::cerr << line << std::endl;
  }
  return 1;
}

int fail(Session& s, const ScanStop& stop) {
  if (stop.numericalFailure.empty()) return fail(s, stop.lines);
  std::cerr << "Numerical Recipes run-time error...\n"
            << stop.numericalFailure << "\n...now exiting to system...\n";
  return 1;
}

// The stop of a scan that did not complete.
ScanStop scanStop(const ScanOutcome& outcome) {
  if (outcome.result == ScanResult::kCompleted) return {};
  ScanStop stop;
  if (outcome.numericalFailure.empty()) stop.lines = {outcome.error};
  stop.numericalFailure = outcome.numericalFailure;
  return stop;
}

int closingSteps(Session& s, int voteThreshold) {
  clear(s);
  s.ask.say("Refinement phase of Morvale completed");
  s.ask.say("Please enter the parameters for detecting Islands above a cut off P-value:");
  const double cutoff = s.ask.real("Cut off P-value:");
  const std::vector<std::string> problems = s.phases.refinementAssembly(cutoff, voteThreshold);
  if (!problems.empty()) return fail(s, problems);
  s.ask.say("Refinement phase islands file " + resultFileNames(s.measure).refinementIslands +
            " is prepared");
  return 0;
}

// Scan counts and vote thresholds, asked last on both refinement paths.
void askVoting(Session& s, RefinementSettings& r) {
  r.scanCount = s.ask.integer(
      "Enter no. of times you want to scan the genome(for majority voting):", Setting::kScanCount);
  r.voteThreshold = s.ask.integer(
      "Enter how many times a region gets selected so that you keep the region(Majority voting):",
      Setting::kVoteThreshold);
}

int refine(Session& s, RefinementRequest& request) {
  clear(s);
  request.measure = s.measure;
  request.tupleSize = s.tupleSize;
  request.genomeFile = s.genomeFile;
  const ScanStop stop = s.phases.refinement(request);
  if (!stop.empty()) return fail(s, stop);
  return closingSteps(s, request.settings.voteThreshold);
}

int refinementAfterFirstPhase(Session& s) {
  clear(s);
  s.ask.say("Please enter the parameters for Island-II");
  RefinementRequest request;
  RefinementSettings& r = request.settings;
  r.windowSize =
      s.ask.integer("Enter fixed Probing Window size:", Setting::kRefineWindowSize, s.tupleSize);
  r.poolSize =
      s.ask.integer("Eneter the total no. of Random Samples (One time)", Setting::kRefinePoolSize);
  r.drawCount = s.ask.integer("Enter no. of Random Samples to be drwan", Setting::kRefineDrawCount);
  r.windowStep =
      s.ask.integer("Enter size of the overlapping probing window:", Setting::kRefineWindowStep);
  askVoting(s, r);
  request.islandsFile = resultFileNames(s.measure).firstIslands;
  return refine(s, request);
}

int firstPhasePath(Session& s) {
  s.ask.say("Please enter the parameters for Island-I");
  FirstPhaseSettings f;
  f.measure = s.measure;
  f.tupleSize = s.tupleSize = s.ask.integer("Enter the size of k-tuples:", Setting::kTupleSize);
  f.windowSize =
      s.ask.integer("Enter Initial Probing Window size:", Setting::kWindowSize, s.tupleSize);
  f.poolSize = s.ask.integer("Total no. of Random samples (One time)", Setting::kPoolSize);
  f.drawCount = s.ask.integer("Enter no. of Random Samples to be drawn:", Setting::kDrawCount);
  f.windowStep =
      s.ask.integer("Enter size of the overlapping probing window:", Setting::kWindowStep);
  f.windowIncrement =
      s.ask.integer("Enter Increment of the probing window:", Setting::kWindowIncrement);
  s.genomeFile = s.ask.word("Enter Genome sequence filename (in plain format):");
  clear(s);
  const ScanStop stop = s.phases.firstPhase(f, s.genomeFile);
  if (!stop.empty()) return fail(s, stop);
  clear(s);
  s.ask.say("First phase of Morvale completed");
  s.ask.say("Please enter the parameters for detecting Islands above a cut off P-value:");
  char answer;
  do {
    FirstAssemblySettings a;
    a.cutoff = s.ask.real("Cut off P-value:");
    a.overlapCount = s.ask.integer("No. of overlapping windows:", Setting::kOverlapCount);
    const std::vector<std::string> problems = s.phases.firstAssembly(a);
    if (!problems.empty()) return fail(s, problems);
    s.ask.say("Do you want to use other values?[Y/N]:");
    answer = s.ask.yesNo();
    clear(s);
  } while (answer == 'y');
  s.ask.say("First phase islands file " + resultFileNames(s.measure).firstIslands + " is prepared");
  s.ask.say("Do you want to run refinement phase now?[Y/N]:");
  answer = s.ask.yesNo();
  if (answer == 'n') return 0;
  if (answer != 'y') {
    s.ask.say("You entered wrong option");
    return 1;
  }
  return refinementAfterFirstPhase(s);
}

int refinementPath(Session& s) {
  s.ask.say("Please enter the parameters for Island-II");
  RefinementRequest request;
  RefinementSettings& r = request.settings;
  s.tupleSize = s.ask.integer("Enter the size of k-tuples:", Setting::kTupleSize);
  r.windowSize =
      s.ask.integer("Enter fixed Probing Window size:", Setting::kRefineWindowSize, s.tupleSize);
  r.poolSize =
      s.ask.integer("Enter the total no. of Random Samples (One time)", Setting::kRefinePoolSize);
  r.drawCount = s.ask.integer("Enter no. of Random sample to be drawn", Setting::kRefineDrawCount);
  r.windowStep =
      s.ask.integer("Enter size of the overlapping probing window:", Setting::kRefineWindowStep);
  s.genomeFile = s.ask.word("Enter Genome sequence filename (in plain format):");
  request.islandsFile = s.ask.word("Enter the first phase Islands filename:");
  askVoting(s, r);
  return refine(s, request);
}

int dialogue(Session& s, const std::string& notice) {
  clear(s);
  if (!notice.empty()) std::cerr << notice << std::endl;
  for (const char* line :
       {"Morvale: for detecting Genomic Islands", "\nWhich distance measure do you want to use:",
        "1. Absolute distance (Without markov model):",
        "2. Euclidean distance (Without markov model):",
        "3. Kullback-Leibler divergence (Without markov model):",
        "4. Absolute distance (With markov model):", "5. Euclidean distance (With markov model):",
        "6. Kullback-Leibler divergence (With markov model):",
        "\nEnter Your choice (1/2/3/4/5/6):- "}) {
    s.ask.say(line);
  }
  s.measure = s.ask.menuChoice();
  if (s.measure < 1 || s.measure > 6) {
    s.ask.say("You have entered wrong option!");
    return 1;
  }
  clear(s);
  s.ask.say("\n\n1. Island-I (first phase)");
  s.ask.say("\n2. Island-II (refinement phase)");
  s.ask.say("\nEnter Your choice (1/2) :- ");
  const int phase = s.ask.menuChoice();
  clear(s);
  if (phase == 1) return firstPhasePath(s);
  if (phase == 2) return refinementPath(s);
  s.ask.say("You have entered wrong option!");
  return 1;
}

}  // namespace

DialoguePhases::DialoguePhases(std::ostream& out, Console& console)
    : out_(out), console_(console), progress_(out, console) {}

DialoguePhases::~DialoguePhases() = default;

PhaseRunner& DialoguePhases::runner(int measure) {
  if (!runner_)
    runner_ = std::make_unique<PhaseRunner>(measure, "", console_, progress_, workers_, out_);
  return *runner_;
}

ScanStop DialoguePhases::firstPhase(const FirstPhaseSettings& settings,
                                    const std::string& genomeFile) {
  genome_.fileName = genomeFile;
  genome_.genome = readgenome(genomeFile, settings.windowSize);
  std::vector<std::string> problems = firstPhaseGenomeProblems(genome_, settings.windowSize);
  if (!problems.empty()) return problems;
  describeGenome(genome_);
  const ScanOutcome outcome =
      runner(settings.measure).firstPhase(settings, genome_, static_cast<unsigned>(console_.now()));
  return scanStop(outcome);
}

std::vector<std::string> DialoguePhases::firstAssembly(const FirstAssemblySettings& assembly) {
  const std::string error = runner_->firstAssembly(assembly);
  if (!error.empty()) return {error};
  return {};
}

ScanStop DialoguePhases::refinement(const RefinementRequest& request) {
  if (genome_.fileName != request.genomeFile || genome_.genome.status != GenomeStatus::kOk) {
    genome_.fileName = request.genomeFile;
    genome_.genome = readgenome(request.genomeFile);
    std::vector<std::string> problems = refinementGenomeProblems(genome_);
    if (!problems.empty()) return problems;
    describeGenome(genome_);
  }
  IslandList list = readIslandList(request.islandsFile);
  const std::string problem =
      refinementListProblem(list, request.islandsFile, genome_, request.settings.windowSize);
  if (!problem.empty()) return std::vector<std::string>{problem};
  out_ << islandListSummary(list, request.islandsFile) << std::endl;
  const ScanOutcome outcome =
      runner(request.measure)
          .refinement(request.settings, request.tupleSize, genome_, request.islandsFile,
                      list.values, static_cast<unsigned>(console_.now()));
  return scanStop(outcome);
}

std::vector<std::string> DialoguePhases::refinementAssembly(double cutoff, int voteThreshold) {
  const std::string error = runner_->refinementAssembly(cutoff, voteThreshold);
  if (!error.empty()) return {error};
  return {};
}

int runDialogue(std::istream& in, std::ostream& out, Console& console, Phases& phases,
                const std::string& notice) {
  Answers ask(in, out);
  Session s{ask, out, console, phases, 0, 0, {}};
  try {
    return dialogue(s, notice);
  } catch (const InputEnded& e) {
    out.flush();
    std::cerr << e.what() << "; nothing more was run." << std::endl;
    return 1;
  }
}

int runConsoleProgram(std::istream& in, std::ostream& out, Console& console, Phases& phases,
                      const std::string& folder) {
  std::string notice;
  std::string error;
  const std::unique_ptr<FolderLock> lock = FolderLock::take(folder, console.now(), notice, error);
  if (!lock) {
    std::cerr << error << std::endl;
    return 1;
  }
  return runDialogue(in, out, console, phases, notice);
}

}  // namespace morvale
