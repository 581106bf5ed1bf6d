#include "natural/order_model.h"

#include <utility>

namespace morvale::natural {

std::vector<std::int64_t> contextBreaks(const Genome& genome) {
  std::vector<std::int64_t> breaks{0};
  for (const GenomeRecord& record : genome.records) {
    if (record.joinedStart > breaks.back()) breaks.push_back(record.joinedStart);
    for (const RecordRun& run : record.runs)
      if (run.joinedStart > breaks.back()) breaks.push_back(run.joinedStart);
  }
  return breaks;
}

namespace {

// The words of every length ending at one letter, and their reverse complements.
template <typename Count, int... k>
void addAll(Count* n, std::uint32_t forward, std::uint32_t reverse, Count sign,
            std::integer_sequence<int, k...>) {
  ((n[wordOffset(k + 1) + (forward >> (2 * (kLongestWord - k - 1)))] += sign,
    n[wordOffset(k + 1) + (reverse & wordMask(k + 1))] += sign),
   ...);
}

}  // namespace

template <typename Count>
void countWords(WordCounts<Count>& counts, const std::string& letters,
                const std::vector<std::int64_t>& breaks, const WordSpan& span, Count sign) {
  // A word's last letter e lies in [lastFrom, end) and, its first letter being
  // before firstBefore, before firstBefore + 7.
  const std::int64_t from = std::max(span.start, span.lastFrom);
  const std::int64_t to = std::min(span.end, span.firstBefore + (kLongestWord - 1));
  Count* n = counts.n.data();
  forEachWordEnd(letters, breaks, span.start, from, to,
                 [&](std::int64_t e, std::uint32_t forward, std::uint32_t reverse, int length) {
                   // The word of k letters starts at e - k + 1 < firstBefore.
                   const std::int64_t shortest = e - span.firstBefore + 2;
                   if (length == kLongestWord && shortest <= 1) {
                     addAll(n, forward, reverse, sign, std::make_integer_sequence<int, 8>());
                     return;
                   }
                   for (int k = shortest > 1 ? static_cast<int>(shortest) : 1; k <= length; ++k) {
                     n[wordOffset(k) + (forward >> (2 * (kLongestWord - k)))] += sign;
                     n[wordOffset(k) + (reverse & wordMask(k))] += sign;
                   }
                 });
}

template void countWords(WindowCounts&, const std::string&, const std::vector<std::int64_t>&,
                         const WordSpan&, std::int32_t);
template void countWords(GenomeCounts&, const std::string&, const std::vector<std::int64_t>&,
                         const WordSpan&, std::int64_t);

GenomeCounts countGenome(const Genome& genome, const std::vector<std::int64_t>& breaks,
                         WorkerPool& workers) {
  const std::int64_t length = static_cast<std::int64_t>(genome.letters.size());
  const std::size_t threads = static_cast<std::size_t>(workers.threads());
  std::vector<GenomeCounts> pieces(threads);
  // Piece i counts the words whose last letter is in its share of the genome.
  workers.forEach(threads, [&](std::size_t i, int) {
    const std::int64_t from =
        length * static_cast<std::int64_t>(i) / static_cast<std::int64_t>(threads);
    const std::int64_t to =
        length * static_cast<std::int64_t>(i + 1) / static_cast<std::int64_t>(threads);
    const std::int64_t floor = std::max<std::int64_t>(0, from - (kLongestWord - 1));
    countWords(pieces[i], genome.letters, breaks, WordSpan{floor, to, to, from}, std::int64_t{1});
  });
  for (std::size_t i = 1; i < threads; ++i)
    for (std::size_t w = 0; w < pieces[0].n.size(); ++w) pieces[0].n[w] += pieces[i].n[w];
  return std::move(pieces[0]);
}

template <typename Count>
double nextLetterProbability(const WordCounts<Count>& counts, std::uint32_t word, int j,
                             bool leaveOneOut) {
  const Count out = leaveOneOut ? 1 : 0;
  double p = 0.25;
  for (int i = 1; i <= j; ++i) {
    const std::uint32_t last = word >> (2 * (j - i));  // c_i b
    const std::uint32_t context = last & wordMask(i);  // c_i
    p = (static_cast<double>(counts.of(last, i + 1) - out) + kPriorWeight * p) /
        (static_cast<double>(counts.of(context, i) - out) + kPriorWeight);
  }
  return p;
}

template double nextLetterProbability(const WindowCounts&, std::uint32_t, int, bool);
template double nextLetterProbability(const GenomeCounts&, std::uint32_t, int, bool);

std::vector<double> genomeInverseTable(const GenomeCounts& counts) {
  // P_i for every word of i + 1 letters, order by order, from P_{i-1} of its last i.
  std::vector<double> shorter(4, 0.25);
  for (int i = 1; i < kLongestWord; ++i) {
    std::vector<double> p(std::size_t{1} << (2 * (i + 1)));
    for (std::uint32_t w = 0; w < p.size(); ++w)
      p[w] = (static_cast<double>(counts.of(w, i + 1)) + kPriorWeight * shorter[w >> 2]) /
             (static_cast<double>(counts.of(w & wordMask(i), i)) + kPriorWeight);
    shorter.swap(p);
  }
  for (double& p : shorter) p = 1.0 / p;
  return shorter;
}

void LeaveOneOutModel::prepare(const WindowCounts& counts) {
  counts_ = &counts;
  const std::int32_t* n = counts.n.data();
  for (std::uint32_t b = 0; b < 4; ++b) table_[wordOffset(1) + b] = 0.25;
  for (int i = 1; i <= kTabled; ++i) {
    const std::size_t at = wordOffset(i + 1);
    const std::size_t shorter = wordOffset(i);
    for (std::uint32_t w = 0; w <= wordMask(i + 1); ++w)
      table_[at + w] =
          (static_cast<double>(n[at + w] - 1) + kPriorWeight * table_[shorter + (w >> 2)]) /
          (static_cast<double>(n[shorter + (w & wordMask(i))] - 1) + kPriorWeight);
  }
}

}  // namespace morvale::natural
