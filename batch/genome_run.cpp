#include "batch/genome_run.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <system_error>

#include "base/console.h"
#include "base/file_paths.h"
#include "base/number_text.h"
#include "base/system_error.h"
#include "base/tsv_text.h"
#include "base/whole_file.h"
#include "batch/output_layout.h"
#include "genes/gene_caller.h"
#include "genes/gene_scores.h"
#include "genome/annotated_genome.h"
#include "genome/gff_annotation.h"
#include "genome/input_file.h"
#include "genome/record_letters.h"
#include "islands/auto_cutoff.h"
#include "islands/island_list.h"
#include "natural/natural_scan.h"
#include "report/loaded_run.h"
#include "report/report_files.h"
#include "report/tracks.h"
#include "scan/first_phase_split.h"

namespace morvale {

namespace fs = std::filesystem;

namespace {

// Removes the files Morvale writes into a genome's folder (--force). "" or one line
// naming the first that cannot be removed (a folder in its place).
std::string removeOwnFiles(const std::string& folder) {
  for (const std::string& f : layout::genomeFolderFiles(folder)) {
    const std::string problem = removeFileIfPresent(f);
    if (!problem.empty()) return problem;
  }
  return "";
}

// Warnings of features left out, shown per genome before they are summed up.
constexpr std::size_t kWarningsShown = 10;

// A record's folder name: its name with every character other than letters,
// digits, '.', '_' and '-' made '_' and leading dots dropped; "record_N" (N from 1)
// for a record whose name leaves nothing.
std::string folderNameOf(const std::string& recordName, std::size_t index) {
  std::string name = recordName;
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '_' || c == '-';
    if (!plain) c = '_';
  }
  name.erase(0, name.find_first_not_of('.'));
  return name.empty() ? "record_" + std::to_string(index + 1) : name;
}

// Runs `step`, which returns a status; what it throws (out of memory, a system
// call's failure) becomes a failure of this genome alone.
template <typename Step>
RunStatus guarded(Step step) {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    return RunStatus::failed(
        "out of memory: this genome, k or pool size needs more memory than the machine can give");
  } catch (const std::system_error& e) {  // std::filesystem_error among them
    return RunStatus::failed(e.what());
  }
}

// Adds `text` to a summary row's note.
void addNote(SummaryRow& s, const std::string& text) {
  s.note += (s.note.empty() ? "" : "; ") + text;
}

}  // namespace

std::string uniqueName(const std::string& name, std::set<std::string>& used) {
  std::string unique = name;
  for (int n = 2; !used.insert(unique).second; ++n) unique = name + "_" + std::to_string(n);
  return unique;
}

