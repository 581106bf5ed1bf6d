// What the two scans share: how a scan ends, the stale window-score file removal,
// the genome read with its messages, and the handling of one scoring's outcome.
#pragma once

#include <cstdint>
#include <string>

#include "kmer/genome.h"
#include "stats/window_score.h"

namespace morvale {

// How a scan hands control back to the dialogue.
enum class ScanResult {
  kCompleted,  // go on with island assembly
  kStopOk,     // the run ends here with status 0 (window size check)
  kFailed,     // the run ends here with status 1 (unreadable genome, lost rows)
};

// What a scan holds while it runs: its parameters, the genome, the counting state,
// the scoring workspace, the sample pool and the window profile.
struct ScanState {
  int k = 0;
  int drawCount = 0;
  int windowStep = 0;
  int measure = 0;
  int poolSize = 0;
  std::string scoreFile;
  Genome genome;
  KmerTree tree;
  ScoreWorkspace ws;
  SamplePool pool;
  Profile window;

  void setParameters(int tupleSize, int draws, int step, int measureNumber, int poolRows,
                     std::string scoreFileName);
};

// Fills the pool with samples of `w` letters of `text`: row j starts at
// Rand(modulus), drawn again while the start, read as unsigned, is not below
// `limit` (so negative draws are rejected). Consumes the C generator as seeded by
// the caller. False when the pool does not fit in memory.
bool drawPool(ScanState& scan, const std::string& text, std::int64_t w, std::int64_t modulus,
              std::int64_t limit);

// Removes `fileName`; prints "NAME is deleted" on success, else perror("NAME does
// not exist"). The scan goes on either way.
void removeStaleFile(const std::string& fileName);

// Reads the genome; on failure prints "Cannot open sequence file" (for a file that
// cannot be opened) and a line naming the file and the reason on standard error.
// Returns false when the scan cannot go on (a kTooShort result is returned as true
// and left to the caller).
bool loadGenome(const std::string& fileName, std::int64_t stopAtOrBelow, Genome& genome);

// Allocates the pool, first checking that `rows` rows of 4^k + 1 doubles fit in
// this machine's memory. False, after one line on standard error saying what the
// chosen k-tuple size and pool size need, when they do not.
bool allocatePool(SamplePool& pool, int rows, int tupleSize, int keys);

// Acts on a scoring's outcome: a skipped window is reported on standard output and
// the scan goes on (true); a lost row is reported on standard error and the scan
// must stop (false).
bool handleScore(ScoreOutcome outcome, std::int64_t centre, const std::string& scoreFile);

// Fills row j's element 0 and profile from `len` letters of `text` at `start`.
void profileSample(KmerTree& tree, const std::string& text, std::int64_t start, int len,
                   int measure, SamplePool& pool, int j);

// Builds the profile of `len` genome letters at `start`.
void profileWindow(KmerTree& tree, const std::string& genome, std::int64_t start, int len,
                   int measure, Profile& window);

}  // namespace morvale
