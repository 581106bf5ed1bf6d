#include "genome/record_letters.h"

#include <cctype>

namespace morvale {

namespace {

bool startsWith(const std::string& s, const char* prefix) {
  return s.rfind(prefix, 0) == 0;
}

bool isLetter(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A FASTA or plain-sequence line: '>' outside a header starts a record (the header
// runs to the line's end); letters and gap signs take positions.
void fastaLine(const std::string& line, std::vector<std::string>& letters) {
  bool header = false;
  for (const char ch : line) {
    const int c = static_cast<unsigned char>(ch);
    if (header) continue;
    if (c == '>') {
      header = true;
      letters.emplace_back();
    } else if (isLetter(c) || c == '-' || c == '*' || c == '.') {
      if (letters.empty()) letters.emplace_back();  // letters before any header
      letters.back() += ch;
    }
  }
}

// The rest of a flat file after a record's first line `line`: each record's
// sequence lines (after ORIGIN or SQ, up to "//").
void flatRecords(ByteSource& in, std::string line, std::vector<std::string>& letters) {
  enum { kBetween, kHead, kSequence } state = kBetween;
  bool genBank = false;
  do {
    if (state == kBetween) {
      const std::size_t from = line.find_first_not_of(" \t\r\v\f");
      if (from == std::string::npos) continue;
      line.erase(0, from);
      genBank = startsWith(line, "LOCUS");
      if (!genBank && !startsWith(line, "ID   ")) return;  // not a record: the reader refuses it
      state = kHead;
    } else if (startsWith(line, "//")) {
      state = kBetween;
    } else if (state == kSequence) {
      for (const char c : line)
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '-' || c == '*')
          letters.back() += c;
    } else if (startsWith(line, genBank ? "ORIGIN" : "SQ")) {
      letters.emplace_back();
      state = kSequence;
    }
  } while (readLine(in, line));
}

}  // namespace

bool readRecordLetters(ByteSource& in, std::vector<std::string>& letters) {
  letters.clear();
  std::string line;
  bool first = true;
  bool fasta = false;
  while (readLine(in, line)) {
    if (first && startsWith(line, "\xef\xbb\xbf")) line.erase(0, 3);
    first = false;
    if (fasta) {
      fastaLine(line, letters);
      continue;
    }
    const std::size_t from = line.find_first_not_of(" \t\r\v\f");
    if (from == std::string::npos) continue;  // blank lines before the first text
    if (startsWith(line.substr(from), "LOCUS") || startsWith(line.substr(from), "ID   ")) {
      flatRecords(in, line, letters);
      break;
    }
    fasta = true;
    fastaLine(line, letters);
  }
  return in.readError() == 0;
}

}  // namespace morvale
