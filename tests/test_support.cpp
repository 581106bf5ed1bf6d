#include "test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
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

std::string randomDna(std::size_t length, unsigned seed, double gc) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  std::string s(length, 'a');
  for (char& c : s) {
    const double r = u(gen);
    c = r < gc / 2 ? 'g' : r < gc ? 'c' : r < gc + (1 - gc) / 2 ? 'a' : 't';
  }
  return s;
}

}  // namespace morvale::testing
