#include "components/excel/XlsxReader.h"

#include "components/excel/CellText.h"

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

namespace excel {
namespace {

using Sink = std::function<bool(const char* data, size_t size)>;

class PartSource
{
public:
    virtual ~PartSource() = default;
    virtual bool Has(const std::string& name) const = 0;
    virtual bool Stream(const std::string& name, size_t limit, const Sink& sink, std::string& error) = 0;
    bool ReadAll(const std::string& name, size_t limit, std::string& out, std::string& error)
    {
        out.clear();
        return Stream(
            name, limit,
            [&](const char* d, size_t n) {
                out.append(d, n);
                return true;
            },
            error);
    }
};

class ZipArchive : public PartSource
{
public:
    ~ZipArchive() override
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    bool OpenFile(const std::string& path, std::string& error)
    {
        int code = 0;
        m_zip = zip_open(path.c_str(), ZIP_RDONLY, &code);
        if (!m_zip)
            return Fail(code, error);
        return true;
    }
    bool OpenMemory(const void* data, size_t size, std::string& error)
    {
        zip_error_t ze;
        zip_error_init(&ze);
        zip_source_t* src = zip_source_buffer_create(data, size, 0, &ze);
        if (!src) {
            error = "zip 압축 파일이 아닙니다";
            zip_error_fini(&ze);
            return false;
        }
        m_zip = zip_open_from_source(src, ZIP_RDONLY, &ze);
        if (!m_zip) {
            zip_source_free(src);
            error = std::string("zip 압축 파일이 아닙니다: ") + zip_error_strerror(&ze);
            zip_error_fini(&ze);
            return false;
        }
        zip_error_fini(&ze);
        return true;
    }
    bool Has(const std::string& name) const override { return Locate(name) >= 0; }

