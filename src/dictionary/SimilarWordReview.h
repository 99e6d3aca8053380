#pragma once
// Similar-word review: names of the analysis dictionary that look alike (one contains the
// other, or they differ by little), grouped under the first of each similar pair.
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

namespace HangulJamo {

// Initial, vowel and final as compatibility jamo (U+3131..U+3163). A syllable without a
// final has a space there; a lone jamo has its one component and two empty (0) slots.
struct Parts
{
    char16_t initial = 0;
    char16_t vowel = 0;
    char16_t final = 0;
};

// A precomposed syllable (U+AC00..U+D7A3) or a compatibility consonant or vowel.
bool IsHangul(char16_t c);
// False for anything that is not Hangul.
bool Decompose(char16_t c, Parts& parts);

// Cost of putting b where a stands, in thirds: 0 for the same character, 3 when either is
// not Hangul, else the number of differing jamo. Kept in thirds so that sums stay exact.
int CostThirds(char16_t a, char16_t b);
// The same as a fraction: 0, 1/3, 2/3 or 1.
inline double Cost(char16_t a, char16_t b)
{
    return CostThirds(a, b) / 3.0;
}

} // namespace HangulJamo

namespace SimilarWords {

enum class View {
    Logical = 0,  // logical names, positional jamo test
    Physical = 1, // physical names, weighted distance test
};

// Names of this length or shorter get no group of their own.
constexpr int ShortestWithoutGroup(View view)
{
    return view == View::Logical ? 1 : 2;
}

// Positional test: enough characters equal in place, and at least one pair of syllables
// that share part of their jamo.
bool PositionalSimilar(QStringView a, QStringView b);
// Weighted Levenshtein distance in thirds (insert/delete 3, substitute CostThirds).
int DistanceThirds(QStringView a, QStringView b);
inline double Distance(QStringView a, QStringView b)
{
    return DistanceThirds(a, b) / 3.0;
}
// Distance below a third of the longer length.
bool DistanceSimilar(QStringView a, QStringView b);
// B is similar to A: B occurs in A, or the view's test holds.
bool IsSimilar(View view, QStringView a, QStringView b);

struct Group
{
    QString name;
    QStringList similar; // ascending
    bool operator==(const Group&) const = default;
};

struct Result
{
    std::vector<Group> groups; // in name order; empty when a sink took them
    bool cancelled = false;
    bool refused = false; // the sink refused a group, and the run stopped there
};

// Takes each group as soon as it is complete, in name order, so a review whose groups would
// not fit in memory can still be written out; false stops the run.
using GroupSink = std::function<bool(Group&&)>;

// How a run reports progress: begin(steps), then per name canceling() and step(), then end().
// Only the calling thread calls these.
struct Progress
{
    std::function<void(int)> begin;
    std::function<bool()> canceling;
    std::function<void()> step;
    std::function<void()> end;
};
// The process's progress window ("Termwise Process").
Progress ProgressWindow();
// No reporting, no cancel.
Progress Quiet();

// The compared names of a view: the outer keys of that view's word index, ascending.
QStringList CollectNames(View view, const WordIndex& byPhysical, const WordIndex& byLogical);

// Groups of the view over ascending, distinct names. threads <= 0 uses every core.
// Cancel stops between names; the groups found before stay. With a sink the groups go to it
// instead of into the result, and the names worked on ahead of it are bounded.
Result ComputeGroups(View view, const QStringList& names, const Progress& progress, int threads = 0,
                     const GroupSink& sink = {});

// Column 1 text of a name: the partner names stored with it, joined by ", ".
QString PartnersText(View view, const QString& name, const WordIndex& byPhysical, const WordIndex& byLogical);

} // namespace SimilarWords

// The engine of the similar-word dialog: current view, the groups found and the rows shown.
class CSimilarWordReview
{
public:
    struct Row
    {
        int level = 1; // 1 parent, 2 similar name under it
        QString name;
        QString partners;
        bool operator==(const Row&) const = default;
    };

    explicit CSimilarWordReview(SimilarWords::View view = SimilarWords::View::Logical) : m_view(view) {}

    SimilarWords::View View() const { return m_view; }
    void SetView(SimilarWords::View view) { m_view = view; }
    QStringList Headers() const;

    // Computes the groups of the current view; false when the user cancelled (the rows
    // found until then are kept).
    bool Run(const WordIndex& byPhysical, const WordIndex& byLogical,
             const SimilarWords::Progress& progress = SimilarWords::ProgressWindow(), int threads = 0);

    const std::vector<CSimilarWordReview::Row>& Rows() const { return m_rows; }
    const std::vector<SimilarWords::Group>& Groups() const { return m_groups; }
    // Search box: column 0, failing that column 1.
    int FindNext(const QString& text, int currentRow, int* column = nullptr) const;

private:
    SimilarWords::View m_view;
    std::vector<SimilarWords::Group> m_groups;
    std::vector<Row> m_rows;
};
