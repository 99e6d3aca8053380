#include "registration/RegisterCommand.h"

#include "components/FieldCheck.h"
#include "components/PathGuard.h"
#include "components/QrDatatype.h"
#include "components/QrExcelSheet.h"
#include "components/Redact.h"
#include "registration/StandardCheck.h"
#include "registration/StandardRegistration.h"
#include "repository/ColumnLimits.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositorySql.h"
#include "settings/AnalyzeSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace RegisterCommand {

namespace {

const char* const kUsage = "usage: termwise register words|domains --repo URI --area ID --input FILE [--dry-run]";

// RFC 4180: quoted fields may hold separators, quotes ("") and line breaks.
std::vector<QStringList> ParseCsv(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == u',') {
            row << field;
            field.clear();
            any = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            row << field;
            rows.push_back(row);
            row.clear();
            field.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.isEmpty()) {
        row << field;
        rows.push_back(row);
    }
    return rows;
}

// "단어 논리명 (필수)" and "단어 논리명" name the same column.
QString HeaderName(QString text)
{
    text = text.trimmed();
    if (text.endsWith(QStringLiteral("(필수)")))
        text.chop(4);
    return text.trimmed();
}

struct Columns
{
    std::map<QString, int> index;
    int Of(const QString& name) const { return index.count(name) ? index.at(name) : -1; }
};

bool FindColumns(const QString& path, const QStringList& header, const QStringList& required, Columns& cols,
                 QString& error)
{
    for (int c = 0; c < header.size(); ++c)
        cols.index.emplace(HeaderName(header[c]), c);
    for (const QString& name : required) {
        if (cols.Of(name) < 0) {
            error = QStringLiteral("%1: 머리글 행에 \"%2\" 컬럼이 없습니다").arg(path, name);
            return false;
        }
    }
    return true;
}

QString CellOf(const QStringList& row, int col)
{
    return col >= 0 && col < row.size() ? row[col].trimmed() : QString();
}

bool IsBlank(const QStringList& row)
{
    for (const QString& cell : row)
        if (!cell.trimmed().isEmpty())
            return false;
    return true;
}

bool IsCount(const QString& text)
{
    bool ok = false;
    return text.isEmpty() || (text.toInt(&ok) >= 0 && ok);
}

const QString kLogical = QStringLiteral("단어 논리명");
const QString kPhysical = QStringLiteral("단어 물리명");
const QString kFullName = QStringLiteral("단어 물리전체명");
const QString kDefinition = QStringLiteral("정의");
const QString kKey = QStringLiteral("키도메인명");
const QString kName = QStringLiteral("도메인명");
const QString kType = QStringLiteral("데이터타입");
const QString kLength = QStringLiteral("길이");
const QString kScale = QStringLiteral("스케일");

} // namespace

bool Parse(const QStringList& args, Options& options, QString& error)
{
    options = Options();
    bool haveKind = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--repo") || arg == QLatin1String("--area") || arg == QLatin1String("--input")) {
            if (i + 1 >= args.size()) {
                error = arg + QStringLiteral(" 다음에 값이 필요합니다");
                return false;
            }
            QString& target = arg == QLatin1String("--repo")   ? options.repo
                              : arg == QLatin1String("--area") ? options.area
                                                               : options.input;
            target = args[++i];
        } else if (arg == QLatin1String("--dry-run")) {
            options.dryRun = true;
        } else if (!haveKind && (arg == QLatin1String("words") || arg == QLatin1String("domains"))) {
            options.domains = arg == QLatin1String("domains");
            haveKind = true;
        } else {
            error = QStringLiteral("알 수 없는 인수입니다: \"%1\"").arg(RedactUri(arg));
            return false;
        }
    }
    if (!haveKind)
        error = QStringLiteral("words와 domains 중 하나를 주십시오");
    else if (options.repo.isEmpty() || options.area.isEmpty() || options.input.isEmpty())
        error = QStringLiteral("--repo, --area, --input이 모두 필요합니다");
    else
        error =
            PathGuard::Clash({{QStringLiteral("--input"), options.input}}, {{QStringLiteral("--repo"), options.repo}});
    return error.isEmpty();
}

