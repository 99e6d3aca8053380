#pragma once
// Synonym review: logical names stored with several physical names (or the reverse), listed
// in groups so that the user can unify them by renaming in place.
#include "components/ReviewSearch.h"
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <QStringList>
#include <vector>

class CAnalyzeSettings;

class CWordSynonymReview
{
public:
    enum class View {
        Logical = 0,  // groups by logical name; rows are its physical names
        Physical = 1, // groups by physical name; rows are its logical names
    };

    enum Column {
        ColGroupKey = 0,
        ColLoadedName = 1, // hidden: the name as loaded, to find the word again on save
        ColName = 2,
        ColFullName = 3,
        ColDefinition = 4,
        ColumnCount = 5,
    };

    struct Row
    {
        QString groupKey;
        QString loadedName;
        QString name;
        QString fullName;
        QString definition;
        int group = 0; // index of the shown group: colour and merged key cells
        bool operator==(const Row&) const = default;
    };

    static QStringList Headers(View view);
    // Groups of more than one word, in key order; one row per word in inner key order.
    static std::vector<Row> BuildRows(View view, const WordIndex& byPhysical, const WordIndex& byLogical);
    static std::vector<Row> BuildRows(View view, const CAnalyzeSettings& settings);

    static QString CellText(const Row& row, int column);
    static bool IsEditable(View view, int column);
    // Background of a cell (0x00BBGGRR): the group colour on the whole row by logical name,
    // on the editable name only by physical name.
    static quint32 CellColour(View view, const Row& row, int column);

    // Writes the edited rows back: each word is taken from its loaded pair and stored under
    // the pair the row now names, with the row's full name and definition; a row whose new
    // name is empty removes its word. All loaded words are taken out before any is stored,
    // so renames that swap or chain names lose nothing; when two rows land on one pair the
    // later row wins. Does not write the settings file. Returns the number of words stored.
    static int ApplyEdits(View view, const std::vector<Row>& editedRows, CAnalyzeSettings& settings);

    // Search box: column 0, failing that column 2.
    static ReviewSearchHit FindNext(const std::vector<Row>& rows, const QString& text, int currentRow);
};
