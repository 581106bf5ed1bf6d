#include "genes/coding_sequence.h"

#include <algorithm>

namespace morvale {

namespace {

// 0..3 for a, c, g, t in either case, -1 for any other byte.
int letterNumber(char c) {
  switch (c) {
    case 'a':
    case 'A':
      return 0;
    case 'c':
    case 'C':
      return 1;
    case 'g':
    case 'G':
      return 2;
    case 't':
    case 'T':
      return 3;
    default:
      return -1;
  }
}

char lowerLetter(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char complementLetter(char c) {
  switch (letterNumber(c)) {
    case 0:
      return 't';
    case 1:
      return 'g';
    case 2:
      return 'c';
    case 3:
      return 'a';
    default:
      return 'n';
  }
}

}  // namespace

int codonNumber(const char* three) {
  const int x = letterNumber(three[0]);
  const int y = letterNumber(three[1]);
  const int z = letterNumber(three[2]);
  return x < 0 || y < 0 || z < 0 ? -1 : 16 * x + 4 * y + z;
}

char aminoAcidOf(int codon) {
  // Table 11 (the standard code) by codon number: aaa, aac, aag, aat, aca, ...
  static const char kCode[] = "KNKNTTTTRSRSIIMIQHQHPPPPRRRRLLLLEDEDAAAAGGGGVVVV*Y*YSSSS*CWCLFLF";
  return kCode[codon];
}

std::string codingSequence(const Feature& feature, const std::string& recordLetters) {
  std::string coding;
  for (const FeatureSegment& s : feature.segments)
    coding.append(recordLetters, static_cast<std::size_t>(s.start),
                  static_cast<std::size_t>(s.end - s.start));
  if (feature.complement) {
    std::reverse(coding.begin(), coding.end());
    for (char& c : coding) c = complementLetter(c);
  } else {
    for (char& c : coding) c = lowerLetter(c);
  }
  return coding;
}

std::string countGene(const std::string& coding, bool partial, GeneComposition& composition) {
  if (partial) return "partial: its frame is unknown";
  if (static_cast<std::int64_t>(coding.size()) < kMinGeneLength)
    return "shorter than " + std::to_string(kMinGeneLength) + " letters";
  if (coding.size() % 3 != 0) return "length not a multiple of 3";
  const std::size_t codons = coding.size() / 3;
  for (std::size_t i = 0; i + 1 < codons; ++i) {
    const int codon = codonNumber(&coding[3 * i]);
    if (codon >= 0 && aminoAcidOf(codon) == '*') return "stop codon inside the gene (a pseudogene)";
  }
  const int last = codonNumber(&coding[3 * (codons - 1)]);
  const std::size_t end = last >= 0 && aminoAcidOf(last) == '*' ? codons - 1 : codons;
  GeneComposition counted;
  for (std::size_t i = 1; i < end; ++i) {
    const int codon = codonNumber(&coding[3 * i]);
    if (codon < 0) continue;
    ++counted.codons[codon];
    ++counted.countedCodons;
    if (codon % 4 == 1 || codon % 4 == 2) ++counted.gc3Codons;
  }
  if (counted.countedCodons < kMinCountedCodons)
    return "fewer than " + std::to_string(kMinCountedCodons) + " codons of a, c, g, t";
  countDinucleotides(coding, counted);
  composition = counted;
  return "";
}

void countDinucleotides(const std::string& letters, GeneComposition& composition) {
  int previous = -1;
  for (char c : letters) {
    const int x = letterNumber(c);
    if (x >= 0) ++composition.letters[x];
    if (x >= 0 && previous >= 0) ++composition.dinucleotides[4 * previous + x];
    previous = x;
  }
}

}  // namespace morvale
