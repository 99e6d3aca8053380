#include "components/excel/CellText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace excel {

std::string FormatNumber(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value > 0 ? "Infinity" : "-Infinity");
    if (value == 0)
        return "0";
    char buf[64];
    // Round to 15 significant digits first; the digits past that are binary noise.
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    double rounded = value;
    std::from_chars(buf, r.ptr, rounded);
    const double a = std::fabs(rounded);
    const auto fmt = (a >= 1e-7 && a < 1e21) ? std::chars_format::fixed : std::chars_format::scientific;
    r = std::to_chars(buf, buf + sizeof buf, rounded, fmt);
    return std::string(buf, r.ptr);
}

std::string FormatNumberText(std::string_view text)
{
    // Most cells hold short integers: keep their digits without a round trip.
    size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
    const size_t digits = text.size() - i;
    if (digits > 0 && digits <= 15 && (text[i] != '0' || digits == 1)) {
        bool allDigits = true;
        for (size_t k = i; k < text.size(); ++k)
            if (text[k] < '0' || text[k] > '9') {
                allDigits = false;
                break;
            }
        if (allDigits)
            return (text == "-0") ? std::string("0") : std::string(text);
    }
    // Leading blanks or a '+' are not accepted by from_chars; workbooks never write them.
    double value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size())
        return std::string(text);
    return FormatNumber(value);
}

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(long long z, int& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = (long long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int(yy + (m <= 2));
}

constexpr long long kDays1899_12_30 = -25569; // 1899-12-30 relative to 1970-01-01
constexpr long long kDays1904_01_01 = -24107;

} // namespace

bool FormatSerialDate(double serial, NumberKind kind, bool date1904, std::string& out)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958465.99999)
        return false;
    const long long totalSeconds = std::llround(serial * 86400.0);
    long long days = totalSeconds / 86400;
    const long long secs = totalSeconds % 86400;
    char buf[48];
    if (kind == NumberKind::Elapsed) {
        std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", totalSeconds / 3600, (totalSeconds / 60) % 60,
                      totalSeconds % 60);
        out = buf;
        return true;
    }
    const int hh = int(secs / 3600), mi = int((secs / 60) % 60), ss = int(secs % 60);
    if (kind == NumberKind::Time && days == 0) {
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hh, mi, ss);
        out = buf;
        return true;
    }
    int y = 0;
    unsigned m = 0, d = 0;
    if (!date1904 && days == 60) {
        // The 1900 system counts a 29 February 1900 that never was.
        y = 1900, m = 2, d = 29;
    } else {
        long long epoch = date1904 ? kDays1904_01_01 : kDays1899_12_30;
        if (!date1904 && days < 60)
            epoch += 1;
        CivilFromDays(epoch + days, y, m, d);
    }
    if (kind == NumberKind::Date)
        std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", y, m, d);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d", y, m, d, hh, mi, ss);
    out = buf;
    return true;
}

std::string FormatIsoDate(std::string_view text)
{
    // yyyy-mm-ddThh:mm:ss[.fff][Z|+hh:mm]
    std::string date(text.substr(0, std::min<size_t>(10, text.size())));
    const size_t t = text.find('T');
    if (t == std::string_view::npos)
        return std::string(text);
    std::string_view time = text.substr(t + 1);
    time = time.substr(0, std::min<size_t>(8, time.size()));
    if (time == "00:00:00")
        return date;
    if (t == 0)
        return std::string(time);
    return date + ' ' + std::string(time);
}

NumberKind BuiltinFormatKind(int id)
{
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 54) ||
        (id >= 57 && id <= 58))
        return NumberKind::Date;
    if (id == 22)
        return NumberKind::DateTime;
    if ((id >= 18 && id <= 21) || id == 32 || id == 33 || id == 45 || id == 47 || id == 55 || id == 56)
        return NumberKind::Time;
    if (id == 46)
        return NumberKind::Elapsed;
    return NumberKind::Number;
}

NumberKind CustomFormatKind(std::string_view code)
{
    bool date = false, time = false, elapsed = false;
    char last = 0; // last date/time letter, to tell minutes from months
    for (size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        if (c == ';')
            break; // the first section decides
        if (c == '"') {
            const size_t e = code.find('"', i + 1);
            if (e == std::string_view::npos)
                break;
            i = e;
            continue;
        }
        if (c == '\\' || c == '_' || c == '*') {
            ++i;
            continue;
        }
        if (c == '[') {
            const size_t e = code.find(']', i + 1);
            if (e == std::string_view::npos)
                break;
            const std::string_view inner = code.substr(i + 1, e - i - 1);
            if (!inner.empty() && (inner[0] == 'h' || inner[0] == 'H' || inner[0] == 'm' || inner[0] == 'M' ||
                                   inner[0] == 's' || inner[0] == 'S'))
                elapsed = time = true;
            i = e;
            continue;
        }
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c == 'a') {
            // AM/PM and A/P markers
            std::string word(code.substr(i, 5));
            for (auto& ch : word)
                ch = char(std::tolower((unsigned char)ch));
            if (word == "am/pm") {
                time = true;
                i += 4;
                continue;
            }
            if (word.rfind("a/p", 0) == 0) {
                time = true;
                i += 2;
                continue;
            }
        }
        if (c == 'g' && code.substr(i).size() >= 7) {
            std::string word(code.substr(i, 7));
            for (auto& ch : word)
                ch = char(std::tolower((unsigned char)ch));
            if (word == "general") {
                i += 6;
                continue;
            }
        }
        switch (c) {
        case 'y':
        case 'd':
            date = true;
            last = c;
            break;
        case 'h':
            time = true;
            last = c;
            break;
        case 's':
            time = true;
            last = c;
            break;
        case 'm': {
            // Minutes right after an hour or right before seconds, else a month.
            size_t k = i;
            while (k < code.size() && (code[k] == 'm' || code[k] == 'M'))
                ++k;
            const size_t runEnd = k;
            while (k < code.size() && !std::isalpha((unsigned char)code[k]) && code[k] != '"')
                ++k;
            const bool beforeSeconds = k < code.size() && (code[k] == 's' || code[k] == 'S');
            if (last == 'h' || beforeSeconds)
                time = true;
            else
                date = true;
            last = 'm';
            i = runEnd - 1;
            break;
        }
        default:
            break;
        }
    }
    if (elapsed && !date)
        return NumberKind::Elapsed;
    if (date && time)
        return NumberKind::DateTime;
    if (date)
        return NumberKind::Date;
    if (time)
        return NumberKind::Time;
    return NumberKind::Number;
}

} // namespace excel
