#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

// Switches the process to a locale whose decimal separator is ",", as the window's users have,
// for the life of the object. The locale is compiled into a temporary folder with localedef, so
// the machine needs the locale sources but no generated locales. Ok() says whether it worked.
class DecimalCommaLocale {
  public:
    DecimalCommaLocale() {
        char pattern[] = "/tmp/quarmel-locale-XXXXXX";
        if (!mkdtemp(pattern)) return;
        folder_ = pattern;
        const std::string command =
            "localedef -i pl_PL -f UTF-8 " + folder_ + "/pl_PL.UTF-8 >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return;
        setenv("LOCPATH", folder_.c_str(), 1);
        ok_ = std::setlocale(LC_ALL, "pl_PL.UTF-8") != nullptr &&
              std::string(std::localeconv()->decimal_point) == ",";
    }
    ~DecimalCommaLocale() {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool Ok() const { return ok_; }

  private:
    std::string folder_;
    bool ok_ = false;
};