bool ReadTable(const QString& path, std::vector<QStringList>& rows, QString& error)
{
    rows.clear();
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("%1 파일을 읽을 수 없습니다: %2").arg(path, file.errorString());
            return false;
        }
        auto decode = QStringDecoder(QStringDecoder::Utf8);
        const QString text = decode(file.readAll());
        if (decode.hasError()) {
            error = QStringLiteral("%1 파일이 UTF-8 텍스트가 아닙니다").arg(path);
            return false;
        }
        rows = ParseCsv(text);
        return true;
    }
    CQrExcelSheet sheet;
    if (!sheet.OpenFile(path, false)) {
        error = QStringLiteral("%1 파일을 읽을 수 없습니다: %2").arg(path, sheet.GetLastError());
        return false;
    }
    for (int r = 0; r < sheet.GetRowCount(); ++r) {
        QStringList cells;
        sheet.GetRowData(cells, r);
        rows.push_back(cells);
    }
    return true;
}

namespace {

// The bad rows of one file, as many as are worth reading, then how many more.
class RowProblems
{
public:
    explicit RowProblems(const QString& path) : m_path(path) {}
    void Add(size_t row, const QString& text)
    {
        if (++m_count <= kShown)
            m_lines << QStringLiteral("%1 %2행: %3").arg(m_path).arg(row + 1).arg(text);
    }
    // A field: empty cells pass (the required ones are checked apart).
    void Check(size_t row, const QString& header, const CColumnLimits* limits, const QString& table,
               const QString& column, const QString& value, FieldCheck::Lines lines = FieldCheck::Lines::One)
    {
        const FieldCheck::Limit limit = limits ? limits->Of(table, column) : FieldCheck::Limit{};
        const QString problem = FieldCheck::Problem(value, limit, lines);
        if (!problem.isEmpty())
            Add(row, QStringLiteral("%1 (%2): %3").arg(header, column, problem));
    }
    bool Empty() const { return m_count == 0; }
    QString Text() const
    {
        QStringList lines = m_lines;
        if (m_count > kShown)
            lines << QStringLiteral("... 잘못된 행 %1개 더").arg(m_count - kShown);
        lines << QStringLiteral("%1: 파일을 받아들이지 않아 아무것도 등록하지 않았습니다").arg(m_path);
        return lines.join(u'\n');
    }

private:
    static constexpr int kShown = 20;
    QString m_path;
    QStringList m_lines;
    int m_count = 0;
};

} // namespace

bool ReadWords(const QString& path, const std::vector<QStringList>& rows, WordIndex& words, QString& error,
               const CColumnLimits* limits)
{
    if (rows.empty()) {
        error = QStringLiteral("%1: 머리글 행이 없습니다").arg(path);
        return false;
    }
    Columns cols;
    if (!FindColumns(path, rows.front(), {kLogical, kPhysical}, cols, error))
        return false;
    const QString dic = QStringLiteral("STD_DIC");
    RowProblems problems(path);
    for (size_t r = 1; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        if (IsBlank(row))
            continue;
        _stAnalyzeManageWord word;
        word.strLogicalName = CellOf(row, cols.Of(kLogical));
        word.strPhysicalName = CellOf(row, cols.Of(kPhysical));
        word.strPhyFullName = CellOf(row, cols.Of(kFullName));
        word.strDescription = CellOf(row, cols.Of(kDefinition));
        for (const auto& [name, value] : std::initializer_list<std::pair<QString, QString>>{
                 {kLogical, word.strLogicalName}, {kPhysical, word.strPhysicalName}}) {
            if (value.isEmpty())
                problems.Add(r, QStringLiteral("%1이(가) 비어 있습니다").arg(name));
        }
        // An empty full name or definition takes a name's place, which fits the wider column.
        problems.Check(r, kLogical, limits, dic, QStringLiteral("DIC_LOG_NM"), word.strLogicalName);
        problems.Check(r, kPhysical, limits, dic, QStringLiteral("DIC_PHY_NM"), word.strPhysicalName);
        problems.Check(r, kFullName, limits, dic, QStringLiteral("DIC_PHY_FLL_NM"), word.strPhyFullName);
        problems.Check(r, kDefinition, limits, dic, QStringLiteral("DIC_DESC"), word.strDescription,
                       FieldCheck::Lines::Many);
        if (problems.Empty())
            words[word.strPhysicalName][word.strLogicalName] = word;
    }
    if (!problems.Empty()) {
        words.clear();
        error = problems.Text();
        return false;
    }
    return true;
}

