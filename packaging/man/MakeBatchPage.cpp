// Writes quarmel-batch's manual page from its template, so that the page's settings follow the
// settings table: each @NAME@ becomes the range and start value of the setting NAME, and the line
// @OTHER_SETTINGS@ an entry for each setting the template does not name (a new setting shows
// up with its range before anyone writes its description). The algorithms follow the algorithm
// table: @ALGORITHM_KEYS@ becomes their keys, the line @ALGORITHMS@ an entry per algorithm with
// the settings it reads. A name neither table holds stops the build, naming it.
//   MakeBatchPage TEMPLATE PAGE
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "algorithms/AlgorithmTable.h"
#include "cli/BatchOptions.h"
#include "model/Settings.h"

using namespace quarmel;

namespace {

const std::string kOthers = "@OTHER_SETTINGS@\n";
const std::string kKeys = "@ALGORITHM_KEYS@";
const std::string kAlgorithmEntries = "@ALGORITHMS@\n";

// An entry per algorithm: its key, its name and the settings it reads.
std::string AlgorithmEntries() {
    std::string entries;
    for (std::size_t k = 0; k < kAlgorithmCount; ++k) {
        const std::string reads = SettingsReadAtStart(KindAt(k), ", ");
        entries += ".TP\n.B " + std::string(kAlgorithms[k].Key) + "\n" + AlgorithmTitle(KindAt(k)) +
                   (kAlgorithms[k].Reference ? " (a reference)" : "") +
                   (reads.empty() ? "" : "; reads " + reads) + ".\n";
    }
    return entries;
}

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
        if (page.compare(at, kKeys.size(), kKeys) == 0) {
            out += AlgorithmKeys(" | ");
            from = at + kKeys.size();
            continue;
        }
        if (page.compare(at, kAlgorithmEntries.size(), kAlgorithmEntries) == 0) {
            out += AlgorithmEntries();
            from = at + kAlgorithmEntries.size();
            continue;
        }
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
