// One libFuzzer target per reader, chosen by the FUZZ_<READER> definition: any input
// gives a result, a refusal is one line, and what is read keeps its invariants.
// Inputs reach the file readers as files, as they do in the program.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "batch/options.h"
#include "genome/flat_file.h"
#include "genome/genome.h"
#include "genome/gff3_text.h"
#include "genome/gff_annotation.h"
#include "islands/first_assembly.h"
#include "islands/island_list.h"
#include "islands/refinement_assembly.h"
#include "scan/refinement_scan.h"

namespace morvale {
namespace {

#define CHECK(ok) \
  if (!(ok)) __builtin_trap()

// Writes the bytes to a per-process scratch file under /tmp and returns its name.
[[maybe_unused]] std::string asFile(const char* what, const std::uint8_t* data, std::size_t size) {
  const std::string name = "/tmp/morvale-fuzz-" + std::to_string(getpid()) + "-" + what;
  std::FILE* f = std::fopen(name.c_str(), "wb");
  CHECK(f);
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return name;
}

// The records cover the letters end to end, in order.
[[maybe_unused]] void checkRecords(const Genome& g) {
  CHECK(static_cast<std::size_t>(g.length) == g.letters.size());
  std::int64_t next = 0;
  for (const GenomeRecord& r : g.records) {
    CHECK(r.joinedStart == next && r.joinedEnd >= r.joinedStart);
    next = r.joinedEnd;
  }
  CHECK(next == g.length);
}

// Segments of at least one letter from 0, ordered by start.
[[maybe_unused]] void checkSegments(const Feature& f) {
  for (std::size_t s = 0; s < f.segments.size(); ++s) {
    CHECK(f.segments[s].start >= 0 && f.segments[s].end > f.segments[s].start);
    CHECK(s == 0 || f.segments[s - 1].start <= f.segments[s].start);
  }
}

// The islands file's lines, or a trap when one is not "integer TAB integer".
[[maybe_unused]] std::vector<std::pair<long long, long long>> islandLines(const std::string& name) {
  std::ifstream in(name);
  std::vector<std::pair<long long, long long>> lines;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    long long start, end;
    std::string rest;
    CHECK((fields >> start >> end) && !(fields >> rest) && line.find('\t') != std::string::npos);
    lines.emplace_back(start, end);
  }
  return lines;
}

}  // namespace
}  // namespace morvale

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvale;
  [[maybe_unused]] const std::string text(reinterpret_cast<const char*>(data), size);
  [[maybe_unused]] std::string error;
#if defined(FUZZ_GENOME)  // only a, c, g and t; each letter at a position inside its record
  const Genome g = readgenome(asFile("genome.fa", data, size), size % 7 == 0 ? 3 : -1);
  if (g.status != GenomeStatus::kOk) return 0;
  for (char c : g.letters) CHECK(c == 'a' || c == 'c' || c == 'g' || c == 't');
  checkRecords(g);
  for (const GenomeRecord& r : g.records)
    for (std::int64_t at = r.joinedStart, previous = -1; at < r.joinedEnd; ++at) {
      const std::int64_t pos = recordPosition(r, at);
      CHECK(pos > previous && pos < r.length);
      previous = pos;
    }
#elif defined(FUZZ_FLAT_FILE)  // GenBank/EMBL: every feature on a record of the file
  FlatFile flat;
  if (!readFlatFile(text, "f.gb", flat, error)) {
    CHECK(!error.empty() && error.find('\n') == std::string::npos);
    return 0;
  }
  CHECK(!flat.genome.records.empty());
  checkRecords(flat.genome);
  std::set<std::string> records;
  for (const GenomeRecord& r : flat.genome.records) records.insert(r.name);
  for (const Feature& f : flat.annotation.features) {
    CHECK(!f.segments.empty() && records.count(f.record));
    checkSegments(f);
  }
#elif defined(FUZZ_GFF3)       // percent-escaping what was read and decoding it gives it back
  Annotation annotation;
  if (!readGff3(text, "a.gff3", annotation, error)) {
    CHECK(error.rfind("a.gff3", 0) == 0 && error.find('\n') == std::string::npos);
    return 0;
  }
  for (const Feature& f : annotation.features) {
    checkSegments(f);
    for (const std::string* t : {&f.record, &f.locusTag, &f.product})
      for (Gff3Column column : {Gff3Column::kSeqid, Gff3Column::kAttributeValue}) {
        const std::string escaped = gff3Escaped(*t, column);
        CHECK(escaped.find_first_of(";=\t\n\r") == std::string::npos);
        CHECK(gff3Decoded(escaped) == *t);
      }
  }
#elif defined(FUZZ_ISLANDS)    // a list that passes its checks cuts a background in the genome
  static const std::string genome(5000, 'a');
  const std::string name = asFile("islands.txt", data, size);
  IslandList list = readIslandList(name);
  if (!islandListProblem(list, name, 5000).empty()) return 0;
  const std::vector<std::int64_t>& v = list.values;
  CHECK(!v.empty() && v.size() % 2 == 0);
  for (std::size_t i = 0; i < v.size(); i += 2) {
    CHECK(v[i] >= 0 && v[i] < v[i + 1] && v[i + 1] <= 5000);
    CHECK(i == 0 || v[i] >= v[i - 1]);
  }
  CHECK(backgroundSequence(genome, v).size() < genome.size());
#elif defined(FUZZ_SCORES)   // both assemblies write whole lines; the first phase's do not overlap
  const std::string scores = asFile("scores.txt", data, size);
  const std::string islands = scores + ".islands";
  const int overlap = size ? data[0] % 5 : 1;
  CHECK(cordsortI(overlap, 0.05, scores, islands).empty());
  const auto first = islandLines(islands);
  for (std::size_t i = 1; i < first.size(); ++i) CHECK(first[i].first > first[i - 1].second);
  CHECK(cordsortII(0.05, scores, islands, overlap).empty());
  islandLines(islands);
#elif defined(FUZZ_OPTIONS)  // the input's lines are morvale-run's arguments
  std::vector<std::string> args(1);
  for (char c : text) {
    if (c == '\n')
      args.emplace_back();
    else
      args.back() += c;
  }
  BatchOptions options;
  CHECK(parseOptions(args, options, error) != ParsedCommand::kUsageError || !error.empty());
#endif
  return 0;
}
