// The console program end to end, on real files: nothing of an earlier run is lost
// to a bad input, one run per folder, honest exit statuses, plain logs and a run
// record for every completed phase.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/dialogue.h"
#include "islands/run_record.h"
#include "test_support.h"

namespace morvale {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class Console : public testing::ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    testing::writeFile("good.fa", ">g\n" + testing::randomDna(3000, 5) + "\n");
    testing::writeFile("planted.fa", ">planted\n" + testing::plantedGenome() + "\n");
  }
  Outcome run(const std::string& answers) {
    std::istringstream in(answers);
    std::ostringstream out;
    DialoguePhases phases(out, console_);
    testing::CapturedOutput captured;
    const int status = runConsoleProgram(in, out, console_, phases);
    return {status, captured.out() + out.str(), captured.err()};
  }
  // Files of an earlier run, to be found untouched.
  static constexpr const char* kEarlier[] = {
      "Euclidean-first.txt",      "Eu-first-Islands.txt",      "Eu-first.run.txt",
      "Euclidean-refinement.txt", "Eu-refinement-Islands.txt", "Eu-refinement.run.txt"};
  void earlierRun() {
    for (const char* name : kEarlier) testing::writeFile(name, std::string("earlier ") + name);
  }
  void expectEarlierRunKept() {
    for (const char* name : kEarlier)
      EXPECT_EQ(testing::readFile(name), std::string("earlier ") + name) << name;
  }
};

TEST_F(Console, BadInputsStopTheRunBeforeAnythingIsTouched) {
  testing::writeFile("n.fa", ">only N\nNNNNNNNNNNNNNNNNNNNN\n");
  testing::writeFile("short.fa", testing::randomDna(100, 1));
  testing::writeFile("g.gb", "LOCUS       X  9 bp DNA\nORIGIN\n        1 acgtacgta\n//\n");
  testing::writeFile("stray.txt", "abc 100 200");
  testing::writeFile("odd.txt", "100 200 300");
  testing::writeFile("past.txt", "100 200 3100 3200");
  const std::string first = "2 1 2 100 10 5 50 50 ";
  const std::string refine = "2 2 2 100 10 5 100 good.fa ";
  struct Case {
    std::string answers;
    const char* last;
  } cases[] = {
      {first + "missing.fa 0.1 1 n n",
       "Cannot open sequence file\nCannot open genome file missing.fa: No such file or "
       "directory\n"},
      {first + "g.gb 0.1 1 n n",
       "Genome file g.gb is a GenBank flat file, not plain sequence; convert it to FASTA first\n"},
      {first + "n.fa 0.1 1 n n",
       "The genome n.fa has 0 letters (A, C, G, T), not more than the first window of 100\n"},
      {first + "short.fa 0.1 1 n n",
       "The genome short.fa has 100 letters (A, C, G, T), not more than the first window of 100\n"},
      {refine + "stray.txt 1 1 0.05",
       "The islands file stray.txt holds no islands (its first value \"abc\" is not a whole "
       "number)\n"},
      {refine + "odd.txt 1 1 0.05",
       "The islands file odd.txt holds an odd number of values: the last start 300 has no end\n"},
      {refine + "past.txt 1 1 0.05",
       "Island 2 (3100, 3000) of the islands file past.txt starts beyond the end of the genome "
       "(3000 letters)\n"},
      {refine + "nowhere.txt 1 1 0.05",
       "Cannot open the islands file nowhere.txt: No such file or directory\n"},
      {"2 2 2 100 10 5 100 g.gb stray.txt 1 1 0.05",
       "Genome file g.gb is a GenBank flat file, not plain sequence; convert it to FASTA first\n"},
  };
  for (const Case& c : cases) {
    earlierRun();
    const Outcome o = run(c.answers);
    EXPECT_EQ(o.status, 1) << c.answers;
    EXPECT_TRUE(testing::endsWith(o.out, c.last)) << c.answers << "\n" << o.out;
    EXPECT_NE(o.err.find(c.last), std::string::npos) << c.answers << "\n" << o.err;
    expectEarlierRunKept();
  }
}

TEST_F(Console, AStrayTokenEndsTheListAndTheIslandsBeforeItAreRefined) {
  testing::writeFile("islands.txt", "1000 1500 abc 2000 2600\n");
  const Outcome o = run("2 2 2 100 10 5 100 good.fa islands.txt 2 1 0.05");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("Read 1 island from islands.txt; reading stopped at \"abc\", value 3 of "
                       "the file, and the rest is ignored\n"),
            std::string::npos);
  std::istringstream rows(testing::readFile("Euclidean-refinement.txt"));
  for (std::string size, centre, p; rows >> size >> centre >> p;) {
    EXPECT_GE(std::stod(centre), 1050);
    EXPECT_LT(std::stod(centre), 1450);
  }
  RunRecord record;
  ASSERT_TRUE(RunRecord::read("Eu-refinement.run.txt", record));
  EXPECT_EQ(record.get("islands"), "1");
}

