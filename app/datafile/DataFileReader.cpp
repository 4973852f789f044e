#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "app/datafile/DataFile.h"
#include "app/text/NumberText.h"

namespace quarmel {

const char* const kWrongFileFormatMessage = "Wrong file format !";

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads a text the way formatted C input does: words of at most a given width (a longer word
// comes out in pieces), and numbers with a point. Every read either consumes text or fails, so
// no loop over it can run for ever.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}

    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    }

    // The next word, or its first `width` characters; nothing at the end of the text.
    std::optional<std::string_view> Token(std::size_t width) {
        SkipSpace();
        if (pos_ >= text_.size()) return std::nullopt;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && pos_ - start < width && !IsSpace(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // Skips words (read with `width`) up to and including one equal to `key`.
    bool SkipPast(std::string_view key, std::size_t width) {
        while (auto t = Token(width)) {
            if (*t == key) return true;
        }
        return false;
    }

    // White space, then a number held in single precision.
    bool Float(float& value) {
        SkipSpace();
        std::size_t p = pos_;
        bool plus = false;
        if (p < text_.size() && text_[p] == '+') plus = true, ++p;
        if (plus && p < text_.size() && text_[p] == '-') return false;
        const char* first = text_.data() + p;
        const char* last = text_.data() + text_.size();
        auto [end, ec] = std::from_chars(first, last, value);
        if (ec == std::errc::result_out_of_range) {
            // Past single precision: what a wider reading narrows to (infinity or zero).
            double wide = 0.0;
            auto [wend, wec] = std::from_chars(first, last, wide);
            if (wec == std::errc::result_out_of_range) {
                const std::string_view number(first, static_cast<std::size_t>(wend - first));
                const std::size_t e = number.find_first_of("eE");
                const bool tiny =
                    e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
                const bool negative = number.front() == '-';
                wide = tiny ? 0.0 : HUGE_VAL;
                if (negative) wide = -wide;
            }
            value = static_cast<float>(wide);
            end = wend;
        } else if (ec != std::errc()) {
            return false;
        }
        pos_ = static_cast<std::size_t>(end - text_.data());
        return true;
    }

    // How many characters are not read yet.
    std::size_t Left() const { return text_.size() - pos_; }

    // The character `c` right here.
    bool Literal(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The text after a key of `length` characters, whatever those characters are.
std::string AfterKey(std::string_view token, std::size_t length) {
    return token.size() > length ? std::string(token.substr(length)) : std::string();
}

}  // namespace

DataFileReading ReadDataText(std::string_view text, SolutionReading solutions) {
    DataFileReading r;
    Cursor in(text);
    auto fail = [&r](DataFileError error, std::string message) {
        r.Error = error;
        r.Message = std::move(message);
        return std::move(r);  // what was read so far, without copying it
    };
    auto wrongFormat = [&fail]() {
        return fail(DataFileError::WrongFormat, kWrongFileFormatMessage);
    };

    // The program's name must be among the first 10 words.
    for (int i = 0; i < 10 && !r.HeaderFound; ++i) {
        auto t = in.Token(20);
        if (!t) break;
        r.HeaderFound = *t == "Quarmel";
    }
    if (!r.HeaderFound) return wrongFormat();

    // The "#" before the name, then the name's words up to the next "#".
    if (!in.Token(20)) return wrongFormat();
    std::string name;
    for (;;) {
        auto t = in.Token(200);
        if (!t) return wrongFormat();
        if (*t == "#") break;
        name.append(*t).append(" ");
    }
    r.FunctionName = name;

    // The formula's words joined up to the next "#", without the "f=" key.
    if (!in.SkipPast("formula", 200)) return wrongFormat();
    std::string joined;
    for (;;) {
        auto t = in.Token(500);
        if (!t) return wrongFormat();
        if (*t == "#") break;
        joined.append(*t);
    }
    std::string formula = AfterKey(joined, 2);
    for (char& c : formula) {
        if (c == ',') c = '.';
    }
    if (formula.size() > kMaxFormulaLength) {
        return fail(DataFileError::Limit, "The function in the file is longer than " +
                                              std::to_string(kMaxFormulaLength) + " characters.");
    }
    r.Formula = formula;

    for (;;) {
        auto t = in.Token(50);
        if (!t) return wrongFormat();
        if (*t == "max=0" || *t == "max=1") {
            r.Maximize = (*t)[4] == '1';
            break;
        }
    }

    if (!in.SkipPast("variables", 50)) return wrongFormat();
    auto countToken = in.Token(200);
    if (!countToken) return wrongFormat();
    int n = 0;
    try {
        n = TextToInt(AfterKey(*countToken, 5));
    } catch (const ConversionError& e) {
        return fail(DataFileError::Conversion, e.what());
    }
    if (n < 0) return wrongFormat();
    if (n > kMaxVariables) {
        return fail(DataFileError::Limit, "The file holds " + std::to_string(n) +
                                              " variables; at most " +
                                              std::to_string(kMaxVariables) + " fit the table.");
    }
    r.VariableCount = n;

    if (!in.SkipPast("default", 50)) return wrongFormat();
    for (int i = 0; i < n; ++i) {
        auto t = in.Token(200);
        if (!t) return wrongFormat();
        const std::size_t comma = t->find(',');
        if (comma == std::string_view::npos) return wrongFormat();
        VariableSpec v;
        v.Name = std::string(t->substr(0, comma));
        if (v.Name.size() > kMaxNameLength) {
            return fail(DataFileError::Limit, "Variable name '" + v.Name +
                                                  "' in the file is longer than " +
                                                  std::to_string(kMaxNameLength) + " characters");
        }
        Cursor numbers(t->substr(comma + 1));
        if (!numbers.Float(v.Min) || !numbers.Literal(',') || !numbers.Float(v.Max) ||
            !numbers.Literal(',') || !numbers.Float(v.Default)) {
            return wrongFormat();
        }
        r.Variables.push_back(std::move(v));
    }

    if (!in.SkipPast("solutions", 50)) return wrongFormat();
    countToken = in.Token(200);
    if (!countToken) return wrongFormat();
    int m = 0;
    try {
        m = TextToInt(AfterKey(*countToken, 5));
    } catch (const ConversionError& e) {
        return fail(DataFileError::Conversion, e.what());
    }
    r.SolutionCount = m;

    if (m > 0) {
        if (!in.SkipPast("(last)", 50)) return wrongFormat();
        const bool keep = solutions == SolutionReading::Keep;
        const std::size_t width = static_cast<std::size_t>(n);
        if (keep) {
            // Room for the announced solutions, as many as the rest of the text can hold (each
            // takes at least its n + 1 numbers, n commas and one separator), so the list never
            // grows by copying. Only a hint: without the room the list grows as it goes.
            const std::size_t fit = in.Left() / (2 * width + 2);
            try {
                r.Solutions.Reserve(std::min(static_cast<std::size_t>(m), fit), width);
            } catch (const std::bad_alloc&) {
            }
        }
        std::vector<float> values(width);
        for (int k = 0; k < m; ++k) {
            for (float& value : values) {
                if (!in.Float(value) || !in.Literal(',')) return wrongFormat();
            }
            float value = 0.0f;
            if (!in.Float(value)) return wrongFormat();
            if (keep) r.Solutions.Append(values.begin(), values.end(), value);
        }
    }
    return r;
}

DataFileReading ReadDataFile(const std::string& path, SolutionReading solutions) {
    DataFileReading r;
    auto fail = [&r, &path](const std::string& why) {
        r.Error = DataFileError::CannotOpen;
        r.Message = "Cannot read file '" + path + "'" + why;
        return r;
    };
    auto failErrno = [&fail]() { return fail(std::string(": ") + std::strerror(errno) + "."); };
    const char* const notRegular = ": it is not a regular file.";
    // A regular file only, looked at before it is opened and again once it is open (without
    // blocking, should it have been replaced by a pipe meanwhile).
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return failErrno();
    if (S_ISDIR(st.st_mode)) return fail(": it is a folder.");
    if (!S_ISREG(st.st_mode)) return fail(notRegular);
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failErrno();
    struct FdCloser {
        int fd;
        ~FdCloser() { close(fd); }
    } closer{fd};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return fail(notRegular);
    const std::string tooLarge =
        ": it is larger than " + std::to_string(kMaxDataFileBytes >> 20) + " MB.";
    if (static_cast<std::uint64_t>(st.st_size) > kMaxDataFileBytes) return fail(tooLarge);

    // One buffer of the file's size and a byte more, to see the end; grown (up to the limit)
    // only if the file grows while it is read.
    std::string text(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == text.size()) {
            if (got > kMaxDataFileBytes) return fail(tooLarge);
            text.resize(std::min<std::size_t>(2 * got, kMaxDataFileBytes + 1));
        }
        const ssize_t n = read(fd, &text[got], text.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failErrno();
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return ReadDataText(text, solutions);
}

VariableRowTexts TableRowTexts(const VariableSpec& v) {
    return {v.Name, GeneralText(v.Min, 4), GeneralText(v.Max, 4), GeneralText(v.Default, 4)};
}

}  // namespace quarmel