bool GenomeRun::run(std::size_t index, const std::string& name, std::vector<SummaryRow>& rows) {
  index_ = index;
  record_ = kWholeFile;
  const auto started = std::chrono::steady_clock::now();
  GenomeInput genome;
  genome.fileName = o_.genomes[index];
  const std::string folder = o_.out + "/" + name;
  const RunStatus loaded = guarded([&] {
    const std::string problem = load(genome);
    return problem.empty() ? RunStatus::done() : RunStatus::failed(problem);
  });
  if (!loaded.is(RunState::kDone)) {
    rows.emplace_back(name);
    rows.back().status = loaded;
    return false;
  }
  if (!o_.perRecord || genome.genome.status != GenomeStatus::kOk)
    return one(genome, name, folder, started, rows);
  // With --per-record the genes are called once, for the whole genome, in its folder.
  const RunStatus called = guarded([&] {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return RunStatus::failed("cannot create " + folder + ": " + ec.message());
    const std::string stale = layout::genomePath(folder, layout::GenomeFile::kGenesGff3);
    const std::string problem = o_.force ? removeFileIfPresent(stale) : "";
    return problem.empty() ? callGenes(genome, folder, name) : RunStatus::failed(problem);
  });
  if (!called.is(RunState::kDone)) {
    rows.emplace_back(name);
    rows.back().status = called;
    return called.is(RunState::kInterrupted);
  }
  std::set<std::string> used;
  for (std::size_t r = 0; r < genome.genome.records.size(); ++r) {
    const GenomeRecord& record = genome.genome.records[r];
    const std::string sub = uniqueName(folderNameOf(record.name, r), used);
    const std::int64_t letters = record.joinedEnd - record.joinedStart;
    // At least --min-record letters, and more than the first window, are scanned.
    if (letters < o_.minRecord || letters <= scannedWindow()) {
      SummaryRow skipped(name + "/" + sub);
      skipped.length = letters;
      skipped.status = RunStatus::skipped(
          letters < o_.minRecord ? std::to_string(letters) + " letters, fewer than --min-record " +
                                       std::to_string(o_.minRecord)
                                 : std::string("shorter than the first window"));
      rows.push_back(skipped);
      continue;
    }
    GenomeInput part;
    part.fileName = genome.fileName;
    const RunStatus split = guarded([&] {
      part.genome = recordGenome(genome.genome, r);
      return RunStatus::done();
    });
    if (!split.is(RunState::kDone)) {
      rows.emplace_back(name + "/" + sub);
      rows.back().status = split;
      continue;
    }
    record_ = r;
    if (one(part, name + "/" + sub, folder + "/" + sub, std::chrono::steady_clock::now(), rows))
      return true;
  }
  return false;
}

// Reads the genome and its annotation: a flat file's own, or --annotation's for a
// FASTA genome. Features that do not fit the genome are warned of and left out.
std::string GenomeRun::load(GenomeInput& genome) {
  streamed_ = isStreamInput(genome.fileName);
  if (streamed_) {
    std::string error;
    if (!readStreamInput(genome.fileName, stream_, error)) return error;
    if (genome.fileName == "-") genome.fileName = "standard input";
  }
  if (o_.annotation && !gffRead_) {
    int openError = 0;
    const std::unique_ptr<ByteSource> in = openInputFile(*o_.annotation, openError);
    Annotation read;
    if (!in)
      gffError_ = systemErrorText("Cannot open " + *o_.annotation, openError);
    else if (readGff3(*in, *o_.annotation, read, gffError_))
      gff_ = std::move(read);
    gffRead_ = true;
  }
  // The last genome takes --annotation's features; the others copy them.
  std::optional<Annotation> gff = index_ + 1 == o_.genomes.size() ? std::move(gff_) : gff_;
  AnnotatedGenome input = streamed_ ? readAnnotatedBytes(stream_, genome.fileName, std::move(gff))
                                    : readAnnotatedGenome(genome.fileName, std::move(gff));
  if (!input.error.empty()) return input.error;
  // A GFF3 file that cannot be read fails the genomes it was given for.
  if (!gffError_.empty() && input.genome.status == GenomeStatus::kOk && !input.annotation)
    return gffError_;
  genome.genome = std::move(input.genome);
  annotation_ = std::move(input.annotation);
  for (const std::string& w : input.readerWarnings)
    err_ << "morvale-run: warning: " << w << std::endl;
  if (genome.genome.headerInsideLine)
    err_ << "morvale-run: " << genome.fileName << ": line " << genome.genome.headerInsideLine
         << ": '>' inside a line starts a header there" << std::endl;
  const std::string error = duplicateRecordProblem(genome.genome, genome.fileName);
  if (!error.empty()) return error;
  const std::vector<std::string>& warnings = input.warnings;
  for (std::size_t w = 0; w < warnings.size() && w < kWarningsShown; ++w)
    err_ << "morvale-run: " << genome.fileName << ": warning: " << warnings[w] << std::endl;
  if (warnings.size() > kWarningsShown) {
    err_ << "morvale-run: " << genome.fileName << ": warning: and "
         << warnings.size() - kWarningsShown << " more features left out" << std::endl;
  }
  return "";
}