TEST_F(Console, OneRunPerFolder) {
  earlierRun();
  testing::writeFile("morvale.lock", "pid\t" + std::to_string(getpid()) + "\nstarted\tnow\n");
  Outcome o = run("2 1 2 100 10 5 50 50 good.fa 0.1 1 n n");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "The folder . is in use by another Morvale run (process " +
                       std::to_string(getpid()) +
                       ", started now); wait for it to end or work in "
                       "another folder\n");
  EXPECT_EQ(o.out, "");
  expectEarlierRunKept();

  const pid_t child = testing::goneProcess();
  testing::writeFile("morvale.lock", "pid\t" + std::to_string(child) + "\nstarted\tthen\n");
  o = run("2 1 2 100 10 5 50 50 good.fa 0.1 1 n n");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.err.rfind("Taking over the lock of a Morvale run that is gone (process " +
                            std::to_string(child) + ", started then) in the folder .\n",
                        0),
            0u)
      << o.err;
  EXPECT_NE(o.out.find("Euclidean-first.txt is deleted\n"), std::string::npos);
  EXPECT_FALSE(testing::fileExists("morvale.lock"));
}

// Both phases on a genome with a planted stretch of other composition, for every
// measure: the islands lie over it, and each phase's record says how it was made.
TEST_F(Console, BothPhasesFindAPlantedSegmentAndRecordTheirRun) {
  const std::int64_t plantStart = 30000;
  const std::int64_t plantEnd = 40000;
  for (int measure = 1; measure <= 6; ++measure) {
    console_.seed = 1000 + measure;
    const Outcome o =
        run(std::to_string(measure) +
            " 1  2 2000 50 20 500 9000 planted.fa  0.001 2 n  y  1500 50 20 250 3 2  0.05");
    ASSERT_EQ(o.status, 0) << o.err;
    const char* prefix[] = {"Ab", "Eu", "KL"};
    const std::string p = prefix[(measure - 1) % 3];
    for (const char* phase : {"-first", "-refinement"}) {
      std::istringstream islands(testing::readFile(p + phase + "-Islands.txt"));
      std::int64_t start, end, inside = 0, total = 0;
      while (islands >> start >> end) {
        total += end - start;
        inside += std::max<std::int64_t>(0, std::min(end, plantEnd) - std::max(start, plantStart));
      }
      EXPECT_GT(inside, 5000) << "measure " << measure << phase;
      EXPECT_GT(inside, total * 6 / 10) << "measure " << measure << phase;
      RunRecord record;
      ASSERT_TRUE(RunRecord::read(p + phase + ".run.txt", record));
      EXPECT_EQ(record.get("seed"), std::to_string(1000 + measure));
      EXPECT_EQ(record.get("genome_md5").size(), 32u);
      EXPECT_EQ(record.get("measure"), std::to_string(measure));
    }
  }
  // A phase that fails leaves no record of itself.
  std::filesystem::remove("Eu-first-Islands.txt");
  std::filesystem::create_directory("Eu-first-Islands.txt");
  EXPECT_EQ(run("2 1  2 2000 50 20 500 9000 planted.fa  0.001 2 n n").status, 1);
  EXPECT_FALSE(testing::fileExists("Eu-first.run.txt"));
}

// A t-test without a p-value (a poly-A window against poly-A samples) ends the run
// with the numerical routines' report alone on standard error and status 1.
TEST_F(Console, ANumericalFailureEndsTheRunWithItsThreeLineReport) {
  testing::writeFile("polyA.fa", ">A\n" + std::string(3000, 'A') + "\n");
  const Outcome o = run("2 1 2 100 10 5 50 50 polyA.fa 0.1 1 n n");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err,
            "Numerical Recipes run-time error...\na or b too big, or MAXIT too small in betacf\n"
            "...now exiting to system...\n");
  EXPECT_TRUE(testing::endsWith(o.out, "Generating random sample for 100 probing window\n"))
      << o.out;
  EXPECT_FALSE(testing::fileExists("Eu-first.run.txt"));
  EXPECT_FALSE(testing::fileExists("morvale.lock"));
}

// The real program writes logs without screen codes (its signals: stop_signal_test.py).
TEST_F(Console, TheProgramWritesPlainLogs) {
  const std::string program = MORVALE_BIN;
  testing::writeFile("answers.txt", "2 1 2 1000 10 5 500 500 planted.fa 0.01 2 n n\n");
  ASSERT_EQ(std::system(("TERM=xterm " + program + " < answers.txt > log.txt 2> err.txt").c_str()),
            0);
  const std::string log = testing::readFile("log.txt");
  EXPECT_NE(log.find("First phase islands file Eu-first-Islands.txt is prepared"),
            std::string::npos);
  EXPECT_EQ(log.find('\x1b'), std::string::npos);
  EXPECT_FALSE(testing::fileExists("morvale.lock"));
}

}  // namespace
}  // namespace morvale
