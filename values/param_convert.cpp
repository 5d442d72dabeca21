#include "values/param_convert.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vesk {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool TryParseInt(std::string_view text, std::int32_t& out) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    bool hex = false;
    if (i < n && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n) return false;
    std::uint64_t v = 0;
    for (; i < n; ++i) {
        const int d = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0) return false;
        v = v * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
        // Hexadecimal text names a 32-bit pattern; decimal text a signed value.
        if (v > (hex ? 0xFFFFFFFFull : 0x80000000ull)) return false;
    }
    if (!hex && !negative && v > 0x7FFFFFFFull) return false;
    std::uint32_t bits = static_cast<std::uint32_t>(v);
    if (negative) bits = 0u - bits;
    out = static_cast<std::int32_t>(bits);
    return true;
}

std::int32_t StrToIntOr0(std::string_view text) {
    std::int32_t v = 0;
    return TryParseInt(text, v) ? v : 0;
}

bool TryParseFloat(std::string_view text, Extended& out) {
    std::size_t i = 0;
    std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    while (n > i && text[n - 1] == ' ') --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Check the shape ourselves: from_chars also takes "inf", "nan" and hex
    // forms, which are not numbers in script text.
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    Extended v = 0;
    const auto r = std::from_chars(text.data() + start, text.data() + n, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != text.data() + n) {
        // Underflow gives zero; overflow is a failed conversion.
        if (r.ec == std::errc::result_out_of_range && std::fabs(v) < 1) {
            v = 0;
        } else {
            return false;
        }
    }
    out = negative ? -v : v;
    return true;
}

Extended StrToFloatOr0(std::string_view text) {
    Extended v = 0;
    return TryParseFloat(text, v) ? v : 0;
}

std::string IntToText(std::int32_t v) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string FloatToText(Extended x) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
    if (x == 0) return "0";
    // 15 significant digits, rounded by the C library: "d.dddddddddddddde±x".
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14Le", x);
    const char* p = buf;
    std::string out;
    if (*p == '-') {
        out.push_back('-');
        ++p;
    }
    std::string digits;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.') digits.push_back(*p);
    const int exp = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    if (exp < -4 || exp >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1, std::string::npos);
        }
        out.push_back('E');
        out += std::to_string(exp);
    } else if (exp < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exp - 1), '0');
        out += digits;
    } else {
        const std::size_t intLen = static_cast<std::size_t>(exp) + 1;
        if (digits.size() <= intLen) {
            out += digits;
            out.append(intLen - digits.size(), '0');
        } else {
            out.append(digits, 0, intLen);
            out.push_back('.');
            out.append(digits, intLen, std::string::npos);
        }
    }
    return out;
}

std::int32_t FloatToInt(Extended x) {
    // Beyond this range the x87 store gives the "integer indefinite"
    // 0x8000000000000000, whose low 32 bits are 0.
    if (!(x > -9223372036854775808.0L && x < 9223372036854775808.0L)) return 0;
    const auto v = static_cast<std::int64_t>(x);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

const std::string& BoolToText(bool b) {
    static const std::string t = "TRUE", f = "FALSE";
    return b ? t : f;
}

}  // namespace vesk
