#pragma once
// The similar-word procedure done the plain way, pair by pair over ordered sets with a set
// of decided pairs and a full distance table of doubles. The engine must give the same groups.
#include "dictionary/SimilarWordReview.h"

#include <QStringList>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace LiteralSimilar {

inline double Cost(QChar a, QChar b)
{
    if (a == b)
        return 0.0;
    HangulJamo::Parts pa, pb;
    if (!HangulJamo::Decompose(a.unicode(), pa) || !HangulJamo::Decompose(b.unicode(), pb))
        return 1.0;
    const double e1 = pa.initial == pb.initial ? 0.0 : 1.0;
    const double e2 = pa.vowel == pb.vowel ? 0.0 : 1.0;
    const double e3 = pa.final == pb.final ? 0.0 : 1.0;
    return (e1 + e2 + e3) / 3.0;
}

inline double Distance(const QString& a, const QString& b)
{
    const QString& row = a.size() >= b.size() ? a : b;
    const QString& col = a.size() >= b.size() ? b : a;
    const size_t width = size_t(col.size()) + 1;
    std::vector<double> table((size_t(row.size()) + 1) * width);
    auto cell = [&](qsizetype i, qsizetype j) -> double& { return table[size_t(i) * width + size_t(j)]; };
    for (qsizetype j = 0; j <= col.size(); ++j)
        cell(0, j) = double(j);
    for (qsizetype i = 1; i <= row.size(); ++i) {
        cell(i, 0) = double(i);
        for (qsizetype j = 1; j <= col.size(); ++j)
            cell(i, j) = std::min(
                {cell(i - 1, j) + 1.0, cell(i, j - 1) + 1.0, cell(i - 1, j - 1) + Cost(row[i - 1], col[j - 1])});
    }
    return cell(row.size(), col.size());
}

inline bool Positional(const QString& a, const QString& b)
{
    const QString& longer = a.size() >= b.size() ? a : b;
    const QString& shorter = a.size() >= b.size() ? b : a;
    const qsizetype length = longer.size();
    std::vector<double> costs(size_t(length), 1.0);
    for (qsizetype i = 0; i < length; ++i)
        if (i < shorter.size())
            costs[size_t(i)] = Cost(longer[i], shorter[i]);
    int equal = 0;
    bool partial = false;
    for (double cost : costs) {
        if (cost == 0.0)
            ++equal;
        if (cost > 0.0 && cost < 1.0)
            partial = true;
    }
    return equal >= int(3 * length / 4) && partial;
}

// d < max length / 3. Sums of thirds in doubles land a hair off (1 + 2/3 + 1/3 gives
// 1.9999999999999998), which would list pairs lying exactly at the limit; compare with a
// margin far below a third so that only the exact value decides.
inline bool DistanceBelowThird(const QString& a, const QString& b)
{
    return Distance(a, b) < std::max(a.size(), b.size()) / 3.0 - 1e-9;
}

// canceling is asked before each name, as the progress window is.
template <typename Cancel>
std::vector<SimilarWords::Group> Groups(SimilarWords::View view, const QStringList& names, Cancel canceling)
{
    const std::set<QString> outer(names.begin(), names.end());
    const std::set<QString> inner(names.begin(), names.end());
    std::set<std::pair<QString, QString>> decided;
    const int shortest = view == SimilarWords::View::Logical ? 1 : 2;
    std::vector<SimilarWords::Group> groups;
    int step = 0;
    for (const QString& a : outer) {
        if (canceling(step))
            break;
        ++step;
        if (a.size() <= shortest)
            continue;
        std::set<QString> similar;
        for (const QString& b : inner) {
            if (b == a || decided.count({a, b}))
                continue;
            bool isSimilar = a.contains(b);
            if (!isSimilar) {
                if (view == SimilarWords::View::Logical)
                    isSimilar = Positional(a, b);
                else
                    isSimilar = DistanceBelowThird(a, b);
            }
            if (isSimilar) {
                similar.insert(b);
                decided.insert({a, b});
                decided.insert({b, a});
            }
        }
        if (!similar.empty())
            groups.push_back({a, QStringList(similar.begin(), similar.end())});
    }
    return groups;
}

inline std::vector<SimilarWords::Group> Groups(SimilarWords::View view, const QStringList& names)
{
    return Groups(view, names, [](int) { return false; });
}

} // namespace LiteralSimilar
