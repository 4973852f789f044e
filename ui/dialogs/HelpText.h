#pragma once

#include <string>

namespace quarmel {

// The formula help: operators, then functions, each entry a name and its description in a
// column. Arguments are separated by ";", as the user types them.
const std::string& ParserHelpText();

}  // namespace quarmel