// One genome (or record) into `folder`; adds its row.
bool GenomeRun::one(GenomeInput& genome, const std::string& name, const std::string& folder,
                    std::chrono::steady_clock::time_point started, std::vector<SummaryRow>& rows) {
  rows.emplace_back(name);
  SummaryRow& s = rows.back();
  s.status = guarded([&] { return steps(genome, folder, s); });
  s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return s.status.is(RunState::kInterrupted);
}

RunStatus GenomeRun::steps(GenomeInput& genome, const std::string& folder, SummaryRow& s) {
  RunStatus status = prepare(genome, folder, s);
  if (!status.is(RunState::kDone)) return status;
  if (record_ == kWholeFile) status = callGenes(genome, folder, s.name);
  if (!status.is(RunState::kDone)) return status;
  if (o_.natural) return naturalScan(genome, folder, s);
  // The assemblies' console messages and complaints are the dialogue's, not this
  // command's: "Unable to open 0" after a refinement without rows becomes a note.
  std::ofstream quiet;
  PhaseRunner runner(o_.first.measure, folder, console_, progress_, workers_, quiet, quiet);
  FinalFiles files{runner.names().firstScores, runner.names().firstIslands};
  status = firstPhase(runner, genome, s);
  if (status.is(RunState::kDone) && o_.refine) status = refinement(runner, genome, s, files);
  progress_.finishLine();
  if (status.is(RunState::kDone)) status = reports(genome, folder, files, s);
  return status;
}

// The genome's folder, cleaned with --force, and a genome the first phase can scan.
RunStatus GenomeRun::prepare(GenomeInput& genome, const std::string& folder, SummaryRow& s) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return RunStatus::failed("cannot create " + folder + ": " + ec.message());
  if (o_.force) {
    const std::string problem = removeOwnFiles(folder);
    if (!problem.empty()) return RunStatus::failed(problem);
  }
  if (!workers_.startError().empty()) return RunStatus::failed(workers_.startError());
  std::vector<std::string> problems = firstPhaseGenomeProblems(genome, scannedWindow());
  if (!problems.empty()) return RunStatus::failed(problems.back());
  describeGenome(genome);
  s.length = genome.genome.length;
  s.gcPercent = report::gcPercent(genome.genome.letters, 0, s.length);
  if (genome.genome.records.size() > 1) {
    s.note = std::to_string(genome.genome.records.size()) +
             " records scanned as one genome; --per-record scans each on its own";
  }
  return RunStatus::done();
}

// The first phase's scan and its islands, at the cut-off given or chosen by rank.
RunStatus GenomeRun::firstPhase(PhaseRunner& runner, const GenomeInput& genome, SummaryRow& s) {
  progress_.phaseStarted(static_cast<int>(index_) + 1, static_cast<int>(o_.genomes.size()), s.name,
                         "first phase");
  progress_.keepSignals(o_.first.windowSize);
  const ScanOutcome outcome = runner.firstPhase(o_.first, genome, seed_);
  const std::vector<double> signals = progress_.signals();
  if (outcome.result == ScanResult::kInterrupted) return RunStatus::interrupted();
  if (outcome.result == ScanResult::kFailed) return RunStatus::failed(outcome.error);
  s.windowsTested = outcome.windowsTested;
  FirstAssemblySettings assembly{o_.cutoff.value_or(0.0), o_.minWindows};
  RunRecord extra;
  extra.set(record_key::kCutoffRule, o_.cutoff ? kGivenRule : kRankRule);
  if (!geneCaller_.empty()) extra.set(record_key::kGeneCaller, geneCaller_);
  if (!o_.cutoff) {
    extra.setReal(record_key::kAutoFraction, o_.autoFraction);
    std::vector<double> pValues;
    if (!firstPhasePValues(runner.names().firstScores, pValues))
      return RunStatus::failed("cannot read " + runner.names().firstScores);
    const RankCutoff rule = rankCutoff(pValues, outcome.windowsTested, o_.autoFraction);
    const SignalSplit split = splitFirstPhaseSignals(signals);
    if (rule.found && !split.islandsCalled) {
      assembly.cutoff = -1.0;  // selects nothing
      extra.set(record_key::kCutoff, "none");
      addNote(s, split.noIslandsReason);
    } else if (rule.found) {
      assembly.cutoff = rule.cutoff;
      extra.set(record_key::kCutoffRank, rule.rank);
    } else {
      assembly.cutoff = -1.0;  // selects nothing
      extra.set(record_key::kCutoff, "none");
      addNote(s, "no window-score rows, so no islands");
    }
  }
  s.cutoff = extra.get(record_key::kCutoff).empty() ? exactRealText(assembly.cutoff) : "none";
  const std::string error = runner.firstAssembly(assembly, extra);
  return error.empty() ? RunStatus::done() : RunStatus::failed(error);
}

