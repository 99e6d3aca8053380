#include "dictionary/SynonymReview.h"

#include "dictionary/DictionaryTexts.h"
#include "settings/AnalyzeSettings.h"

QStringList CWordSynonymReview::Headers(View view)
{
    using namespace DictionaryTexts;
    if (view == View::Logical)
        return {HeaderLogicalName, HeaderPhysicalOriginal, HeaderPhysicalName, HeaderPhysicalFullName,
                HeaderDefinition};
    return {HeaderPhysicalName, HeaderLogicalOriginal, HeaderLogicalName, HeaderPhysicalFullName, HeaderDefinition};
}

std::vector<CWordSynonymReview::Row> CWordSynonymReview::BuildRows(View view, const WordIndex& byPhysical,
                                                                   const WordIndex& byLogical)
{
    const WordIndex& index = view == View::Logical ? byLogical : byPhysical;
    std::vector<Row> rows;
    int group = 0;
    for (const auto& [key, words] : index) {
        if (words.size() < 2)
            continue;
        for (const auto& [name, word] : words)
            rows.push_back({key, name, name, word.strPhyFullName, word.strDescription, group});
        ++group;
    }
    return rows;
}

std::vector<CWordSynonymReview::Row> CWordSynonymReview::BuildRows(View view, const CAnalyzeSettings& settings)
{
    return BuildRows(view, settings.m_mapWordsByPhysical, settings.m_mapWordsByLogical);
}

QString CWordSynonymReview::CellText(const Row& row, int column)
{
    switch (column) {
    case ColGroupKey:
        return row.groupKey;
    case ColLoadedName:
        return row.loadedName;
    case ColName:
        return row.name;
    case ColFullName:
        return row.fullName;
    case ColDefinition:
        return row.definition;
    default:
        return {};
    }
}

bool CWordSynonymReview::IsEditable(View view, int column)
{
    if (view == View::Logical)
        return column == ColName || column == ColFullName || column == ColDefinition;
    return column == ColName;
}

quint32 CWordSynonymReview::CellColour(View view, const Row& row, int column)
{
    if (view == View::Logical || column == ColName)
        return DictionaryColours::GroupColour(row.group);
    return DictionaryColours::White;
}

int CWordSynonymReview::ApplyEdits(View view, const std::vector<Row>& editedRows, CAnalyzeSettings& settings)
{
    struct Move
    {
        _stAnalyzeManageWord word;
        QString physical;
        QString logical;
    };
    std::vector<Move> moves;
    moves.reserve(editedRows.size());
    // Take every loaded word out first: storing row by row would let an earlier rename
    // overwrite a word that a later row still has to move (a swap would lose one word).
    for (const Row& row : editedRows) {
        const QString loadedPhysical = view == View::Logical ? row.loadedName : row.groupKey;
        const QString loadedLogical = view == View::Logical ? row.groupKey : row.loadedName;
        Move move;
        if (!settings.GetWord(loadedPhysical, loadedLogical, move.word))
            move.word = _stAnalyzeManageWord();
        settings.RemoveWord(loadedPhysical, loadedLogical);
        move.word.strPhyFullName = row.fullName;
        move.word.strDescription = row.definition;
        move.physical = view == View::Logical ? row.name : row.groupKey;
        move.logical = view == View::Logical ? row.groupKey : row.name;
        moves.push_back(std::move(move));
    }
    int stored = 0;
    for (const Move& move : moves) {
        if (move.physical.isEmpty() || move.logical.isEmpty())
            continue; // an incomplete pair means the word goes
        settings.AddWord(move.physical, move.logical, move.word);
        ++stored;
    }
    return stored;
}

ReviewSearchHit CWordSynonymReview::FindNext(const std::vector<Row>& rows, const QString& text, int currentRow)
{
    return FindNextRow(
        int(rows.size()), [&rows](int row, int column) { return CellText(rows[size_t(row)], column); },
        {ColGroupKey, ColName}, text, currentRow);
}
