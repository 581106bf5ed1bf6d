#include "natural/window_scores.h"

#include <algorithm>
#include <cmath>

#include "base/precondition.h"

namespace morvale::natural {
namespace {

constexpr std::size_t kBlockWindows = 64;  // windows a block slides through
constexpr std::size_t kRoundBlocks = 4;    // blocks per thread between two stop checks
constexpr double kLn2 = 0.693147180559945309417;

// The working storage of one thread.
struct Slider {
  WindowCounts counts;
  LeaveOneOutModel model;
};

}  // namespace

std::vector<ScoredWindow> naturalWindows(const Genome& genome, const NaturalSettings& settings) {
  require(naturalSettingsProblem(settings).empty(), "naturalWindows: settings out of range");
  std::vector<ScoredWindow> windows;
  const std::int64_t w = settings.window;
  for (std::size_t r = 0; r < genome.records.size(); ++r) {
    const std::int64_t rs = genome.records[r].joinedStart;
    const std::int64_t re = genome.records[r].joinedEnd;
    std::int64_t start = rs;
    for (; start + w <= re; start += settings.step) windows.push_back({r, start, start + w, 0.0});
    if (re - rs >= w && windows.back().end < re) windows.push_back({r, re - w, re, 0.0});
  }
  return windows;
}

double scoreWindow(const std::string& letters, const std::vector<std::int64_t>& breaks,
                   std::int64_t start, std::int64_t end, const std::vector<double>& inverseGenome,
                   const LeaveOneOutModel& model, std::int64_t& words) {
  // The sum of the logs is the log of the product of the ratios, kept as a mantissa
  // and a power of two: brought back to [0.5, 1) whenever it leaves 2^-200..2^200.
  // A probability is at least (a / (n + a))^7 / 4 for the largest count n, so no
  // two ratios carry the product out of the range of doubles.
  double product = 1.0;
  std::int64_t twos = 0;
  std::int64_t count = 0;
  forEachWordEnd(letters, breaks, start, start + (kLongestWord - 1), end,
                 [&](std::int64_t, std::uint32_t forward, std::uint32_t reverse, int length) {
                   if (length < kLongestWord) return;
                   product *= model.probability(forward) * inverseGenome[forward];
                   product *= model.probability(reverse) * inverseGenome[reverse];
                   count += 2;
                   if (product > 0x1p200 || product < 0x1p-200) {
                     int e = 0;
                     product = std::frexp(product, &e);
                     twos += e;
                   }
                 });
  words = count;
  if (count == 0) return 0.0;
  return (std::log(product) + static_cast<double>(twos) * kLn2) / static_cast<double>(count);
}

std::optional<std::vector<ScoredWindow>> scoreWindows(const Genome& genome,
                                                      const NaturalSettings& settings,
                                                      WorkerPool& workers,
                                                      const std::function<bool()>& stopRequested) {
  std::vector<ScoredWindow> windows = naturalWindows(genome, settings);
  const std::vector<std::int64_t> breaks = contextBreaks(genome);
  const std::vector<double> inverseGenome =
      genomeInverseTable(countGenome(genome, breaks, workers));
  // Blocks: up to kBlockWindows neighbouring windows of one record.
  std::vector<std::size_t> blockStarts;
  for (std::size_t i = 0; i < windows.size(); ++i)
    if (blockStarts.empty() || windows[i].record != windows[i - 1].record ||
        i - blockStarts.back() == kBlockWindows)
      blockStarts.push_back(i);
  blockStarts.push_back(windows.size());
  const std::size_t blocks = blockStarts.size() - 1;

  std::vector<Slider> sliders(static_cast<std::size_t>(workers.threads()));
  std::vector<char> scored(windows.size(), 0);
  const std::string& letters = genome.letters;
  auto slideBlock = [&](std::size_t block, int worker) {
    Slider& s = sliders[static_cast<std::size_t>(worker)];
    for (std::size_t i = blockStarts[block]; i < blockStarts[block + 1]; ++i) {
      ScoredWindow& w = windows[i];
      if (i == blockStarts[block]) {
        std::fill(s.counts.n.begin(), s.counts.n.end(), 0);
        countWords(s.counts, letters, breaks, WordSpan{w.start, w.end, w.end, w.start}, 1);
      } else {
        const ScoredWindow& before = windows[i - 1];
        // Out: the words of the window before that start before this one.
        countWords(s.counts, letters, breaks,
                   WordSpan{before.start, before.end, w.start, before.start}, -1);
        // In: the words of this window that end after the window before.
        countWords(s.counts, letters, breaks, WordSpan{w.start, w.end, w.end, before.end}, 1);
      }
      s.model.prepare(s.counts);
      std::int64_t words = 0;
      w.score = scoreWindow(letters, breaks, w.start, w.end, inverseGenome, s.model, words);
      scored[i] = words > 0;
    }
  };
  const std::size_t round = kRoundBlocks * static_cast<std::size_t>(workers.threads());
  for (std::size_t first = 0; first < blocks; first += round) {
    if (stopRequested && stopRequested()) return std::nullopt;
    const std::size_t count = std::min(round, blocks - first);
    workers.forEach(count, [&](std::size_t item, int worker) { slideBlock(first + item, worker); });
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < windows.size(); ++i)
    if (scored[i]) windows[kept++] = windows[i];
  windows.resize(kept);
  return windows;
}

}  // namespace morvale::natural
