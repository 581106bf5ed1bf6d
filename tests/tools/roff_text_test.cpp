// Help text made safe for the manual pages.
#include "tools/roff_text.h"

#include <gtest/gtest.h>

namespace morvale {
namespace {

TEST(Roff, NoWordOfTheTextIsReadAsARequestOrAnEscape) {
  const std::pair<const char*, const char*> cases[] = {
      {".tmp files", "\\&.tmp files"},
      {"a\n'quoted'\n.b", "a\n\\&'quoted'\n\\&.b"},
      {"a.b 'c' d.", "a.b 'c' d."},
      {"--row C:\\x", "\\-\\-row C:\\ex"},
  };
  for (const auto& [text, page] : cases) EXPECT_EQ(roff(text), page) << text;
}

}  // namespace
}  // namespace morvale
