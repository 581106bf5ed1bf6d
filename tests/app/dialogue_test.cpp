// The dialogue's texts, prompts, checks and exit statuses, with the phases recorded.
#include "app/dialogue.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "test_support.h"

namespace morvale {
namespace {

// Records every call as one line of its name and arguments; reports no problems.
class RecordingPhases : public Phases {
 public:
  std::vector<std::string> calls;
  ScanStop firstPhase(const FirstPhaseSettings& f, const std::string& g) override {
    return record("first", f.measure, f.tupleSize, f.windowSize, f.poolSize, f.drawCount,
                  f.windowStep, f.windowIncrement, g);
  }
  std::vector<std::string> firstAssembly(const FirstAssemblySettings& a) override {
    return record("assemble", a.cutoff, a.overlapCount);
  }
  ScanStop refinement(const RefinementRequest& r) override {
    const RefinementSettings& s = r.settings;
    return record("refine", r.measure, r.tupleSize, r.genomeFile, r.islandsFile, s.windowSize,
                  s.poolSize, s.drawCount, s.windowStep, s.scanCount, s.voteThreshold);
  }
  std::vector<std::string> refinementAssembly(double cutoff, int votes) override {
    return record("vote", cutoff, votes);
  }

 private:
  template <typename... Args>
  std::vector<std::string> record(const char* name, const Args&... args) {
    std::ostringstream line;
    line << name;
    ((line << ' ' << args), ...);
    calls.push_back(line.str());
    return {};
  }
};

class DialogueTest : public ::testing::Test {
 protected:
  int run(const std::string& answers) {
    std::istringstream in(answers);
    out_.str("");
    testing::CapturedOutput captured;
    const int status = runDialogue(in, out_, console_, phases_);
    err_ = captured.err();
    return status;
  }
  bool endsWith(const std::string& tail) const { return testing::endsWith(out_.str(), tail); }
  testing::PinnedConsole console_;
  RecordingPhases phases_;
  std::ostringstream out_;
  std::string err_;
};

TEST_F(DialogueTest, FirstPhaseThenRefinementPrintsEveryTextAndCallsInOrder) {
  EXPECT_EQ(run("2 1  4 5000 100 30 1000 1000 genome.fa  0.01 2 Y  0.001 3 n  y  "
                "3000 80 20 500 3 2  0.05"),
            0);
  EXPECT_EQ(
      out_.str(),
      "Morvale: for detecting Genomic Islands\n\nWhich distance measure do you want to use:\n"
      "1. Absolute distance (Without markov model):\n"
      "2. Euclidean distance (Without markov model):\n"
      "3. Kullback-Leibler divergence (Without markov model):\n"
      "4. Absolute distance (With markov model):\n5. Euclidean distance (With markov model):\n"
      "6. Kullback-Leibler divergence (With markov model):\n\nEnter Your choice (1/2/3/4/5/6):- \n"
      "\n\n1. Island-I (first phase)\n\n2. Island-II (refinement phase)\n\n"
      "Enter Your choice (1/2) :- \nPlease enter the parameters for Island-I\n"
      "Enter the size of k-tuples:\nEnter Initial Probing Window size:\n"
      "Total no. of Random samples (One time)\nEnter no. of Random Samples to be drawn:\n"
      "Enter size of the overlapping probing window:\nEnter Increment of the probing window:\n"
      "Enter Genome sequence filename (in plain format):\nFirst phase of Morvale completed\n"
      "Please enter the parameters for detecting Islands above a cut off P-value:\n"
      "Cut off P-value:\nNo. of overlapping windows:\nDo you want to use other values?[Y/N]:\n"
      "Cut off P-value:\nNo. of overlapping windows:\nDo you want to use other values?[Y/N]:\n"
      "First phase islands file Eu-first-Islands.txt is prepared\n"
      "Do you want to run refinement phase now?[Y/N]:\nPlease enter the parameters for Island-II\n"
      "Enter fixed Probing Window size:\nEneter the total no. of Random Samples (One time)\n"
      "Enter no. of Random Samples to be drwan\nEnter size of the overlapping probing window:\n"
      "Enter no. of times you want to scan the genome(for majority voting):\n"
      "Enter how many times a region gets selected so that you keep the region(Majority voting):\n"
      "Refinement phase of Morvale completed\n"
      "Please enter the parameters for detecting Islands above a cut off P-value:\n"
      "Cut off P-value:\nRefinement phase islands file Eu-refinement-Islands.txt is prepared\n");
  EXPECT_EQ(phases_.calls,
            (std::vector<std::string>{
                "first 2 4 5000 100 30 1000 1000 genome.fa", "assemble 0.01 2", "assemble 0.001 3",
                "refine 2 4 genome.fa Eu-first-Islands.txt 3000 80 20 500 3 2", "vote 0.05 2"}));
  EXPECT_EQ(console_.clears, 10);
}

TEST_F(DialogueTest, RefinementPathPassesTypedNamesUnchanged) {
  const std::string longName(300, 'x');
  EXPECT_EQ(run("4 2 3 2500 50 10 250 " + longName + " my-islands.list 5 4 0.02"), 0);
  EXPECT_EQ(phases_.calls,
            (std::vector<std::string>{
                "refine 4 3 " + longName + " my-islands.list 2500 50 10 250 5 4", "vote 0.02 4"}));
  EXPECT_TRUE(endsWith("Refinement phase islands file Ab-refinement-Islands.txt is prepared\n"));
}

// Wrong options keep their messages and end with status 1; "n" ends quietly with 0.
TEST_F(DialogueTest, ExitStatusesTellWhetherAnythingUsefulWasDone) {
  for (const char* row :
       {"1 1 2 100 10 5 50 50 g.fa 0.1 1 n N extra|0|run refinement phase now?[Y/N]:",
        "1 1 2 100 10 5 50 50 g.fa 0.1 1 n maybe|1|You entered wrong option",
        "0 1|1|You have entered wrong option!", "7|1|You have entered wrong option!",
        "two|1|You have entered wrong option!",
        "2 3|1|\nEnter Your choice (1/2) :- \nYou have entered wrong option!"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    EXPECT_EQ(run(c[0]), std::stoi(c[1])) << c[0];
    EXPECT_TRUE(endsWith(c[2] + "\n")) << c[0] << "\n" << out_.str();
  }
}

TEST_F(DialogueTest, OutOfRangeAnswersAreAskedAgain) {
  EXPECT_EQ(run("2 1  9 0 k3 4  3 10001 5000  1 2  1000001 30  0 1000  x 1000  g.fa  "
                "zero 0.01 2.5 2 n n"),
            0);
  for (const char* row : {"9|whole number from 1 to 8", "k3|whole number from 1 to 8",
                          "3|whole number from 4 to 10000", "1|whole number of at least 2",
                          "1000001|whole number from 2 to 1000000",
                          "zero|number such as 0.01 or 1e-5", "2.5|whole number"}) {
    const std::vector<std::string> c = testing::split(row, '|');
    const std::string line = "\"" + c[0] + "\" is not accepted here: enter a " + c[1] + ".\n";
    EXPECT_NE(out_.str().find(line), std::string::npos) << line;
  }
  EXPECT_EQ(phases_.calls.at(0), "first 2 4 5000 2 30 1000 1000 g.fa");
}

TEST_F(DialogueTest, EndOfInputStopsWithStatusOneBeforeAnyScan) {
  for (const char* answers : {"", "2", "2 1 4 5000 100 30 1000 1000", "2 2 4 100 10 5 10 g.fa"}) {
    phases_.calls.clear();
    EXPECT_EQ(run(answers), 1) << answers;
    EXPECT_EQ(err_, "Input ended before all answers were given; nothing more was run.\n");
    EXPECT_TRUE(phases_.calls.empty()) << answers;
  }
}

}  // namespace
}  // namespace morvale
