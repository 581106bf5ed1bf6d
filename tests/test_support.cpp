#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace morvale::testing {

void ScratchDir::SetUp() {
  previous_ = std::filesystem::current_path().string();
  char tmpl[] = "/tmp/morvale-test-XXXXXX";
  dir_ = mkdtemp(tmpl);
  std::filesystem::current_path(dir_);
}

void ScratchDir::TearDown() {
  std::filesystem::current_path(previous_);
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
  std::filesystem::remove_all(dir_);
}

std::string plantedGenome() {
  return randomDna(30000, 1) + randomDna(10000, 2, 0.15) + randomDna(25000, 3);
}

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> parts(1);
  for (char c : text)
    if (c == sep)
      parts.emplace_back();
    else
      parts.back() += c;
  return parts;
}

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void writeFile(const std::string& name, const std::string& content) {
  std::ofstream(name, std::ios::binary) << content;
}

std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool fileExists(const std::string& name) {
  return std::filesystem::exists(name);
}

pid_t goneProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

CapturedOutput::CapturedOutput() {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
}

void CapturedOutput::stop() {
  if (stopped_) return;
  stopped_ = true;
  out_ = ::testing::internal::GetCapturedStdout();
  err_ = ::testing::internal::GetCapturedStderr();
}

}  // namespace morvale::testing
