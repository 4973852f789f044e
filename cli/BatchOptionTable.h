#pragma once

#include <charconv>
#include <cstddef>
#include <string>
#include <system_error>
#include <vector>

#include "cli/BatchOptions.h"

namespace quarmel {

// What an option's handler reads and changes while the command line is read.
class OptionReading {
  public:
    OptionReading(BatchOptions& options, const std::vector<std::string>& args, std::size_t& at)
        : Options(options), args_(args), at_(at) {}
    BatchOptions& Options;
    bool AlgorithmGiven = false;
    // The option's value: after "=", or the next argument.
    std::string Value() const;
    // The argument after the option's value (--format ioh DIR); `what` names it when missing.
    std::string NextArgument(const std::string& what) const;

  private:
    friend BatchOptions ParseBatchArguments(const std::vector<std::string>& args);
    const std::vector<std::string>& args_;
    std::size_t& at_;
    std::string name_;
    const std::string* inline_ = nullptr;
};

// One option of quarmel-batch: its name (and short name), the value it takes ("" for none), the
// help's lines for it, and what it does. Every option but the repeatable ones is taken once. A
// row without a handler is a help line only (another form of the option above it).
struct BatchOptionRow {
    const char* Name;
    const char* Short;  // or nullptr
    const char* ValueName;
    bool Repeatable;
    std::string (*Help)();
    void (*Apply)(OptionReading& reading);
};

// The options, in the order --help lists them.
const std::vector<BatchOptionRow>& BatchOptionRows();

// A whole text as a number with "." (a leading "+" allowed); nothing before or after it.
bool ParseDoubleText(const std::string& text, double& value);
// A whole text as a whole number in base 10; nothing before or after it.
template <class T>
bool ParseWholeText(const std::string& text, T& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, ec] = std::from_chars(first, last, value, 10);
    return ec == std::errc() && end == last && first != last;
}

}  // namespace quarmel
