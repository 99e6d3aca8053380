#include "dictionary/SimilarWordReview.h"

#include "components/QrProgressWnd.h"
#include "components/ReviewSearch.h"
#include "dictionary/DictionaryTexts.h"

#include <algorithm>

namespace HangulJamo {

namespace {
constexpr char16_t kFirstSyllable = 0xAC00;
constexpr char16_t kLastSyllable = 0xD7A3;
constexpr char16_t kFirstConsonant = 0x3131; // ㄱ
constexpr char16_t kLastConsonant = 0x314E;  // ㅎ
constexpr char16_t kLastVowel = 0x3163;      // ㅣ

// The syllable composition tables as compatibility jamo.
constexpr char16_t kInitials[19] = {u'ㄱ', u'ㄲ', u'ㄴ', u'ㄷ', u'ㄸ', u'ㄹ', u'ㅁ', u'ㅂ', u'ㅃ', u'ㅅ',
                                    u'ㅆ', u'ㅇ', u'ㅈ', u'ㅉ', u'ㅊ', u'ㅋ', u'ㅌ', u'ㅍ', u'ㅎ'};
constexpr char16_t kVowels[21] = {u'ㅏ', u'ㅐ', u'ㅑ', u'ㅒ', u'ㅓ', u'ㅔ', u'ㅕ', u'ㅖ', u'ㅗ', u'ㅘ', u'ㅙ',
                                  u'ㅚ', u'ㅛ', u'ㅜ', u'ㅝ', u'ㅞ', u'ㅟ', u'ㅠ', u'ㅡ', u'ㅢ', u'ㅣ'};
constexpr char16_t kFinals[28] = {u' ',  u'ㄱ', u'ㄲ', u'ㄳ', u'ㄴ', u'ㄵ', u'ㄶ', u'ㄷ', u'ㄹ', u'ㄺ',
                                  u'ㄻ', u'ㄼ', u'ㄽ', u'ㄾ', u'ㄿ', u'ㅀ', u'ㅁ', u'ㅂ', u'ㅄ', u'ㅅ',
                                  u'ㅆ', u'ㅇ', u'ㅈ', u'ㅊ', u'ㅋ', u'ㅌ', u'ㅍ', u'ㅎ'};
} // namespace

bool IsHangul(char16_t c)
{
    return (c >= kFirstSyllable && c <= kLastSyllable) || (c >= kFirstConsonant && c <= kLastVowel);
}

bool Decompose(char16_t c, Parts& parts)
{
    if (c >= kFirstSyllable && c <= kLastSyllable) {
        const int index = c - kFirstSyllable;
        parts = {kInitials[index / 588], kVowels[(index % 588) / 28], kFinals[index % 28]};
        return true;
    }
    // A lone consonant stands in the initial's place, a lone vowel in the vowel's.
    if (c >= kFirstConsonant && c <= kLastConsonant) {
        parts = {c, 0, 0};
        return true;
    }
    if (c > kLastConsonant && c <= kLastVowel) {
        parts = {0, c, 0};
        return true;
    }
    return false;
}

int CostThirds(char16_t a, char16_t b)
{
    if (a == b)
        return 0;
    Parts pa, pb;
    if (!Decompose(a, pa) || !Decompose(b, pb))
        return 3;
    return int(pa.initial != pb.initial) + int(pa.vowel != pb.vowel) + int(pa.final != pb.final);
}

} // namespace HangulJamo

