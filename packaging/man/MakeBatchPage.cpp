// Writes quarmel-batch's manual page from its template, so that the page's settings follow the
// settings table: each @NAME@ becomes the range and start value of the setting NAME, and the line
// @OTHER_SETTINGS@ an entry for each setting the template does not name (a new setting shows
// up with its range before anyone writes its description). A name the table does not hold
// stops the build, naming it.
//   MakeBatchPage TEMPLATE PAGE
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "cli/BatchOptions.h"
#include "model/Settings.h"

using namespace quarmel;

namespace {

const std::string kOthers = "@OTHER_SETTINGS@\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "MakeBatchPage: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) return Fail("usage: MakeBatchPage TEMPLATE PAGE");
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) return Fail(std::string("cannot read ") + argv[1]);
    const std::string page = text.str();

    std::string out;
    std::set<std::string> named;
    std::size_t from = 0;
    for (std::size_t at; (at = page.find('@', from)) != std::string::npos;) {
        out += page.substr(from, at - from);
        if (page.compare(at, kOthers.size(), kOthers) == 0) {
            out += kOthers;  // filled in below, once every name is known
            from = at + kOthers.size();
            continue;
        }
        const std::size_t end = page.find('@', at + 1);
        if (end == std::string::npos) return Fail(std::string(argv[1]) + ": an unclosed @");
        const std::string name = page.substr(at + 1, end - at - 1);
        const SettingSpec* s = FindSettable(name);
        if (!s) return Fail(std::string(argv[1]) + ": no setting '" + name + "' in the table");
        out += SettingRangeAndStart(*s);
        named.insert(name);
        from = end + 1;
    }
    out += page.substr(from);

    std::string others;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        if (!FindSettable(s.Name) || named.count(s.Name)) continue;
        others += ".TP\n.BR " + std::string(s.Name) + " \" (" + SettingRangeAndStart(s) + ")\"\n";
    }
    const std::size_t marker = out.find(kOthers);
    if (marker == std::string::npos) return Fail(std::string(argv[1]) + ": no " + kOthers);
    out.replace(marker, kOthers.size(), others);

    std::ofstream written(argv[2], std::ios::binary);
    written << out;
    written.close();
    return written ? 0 : Fail(std::string("cannot write ") + argv[2]);
}
