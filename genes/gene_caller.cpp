#include "genes/gene_caller.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "base/stop_signal.h"
#include "base/system_error.h"
#include "genome/gff3_text.h"

extern char** environ;

namespace morvale {

const char* const kProdigalMissing =
    "--call-genes needs Prodigal on PATH: install it (Debian: apt-get install prodigal)";

namespace {

constexpr int kPollMilliseconds = 50;
constexpr std::size_t kOutputKept = 65536;  // the last bytes a child wrote are kept
constexpr std::size_t kLettersPerLine = 70;

// How a child program ran.
struct ChildRun {
  int startError = 0;  // errno of a failed start; 0 when it ran
  int waitError = 0;   // errno when its end could not be seen
  bool interrupted = false;
  int status = 0;      // as waitpid gives it
  std::string output;  // the end of its standard error (and output, when asked)
};

void closeQuietly(int fd) {
  if (fd >= 0) close(fd);
}

// Waits for `pid` until it ends, retrying when a signal breaks the wait.
void reap(pid_t pid, int& status) {
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

// Asks `pid` to end, gives it two seconds, then kills it; reaps it either way.
void terminate(pid_t pid, int& status) {
  kill(pid, SIGTERM);
  for (int waited = 0; waited < 2000; waited += 10) {
    const pid_t got = waitpid(pid, &status, WNOHANG);
    if (got == pid || (got < 0 && errno != EINTR)) return;
    poll(nullptr, 0, 10);
  }
  kill(pid, SIGKILL);
  reap(pid, status);
}

void keep(std::string& output, const char* bytes, std::size_t count) {
  output.append(bytes, count);
  if (output.size() > 2 * kOutputKept) output.erase(0, output.size() - kOutputKept);
}

// Runs `args` (args[0] found on PATH) with standard input from /dev/null and its
// standard error, and its standard output when `outputToo` (else /dev/null), read
// through a pipe; polls `stopAsked` every kPollMilliseconds while it runs.
ChildRun runChild(const std::vector<std::string>& args, bool outputToo,
                  const std::function<bool()>& stopAsked) {
  ChildRun run;
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    run.startError = errno;
    return run;
  }
  const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (devNull < 0) {
    run.startError = errno;
    closeQuietly(pipeEnds[0]);
    closeQuietly(pipeEnds[1]);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_adddup2(&actions, devNull, 0);
  posix_spawn_file_actions_adddup2(&actions, outputToo ? pipeEnds[1] : devNull, 1);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
  // The child starts with no signal blocked and the stop signals at their defaults.
  sigset_t none;
  sigset_t defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&defaults, sig);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  closeQuietly(pipeEnds[1]);
  closeQuietly(devNull);
  int fd = pipeEnds[0];
  if (started != 0) {
    closeQuietly(fd);
    run.startError = started;
    return run;
  }
  char buffer[4096];
  for (;;) {
    if (fd >= 0) {
      pollfd ready{fd, POLLIN, 0};
      if (poll(&ready, 1, kPollMilliseconds) > 0) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
          keep(run.output, buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
          closeQuietly(fd);
          fd = -1;
        }
      }
    } else {
      poll(nullptr, 0, kPollMilliseconds);
    }
    const pid_t ended = waitpid(pid, &run.status, WNOHANG);
    if (ended == pid) break;
    if (ended < 0 && errno != EINTR) {
      run.waitError = errno;
      break;
    }
    if (stopAsked()) {
      terminate(pid, run.status);
      run.interrupted = true;
      break;
    }
  }
  // A Ctrl-C at a terminal reaches the child too, which may end before the poll
  // above sees the stop: a child ended by a signal while a stop is asked was stopped.
  if (!run.interrupted && run.waitError == 0 && WIFSIGNALED(run.status) && stopAsked())
    run.interrupted = true;
  // What is left in the pipe, without waiting for anyone that still holds it.
  if (fd >= 0 && fcntl(fd, F_SETFL, O_NONBLOCK) == 0) {
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
      keep(run.output, buffer, static_cast<std::size_t>(got));
  }
  closeQuietly(fd);
  return run;
}

// The line of `output` that tells most: the last one starting with "Error", else
// the last that is not blank; blanks squeezed, control bytes dropped.
std::string tellingLine(const std::string& output) {
  std::string chosen;
  std::size_t from = 0;
  while (from < output.size()) {
    std::size_t end = output.find('\n', from);
    if (end == std::string::npos) end = output.size();
    std::string line;
    for (std::size_t i = from; i < end; ++i) {
      const unsigned char c = static_cast<unsigned char>(output[i]);
      if (c == ' ' || c == '\t' || c == '\r') {
        if (!line.empty() && line.back() != ' ') line += ' ';
      } else if (c >= 0x20 && c != 0x7f) {
        line += static_cast<char>(c);
      }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (!line.empty() && (chosen.rfind("Error", 0) != 0 || line.rfind("Error", 0) == 0))
      chosen = line;
    from = end + 1;
  }
  if (chosen.size() > 300) chosen = chosen.substr(0, 300) + "...";
  return chosen;
}

// "" when `run` ran and ended with status 0, else the one line that says what went wrong.
std::string failureOf(const ChildRun& run, const std::string& what) {
  if (run.startError == ENOENT) return kProdigalMissing;
  if (run.startError != 0) return systemErrorText("Cannot start " + what, run.startError);
  if (run.interrupted) return "interrupted";
  if (run.waitError != 0)
    return systemErrorText("Cannot see how " + what + " ended", run.waitError);
  if (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) return "";
  const std::string line = tellingLine(run.output);
  const std::string how =
      WIFEXITED(run.status)
          ? what + " failed with exit status " + std::to_string(WEXITSTATUS(run.status))
          : what + " was ended by signal " + std::to_string(WTERMSIG(run.status));
  return how + (line.empty() ? " and no message" : ": " + line);
}

std::function<bool()> stopCheck(const GeneCallSettings& settings) {
  return settings.stopAsked ? settings.stopAsked : std::function<bool()>(stopRequested);
}

// A temporary file made in `folder` (a name of its own: the process id and a
// count), removed when this goes unless released. It is made with the permissions
// the umask leaves of 0666, as any other output file, since the GFF3 one stays.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& folder, const std::string& suffix) {
    static std::atomic<unsigned> made{0};
    for (int tries = 0; tries < 100 && fd_ < 0; ++tries) {
      path_ = folder + "/.morvale-genes-" + std::to_string(getpid()) + "-" +
              std::to_string(made++) + suffix;
      fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      error_ = fd_ < 0 ? errno : 0;
      if (fd_ < 0 && error_ != EEXIST) break;
    }
    if (fd_ < 0) path_.clear();
  }
  ~TemporaryFile() {
    closeQuietly(fd_);
    if (!path_.empty()) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return path_; }
  int fd() const { return fd_; }
  int error() const { return error_; }
  // Closes the descriptor; false (with error()) when the close reports a failed write.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) != 0) {
      error_ = errno;
      return false;
    }
    return true;
  }
  void release() { path_.clear(); }

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
};

