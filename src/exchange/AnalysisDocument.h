#pragma once
// Analysis documents (.ztsl, .ztsp, .ztsd, .ztst): the aggregated input entries of a form as
// JSON, saved after an analysis and read back as the input of a new one.
#include "analysis/DomainAnalysis.h"
#include "analysis/TermAnalysis.h"
#include "analysis/WordAnalysis.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class CJsonTextWriter;

namespace AnalysisDocument {

enum class Kind { Logical, Physical, Domain, Term };

Kind KindOf(const WordAnalysis& analysis);
QString Extension(Kind kind);  // "ztsl", "ztsp", "ztsd", "ztst"
QString RootMember(Kind kind); // "logical_word_analyze", ...
QString WrongKindMessage(Kind kind);
QString SaveFilter(Kind kind); // "Word Analyzed Files(*.ztsl)|*.ztsl|", ...
QString OpenFilter(Kind kind); // "Document Files(*.xlsx,*.xls,*.ztsl)|*.xlsx;*.xls;*.ztsl|", ...
// Whether the path names a document of the kind (the extension, ignoring case).
bool IsDocumentPath(Kind kind, const QString& path);

struct Outcome
{
    bool ok = true;
    QString message; // the text to show when not ok
};

// Document text of the form's result entries, in key order; term entries in the targets'
// reading order, with a domain picked by hand as the optional members "DomainId" and
// "DomainName".
QByteArray ToBytes(const WordAnalysis& analysis);
QByteArray ToBytes(const DomainAnalysis& analysis);
QByteArray ToBytes(const CTermAnalysis& analysis);
// Writes whole or not at all; the reason in error.
bool WriteFile(const QByteArray& bytes, const QString& path, QString* error = nullptr);
// The same document written as it is made, never whole in memory; whole or not at all.
bool Save(const WordAnalysis& analysis, const QString& path, QString* error = nullptr);
bool Save(const DomainAnalysis& analysis, const QString& path, QString* error = nullptr);
bool Save(const CTermAnalysis& analysis, const QString& path, QString* error = nullptr);
// The document onto a writer (ToBytes and Save both use these).
void Write(CJsonTextWriter& writer, const WordAnalysis& analysis);
void Write(CJsonTextWriter& writer, const DomainAnalysis& analysis);
void Write(CJsonTextWriter& writer, const CTermAnalysis& analysis);

// Parsing into fresh maps: on failure the message is the parser's error text or the
// wrong-kind message. Later entries of the same key overwrite the texts and the count of
// earlier ones; their map members are added, a text already present keeping its count.
Outcome Parse(const QByteArray& bytes, Kind kind, WordInputMap& entries);
Outcome Parse(const QByteArray& bytes, DomainInputMap& entries);
Outcome Parse(const QByteArray& bytes, std::vector<TermAnalysisTarget>& entries, QString& areaId);
// The same through a whole QJsonDocument tree: Parse leaves to it what its one-pass reader
// does not take (errors among them); tests and the fuzzer hold both to the same readings.
Outcome ParseDom(const QByteArray& bytes, Kind kind, WordInputMap& entries);
Outcome ParseDom(const QByteArray& bytes, DomainInputMap& entries);
Outcome ParseDom(const QByteArray& bytes, std::vector<TermAnalysisTarget>& entries, QString& areaId);

// Resolves a standard area identifier for the term form: true when the repository is
// connected, knows the area and the form's selector lists it (the form then selects it).
using AreaResolver = std::function<bool(const QString& areaId)>;

// The form's open of a document: designations reset, then on success the input entries
// are replaced; the caller then runs Analyze() (not Run(), which would rebuild the entries
// from the sheet). On failure the input and result entries are untouched.
Outcome Read(WordAnalysis& analysis, const QString& path);
Outcome Read(DomainAnalysis& analysis, const QString& path);
// Without a resolver (no repository connected) every term document is refused.
Outcome Read(CTermAnalysis& analysis, const QString& path, const AreaResolver& resolve);

} // namespace AnalysisDocument
