#include "natural/natural_settings.h"

namespace morvale::natural {

std::string naturalSettingsProblem(const NaturalSettings& settings) {
  if (settings.window < kShortestWindow || settings.window > kLongestWindow)
    return "the natural scan's window must be " + std::to_string(kShortestWindow) + " to " +
           std::to_string(kLongestWindow) + " letters, not " + std::to_string(settings.window);
  if (settings.step < 1)
    return "the natural scan's step must be at least 1 letter, not " +
           std::to_string(settings.step);
  if (settings.minLength < 0)
    return "the shortest natural island must be at least 0 letters, not " +
           std::to_string(settings.minLength);
  return "";
}

}  // namespace morvale::natural