namespace SimilarWords {

bool PositionalSimilar(QStringView a, QStringView b)
{
    const QStringView longer = a.size() >= b.size() ? a : b;
    const QStringView shorter = a.size() >= b.size() ? b : a;
    const qsizetype needed = 3 * longer.size() / 4;
    if (shorter.size() < needed)
        return false; // positions past the shorter name never count as equal
    qsizetype equal = 0;
    bool partial = false;
    for (qsizetype i = 0; i < shorter.size(); ++i) {
        const int cost = HangulJamo::CostThirds(longer[i].unicode(), shorter[i].unicode());
        if (cost == 0)
            ++equal;
        else if (cost < 3)
            partial = true;
    }
    return equal >= needed && partial;
}

int DistanceThirds(QStringView a, QStringView b)
{
    const QStringView rows = a.size() >= b.size() ? a : b;
    const QStringView cols = a.size() >= b.size() ? b : a;
    std::vector<int> previous(size_t(cols.size()) + 1), current(size_t(cols.size()) + 1);
    for (qsizetype j = 0; j <= cols.size(); ++j)
        previous[size_t(j)] = int(j) * 3;
    for (qsizetype i = 1; i <= rows.size(); ++i) {
        current[0] = int(i) * 3;
        for (qsizetype j = 1; j <= cols.size(); ++j) {
            const int substitute =
                previous[size_t(j - 1)] + HangulJamo::CostThirds(rows[i - 1].unicode(), cols[j - 1].unicode());
            current[size_t(j)] = std::min({previous[size_t(j)] + 3, current[size_t(j - 1)] + 3, substitute});
        }
        std::swap(previous, current);
    }
    return previous[size_t(cols.size())];
}

bool DistanceSimilar(QStringView a, QStringView b)
{
    // d < max / 3 with d in thirds: D / 3 < L / 3.
    return DistanceThirds(a, b) < std::max(a.size(), b.size());
}

bool IsSimilar(View view, QStringView a, QStringView b)
{
    if (a.contains(b))
        return true;
    return view == View::Logical ? PositionalSimilar(a, b) : DistanceSimilar(a, b);
}

Progress ProgressWindow()
{
    Progress progress;
    progress.begin = [](int steps) {
        CQrProgressWnd::Show(steps, DictionaryTexts::SimilarProgressTitle, DictionaryTexts::SimilarProgressText);
    };
    progress.canceling = [] { return CQrProgressWnd::IsCanceling(); };
    progress.step = [] { CQrProgressWnd::StepIt(); };
    progress.end = [] { CQrProgressWnd::Hide(); };
    return progress;
}

Progress Quiet()
{
    Progress progress;
    progress.begin = [](int) {};
    progress.canceling = [] { return false; };
    progress.step = [] {};
    progress.end = [] {};
    return progress;
}

QStringList CollectNames(View view, const WordIndex& byPhysical, const WordIndex& byLogical)
{
    const WordIndex& index = view == View::Logical ? byLogical : byPhysical;
    QStringList names;
    names.reserve(qsizetype(index.size()));
    for (const auto& [name, inner] : index)
        if (!name.isEmpty() && !inner.empty())
            names.append(name);
    return names; // std::map keeps them in ordinal order
}

QString PartnersText(View view, const QString& name, const WordIndex& byPhysical, const WordIndex& byLogical)
{
    const WordIndex& index = view == View::Logical ? byLogical : byPhysical;
    const auto found = index.find(name);
    if (found == index.end())
        return {};
    QStringList partners;
    for (const auto& entry : found->second)
        partners.append(entry.first);
    return partners.join(QStringLiteral(", "));
}

} // namespace SimilarWords

QStringList CSimilarWordReview::Headers() const
{
    using namespace DictionaryTexts;
    if (m_view == SimilarWords::View::Logical)
        return {HeaderLogicalName, HeaderPhysicalName};
    return {HeaderPhysicalName, HeaderLogicalName};
}

bool CSimilarWordReview::Run(const WordIndex& byPhysical, const WordIndex& byLogical,
                             const SimilarWords::Progress& progress, int threads)
{
    m_rows.clear();
    const QStringList names = SimilarWords::CollectNames(m_view, byPhysical, byLogical);
    SimilarWords::Result result = SimilarWords::ComputeGroups(m_view, names, progress, threads);
    m_groups = std::move(result.groups);
    for (const auto& group : m_groups) {
        m_rows.push_back({1, group.name, SimilarWords::PartnersText(m_view, group.name, byPhysical, byLogical)});
        for (const QString& similar : group.similar)
            m_rows.push_back({2, similar, SimilarWords::PartnersText(m_view, similar, byPhysical, byLogical)});
    }
    return !result.cancelled;
}

int CSimilarWordReview::FindNext(const QString& text, int currentRow, int* column) const
{
    const auto hit = FindNextRow(
        int(m_rows.size()),
        [this](int row, int col) { return col == 0 ? m_rows[size_t(row)].name : m_rows[size_t(row)].partners; }, {0, 1},
        text, currentRow);
    if (column)
        *column = hit.column;
    return hit.row;
}
