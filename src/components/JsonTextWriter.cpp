#include "components/JsonTextWriter.h"

#include <QIODevice>
#include <algorithm>

namespace {
constexpr qsizetype kDrainAt = 1 << 20;

char HexDigit(unsigned v)
{
    return char(v < 10 ? '0' + v : 'a' + v - 10);
}

void AppendUnicodeEscape(std::string& out, char16_t u)
{
    const char escape[6] = {
        '\\', 'u', HexDigit((u >> 12) & 0xf), HexDigit((u >> 8) & 0xf), HexDigit((u >> 4) & 0xf), HexDigit(u & 0xf)};
    out.append(escape, 6);
}
} // namespace

CJsonTextWriter::CJsonTextWriter(QIODevice* sink) : m_sink(sink)
{
    m_members.reserve(16);
}

void CJsonTextWriter::AppendEscaped(std::string& out, QStringView text)
{
    const char16_t* src = text.utf16();
    const char16_t* const end = src + text.size();
    while (src != end) {
        // Runs of plain ASCII go in one piece.
        const char16_t* run = src;
        while (run != end && *run < 0x80 && *run >= 0x20 && *run != u'"' && *run != u'\\')
            ++run;
        if (run != src) {
            for (; src != run; ++src)
                out.push_back(char(*src));
            if (src == end)
                break;
        }
        const char16_t u = *src++;
        if (u < 0x80) {
            out.push_back('\\');
            switch (u) {
            case u'"':
                out.push_back('"');
                break;
            case u'\\':
                out.push_back('\\');
                break;
            case 0x8:
                out.push_back('b');
                break;
            case 0xc:
                out.push_back('f');
                break;
            case 0xa:
                out.push_back('n');
                break;
            case 0xd:
                out.push_back('r');
                break;
            case 0x9:
                out.push_back('t');
                break;
            default: {
                const char rest[5] = {'u', '0', '0', HexDigit(u >> 4), HexDigit(u & 0xf)};
                out.append(rest, 5);
            }
            }
            continue;
        }
        if (u < 0x800) {
            const char two[2] = {char(0xc0 | (u >> 6)), char(0x80 | (u & 0x3f))};
            out.append(two, 2);
        } else if (u < 0xd800 || u > 0xdfff) {
            const char three[3] = {char(0xe0 | (u >> 12)), char(0x80 | ((u >> 6) & 0x3f)), char(0x80 | (u & 0x3f))};
            out.append(three, 3);
        } else if (u <= 0xdbff && src != end && *src >= 0xdc00 && *src <= 0xdfff) {
            const char32_t c = 0x10000 + ((char32_t(u) - 0xd800) << 10) + (char32_t(*src++) - 0xdc00);
            const char four[4] = {char(0xf0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3f)),
                                  char(0x80 | ((c >> 6) & 0x3f)), char(0x80 | (c & 0x3f))};
            out.append(four, 4);
        } else {
            // A surrogate without its partner has no UTF-8 form; JSON keeps it as an escape.
            AppendUnicodeEscape(out, u);
        }
    }
}

void CJsonTextWriter::Indent(qsizetype levels)
{
    static const char spaces[] = "                                                                ";
    constexpr qsizetype chunk = sizeof(spaces) - 1;
    for (qsizetype n = levels * 4; n > 0; n -= chunk)
        m_out.append(spaces, size_t(std::min(n, chunk)));
}

void CJsonTextWriter::BeforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_members.empty())
        return;
    // An array element.
    if (m_members.back()++ > 0)
        m_out.append(",\n", 2);
    Indent(qsizetype(m_members.size()));
}

void CJsonTextWriter::Key(QStringView name)
{
    if (m_members.back()++ > 0)
        m_out.append(",\n", 2);
    Indent(qsizetype(m_members.size()));
    m_out.push_back('"');
    AppendEscaped(m_out, name);
    m_out.append("\": ", 3);
    m_afterKey = true;
}

void CJsonTextWriter::String(QStringView text)
{
    BeforeValue();
    m_out.push_back('"');
    AppendEscaped(m_out, text);
    m_out.push_back('"');
    Drain();
}

void CJsonTextWriter::Int(qint64 value)
{
    BeforeValue();
    m_out.append(std::to_string(value));
}

void CJsonTextWriter::Open(char opener)
{
    BeforeValue();
    m_out.push_back(opener);
    m_out.push_back('\n');
    m_members.push_back(0);
}

void CJsonTextWriter::Close(char closer)
{
    if (m_members.back() > 0)
        m_out.push_back('\n');
    m_members.pop_back();
    Indent(qsizetype(m_members.size()));
    m_out.push_back(closer);
    Drain();
}

void CJsonTextWriter::Drain()
{
    if (!m_sink || qsizetype(m_out.size()) < kDrainAt)
        return;
    if (!m_failed && m_sink->write(m_out.data(), qint64(m_out.size())) != qint64(m_out.size()))
        m_failed = true;
    m_out.clear();
}

bool CJsonTextWriter::Finish()
{
    m_out.push_back('\n');
    if (m_sink) {
        if (!m_failed && m_sink->write(m_out.data(), qint64(m_out.size())) != qint64(m_out.size()))
            m_failed = true;
        m_out.clear();
    }
    return !m_failed;
}