// The refinement of the first phase's islands, when there are any; `files` become
// the refinement's.
RunStatus GenomeRun::refinement(PhaseRunner& runner, const GenomeInput& genome, SummaryRow& s,
                                FinalFiles& files) {
  std::ofstream quiet;
  IslandList list = readIslandList(files.islands, quiet);
  if (list.values.empty()) return RunStatus::done();
  const std::string problem =
      refinementListProblem(list, files.islands, genome, o_.refinement.windowSize);
  if (!problem.empty()) return RunStatus::failed(problem);
  progress_.phaseStarted(static_cast<int>(index_) + 1, static_cast<int>(o_.genomes.size()), s.name,
                         "refinement");
  const ScanOutcome outcome = runner.refinement(o_.refinement, o_.first.tupleSize, genome,
                                                files.islands, list.values, seed_);
  if (outcome.result == ScanResult::kInterrupted) return RunStatus::interrupted();
  if (outcome.result == ScanResult::kFailed) return RunStatus::failed(outcome.error);
  std::error_code missing;
  if (!fs::exists(runner.names().refinementScores, missing))
    addNote(s, "refinement kept no window");
  const std::string error =
      runner.refinementAssembly(o_.refinement.cutoff, o_.refinement.voteThreshold);
  if (!error.empty()) return RunStatus::failed(error);
  files = {runner.names().refinementScores, runner.names().refinementIslands};
  return RunStatus::done();
}

// The tracks, table, picture, page and islands' letters of the final islands.
RunStatus GenomeRun::reports(const GenomeInput& genome, const std::string& folder,
                             const FinalFiles& files, SummaryRow& s) {
  report::LoadedRun in;
  std::string error;
  if (!report::loadRun(genome.genome, genome.fileName, files.scores, files.islands,
                       report::MissingScores::kNoRows, in, error))
    return RunStatus::failed(error);
  return publish(in, genome, folder, s);
}

