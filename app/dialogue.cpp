#include "app/dialogue.h"

#include <climits>
#include <iostream>

#include "app/answers.h"
#include "app/platform.h"
#include "islands/island_one.h"
#include "islands/island_two.h"
#include "islands/result_files.h"
#include "kmer/kmer_tree.h"
#include "scan/island_one.h"
#include "scan/island_two.h"

namespace morvale {

namespace {

constexpr int kWrongOption = -1;
// A scoring draws 3 x drawCount pool rows and keeps their indices; a million
// keeps that count well inside int and the memory small.
constexpr int kMaxDrawCount = 1000000;
constexpr int kDone = -1;  // the dialogue goes on

struct Session {
  Answers& ask;
  std::ostream& out;
  Phases& phases;
  int measure = 0;
  int tupleSize = 0;
  std::string genomeFileName;
};

void clear(Session& s) {
  platform().clearScreen(s.out);
}

// The process's status after a scan, or kDone to go on.
int afterScan(ScanResult result) {
  if (result == ScanResult::kStopOk) return 0;
  if (result == ScanResult::kFailed) return 1;
  return kDone;
}

int closingSteps(Session& s, int voteThreshold) {
  clear(s);
  s.ask.say("Refinement phase of Morvale completed");
  s.ask.say("Please enter the parameters for detecting Islands above a cut off P-value:");
  const double cutoff = s.ask.real("Cut off P-value:");
  const ResultFileNames names = resultFileNames(s.measure);
  if (!s.phases.cordsortII(cutoff, names.refinementScores, names.refinementIslands, voteThreshold))
    return 1;
  s.ask.say("Refinement phase islands file " + names.refinementIslands + " is prepared");
  return 0;
}

// Scan counts and vote thresholds, asked last on both refinement paths.
void askVoting(Session& s, int& scanCount, int& voteThreshold) {
  scanCount = s.ask.integer(
      "Enter no. of times you want to scan the genome(for majority voting):", 1, INT_MAX);
  voteThreshold = s.ask.integer(
      "Enter how many times a region gets selected so that you keep the region(Majority voting):",
      1, INT_MAX);
}

int refinementAfterFirstPhase(Session& s) {
  clear(s);
  s.ask.say("Please enter the parameters for Island-II");
  const int windowSize = s.ask.integer("Enter fixed Probing Window size:", s.tupleSize, INT_MAX);
  const int poolSize =
      s.ask.integer("Eneter the total no. of Random Samples (One time)", 2, INT_MAX);
  const int drawCount = s.ask.integer("Enter no. of Random Samples to be drwan", 2, kMaxDrawCount);
  const int windowStep = s.ask.integer("Enter size of the overlapping probing window:", 1, INT_MAX);
  int scanCount = 0;
  int voteThreshold = 0;
  askVoting(s, scanCount, voteThreshold);
  clear(s);
  const std::string islands = resultFileNames(s.measure).firstIslands;
  const int status =
      afterScan(s.phases.IslandII(s.tupleSize, windowSize, drawCount, windowStep, s.genomeFileName,
                                  islands, s.measure, poolSize, scanCount));
  return status == kDone ? closingSteps(s, voteThreshold) : status;
}

int firstPhasePath(Session& s) {
  s.ask.say("Please enter the parameters for Island-I");
  s.tupleSize = s.ask.integer("Enter the size of k-tuples:", 1, kMaxTupleSize);
  const int windowSize =
      s.ask.integer("Enter Initial Probing Window size:", s.tupleSize, kMaxFirstPhaseWindow);
  const int poolSize = s.ask.integer("Total no. of Random samples (One time)", 2, INT_MAX);
  const int drawCount = s.ask.integer("Enter no. of Random Samples to be drawn:", 2, kMaxDrawCount);
  const int windowStep = s.ask.integer("Enter size of the overlapping probing window:", 1, INT_MAX);
  const int windowIncrement = s.ask.integer("Enter Increment of the probing window:", 1, INT_MAX);
  s.genomeFileName = s.ask.word("Enter Genome sequence filename (in plain format):");
  clear(s);
  const int status =
      afterScan(s.phases.IslandI(s.tupleSize, windowSize, drawCount, windowStep, windowIncrement,
                                 s.genomeFileName, s.measure, poolSize));
  if (status != kDone) return status;
  clear(s);
  s.ask.say("First phase of Morvale completed");
  s.ask.say("Please enter the parameters for detecting Islands above a cut off P-value:");
  const ResultFileNames names = resultFileNames(s.measure);
  char answer;
  do {
    const double cutoff = s.ask.real("Cut off P-value:");
    const int overlapCount = s.ask.integer("No. of overlapping windows:", INT_MIN, INT_MAX);
    if (!s.phases.cordsortI(overlapCount, cutoff, names.firstScores, names.firstIslands)) return 1;
    s.ask.say("Do you want to use other values?[Y/N]:");
    answer = s.ask.yesNo();
    clear(s);
  } while (answer == 'y');
  s.ask.say("First phase islands file " + names.firstIslands + " is prepared");
  s.ask.say("Do you want to run refinement phase now?[Y/N]:");
  answer = s.ask.yesNo();
  if (answer == 'n') return 0;
  if (answer != 'y') {
    s.ask.say("You entered wrong option");
    return 0;
  }
  return refinementAfterFirstPhase(s);
}

int refinementPath(Session& s) {
  s.ask.say("Please enter the parameters for Island-II");
  s.tupleSize = s.ask.integer("Enter the size of k-tuples:", 1, kMaxTupleSize);
  const int windowSize = s.ask.integer("Enter fixed Probing Window size:", s.tupleSize, INT_MAX);
  const int poolSize =
      s.ask.integer("Enter the total no. of Random Samples (One time)", 2, INT_MAX);
  const int drawCount = s.ask.integer("Enter no. of Random sample to be drawn", 2, kMaxDrawCount);
  const int windowStep = s.ask.integer("Enter size of the overlapping probing window:", 1, INT_MAX);
  s.genomeFileName = s.ask.word("Enter Genome sequence filename (in plain format):");
  const std::string islands = s.ask.word("Enter the first phase Islands filename:");
  int scanCount = 0;
  int voteThreshold = 0;
  askVoting(s, scanCount, voteThreshold);
  clear(s);
  const int status =
      afterScan(s.phases.IslandII(s.tupleSize, windowSize, drawCount, windowStep, s.genomeFileName,
                                  islands, s.measure, poolSize, scanCount));
  return status == kDone ? closingSteps(s, voteThreshold) : status;
}

int dialogue(Session& s) {
  clear(s);
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
  s.measure = s.ask.menuChoice(kWrongOption);
  if (s.measure < 1 || s.measure > 6) {
    s.ask.say("You have entered wrong option!");
    return 0;
  }
  clear(s);
  s.ask.say("\n\n1. Island-I (first phase)");
  s.ask.say("\n2. Island-II (refinement phase)");
  s.ask.say("\nEnter Your choice (1/2) :- ");
  const int phase = s.ask.menuChoice(kWrongOption);
  clear(s);
  if (phase == 1) return firstPhasePath(s);
  if (phase == 2) return refinementPath(s);
  s.ask.say("You have entered wrong option!");
  return 0;
}

}  // namespace

ScanResult RealPhases::IslandI(int tupleSize, int windowSize, int drawCount, int windowStep,
                               int windowIncrement, const std::string& genomeFileName, int measure,
                               int poolSize) {
  return morvale::IslandI(tupleSize, windowSize, drawCount, windowStep, windowIncrement,
                          genomeFileName, measure, poolSize);
}

ScanResult RealPhases::IslandII(int tupleSize, int windowSize, int drawCount, int windowStep,
                                const std::string& genomeFileName,
                                const std::string& islandsFileName, int measure, int poolSize,
                                int scanCount) {
  return morvale::IslandII(tupleSize, windowSize, drawCount, windowStep, genomeFileName,
                           islandsFileName, measure, poolSize, scanCount);
}

bool RealPhases::cordsortI(int overlapCount, double cutoff, const std::string& scoreFileName,
                           const std::string& islandsFileName) {
  return morvale::cordsortI(overlapCount, cutoff, scoreFileName, islandsFileName);
}

bool RealPhases::cordsortII(double cutoff, const std::string& scoreFileName,
                            const std::string& islandsFileName, int voteThreshold) {
  return morvale::cordsortII(cutoff, scoreFileName, islandsFileName, voteThreshold);
}

int runDialogue(std::istream& in, std::ostream& out, Phases& phases) {
  Answers ask(in, out);
  Session s{ask, out, phases, 0, 0, {}};
  try {
    return dialogue(s);
  } catch (const InputEnded& e) {
    out.flush();
    std::cerr << e.what() << "; nothing more was run." << std::endl;
    return 1;
  }
}

}  // namespace morvale
