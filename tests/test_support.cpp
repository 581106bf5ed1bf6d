#include "test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace morvale::testing {

void ScratchDir::SetUp() {
  previous_ = std::filesystem::current_path().string();
  char tmpl[] = "/tmp/morvale-test-XXXXXX";
  dir_ = mkdtemp(tmpl);
  std::filesystem::current_path(dir_);
  setPlatform(&platform_);
}

void ScratchDir::TearDown() {
  setPlatform(nullptr);
  std::filesystem::current_path(previous_);
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
  std::filesystem::remove_all(dir_);
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

}  // namespace morvale::testing