    // Streams a member's inflated bytes; refuses members that inflate past the limit.
    bool Stream(const std::string& name, size_t limit, const Sink& sink, std::string& error) override
    {
        const zip_int64_t index = Locate(name);
        if (index < 0) {
            error = "통합 문서에 " + name + " 부분이 없습니다";
            return false;
        }
        zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
        if (!file) {
            error = name + " 부분을 읽을 수 없습니다: " + zip_strerror(m_zip);
            return false;
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> guard(file, zip_fclose);
        std::vector<char> buf(1 << 20);
        size_t total = 0;
        for (;;) {
            const zip_int64_t n = zip_fread(file, buf.data(), buf.size());
            if (n < 0) {
                error = name + " 부분이 손상되었습니다: " + zip_file_strerror(file);
                return false;
            }
            if (n == 0)
                return true;
            total += size_t(n);
            if (total > limit) {
                error = name + " 부분을 풀면 " + std::to_string(limit / (1024 * 1024)) +
                        " MB를 넘습니다. zip 폭탄일 수 있어 읽지 않습니다";
                return false;
            }
            if (!sink(buf.data(), size_t(n)))
                return false;
        }
    }

private:
    zip_int64_t Locate(std::string name) const
    {
        if (!name.empty() && name[0] == '/')
            name.erase(0, 1);
        return zip_name_locate(m_zip, name.c_str(), ZIP_FL_NOCASE);
    }
    static bool Fail(int code, std::string& error)
    {
        zip_error_t ze;
        zip_error_init_with_code(&ze, code);
        error = std::string("zip 압축 파일이 아닙니다: ") + zip_error_strerror(&ze);
        zip_error_fini(&ze);
        return false;
    }
    zip_t* m_zip = nullptr;
};

// Parts given by name, for tests and fuzzing of the XML without a zip around it.
class MemoryParts : public PartSource
{
public:
    explicit MemoryParts(const std::map<std::string, std::string>& parts) : m_parts(parts) {}
    bool Has(const std::string& name) const override { return m_parts.count(name) > 0; }
    bool Stream(const std::string& name, size_t limit, const Sink& sink, std::string& error) override
    {
        auto it = m_parts.find(name);
        if (it == m_parts.end()) {
            error = "통합 문서에 " + name + " 부분이 없습니다";
            return false;
        }
        if (it->second.size() > limit) {
            error = name + " 부분이 너무 큽니다";
            return false;
        }
        // small pieces, as inflation would hand them over
        for (size_t i = 0; i < it->second.size(); i += 4096)
            if (!sink(it->second.data() + i, std::min<size_t>(4096, it->second.size() - i)))
                return false;
        return true;
    }

private:
    const std::map<std::string, std::string>& m_parts;
};

std::string_view LocalName(const char* name)
{
    const char* colon = std::strrchr(name, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(name);
}

// Attribute by local name, whatever namespace prefix the writer used.
pugi::xml_attribute Attr(const pugi::xml_node& node, std::string_view local)
{
    for (pugi::xml_attribute a : node.attributes())
        if (LocalName(a.name()) == local)
            return a;
    return {};
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view local)
{
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element && LocalName(c.name()) == local)
            return c;
    return {};
}

// Larger single rows or strings are taken for hostile input.
constexpr size_t kMaxItemBytes = 64ull * 1024 * 1024;

constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single;

bool HasDoctype(std::string_view text)
{
    return text.find("<!DOCTYPE") != std::string_view::npos || text.find("<!ENTITY") != std::string_view::npos;
}

bool ParseSmall(PartSource& zip, const std::string& name, pugi::xml_document& doc, std::string& error)
{
    std::string text;
    if (!zip.ReadAll(name, kMaxSmallMemberBytes, text, error))
        return false;
    if (HasDoctype(text)) {
        error = name + " 부분에 문서 형식 선언(DTD)이 있어 읽지 않습니다";
        return false;
    }
    const pugi::xml_parse_result r = doc.load_buffer(text.data(), text.size(), kParseFlags, pugi::encoding_utf8);
    if (!r) {
        error = name + " 부분이 올바른 XML이 아닙니다: " + r.description();
        return false;
    }
    return true;
}

// Resolves a relationship target against the folder of the part that names it.
std::string ResolveTarget(const std::string& base, std::string target)
{
    if (!target.empty() && target[0] == '/')
        return target.substr(1);
    std::string folder = base.substr(0, base.rfind('/') + 1);
    while (target.rfind("../", 0) == 0) {
        target.erase(0, 3);
        if (!folder.empty()) {
            folder.pop_back();
            folder = folder.substr(0, folder.rfind('/') + 1);
        }
    }
    if (target.rfind("./", 0) == 0)
        target.erase(0, 2);
    return folder + target;
}

std::string RelsPath(const std::string& part)
{
    const size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

bool EndsWith(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Decodes the _xHHHH_ escapes that Office uses for characters XML cannot carry.
void AppendUnescaped(std::string& out, std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        const size_t u = text.find("_x", i);
        if (u == std::string_view::npos || u + 7 > text.size()) {
            out.append(text.substr(i));
            return;
        }
        out.append(text.substr(i, u - i));
        unsigned code = 0;
        const auto r = std::from_chars(text.data() + u + 2, text.data() + u + 6, code, 16);
        if (r.ec == std::errc() && r.ptr == text.data() + u + 6 && text[u + 6] == '_') {
            if (code < 0x80) {
                out.push_back(char(code));
            } else if (code < 0x800) {
                out.push_back(char(0xC0 | (code >> 6)));
                out.push_back(char(0x80 | (code & 0x3F)));
            } else if (code >= 0xD800 && code <= 0xDFFF) {
                out.append("\xEF\xBF\xBD"); // a lone surrogate has no UTF-8 form
            } else {
                out.push_back(char(0xE0 | (code >> 12)));
                out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
                out.push_back(char(0x80 | (code & 0x3F)));
            }
            i = u + 7;
        } else {
            out.append("_x");
            i = u + 2;
        }
    }
}

// Text of a shared string item or inline string: its <t>, or the <t> of its runs; phonetic
// guides (<rPh>) are not part of the text.
void RichText(const pugi::xml_node& node, std::string& out)
{
    out.clear();
    for (pugi::xml_node c : node.children()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view name = LocalName(c.name());
        if (name == "t") {
            AppendUnescaped(out, c.text().get());
        } else if (name == "r") {
            const pugi::xml_node t = Child(c, "t");
            if (t)
                AppendUnescaped(out, t.text().get());
        }
    }
}

// Feeds the items inside a container element (<row>s in <sheetData>, <si>s in <sst>) to a
// handler in batches, so a large part is never held, nor parsed, as a whole.
class ItemStream
{
public:
    using Handler = std::function<bool(const pugi::xml_node& fragment, std::string& error)>;
    ItemStream(std::string container, std::string item, Handler handler)
        : m_container(std::move(container)), m_item(std::move(item)), m_handler(std::move(handler))
    {
    }
    bool Feed(const char* data, size_t size, std::string& error)
    {
        if (m_done)
            return true;
        m_buf.append(data, size);
        return Process(false, error);
    }
    bool Finish(std::string& error)
    {
        if (!m_done && !Process(true, error))
            return false;
        if (!m_done) {
            error = m_started ? "부분이 <" + m_container + "> 안에서 끝납니다. 파일이 잘렸습니다"
                              : "<" + m_container + "> 요소가 없습니다";
            return false;
        }
        return true;
    }
    bool Empty() const { return m_done && !m_any; }

private:
    bool FindStart(std::string& error)
    {
        size_t from = m_scan;
        for (;;) {
            const size_t p = m_buf.find(m_container, from);
            if (p == std::string::npos) {
                // Nothing before the container matters but a declaration we refuse; drop the rest.
                if (HasDoctype(m_buf)) {
                    error = "부분에 문서 형식 선언(DTD)이 있어 읽지 않습니다";
                    return false;
                }
                if (m_buf.size() > 4096)
                    m_buf.erase(0, m_buf.size() - 256);
                m_scan = 0;
                return true;
            }
            from = p + 1;
            const size_t after = p + m_container.size();
            if (after >= m_buf.size()) {
                m_scan = p;
                return true; // wait for the next byte
            }
            const char next = m_buf[after];
            if (next != '>' && next != '/' && next != ' ' && next != '\t' && next != '\r' && next != '\n')
                continue;
            // Back up over an optional namespace prefix to the '<'.
            size_t lt = p;
            std::string prefix;
            if (p > 0 && m_buf[p - 1] == ':') {
                size_t q = p - 1;
                while (q > 0 && q + 64 > p && m_buf[q - 1] != '<' && m_buf[q - 1] != '/' &&
                       !std::isspace((unsigned char)m_buf[q - 1]))
                    --q;
                if (q == 0 || m_buf[q - 1] != '<')
                    continue;
                prefix = m_buf.substr(q, p - q);
                lt = q - 1;
            } else if (p > 0 && m_buf[p - 1] == '<') {
                lt = p - 1;
            } else {
                continue;
            }
            if (HasDoctype(std::string_view(m_buf).substr(0, lt))) {
                error = "부분에 문서 형식 선언(DTD)이 있어 읽지 않습니다";
                return false;
            }
            const size_t gt = m_buf.find('>', after);
            if (gt == std::string::npos) {
                m_scan = p;
                return true;
            }
            m_started = true;
            m_itemStart = "<" + prefix + m_item;
            m_containerEnd = "</" + prefix + m_container;
            m_pos = gt + 1;
            if (m_buf[gt - 1] == '/')
                m_done = true; // <sheetData/>
            return true;
        }
    }

    bool Process(bool final, std::string& error)
    {
        if (!m_started) {
            if (!FindStart(error))
                return false;
            if (!m_started || m_done)
                return true;
        }
        const std::string_view rest = std::string_view(m_buf).substr(m_pos);
        if (!final && rest.size() < (1u << 20))
            return true; // batch up about a megabyte
        const size_t endFrom =
            m_checked > m_pos + m_containerEnd.size() ? m_checked - m_containerEnd.size() - m_pos : 0;
        const size_t end = rest.find(m_containerEnd, endFrom);
        size_t cut;
        if (end != std::string_view::npos) {
            cut = end;
            m_done = true;
        } else {
            // Everything before the last item's start tag is whole items. Only bytes not
            // looked at before are searched, so a long item costs linear time.
            const size_t from = m_checked > m_pos + m_itemStart.size() ? m_checked - m_itemStart.size() - m_pos : 0;
            const size_t found = LastItemStart(rest, from);
            if (found != std::string_view::npos)
                m_lastStart = m_pos + found;
            m_checked = m_buf.size();
            cut = m_lastStart == std::string::npos ? 0 : m_lastStart - m_pos;
            if (cut == 0) {
                if (rest.size() > kMaxItemBytes) {
                    error = "부분의 <" + m_item + "> 하나가 " + std::to_string(kMaxItemBytes / (1024 * 1024)) +
                            " MB보다 큽니다";
                    return false;
                }
                return true; // keep reading
            }
        }
        if (cut > 0 && !Parse(rest.substr(0, cut), error))
            return false;
        m_pos += cut;
        if (!m_done && m_pos > (4u << 20)) {
            m_buf.erase(0, m_pos);
            if (m_lastStart != std::string::npos)
                m_lastStart -= m_pos;
            m_checked -= m_pos;
            m_pos = 0;
        }
        return true;
    }

    size_t LastItemStart(std::string_view rest, size_t lowest) const
    {
        // rfind has no lower bound, so search a view that starts at it
        const std::string_view area = rest.substr(lowest);
        size_t from = area.size();
        while (from > 0) {
            const size_t q = area.rfind(m_itemStart, from - 1);
            if (q == std::string_view::npos)
                return q;
            const size_t p = q + lowest;
            const size_t after = p + m_itemStart.size();
            if (after < rest.size()) {
                const char c = rest[after];
                if (c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
                    return p;
            }
            from = q;
        }
        return std::string_view::npos;
    }

    bool Parse(std::string_view text, std::string& error)
    {
        if (HasDoctype(text)) {
            error = "부분에 문서 형식 선언(DTD)이 있어 읽지 않습니다";
            return false;
        }
        pugi::xml_document doc;
        const pugi::xml_parse_result r =
            doc.load_buffer(text.data(), text.size(), kParseFlags | pugi::parse_fragment, pugi::encoding_utf8);
        if (!r) {
            error = std::string("워크시트가 올바른 XML이 아닙니다: ") + r.description();
            return false;
        }
        m_any = true;
        return m_handler(doc, error);
    }

    std::string m_container, m_item, m_itemStart, m_containerEnd;
    Handler m_handler;
    std::string m_buf;
    size_t m_pos = 0, m_scan = 0;
    size_t m_checked = 0, m_lastStart = std::string::npos;
    bool m_started = false, m_done = false, m_any = false;
};

bool StreamItems(PartSource& zip, const std::string& part, ItemStream& items, std::string& error)
{
    if (!zip.Stream(
            part, kMaxMemberBytes, [&](const char* d, size_t n) { return items.Feed(d, n, error); }, error))
        return false;
    return items.Finish(error);
}

// "AB12" -> column 27 (0-based); false when the text does not start with letters.
bool ParseColumn(const char* ref, uint32_t& col)
{
    uint64_t c = 0;
    int letters = 0;
    for (; *ref >= 'A' && *ref <= 'Z'; ++ref) {
        c = c * 26 + uint64_t(*ref - 'A' + 1);
        if (++letters > 3)
            return false;
    }
    if (letters == 0)
        return false;
    col = uint32_t(c - 1);
    return true;
}

class XlsxReader
{
public:
    XlsxReader(PartSource& zip, SheetData& sheet, std::string wanted = {})
        : m_zip(zip), m_sheet(sheet), m_wanted(std::move(wanted))
    {
    }
    bool SheetMissing() const { return m_sheetMissing; }

    bool Read(std::string& error)
    {
        m_sheet.Clear();
        std::string workbookPart, sheetPart, sharedPart, stylesPart;
        if (!FindParts(workbookPart, sheetPart, sharedPart, stylesPart, error))
            return false;
        if (!stylesPart.empty() && m_zip.Has(stylesPart) && !ReadStyles(stylesPart, error))
            return false;
        if (!sharedPart.empty() && m_zip.Has(sharedPart) && !ReadShared(sharedPart, error))
            return false;
        if (!ReadSheet(sheetPart, error))
            return false;
        m_sheet.Finish();
        return true;
    }

private:
    bool FindParts(std::string& workbook, std::string& sheet, std::string& shared, std::string& styles,
                   std::string& error)
    {
        workbook = "xl/workbook.xml";
        if (m_zip.Has("_rels/.rels")) {
            pugi::xml_document rels;
            if (!ParseSmall(m_zip, "_rels/.rels", rels, error))
                return false;
            for (pugi::xml_node r : rels.document_element().children())
                if (EndsWith(Attr(r, "Type").value(), "/officeDocument")) {
                    workbook = ResolveTarget("", Attr(r, "Target").value());
                    break;
                }
        }
        pugi::xml_document book;
        if (!ParseSmall(m_zip, workbook, book, error))
            return false;
        const pugi::xml_node root = book.document_element();
        const pugi::xml_node pr = Child(root, "workbookPr");
        const std::string_view d1904 = Attr(pr, "date1904").value();
        m_date1904 = d1904 == "1" || d1904 == "true";

        std::vector<std::pair<std::string, std::string>> relTargets; // id -> target
        const std::string relsPart = RelsPath(workbook);
        if (m_zip.Has(relsPart)) {
            pugi::xml_document rels;
            if (!ParseSmall(m_zip, relsPart, rels, error))
                return false;
            for (pugi::xml_node r : rels.document_element().children()) {
                const std::string type = Attr(r, "Type").value();
                const std::string target = ResolveTarget(workbook, Attr(r, "Target").value());
                if (EndsWith(type, "/sharedStrings"))
                    shared = target;
                else if (EndsWith(type, "/styles"))
                    styles = target;
                else if (EndsWith(type, "/worksheet"))
                    relTargets.emplace_back(Attr(r, "Id").value(), target);
            }
        }
        // The first worksheet in tab order (or the one asked for); chart sheets have no cells.
        for (pugi::xml_node s : Child(root, "sheets").children()) {
            if (s.type() != pugi::node_element)
                continue;
            if (!m_wanted.empty() && m_wanted != Attr(s, "name").value())
                continue;
            const std::string id = Attr(s, "id").value();
            auto it = std::find_if(relTargets.begin(), relTargets.end(), [&](auto& p) { return p.first == id; });
            if (it != relTargets.end()) {
                sheet = it->second;
                break;
            }
        }
        if (sheet.empty() && !m_wanted.empty()) {
            m_sheetMissing = true;
            error = "통합 문서에 다음 이름의 워크시트가 없습니다: " + m_wanted;
            return false;
        }
        if (sheet.empty()) {
            if (!relTargets.empty())
                sheet = relTargets.front().second;
            else if (m_zip.Has("xl/worksheets/sheet1.xml"))
                sheet = "xl/worksheets/sheet1.xml";
            else {
                error = "통합 문서에 워크시트가 없습니다";
                return false;
            }
        }
        if (shared.empty() && m_zip.Has("xl/sharedStrings.xml"))
            shared = "xl/sharedStrings.xml";
        if (styles.empty() && m_zip.Has("xl/styles.xml"))
            styles = "xl/styles.xml";
        return true;
    }

    bool ReadStyles(const std::string& part, std::string& error)
    {
        pugi::xml_document doc;
        if (!ParseSmall(m_zip, part, doc, error))
            return false;
        const pugi::xml_node root = doc.document_element();
        std::vector<std::pair<int, NumberKind>> custom;
        for (pugi::xml_node f : Child(root, "numFmts").children())
            if (f.type() == pugi::node_element)
                custom.emplace_back(Attr(f, "numFmtId").as_int(-1), CustomFormatKind(Attr(f, "formatCode").value()));
        for (pugi::xml_node xf : Child(root, "cellXfs").children()) {
            if (xf.type() != pugi::node_element)
                continue;
            const int id = Attr(xf, "numFmtId").as_int(0);
            NumberKind kind = BuiltinFormatKind(id);
            for (auto& [cid, ckind] : custom)
                if (cid == id)
                    kind = ckind;
            m_styles.push_back(kind);
        }
        return true;
    }

    bool ReadShared(const std::string& part, std::string& error)
    {
        std::string text;
        ItemStream items("sst", "si", [&](const pugi::xml_node& fragment, std::string& err) {
            for (pugi::xml_node si : fragment.children()) {
                if (si.type() != pugi::node_element || LocalName(si.name()) != "si")
                    continue;
                RichText(si, text);
                if (!m_sheet.AddSharedString(text, err))
                    return false;
            }
            return true;
        });
        return StreamItems(m_zip, part, items, error);
    }

    bool ReadSheet(const std::string& part, std::string& error)
    {
        uint32_t row = 0;
        bool anyRow = false;
        std::string text;
        ItemStream items("sheetData", "row", [&](const pugi::xml_node& fragment, std::string& err) {
            for (pugi::xml_node r : fragment.children()) {
                if (r.type() != pugi::node_element || LocalName(r.name()) != "row")
                    continue;
                const pugi::xml_attribute rr = Attr(r, "r");
                if (rr) {
                    const unsigned n = rr.as_uint(0);
                    if (n == 0 || n > kMaxRows) {
                        err = std::string("행 번호 ") + rr.value() + "이(가) 시트 범위를 벗어납니다";
                        return false;
                    }
                    row = n - 1;
                } else if (anyRow) {
                    ++row;
                }
                anyRow = true;
                uint32_t col = 0;
                bool anyCell = false;
                for (pugi::xml_node c : r.children()) {
                    if (c.type() != pugi::node_element || LocalName(c.name()) != "c")
                        continue;
                    const pugi::xml_attribute cr = Attr(c, "r");
                    if (cr) {
                        if (!ParseColumn(cr.value(), col)) {
                            err = std::string("셀 참조 \"") + cr.value() + "\"이(가) 올바르지 않습니다";
                            return false;
                        }
                    } else if (anyCell) {
                        ++col;
                    }
                    anyCell = true;
                    if (!Cell(c, row, col, text, err))
                        return false;
                }
            }
            return true;
        });
        return StreamItems(m_zip, part, items, error);
    }

    bool Cell(const pugi::xml_node& c, uint32_t row, uint32_t col, std::string& text, std::string& error)
    {
        const std::string_view type = Attr(c, "t").value();
        if (type == "inlineStr") {
            RichText(Child(c, "is"), text);
            return m_sheet.AddText(row, col, text, error);
        }
        const pugi::xml_node v = Child(c, "v");
        if (!v)
            return true;
        const std::string_view value = v.text().get();
        if (type == "s") {
            unsigned index = 0;
            const auto r = std::from_chars(value.data(), value.data() + value.size(), index);
            if (r.ec != std::errc() || r.ptr != value.data() + value.size()) {
                error = "공유 문자열 번호가 숫자가 아닙니다";
                return false;
            }
            return m_sheet.AddShared(row, col, index, error);
        }
        if (type == "str" || type == "e") {
            text.clear();
            AppendUnescaped(text, value);
            return m_sheet.AddText(row, col, text, error);
        }
        if (type == "b")
            return m_sheet.AddText(row, col, value == "1" || value == "true" ? "TRUE" : "FALSE", error);
        if (type == "d")
            return m_sheet.AddText(row, col, FormatIsoDate(value), error);
        // A number, shown as a date when its style's format is one.
        const unsigned style = Attr(c, "s").as_uint(0);
        const NumberKind kind = style < m_styles.size() ? m_styles[style] : NumberKind::Number;
        if (kind != NumberKind::Number) {
            double serial = 0;
            const auto r = std::from_chars(value.data(), value.data() + value.size(), serial);
            if (r.ec == std::errc() && FormatSerialDate(serial, kind, m_date1904, text))
                return m_sheet.AddText(row, col, text, error);
        }
        return m_sheet.AddText(row, col, FormatNumberText(value), error);
    }

    PartSource& m_zip;
    SheetData& m_sheet;
    std::string m_wanted;
    bool m_sheetMissing = false;
    std::vector<NumberKind> m_styles;
    bool m_date1904 = false;
};

} // namespace

bool ReadXlsxFile(const std::string& path, SheetData& sheet, std::string& error)
{
    ZipArchive zip;
    if (!zip.OpenFile(path, error))
        return false;
    XlsxReader reader(zip, sheet);
    if (reader.Read(error))
        return true;
    sheet.Clear();
    return false;
}

bool ReadXlsxSheet(const std::string& path, const std::string& sheetName, SheetData& sheet, std::string& error,
                   bool& sheetMissing)
{
    sheetMissing = false;
    ZipArchive zip;
    if (!zip.OpenFile(path, error))
        return false;
    XlsxReader reader(zip, sheet, sheetName);
    if (reader.Read(error))
        return true;
    sheetMissing = reader.SheetMissing();
    sheet.Clear();
    return false;
}

bool ReadXlsxMemory(const void* data, size_t size, SheetData& sheet, std::string& error)
{
    ZipArchive zip;
    if (!zip.OpenMemory(data, size, error))
        return false;
    XlsxReader reader(zip, sheet);
    if (reader.Read(error))
        return true;
    sheet.Clear();
    return false;
}

} // namespace excel

namespace excel {
bool ReadXlsxParts(const std::map<std::string, std::string>& parts, SheetData& sheet, std::string& error)
{
    MemoryParts source(parts);
    XlsxReader reader(source, sheet);
    if (reader.Read(error))
        return true;
    sheet.Clear();
    return false;
}
} // namespace excel