bool ReadDomains(const QString& path, const std::vector<QStringList>& rows, DomainIndex& domains, QString& error,
                 const CColumnLimits* limits)
{
    if (rows.empty()) {
        error = QStringLiteral("%1: 머리글 행이 없습니다").arg(path);
        return false;
    }
    Columns cols;
    if (!FindColumns(path, rows.front(), {kKey, kName, kType}, cols, error))
        return false;
    std::vector<tagLogicalDatatype> types;
    QrDatatype::GetLogicalDatatypes(types);
    const QString dom = QStringLiteral("STD_DOM");
    RowProblems problems(path);
    for (size_t r = 1; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        if (IsBlank(row))
            continue;
        _stAnalyzeManageDomain domain;
        domain.strKeyDomainName = CellOf(row, cols.Of(kKey));
        domain.strDomainName = CellOf(row, cols.Of(kName));
        domain.strDataType = CellOf(row, cols.Of(kType));
        domain.strLength = CellOf(row, cols.Of(kLength));
        domain.strScale = CellOf(row, cols.Of(kScale));
        bool empty = false;
        for (const auto& [name, value] : std::initializer_list<std::pair<QString, QString>>{
                 {kKey, domain.strKeyDomainName}, {kName, domain.strDomainName}, {kType, domain.strDataType}}) {
            if (value.isEmpty()) {
                problems.Add(r, name + QStringLiteral("이(가) 비어 있습니다"));
                empty = true;
            }
        }
        const bool known = std::any_of(types.begin(), types.end(),
                                       [&](const tagLogicalDatatype& t) { return t.name == domain.strDataType; });
        if (!empty && !known)
            problems.Add(r, QStringLiteral("알 수 없는 데이터타입 \"%1\"입니다").arg(domain.strDataType));
        if (!IsCount(domain.strLength) || !IsCount(domain.strScale))
            problems.Add(r, QStringLiteral("길이와 스케일은 0 이상의 정수여야 합니다"));
        problems.Check(r, kKey, limits, dom, QStringLiteral("KEY_DOM_NM"), domain.strKeyDomainName);
        problems.Check(r, kName, limits, dom, QStringLiteral("DOM_NM"), domain.strDomainName);
        problems.Check(r, kLength, limits, dom, QStringLiteral("DATA_LEN"), domain.strLength);
        problems.Check(r, kScale, limits, dom, QStringLiteral("DATA_SCALE"), domain.strScale);
        if (problems.Empty())
            domains[domain.strKeyDomainName][domain.strDomainName] = domain;
    }
    if (!problems.Empty()) {
        domains.clear();
        error = problems.Text();
        return false;
    }
    return true;
}