RunStatus GenomeRun::publish(report::LoadedRun& in, const GenomeInput& genome,
                             const std::string& folder, SummaryRow& s) {
  if (annotation_ && !o_.perRecord) {
    report::annotate(in, std::move(*annotation_));  // already placed on this genome's records
    annotation_.reset();
  } else if (annotation_) {
    Annotation mine;
    mine.file = annotation_->file;
    std::set<std::string> records;
    for (const GenomeRecord& r : genome.genome.records) records.insert(r.name);
    for (const Feature& f : annotation_->features)
      if (records.count(f.record)) mine.features.push_back(f);
    report::annotate(in, std::move(mine));
  }
  for (const report::Island& island : in.islands) s.islandLetters += island.end - island.start;
  s.islands = in.islands.size();
  std::string error;
  const std::vector<std::string>* letters = recordLetters(error);
  if (!letters) return RunStatus::failed(error);
  if (in.annotation) {
    // The genes' composition, on the records' letters as the file has them.
    if (letters->size() != genome.genome.records.size())
      return RunStatus::failed(genome.fileName + " changed while being read");
    GeneScoreSettings settings;
    settings.atypicalFraction = o_.atypicalFraction;
    report::scoreGenesOf(in, scoreGenes(*in.annotation, genome.genome.records, *letters, settings));
  }
  using layout::GenomeFile;
  error = report::writeReportFiles(in, {layout::genomePath(folder, GenomeFile::kIslandsBed),
                                        layout::genomePath(folder, GenomeFile::kIslandsGff3),
                                        layout::genomePath(folder, GenomeFile::kIslandsTsv),
                                        layout::genomePath(folder, GenomeFile::kScoresSvg),
                                        layout::genomePath(folder, GenomeFile::kReportHtml),
                                        layout::genomePath(folder, GenomeFile::kGenesTsv),
                                        layout::genomePath(folder, GenomeFile::kEvidenceTsv)});
  std::string text;
  if (error.empty() && report::islandsFasta(in, *letters, text, error))
    error = writeWholeFile(layout::genomePath(folder, GenomeFile::kIslandsFasta), text);
  return error.empty() ? RunStatus::done() : RunStatus::failed(error);
}

const std::vector<std::string>* GenomeRun::recordLetters(std::string& error) {
  const std::string& file = o_.genomes[index_];
  if (lettersOf_ != index_) {
    int openError = 0;
    const std::unique_ptr<ByteSource> source =
        streamed_ ? std::make_unique<TextByteSource>(stream_) : openInputFile(file, openError);
    if (!source) {
      error = systemErrorText("Cannot open " + file + " again", openError);
      return nullptr;
    }
    if (!readRecordLetters(*source, letters_)) {
      error = systemErrorText("Cannot read " + file + " again", source->readError());
      return nullptr;
    }
    lettersOf_ = index_;
  }
  if (record_ == kWholeFile) return &letters_;
  recordLetters_.assign(1, record_ < letters_.size() ? letters_[record_] : "");
  return &recordLetters_;
}

// With --call-genes, for a genome that brings no genes: Prodigal's, kept in
// folder/genes.gff3 and read as an --annotation file would be.
RunStatus GenomeRun::callGenes(const GenomeInput& genome, const std::string& folder,
                               const std::string& name) {
  geneCaller_.clear();
  if (!o_.callGenes) return RunStatus::done();
  if (annotation_) {
    err_ << "morvale-run: " << genome.fileName
         << ": --call-genes: the file brings its own genes, which are used" << std::endl;
    return RunStatus::done();
  }
  std::string error;
  const std::vector<std::string>* letters = recordLetters(error);
  if (!letters) return RunStatus::failed(error);
  const std::string gff = layout::genomePath(folder, layout::GenomeFile::kGenesGff3);
  GeneCallSettings settings;
  settings.stopAsked = [this] { return progress_.stopRequested(); };
  progress_.phaseStarted(static_cast<int>(index_) + 1, static_cast<int>(o_.genomes.size()), name,
                         "calling genes");
  const GeneCall call = morvale::callGenes(genome.genome.records, *letters, folder, gff, settings);
  if (call.error == "interrupted") return RunStatus::interrupted();
  if (!call.error.empty()) return RunStatus::failed(call.error);
  Annotation genes;
  int openError = 0;
  const std::unique_ptr<ByteSource> in = openInputFile(gff, openError);
  if (!in) return RunStatus::failed(systemErrorText("Cannot open " + gff, openError));
  if (!readGff3(*in, gff, genes, error)) return RunStatus::failed(error);
  const std::vector<std::string> warnings = placeFeatures(genes, genome.genome, genome.fileName);
  if (!warnings.empty()) return RunStatus::failed(gff + ": " + warnings.front());
  annotation_ = std::move(genes);
  geneCaller_ = "Prodigal " + call.version;
  return RunStatus::done();
}

