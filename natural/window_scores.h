// The windows of the natural scan and their scores. A window's score is the mean,
// over its 8-letter words on both strands (each word wholly inside the window and
// between two context breaks, scored as it stands and as its reverse complement),
// of ln P_window - ln P_genome: how much better the window's own composition, the
// word itself left out, predicts its words than the whole genome's does.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/worker_pool.h"
#include "genome/genome.h"
#include "natural/natural_settings.h"
#include "natural/order_model.h"

namespace morvale::natural {

struct ScoredWindow {
  std::size_t record;  // index in genome.records
  std::int64_t start;  // genome letters [start, end)
  std::int64_t end;
  double score;
};

// The windows of each record, in order, scores 0: starts at the record's first
// letter and every `step` letters after it while the window fits; when the last of
// them ends before the record does, one more ends at the record's end. A record
// shorter than the window has none. The settings must pass naturalSettingsProblem
// (PreconditionError otherwise).
std::vector<ScoredWindow> naturalWindows(const Genome& genome, const NaturalSettings& settings);

// The score of the window [start, end) from its own counts, which `model` has been
// prepared on, and the genome's table of 1 / P (genomeInverseTable). The sum of the
// logs is taken as the log of the product of P_window / P_genome, the product kept
// in range by exact powers of two. Sets `words` to the number of words scored (both
// strands); with none, the score is 0.
double scoreWindow(const std::string& letters, const std::vector<std::int64_t>& breaks,
                   std::int64_t start, std::int64_t end, const std::vector<double>& inverseGenome,
                   const LeaveOneOutModel& model, std::int64_t& words);

// Scores the windows of naturalWindows on the worker threads, in blocks of
// neighbouring windows of one record: a block counts its first window's words and
// slides the counts from each window to the next. The scores are the same bytes on
// any number of threads. A window with no 8-letter word between breaks is left
// out. `stopRequested` (may be empty) is asked on the calling thread between rounds
// of blocks; when it says yes, the result is empty (std::nullopt).
std::optional<std::vector<ScoredWindow>> scoreWindows(
    const Genome& genome, const NaturalSettings& settings, WorkerPool& workers,
    const std::function<bool()>& stopRequested = nullptr);

}  // namespace morvale::natural
