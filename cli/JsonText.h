#pragma once

#include <cstdio>
#include <string>

#include "app/tables/CsvTables.h"

namespace quarmel {

// A text as a JSON string: quoted, with quotes, backslashes and control characters escaped, and
// bytes that are not UTF-8 replaced (ValidUtf8).
inline std::string JsonString(const std::string& raw) {
    std::string out = "\"";
    for (const char c : ValidUtf8(raw)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace quarmel