// The natural scan, its window scores, its run record and the reports of its islands.
RunStatus GenomeRun::naturalScan(const GenomeInput& genome, const std::string& folder,
                                 SummaryRow& s) {
  using layout::GenomeFile;
  const std::string recordPath = layout::genomePath(folder, GenomeFile::kNaturalRecord);
  std::string error = removeFileIfPresent(recordPath);
  if (!error.empty()) return RunStatus::failed(error);
  RunRecord record = genomeRunRecord(kNaturalPhase, genome, console_.now());
  progress_.phaseStarted(static_cast<int>(index_) + 1, static_cast<int>(o_.genomes.size()), s.name,
                         "natural scan");
  natural::NaturalScan scan = natural::runNaturalScan(genome.genome, o_.naturalSettings, workers_,
                                                      [this] { return progress_.stopRequested(); });
  if (scan.status == natural::NaturalStatus::kInterrupted) return RunStatus::interrupted();
  if (scan.status == natural::NaturalStatus::kFailed) return RunStatus::failed(scan.error);
  const natural::NaturalCutoff& cut = scan.cutoff;
  s.windowsTested = static_cast<std::int64_t>(scan.windows.size());
  if (!geneCaller_.empty()) record.set(record_key::kGeneCaller, geneCaller_);
  record.set(record_key::kNaturalWindow, o_.naturalSettings.window);
  record.set(record_key::kNaturalStep, o_.naturalSettings.step);
  record.set(record_key::kNaturalMinLength, o_.naturalSettings.minLength);
  record.set(record_key::kWindowsTested, s.windowsTested);
  record.set(record_key::kWindowsCalled, static_cast<long long>(cut.called));
  record.setReal(record_key::kLowerMean, cut.lowerMean);
  record.setReal(record_key::kUpperMean, cut.upperMean);
  if (cut.islandsCalled) {
    record.setReal(record_key::kCutoff, cut.cutoff);
    s.cutoff = exactRealText(cut.cutoff);
  } else {
    record.set(record_key::kCutoff, "none");
    record.set(record_key::kNoIslands, cut.noIslandsReason);
    s.cutoff = "none";
    addNote(s, "no islands: " + cut.noIslandsReason);
  }
  // natural.tsv: each window in its record, 1-based and inclusive as islands.tsv.
  std::string table = "record\tstart\tend\tscore\n";
  std::vector<report::ScoreRow> rows;
  rows.reserve(scan.windows.size());
  for (const natural::ScoredWindow& w : scan.windows) {
    const GenomeRecord& r = genome.genome.records[w.record];
    const std::string name = r.name.empty() ? baseName(genome.fileName) : r.name;
    table += tsvField(name) + '\t' + std::to_string(recordPosition(r, w.start) + 1) + '\t' +
             std::to_string(recordPosition(r, w.end - 1) + 1) + '\t' + numberText("%.6g", w.score) +
             '\n';
    rows.push_back({w.end - w.start, w.start, w.end, w.score});
  }
  error = writeWholeFile(layout::genomePath(folder, GenomeFile::kNaturalTsv), table);
  if (!error.empty()) return RunStatus::failed(error);
  std::vector<report::Island> islands;
  for (const auto& island : scan.islands) islands.push_back({island.first, island.second});
  report::LoadedRun in;
  report::naturalRun(genome.genome, genome.fileName,
                     layout::genomePath(folder, GenomeFile::kNaturalTsv), std::move(rows),
                     std::move(islands), record, in);
  const RunStatus status = publish(in, genome, folder, s);
  if (!status.is(RunState::kDone)) return status;
  record.set(record_key::kFinished, localTimeText(console_.now()));
  error = record.write(recordPath);
  return error.empty() ? RunStatus::done() : RunStatus::failed(error);
}

}  // namespace morvale
