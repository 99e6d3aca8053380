#pragma once
// What the word analysis report works on and decides, without widgets: the missing words by
// descending count, the names behind each, the names the user completes, what is stored into
// the dictionary and what the export writes.
#include <QString>
#include <QStringList>
#include <map>
#include <utility>
#include <vector>

class CAnalyzeSettings;
class TextCounts;
class WordAnalysis;

namespace GlobalFunc {
// Entries in key order, each "text" or "text (n)" when its count is above 1, joined with ", ".
QString GetListDatas(const std::map<QString, int>& entries);
QString GetListDatas(const TextCounts& entries);
} // namespace GlobalFunc

struct WordReportTarget
{
    QString name;
    int count = 0;
    QStringList sources; // names as read
    // Rows read per source name, when the analysis still holds the sheet it was read from.
    std::map<QString, int> sourceRows;
    std::map<QString, int> references;
    std::map<QString, int> definitions;
};

struct WordReportInput
{
    int mode = 0;          // 0: the missing words are logical words, 1: physical names
    int analyzedCount = 0; // words in the analysis
    int foundCount = 0;    // words the dictionary knew
    std::map<QString, int> missing;
    std::map<QString, std::vector<WordReportTarget>> targets;

    // Everything the form's last analysis missed.
    static WordReportInput FromAnalysis(const WordAnalysis& analysis);
    // The unknown words of one target (the word menu), each with count 1.
    static WordReportInput ForTarget(WordAnalysis& analysis, const QString& key);
};

class CWordReport
{
public:
    enum Column { ColWord = 0, ColCount, ColPhysical, ColLogical, ColFullName, ColDefinition, ColumnCount };
    struct Row
    {
        QString word;
        int count = 0;
        QString physical;
        QString logical;
        QString fullName;
        QString definition;
        bool excluded = false;
    };

    explicit CWordReport(WordReportInput input);

    int Mode() const { return m_input.mode; }
    int AnalyzedCount() const { return m_input.analyzedCount; }
    int FoundCount() const { return m_input.foundCount; }
    int MissingBar() const { return m_input.analyzedCount - m_input.foundCount; }

    const std::vector<Row>& Rows() const { return m_rows; }
    Row& RowAt(int row) { return m_rows[size_t(row)]; }
    QStringList RowTexts(int row) const;

    // An edit of a name cell; true when it is the column the user completes for this mode.
    bool SetName(int row, int column, const QString& text);
    // Old word -> new text for rows whose own name was changed (mode 0: the logical name,
    // mode 1: the physical name).
    std::vector<std::pair<QString, QString>> WordChanges() const;

    std::vector<QStringList> Details(int row) const;

    // Adds the rows' words to the excluded words (the dictionary refuses its own logical
    // words) and empties their names.
    void Exclude(const std::vector<int>& rows, CAnalyzeSettings& settings);
    // Stores every row with both names into the dictionary and saves it. Returns the words
    // stored; *saved tells whether the settings file was written.
    int Store(CAnalyzeSettings& settings, bool* saved = nullptr) const;
    // Why Store passes over a row the user began to fill, in row order; rows still as the
    // report filled them are only counted.
    QStringList SkippedRows(const CAnalyzeSettings& settings, int* untouched = nullptr) const;

    std::vector<QStringList> ExportRows() const; // header first

private:
    WordReportInput m_input;
    std::vector<Row> m_rows;
};
