#include "kmer/kmer_key.h"

#include <cmath>

namespace morvale {

namespace {
struct CodeTable {
  std::uint8_t code[256] = {};
  CodeTable() {
    const char* letters[4] = {"aA", "cC", "gG", "tT"};
    for (std::uint8_t v = 0; v < 4; ++v)
      for (int i = 0; i < 2; ++i) code[static_cast<unsigned char>(letters[v][i])] = v;
  }
};
const CodeTable kCodes;
}  // namespace

int keyCount(int k) {
  return static_cast<int>(std::pow(4.0, k));
}

void calculateKey(char* buffer, int index, int k) {
  static const char kLetters[4] = {'a', 'c', 'g', 't'};
  for (int p = 0; p < k; ++p) {
    buffer[p] = kLetters[index % 4];
    index /= 4;
  }
  buffer[k] = '\0';
}

std::uint32_t letterCode(char letter) {
  return kCodes.code[static_cast<unsigned char>(letter)];
}

}  // namespace morvale