int Run(const Options& options, QTextStream& out, QTextStream& err)
{
    std::vector<QStringList> table;
    QString error;
    WordIndex words;
    DomainIndex domains;
    // The bundled schema's lengths before connecting (a bad file needs no server to be refused),
    // the repository's own once connected.
    const CColumnLimits bundled = CColumnLimits::Bundled(GlobalEnum::DBMS_SQLITE);
    if (!ReadTable(options.input, table, error) ||
        !(options.domains ? ReadDomains(options.input, table, domains, error, &bundled)
                          : ReadWords(options.input, table, words, error, &bundled))) {
        err << "termwise register: " << error << "\n";
        return 1;
    }
    CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    settings.Load();
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    if (!connection.Open(options.repo, &error)) {
        err << "termwise register: " << error << "\n";
        return 1;
    }
    struct Guard
    {
        ~Guard() { CRepositoryConnection::Instance().OnRepositoryDisconnected(); }
    } guard;
    connection.OnRepositoryConnected();
    CSqlBaseGate* gate = connection.OpenGate();
    QString areaName;
    if (!gate || !gate->SelectStandardAreaName(options.area, areaName) || areaName.isEmpty()) {
        err << "termwise register: 저장소에 표준 분류체계 \"" << options.area << "\"이(가) 없습니다\n";
        return 1;
    }
    // Now the lengths of this repository's columns are known: a value that does not fit
    // refuses the file before anything is written.
    const CColumnLimits limits = CColumnLimits::Read(*connection.Database());
    if (!(options.domains ? ReadDomains(options.input, table, domains, error, &limits)
                          : ReadWords(options.input, table, words, error, &limits))) {
        err << "termwise register: " << error << "\n";
        return 1;
    }

    int registrable = 0;
    if (options.domains) {
        std::vector<StandardDomainRow> rows = StandardCheck::DomainRows(domains);
        StandardCheck::CheckDomains(rows, options.area, gate, settings.domain_use_words != 0);
        for (const StandardDomainRow& r : rows) {
            out << r.image << '\t' << r.key << '\t' << r.name << '\t' << r.domain.strDataType << '\t'
                << r.domain.strLength << '\t' << r.domain.strScale << '\t' << r.note << '\n';
            registrable += r.image == StandardCheck::kRegistrable ? 1 : 0;
        }
        domains = StandardCheck::RegistrableDomains(rows, settings.domain_use_words != 0);
    } else {
        std::vector<StandardWordRow> rows = StandardCheck::WordRows(words);
        StandardCheck::CheckWords(rows, options.area, gate, settings.accept_synonym_words != 0);
        for (const StandardWordRow& r : rows) {
            out << r.image << '\t' << r.logical << '\t' << r.physical << '\t' << r.note << '\n';
            registrable += r.image == StandardCheck::kRegistrable ? 1 : 0;
        }
        words = StandardCheck::RegistrableWords(rows);
    }
    const char* kind = options.domains ? "domains" : "words";
    if (options.dryRun) {
        out << registrable << ' ' << kind << " to register in " << areaName << " (dry run: nothing written)\n";
        return 0;
    }
    const auto web = options.domains ? StandardRegistration::Kind::Domain : StandardRegistration::Kind::Word;
    if (!StandardRegistration::WebRouteAddress(web).isEmpty()) {
        err << "termwise register: 이 저장소는 " << (options.domains ? "도메인을" : "단어를")
            << " 제안 웹 페이지로 받으므로 창에서 사람이 등록해야 합니다. 아무것도 쓰지 않았습니다\n";
        return 1;
    }
    if (registrable == 0) {
        out << "nothing to register\n";
        return 0;
    }
    // The count is what the one transaction committed: all the rows or none, less those another
    // registration stored first.
    const bool ok = options.domains ? GlobalFunc::InsertStandardDomain(options.area, domains)
                                    : GlobalFunc::InsertStandardWord(options.area, words);
    const int written = ok ? gate->LastWrittenCount() : 0;
    out.flush();
    if (!ok) {
        err << "termwise register: 저장소가 " << (options.domains ? "도메인을" : "단어를")
            << " 받지 않았습니다(위 참조). " << areaName << "에 " << registrable << "개 중 " << written
            << "개를 등록했습니다 (모두 되돌렸습니다)\n";
        return 1;
    }
    out << written << ' ' << kind << " registered in " << areaName << "\n";
    return 0;
}

} // namespace RegisterCommand

int RunRegisterCommand(const QStringList& args)
{
    QTextStream out(stdout), err(stderr);
    RegisterCommand::Options options;
    QString error;
    if (!RegisterCommand::Parse(args, options, error)) {
        err << "termwise register: " << error << "\n" << RegisterCommand::kUsage << "\n";
        return 2;
    }
    return RegisterCommand::Run(options, out, err);
}
