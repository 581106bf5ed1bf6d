#include "app/dialogue.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "test_support.h"

namespace morvale {
namespace {

// Records every call as one line of its name and arguments; returns scripted results.
class RecordingPhases : public Phases {
 public:
  std::vector<std::string> calls;
  ScanResult scanResult = ScanResult::kCompleted;
  bool assemblyWrites = true;

  ScanResult IslandI(int k, int w, int m, int step, int inc, const std::string& genome, int measure,
                     int pool) override {
    return record(scanResult, "IslandI", k, w, m, step, inc, genome, measure, pool);
  }
  ScanResult IslandII(int k, int w, int m, int step, const std::string& genome,
                      const std::string& islands, int measure, int pool, int scans) override {
    return record(scanResult, "IslandII", k, w, m, step, genome, islands, measure, pool, scans);
  }
  bool cordsortI(int overlap, double cutoff, const std::string& scores,
                 const std::string& islands) override {
    return record(assemblyWrites, "cordsortI", overlap, cutoff, scores, islands);
  }
  bool cordsortII(double cutoff, const std::string& scores, const std::string& islands,
                  int votes) override {
    return record(assemblyWrites, "cordsortII", cutoff, scores, islands, votes);
  }

 private:
  template <typename Result, typename... Args>
  Result record(Result result, const char* name, const Args&... args) {
    std::ostringstream line;
    line << name;
    ((line << ' ' << args), ...);
    calls.push_back(line.str());
    return result;
  }
};

class DialogueTest : public ::testing::Test {
 protected:
  void SetUp() override { setPlatform(&platform_); }
  void TearDown() override { setPlatform(nullptr); }
  int run(const std::string& answers) {
    std::istringstream in(answers);
    out_.str("");
    return runDialogue(in, out_, phases_);
  }
  bool endsWith(const std::string& tail) const {
    const std::string text = out_.str();
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  }
  testing::PinnedPlatform platform_;
  RecordingPhases phases_;
  std::ostringstream out_;
};

const char* const kMenus =
    "Morvale: for detecting Genomic Islands\n\nWhich distance measure do you want to use:\n"
    "1. Absolute distance (Without markov model):\n2. Euclidean distance (Without markov model):\n"
    "3. Kullback-Leibler divergence (Without markov model):\n"
    "4. Absolute distance (With markov model):\n5. Euclidean distance (With markov model):\n"
    "6. Kullback-Leibler divergence (With markov model):\n\nEnter Your choice (1/2/3/4/5/6):- \n"
    "\n\n1. Island-I (first phase)\n\n2. Island-II (refinement phase)\n\nEnter Your choice (1/2) "
    ":- \n";

TEST_F(DialogueTest, FirstPhaseThenRefinementPrintsEveryTextAndCallsInOrder) {
  EXPECT_EQ(run("2 1  4 5000 100 30 1000 1000 genome.fa  0.01 2 Y  0.001 3 n  y  "
                "3000 80 20 500 3 2  0.05"),
            0);
  EXPECT_EQ(out_.str(),
            std::string(kMenus) +
                "Please enter the parameters for Island-I\nEnter the size of k-tuples:\n"
                "Enter Initial Probing Window size:\nTotal no. of Random samples (One time)\n"
                "Enter no. of Random Samples to be drawn:\n"
                "Enter size of the overlapping probing window:\n"
                "Enter Increment of the probing window:\n"
                "Enter Genome sequence filename (in plain format):\n"
                "First phase of Morvale completed\n"
                "Please enter the parameters for detecting Islands above a cut off P-value:\n"
                "Cut off P-value:\nNo. of overlapping windows:\n"
                "Do you want to use other values?[Y/N]:\n"
                "Cut off P-value:\nNo. of overlapping windows:\n"
                "Do you want to use other values?[Y/N]:\n"
                "First phase islands file Eu-first-Islands.txt is prepared\n"
                "Do you want to run refinement phase now?[Y/N]:\n"
                "Please enter the parameters for Island-II\nEnter fixed Probing Window size:\n"
                "Eneter the total no. of Random Samples (One time)\n"
                "Enter no. of Random Samples to be drwan\n"
                "Enter size of the overlapping probing window:\n"
                "Enter no. of times you want to scan the genome(for majority voting):\n"
                "Enter how many times a region gets selected so that you keep the "
                "region(Majority voting):\n"
                "Refinement phase of Morvale completed\n"
                "Please enter the parameters for detecting Islands above a cut off P-value:\n"
                "Cut off P-value:\nRefinement phase islands file Eu-refinement-Islands.txt is "
                "prepared\n");
  EXPECT_EQ(phases_.calls,
            (std::vector<std::string>{
                "IslandI 4 5000 30 1000 1000 genome.fa 2 100",
                "cordsortI 2 0.01 Euclidean-first.txt Eu-first-Islands.txt",
                "cordsortI 3 0.001 Euclidean-first.txt Eu-first-Islands.txt",
                "IslandII 4 3000 20 500 genome.fa Eu-first-Islands.txt 2 80 3",
                "cordsortII 0.05 Euclidean-refinement.txt Eu-refinement-Islands.txt 2"}));
  EXPECT_EQ(platform_.clears, 10);
}

TEST_F(DialogueTest, RefinementPathPassesTypedNamesUnchanged) {
  const std::string longName(300, 'x');
  EXPECT_EQ(run("4 2 3 2500 50 10 250 " + longName + " my-islands.list 5 4 0.02"), 0);
  EXPECT_EQ(phases_.calls,
            (std::vector<std::string>{
                "IslandII 3 2500 10 250 " + longName + " my-islands.list 4 50 5",
                "cordsortII 0.02 Absolute-refinement.txt Ab-refinement-Islands.txt 4"}));
}

TEST_F(DialogueTest, EachMeasureNamesItsFiles) {
  const char* expected[] = {"", "Ab", "Eu", "KL", "Ab", "Eu", "KL"};
  for (int measure = 1; measure <= 6; ++measure) {
    phases_.calls.clear();
    run(std::to_string(measure) + " 1 2 100 10 5 50 50 g.fa 0.1 1 n N");
    ASSERT_EQ(phases_.calls.size(), 2u);
    EXPECT_NE(phases_.calls[1].find(std::string(" ") + expected[measure] + "-first-Islands.txt"),
              std::string::npos)
        << phases_.calls[1];
  }
}

TEST_F(DialogueTest, AnswerNoEndsSilentlyAndOtherAnswersAreWrongOptions) {
  EXPECT_EQ(run("1 1 2 100 10 5 50 50 g.fa 0.1 1 n N extra"), 0);
  EXPECT_NE(out_.str().find("Ab-first-Islands.txt is prepared\n"
                            "Do you want to run refinement phase now?[Y/N]:\n"),
            std::string::npos);
  EXPECT_TRUE(endsWith("Do you want to run refinement phase now?[Y/N]:\n"));
  EXPECT_EQ(run("1 1 2 100 10 5 50 50 g.fa 0.1 1 n maybe"), 0);
  EXPECT_TRUE(endsWith("You entered wrong option\n"));

  for (const char* wrongMeasure : {"0", "7", "two", "-1"}) {
    phases_.calls.clear();
    EXPECT_EQ(run(std::string(wrongMeasure) + " 1"), 0);
    EXPECT_TRUE(endsWith("You have entered wrong option!\n"));
    EXPECT_TRUE(phases_.calls.empty());
  }
  platform_.clears = 0;
  EXPECT_EQ(run("2 3"), 0);
  EXPECT_EQ(platform_.clears, 3);  // the wrong phase is reported after the screen is cleared
  EXPECT_EQ(out_.str(), std::string(kMenus) + "You have entered wrong option!\n");
}

TEST_F(DialogueTest, OutOfRangeAnswersAreAskedAgain) {
  EXPECT_EQ(run("2 1  9 0 k3 4  3 10001 5000  1 2  1000001 30  0 1000  x 1000  g.fa  "
                "zero 0.01 2.5 2 n n"),
            0);
  const std::string text = out_.str();
  for (const char* line :
       {"\"9\" is not accepted here: enter a whole number from 1 to 8.\n",
        "\"k3\" is not accepted here: enter a whole number from 1 to 8.\n",
        "\"3\" is not accepted here: enter a whole number from 4 to 10000.\n",
        "\"1\" is not accepted here: enter a whole number of at least 2.\n",
        "\"1000001\" is not accepted here: enter a whole number from 2 to 1000000.\n",
        "\"zero\" is not accepted here: enter a number such as 0.01 or 1e-5.\n",
        "\"2.5\" is not accepted here: enter a whole number.\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(phases_.calls.at(0), "IslandI 4 5000 30 1000 1000 g.fa 2 2");
}

TEST_F(DialogueTest, EndOfInputStopsWithStatusOneBeforeAnyScan) {
  for (const char* answers : {"", "2", "2 1 4 5000 100 30 1000 1000", "2 2 4 100 10 5 10 g.fa"}) {
    phases_.calls.clear();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(run(answers), 1) << answers;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Input ended before all answers were given; nothing more was run.\n");
    EXPECT_TRUE(phases_.calls.empty()) << answers;
  }
}

TEST_F(DialogueTest, ScanAndAssemblyFailuresDecideTheExitStatus) {
  phases_.scanResult = ScanResult::kStopOk;
  EXPECT_EQ(run("1 1 2 100 10 5 50 50 g.fa"), 0);
  phases_.scanResult = ScanResult::kFailed;
  EXPECT_EQ(run("1 2 2 100 10 5 50 g.fa i.txt 1 1"), 1);
  EXPECT_EQ(phases_.calls.back().rfind("IslandII", 0), 0u);
  phases_.scanResult = ScanResult::kCompleted;
  phases_.assemblyWrites = false;
  EXPECT_EQ(run("1 1 2 100 10 5 50 50 g.fa 0.1 1 n n"), 1);
  EXPECT_EQ(out_.str().find("is prepared"), std::string::npos);
}

}  // namespace
}  // namespace morvale
