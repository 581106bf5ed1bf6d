// The k-mer counting done the slow, literal way, kept as the reference that the
// fast profile builder is compared with (tests and benchmarks).
#pragma once

#include <string>
#include <vector>

#include "kmer/kmer_counts.h"
#include "kmer/kmer_key.h"

namespace morvale::testing {

// A binary search tree of every k-mer in
// byte-wise order, inserted in key-index order; one descent per position; with the
// Markov model a walk over the whole tree per position comparing prefix and suffix.
class LiteralTree {
 public:
  explicit LiteralTree(int k) : k_(k) {
    char key[kMaxTupleSize + 1];
    for (int i = 0; i < keyCount(k); ++i) {
      calculateKey(key, i, k);
      const std::string w = key;
      nodes_.push_back({w, w.substr(0, k - 1), w.substr(1), 0, i, 1, 1, -1, -1});
      for (int at = 0; i > 0;) {
        int& child = w < nodes_[at].word ? nodes_[at].left : nodes_[at].right;
        if (child < 0) child = i;
        at = child;
        if (at == i) break;
      }
    }
  }
  std::vector<double> profile(const std::string& s, int measure) {
    for (Node& n : nodes_) n.count = 0, n.prefixCount = 1, n.suffixCount = 1;
    const int n = static_cast<int>(s.size()) - k_ + 1;
    for (int i = 0; i < n; ++i) {
      const std::string motif = s.substr(i, k_);
      int at = 0;
      while (nodes_[at].word != motif)
        at = motif < nodes_[at].word ? nodes_[at].left : nodes_[at].right;
      ++nodes_[at].count;
      if (!usesMarkovModel(measure)) continue;
      const std::string prefix = s.substr(i, k_ - 1), suffix = s.substr(i + 1, k_ - 1);
      for (Node& node : nodes_) {
        node.prefixCount += node.prefix == prefix;
        node.suffixCount += node.suffix == suffix;
      }
    }
    std::vector<double> values(nodes_.size());
    for (const Node& node : nodes_) {
      values[node.index] = (static_cast<double>(node.count) / node.prefixCount +
                            static_cast<double>(node.count) / node.suffixCount) /
                           n;
    }
    return values;
  }

 private:
  struct Node {
    std::string word, prefix, suffix;
    int count, index, prefixCount, suffixCount, left, right;
  };
  int k_;
  std::vector<Node> nodes_;
};

}  // namespace morvale::testing
