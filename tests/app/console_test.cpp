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
  std::string out, err;
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
  const std::string first = "2 1 2 100 10 5 50 50 ", refine = "2 2 2 100 10 5 100 good.fa ";
  for (const std::string& row :
       {first + "missing.fa 0.1 1 n n|Cannot open sequence file\nCannot open genome file "
                "missing.fa: No such file or directory",
        first + "g.gb 0.1 1 n n|Genome file g.gb is a GenBank flat file, not plain sequence; "
                "convert it to FASTA first",
        first + "n.fa 0.1 1 n n|The genome n.fa has 0 letters (A, C, G, T), not more than the "
                "first window of 100",
        first + "short.fa 0.1 1 n n|The genome short.fa has 100 letters (A, C, G, T), not more "
                "than the first window of 100",
        refine + "stray.txt 1 1 0.05|The islands file stray.txt holds no islands (its first "
                 "value \"abc\" is not a whole number)",
        refine + "odd.txt 1 1 0.05|The islands file odd.txt holds an odd number of values: the "
                 "last start 300 has no end",
        refine + "past.txt 1 1 0.05|Island 2 (3100, 3000) of the islands file past.txt starts "
                 "beyond the end of the genome (3000 letters)",
        refine + "nowhere.txt 1 1 0.05|Cannot open the islands file nowhere.txt: No such file "
                 "or directory",
        std::string("2 2 2 100 10 5 100 g.gb stray.txt 1 1 0.05|Genome file g.gb is a GenBank "
                    "flat file, not plain sequence; convert it to FASTA first")}) {
    const std::vector<std::string> c = testing::split(row, '|');
    earlierRun();
    const Outcome o = run(c[0]);
    EXPECT_EQ(o.status, 1) << c[0];
    EXPECT_TRUE(testing::endsWith(o.out, c[1] + "\n")) << c[0] << "\n" << o.out;
    EXPECT_NE(o.err.find(c[1] + "\n"), std::string::npos) << c[0] << "\n" << o.err;
    expectEarlierRunKept();
  }
}

TEST_F(Console, AStrayTokenEndsTheListAndTheIslandsBeforeItAreRefined) {
  testing::writeFile("islands.txt", "1000 1500 abc 2000 2600\n");
  const Outcome o = run("2 2 2 100 10 5 100 good.fa islands.txt 2 1 0.05");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("Read 1 island from islands.txt; reading stopped at"), std::string::npos);
  std::istringstream rows(testing::readFile("Euclidean-refinement.txt"));
  for (std::string size, centre, p; rows >> size >> centre >> p;)
    EXPECT_TRUE(std::stod(centre) >= 1050 && std::stod(centre) < 1450) << centre;
  RunRecord record;
  ASSERT_TRUE(RunRecord::read("Eu-refinement.run.txt", record));
  EXPECT_EQ(record.get("islands"), "1");
}

TEST_F(Console, OneRunPerFolder) {
  earlierRun();
  testing::writeFile("morvale.lock", "pid\t" + std::to_string(getpid()) + "\nstarted\tnow\n");
  Outcome o = run("2 1 2 100 10 5 50 50 good.fa 0.1 1 n n");
  EXPECT_EQ(o.status, 1);  // the lock's own messages: base_test
  EXPECT_EQ(o.err.rfind("The folder . is in use by another Morvale run (process ", 0), 0u);
  EXPECT_EQ(o.out, "");
  expectEarlierRunKept();
  testing::writeFile("morvale.lock",
                     "pid\t" + std::to_string(testing::goneProcess()) + "\nstarted\tthen\n");
  o = run("2 1 2 100 10 5 50 50 good.fa 0.1 1 n n");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.err.rfind("Taking over the lock of a Morvale run that is gone (process ", 0), 0u);
  EXPECT_NE(o.out.find("Euclidean-first.txt is deleted\n"), std::string::npos);
  EXPECT_FALSE(testing::fileExists("morvale.lock"));
}

// Every measure's islands of both phases lie over a planted stretch; records say how.
TEST_F(Console, BothPhasesFindAPlantedSegmentAndRecordTheirRun) {
  const std::int64_t plantStart = 30000, plantEnd = 40000;
  for (int measure = 1; measure <= 6; ++measure) {
    console_.seed = 1000 + measure;
    const Outcome o =
        run(std::to_string(measure) +
            " 1  2 2000 50 20 500 9000 planted.fa  0.001 2 n  y  1500 50 20 250 3 2  0.05");
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string p = std::string("AbEuKL").substr(2 * ((measure - 1) % 3), 2);
    for (const char* phase : {"-first", "-refinement"}) {
      std::istringstream islands(testing::readFile(p + phase + "-Islands.txt"));
      std::int64_t start, end, inside = 0, total = 0;
      while (islands >> start >> end) {
        total += end - start;
        inside += std::max<std::int64_t>(0, std::min(end, plantEnd) - std::max(start, plantStart));
      }
      EXPECT_TRUE(inside > 5000 && inside > total * 6 / 10) << measure << phase << " " << total;
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

// A t-test without a p-value (all poly-A) ends the run: its report alone on stderr, status 1.
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
  testing::writeFile("answers.txt", "2 1 2 1000 10 5 500 500 planted.fa 0.01 2 n n\n");
  ASSERT_EQ(std::system("TERM=xterm " MORVALE_BIN " < answers.txt > log.txt 2> err.txt"), 0);
  const std::string log = testing::readFile("log.txt");
  EXPECT_NE(log.find("islands file Eu-first-Islands.txt is prepared"), std::string::npos);
  EXPECT_EQ(log.find('\x1b'), std::string::npos);
  EXPECT_FALSE(testing::fileExists("morvale.lock"));
}

}  // namespace
}  // namespace morvale
