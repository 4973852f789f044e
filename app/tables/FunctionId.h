#pragma once

#include <cstdint>
#include <string>

#include "model/Problem.h"

namespace quarmel {

// A number naming a function across calls and machines, for tools that compare runs by it (the
// IOHprofiler funcId): a 64-bit FNV-1a hash of the function's name (without its surrounding
// blanks), its formula, its direction and each variable's name and range, folded into
// 1..2147483646. The same problem gets the same number whatever its place on a command line;
// two problems share one only by a hash collision.
std::uint32_t StableFunctionId(const std::string& functionName, const Problem& problem);

}  // namespace quarmel