// 0 when all of `text` went to `fd`, else the errno of the failed write.
int writeAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return errno;
    if (wrote == 0) return EIO;
    done += static_cast<std::size_t>(wrote);
  }
  return 0;
}

// Writes the records as FASTA to `fd`, a megabyte at a time; 0 or the errno of a
// failed write.
int writeFasta(int fd, const std::vector<GenomeRecord>& records,
               const std::vector<std::string>& recordLetters) {
  std::string text;
  for (std::size_t r = 0; r < records.size(); ++r) {
    text += ">" + records[r].name + "\n";
    const std::string& letters = recordLetters[r];
    for (std::size_t at = 0; at < letters.size(); at += kLettersPerLine) {
      const std::size_t end = std::min(letters.size(), at + kLettersPerLine);
      for (std::size_t i = at; i < end; ++i) {
        const char c = letters[i];
        text += (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? c : 'n';
      }
      text += '\n';
      if (text.size() < (1u << 20)) continue;
      if (const int error = writeAll(fd, text)) return error;
      text.clear();
    }
  }
  return writeAll(fd, text);
}

}  // namespace

GeneCall prodigalVersion(const GeneCallSettings& settings) {
  GeneCall call;
  const ChildRun run = runChild({"prodigal", "-v"}, true, stopCheck(settings));
  call.error = failureOf(run, "prodigal -v");
  if (!call.error.empty()) return call;
  std::size_t at = run.output.find("Prodigal V");
  if (at == std::string::npos) at = run.output.find("Prodigal v");
  if (at != std::string::npos) {
    for (at += 10; at < run.output.size() && run.output[at] != ':' &&
                   !std::isspace(static_cast<unsigned char>(run.output[at]));
         ++at)
      call.version += run.output[at];
  }
  if (call.version.empty()) {
    const std::string line = tellingLine(run.output);
    call.error = "prodigal -v did not name a Prodigal version" +
                 (line.empty() ? std::string() : " (it wrote \"" + line + "\")");
  }
  return call;
}

GeneCall callGenes(const std::vector<GenomeRecord>& records,
                   const std::vector<std::string>& recordLetters, const std::string& folder,
                   const std::string& gffPath, const GeneCallSettings& settings) {
  GeneCall call;
  if (records.size() != recordLetters.size()) {
    call.error = "Genes cannot be called: the letters of " + std::to_string(recordLetters.size()) +
                 " records were read for a genome of " + std::to_string(records.size());
    return call;
  }
  for (std::size_t r = 0; r < records.size(); ++r) {
    if (records[r].name.empty()) {
      call.error = "Genes cannot be called on record " + std::to_string(r + 1) +
                   ": it has no name (a FASTA header) for the genes to name";
      return call;
    }
    if (gff3Decoded(records[r].name) != records[r].name) {
      call.error = "Genes cannot be called on record " + records[r].name +
                   ": GFF3 would read its name otherwise (it holds %XX)";
      return call;
    }
  }
  const std::function<bool()> stopAsked = stopCheck(settings);
  if (stopAsked()) {
    call.error = "interrupted";
    return call;
  }
  call = prodigalVersion(settings);
  if (!call.error.empty()) return call;

  TemporaryFile fasta(folder, ".fasta");
  TemporaryFile gff(folder, ".gff3");
  if (fasta.fd() < 0 || gff.fd() < 0) {
    call.error = systemErrorText("Cannot make a temporary file in " + folder,
                                 fasta.fd() < 0 ? fasta.error() : gff.error());
    return call;
  }
  gff.close();
  const int written = writeFasta(fasta.fd(), records, recordLetters);
  if (written != 0 || !fasta.close()) {
    call.error = systemErrorText("Cannot write " + fasta.path(), written ? written : fasta.error());
    return call;
  }
  const ChildRun run = runChild(
      {"prodigal", "-i", fasta.path(), "-o", gff.path(), "-f", "gff", "-p", "single", "-q"}, false,
      stopAsked);
  call.error = failureOf(run, "prodigal");
  if (!call.error.empty()) return call;
  if (std::rename(gff.path().c_str(), gffPath.c_str()) != 0) {
    call.error = systemErrorText("Cannot write " + gffPath, errno);
    return call;
  }
  gff.release();
  return call;
}

}  // namespace morvale
