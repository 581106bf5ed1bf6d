// Text for a manual page: plain words made safe for roff, so that no word of the
// help is read as a request, an escape or a hyphen.
#pragma once

#include <string>

namespace morvale {

// `text` for roff: each backslash written \e and each minus sign \-, and a '.' or
// '\'' that begins a line (the text's first or one after a line feed) protected by
// \& so it is not read as a request.
std::string roff(const std::string& text);

}  // namespace morvale
