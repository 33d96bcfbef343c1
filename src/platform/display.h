#pragma once

#include <string>

namespace vantric {

// Whether a graphical display can be reached; if not, why not.
bool displayAvailable(std::string& why);

} // namespace vantric
