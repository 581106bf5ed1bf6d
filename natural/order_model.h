// The composition model of the natural scan: counts of the words of 1 to 8 letters
// on both strands, counted only where no context break (a run or record boundary)
// cuts them, and the interpolated next-letter model built on such counts.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/worker_pool.h"
#include "genome/genome.h"

namespace morvale::natural {

constexpr int kLongestWord = 8;          // words of 1..8 letters; contexts of up to 7
constexpr double kPriorWeight = 1024.0;  // a: the pull towards the next shorter context

// Words are keyed as in kmer/kmer_key.h: first letter least significant, a c g t =
// 0 1 2 3. The counts of words of k letters start at wordOffset(k) in one array.
constexpr std::size_t wordOffset(int k) {
  return ((std::size_t{1} << (2 * k)) - 4) / 3;
}
constexpr std::uint32_t wordMask(int k) {
  return (std::uint32_t{1} << (2 * k)) - 1;
}

// n(w) for every word w of 1..8 letters. Each occurrence counts the word and its
// reverse complement once each (a palindrome twice).
template <typename Count>
struct WordCounts {
  std::vector<Count> n = std::vector<Count>(wordOffset(kLongestWord + 1), Count{0});
  Count of(std::uint32_t word, int k) const { return n[wordOffset(k) + word]; }
};
using WindowCounts = WordCounts<std::int32_t>;
using GenomeCounts = WordCounts<std::int64_t>;

// The genome positions where contexts break: the first letter of every run and of
// every record, ascending, each once. A word is counted or scored only when all its
// letters lie between two neighbouring breaks (or after the last one).
std::vector<std::int64_t> contextBreaks(const Genome& genome);

// Calls visit(e, forward, reverse, length) for every letter e in [from, to) of
// `letters`, in order. forward holds the key of the 8 letters ending at e and
// reverse the key of their reverse complement; only the words of `length` letters
// or fewer ending at e are whole: the one of k letters is forward >> 2 (8 - k), its
// reverse complement reverse & wordMask(k). length counts the letters up to e that
// are at or after both `floor` and the last break at or before e, at most 8.
// Requires floor <= from and breaks to hold 0.
template <typename Visit>
void forEachWordEnd(const std::string& letters, const std::vector<std::int64_t>& breaks,
                    std::int64_t floor, std::int64_t from, std::int64_t to, Visit&& visit);

// The words to add or take away: those wholly inside [start, end) whose first letter
// is before `firstBefore` and whose last letter is at or after `lastFrom`.
struct WordSpan {
  std::int64_t start;
  std::int64_t end;
  std::int64_t firstBefore;
  std::int64_t lastFrom;
};

// Adds `sign` to the counts of every word of the span that lies between breaks.
template <typename Count>
void countWords(WordCounts<Count>& counts, const std::string& letters,
                const std::vector<std::int64_t>& breaks, const WordSpan& span, Count sign);

// The counts of the whole genome, in pieces on the worker threads (the same counts
// on any number of threads).
GenomeCounts countGenome(const Genome& genome, const std::vector<std::int64_t>& breaks,
                         WorkerPool& workers);

// P_j(b | c_j) for the word `word` of j + 1 letters, b its last letter and c_j the j
// before it, j in 0..7: P_0 = 1/4 and, for i = 1..j with c_i b the last i + 1
// letters, P_i = (n(c_i b) + a P_{i-1}) / (n(c_i) + a). With `leaveOneOut` one
// occurrence of the word is taken out: 1 less of n(c_i b) and of n(c_i) at every i
// (the word must have been counted).
template <typename Count>
double nextLetterProbability(const WordCounts<Count>& counts, std::uint32_t word, int j,
                             bool leaveOneOut);

// 1 / P_7 of every 8-letter word under the genome's counts, indexed by word.
std::vector<double> genomeInverseTable(const GenomeCounts& counts);

// P_7 of the 8-letter words of one window, its own occurrence left out, equal to
// nextLetterProbability(counts, word, 7, true) bit for bit. The short contexts are
// tabled once per window by prepare().
class LeaveOneOutModel {
 public:
  static constexpr int kTabled = 4;  // P_1..P_4 held for every word of 2..5 letters
  // Builds the tables from `counts`, which must outlive the use of the model.
  void prepare(const WindowCounts& counts);
  double probability(std::uint32_t word) const {
    const std::int32_t* n = counts_->n.data();
    constexpr int kLast = kLongestWord - 1;
    double p = table_[wordOffset(kTabled + 1) + (word >> (2 * (kLast - kTabled)))];
    p = next<kTabled + 1>(n, word, p);
    p = next<kTabled + 2>(n, word, p);
    return next<kTabled + 3>(n, word, p);
  }

 private:
  static_assert(kTabled + 3 == kLongestWord - 1, "probability() steps from the table to P_7");
  // P_i of the 8-letter `word` from P_{i-1}.
  template <int i>
  static double next(const std::int32_t* n, std::uint32_t word, double p) {
    const std::uint32_t last = word >> (2 * (kLongestWord - 1 - i));  // c_i b
    return (static_cast<double>(n[wordOffset(i + 1) + last] - 1) + kPriorWeight * p) /
           (static_cast<double>(n[wordOffset(i) + (last & wordMask(i))] - 1) + kPriorWeight);
  }

  const WindowCounts* counts_ = nullptr;
  std::vector<double> table_ = std::vector<double>(wordOffset(kTabled + 2));
};

template <typename Visit>
void forEachWordEnd(const std::string& letters, const std::vector<std::int64_t>& breaks,
                    std::int64_t floor, std::int64_t from, std::int64_t to, Visit&& visit) {
  if (from >= to) return;
  std::int64_t e = from - (kLongestWord - 1) > floor ? from - (kLongestWord - 1) : floor;
  // The first break after e.
  std::size_t next =
      static_cast<std::size_t>(std::upper_bound(breaks.begin(), breaks.end(), e) - breaks.begin());
  std::int64_t stretch = next > 0 ? breaks[next - 1] : 0;
  std::uint32_t forward = 0, reverse = 0;
  for (; e < to; ++e) {
    if (next < breaks.size() && breaks[next] <= e) stretch = breaks[next++];
    std::uint32_t code = 0;
    switch (letters[static_cast<std::size_t>(e)]) {
      case 'c':
        code = 1;
        break;
      case 'g':
        code = 2;
        break;
      case 't':
        code = 3;
        break;
      default:
        break;
    }
    forward = (forward >> 2) | (code << (2 * (kLongestWord - 1)));
    reverse = ((reverse << 2) | (3 - code)) & wordMask(kLongestWord);
    if (e < from) continue;
    const std::int64_t first = stretch > floor ? stretch : floor;
    const std::int64_t length = e - first + 1 < kLongestWord ? e - first + 1 : kLongestWord;
    visit(e, forward, reverse, static_cast<int>(length));
  }
}

}  // namespace morvale::natural
