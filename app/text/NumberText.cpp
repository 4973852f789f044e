#include "app/text/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace quarmel {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Trimmed(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

}  // namespace

std::string FloatConversionMessage(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

std::string IntConversionMessage(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

double TextToFloat(const std::string& text) {
    const std::string t = Trimmed(text);
    // Check the shape ourselves: from_chars would also take "inf", "nan" and a decimal point.
    std::string ascii;
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (negative) ascii += '-';
    int mantissaDigits = 0;
    while (i < t.size() && IsDigit(t[i])) ascii += t[i++], ++mantissaDigits;
    if (i < t.size() && t[i] == ',') {
        ascii += '.';
        ++i;
        while (i < t.size() && IsDigit(t[i])) ascii += t[i++], ++mantissaDigits;
    }
    if (mantissaDigits == 0) throw ConversionError(FloatConversionMessage(text));
    bool negativeExponent = false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ascii += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativeExponent = t[i] == '-';
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ascii += t[i++];
        int exponentDigits = 0;
        while (i < t.size() && IsDigit(t[i])) ascii += t[i++], ++exponentDigits;
        if (exponentDigits == 0) throw ConversionError(FloatConversionMessage(text));
    }
    if (i != t.size()) throw ConversionError(FloatConversionMessage(text));

    double value = 0.0;
    auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is not a number we can take.
        if (!negativeExponent) throw ConversionError(FloatConversionMessage(text));
        return negative ? -0.0 : 0.0;
    }
    if (ec != std::errc() || end != ascii.data() + ascii.size()) {
        throw ConversionError(FloatConversionMessage(text));
    }
    return value;
}

int TextToInt(const std::string& text) {
    std::string t = Trimmed(text);
    if (t.size() > 1 && t[0] == '+' && IsDigit(t[1])) t.erase(0, 1);
    if (t.empty() || !(IsDigit(t[0]) || (t[0] == '-' && t.size() > 1 && IsDigit(t[1])))) {
        throw ConversionError(IntConversionMessage(text));
    }
    int value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, 10);
    if (ec != std::errc() || end != t.data() + t.size()) {
        throw ConversionError(IntConversionMessage(text));
    }
    return value;
}

std::string GeneralText(double value, int digits) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0.0) return "0";
    if (digits < 1) digits = 1;
    if (digits > 17) digits = 17;

    // Round the decimal expansion to the wanted digits, halves away from zero as the window's
    // number format does (12345 shows as 1,235E4). Sixty digits hold any double's expansion
    // well past where a tie could be mistaken.
    char buf[96];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 60);
    std::string sci(buf, res.ptr);  // "-d.ddd...e+XX"
    std::string out;
    std::size_t i = 0;
    if (sci[i] == '-') out += '-', ++i;
    std::string all;
    for (; i < sci.size() && sci[i] != 'e'; ++i) {
        if (IsDigit(sci[i])) all += sci[i];
    }
    int exponent = std::atoi(sci.c_str() + i + 1);
    std::string mantissa = all.substr(0, static_cast<std::size_t>(digits));
    if (all[static_cast<std::size_t>(digits)] >= '5') {
        int k = digits - 1;
        while (k >= 0 && mantissa[static_cast<std::size_t>(k)] == '9') {
            mantissa[static_cast<std::size_t>(k--)] = '0';
        }
        if (k >= 0) {
            ++mantissa[static_cast<std::size_t>(k)];
        } else {
            mantissa.insert(0, "1");
            mantissa.pop_back();
            ++exponent;
        }
    }
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    if (exponent < digits && exponent >= -5) {
        if (exponent >= 0) {
            const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
            if (mantissa.size() <= whole) {
                out += mantissa + std::string(whole - mantissa.size(), '0');
            } else {
                out += mantissa.substr(0, whole) + "," + mantissa.substr(whole);
            }
        } else {
            out += "0," + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
        }
        return out;
    }
    out += mantissa.substr(0, 1);
    if (mantissa.size() > 1) out += "," + mantissa.substr(1);
    out += "E" + std::to_string(exponent);
    return out;
}

std::string PrintfG(double value, int precision) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    return std::string(buf, res.ptr);
}

std::string FuncValueText(double value) {
    std::string text = PrintfG(value, 3);
    if (text.size() < 2) text.insert(0, 2 - text.size(), ' ');
    return text;
}

}  // namespace quarmel
