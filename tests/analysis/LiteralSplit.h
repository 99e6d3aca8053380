#pragma once
// The word split written the plain way, one dictionary lookup per suffix length, as the
// reference the indexed splitter must match (tests and bench/split.cpp).
#include "settings/AnalyzeRecords.h"
#include "settings/AnalyzeSettings.h"

#include <QStringList>
#include <algorithm>
#include <functional>

namespace literal {

struct Splitter
{
    const CAnalyzeSettings& settings;
    std::function<QStringList(const QString&)> fallback;
    QString pending; // unmatched characters across the recursion

    QString Lookup(const QString& word, bool physical) const
    {
        QString partner;
        const bool found =
            physical ? settings.GetFirstLogicalName(word, partner) : settings.GetFirstPhysicalName(word, partner);
        return found ? partner : kUnknownPartner;
    }

    // Appends the pairs of `name` right to left.
    void Recurse(const QString& name, bool physical, WordPairList& out)
    {
        if (name.isEmpty()) {
            if (!pending.isEmpty())
                out.push_back({pending, kUnknownPartner});
            return;
        }
        int best = 0;
        QString bestPartner;
        for (int k = physical ? 2 : 1; k <= name.size(); ++k) {
            const QString suffix = name.right(k);
            QString partner;
            const bool found = physical ? settings.GetFirstLogicalName(suffix, partner)
                                        : settings.GetFirstPhysicalName(suffix, partner);
            if (found) {
                best = k;
                bestPartner = partner;
            }
        }
        if (best > 0) {
            if (!pending.isEmpty()) {
                out.push_back({pending, kUnknownPartner});
                pending.clear();
            }
            out.push_back({name.right(best), bestPartner});
            Recurse(name.left(name.size() - best), physical, out);
        } else {
            pending.prepend(name.back());
            Recurse(name.left(name.size() - 1), physical, out);
        }
    }

    bool MergePairs(WordPairList& pairs, bool physical) const
    {
        if (pairs.size() < 2)
            return false;
        WordPairList out;
        QString acc;
        bool changed = false;
        for (const WordPair& p : pairs) {
            if (settings.IsExceptWord(p.word)) {
                acc += p.word;
                changed = true;
            } else if (acc.isEmpty()) {
                out.push_back(p);
            } else {
                out.push_back({acc + p.word, Lookup(acc + p.word, physical)});
                acc.clear();
            }
        }
        if (out.empty()) {
            out.push_back({acc, Lookup(acc, physical)});
        } else if (!acc.isEmpty()) {
            out.back().word += acc;
            out.back().partner = Lookup(out.back().word, physical);
        }
        pairs = out;
        return changed;
    }

    bool MergeTexts(QStringList& words) const
    {
        if (words.size() < 2)
            return false;
        QStringList out;
        QString acc;
        bool changed = false;
        for (const QString& w : words) {
            if (settings.IsExceptWord(w)) {
                acc += w;
                changed = true;
            } else {
                out << acc + w;
                acc.clear();
            }
        }
        if (!acc.isEmpty()) {
            if (out.isEmpty())
                out << acc;
            else
                out.last() += acc;
        }
        words = out;
        return changed;
    }

    WordPairList Dictionary(const QString& name, bool physical)
    {
        pending.clear();
        WordPairList out;
        Recurse(name, physical, out);
        std::reverse(out.begin(), out.end());
        while (MergePairs(out, physical)) {
        }
        return out;
    }

    WordPairList Underscore(const QString& name, bool physical)
    {
        QStringList words = name.split(QLatin1Char('_'), Qt::SkipEmptyParts);
        while (MergeTexts(words)) {
        }
        WordPairList out;
        for (const QString& w : words)
            out.push_back({w, Lookup(w, physical)});
        return out;
    }

    // Returns false when the target is removed.
    bool Logical(const QString& name, WordPairList& out)
    {
        if (name.contains(QLatin1Char('_'))) {
            out = Underscore(name, false);
            return !(out.size() == 1 && settings.IsExceptWord(out.front().word));
        }
        out = Dictionary(name, false);
        if (out.size() == 1 && out.front().partner == kUnknownPartner && fallback) {
            const QStringList found = fallback(name);
            if (found.isEmpty())
                return true;
            QStringList pieces;
            qsizetype pos = 0;
            for (const QString& w : found) {
                const qsizetype at = w.isEmpty() ? -1 : name.indexOf(w, pos);
                if (at < 0)
                    continue;
                if (at > pos)
                    pieces << name.mid(pos, at - pos);
                pieces << w;
                pos = at + w.size();
            }
            if (pieces.join(QString()) != name)
                pieces = QStringList{name};
            WordPairList rebuilt;
            QString acc;
            for (qsizetype i = pieces.size() - 1; i >= 0; --i) {
                acc = pieces[i] + acc;
                if (!settings.IsExceptWord(acc)) {
                    rebuilt.push_back({acc, kUnknownPartner});
                    acc.clear();
                }
            }
            if (!acc.isEmpty()) {
                if (rebuilt.empty())
                    rebuilt.push_back({acc, kUnknownPartner});
                else
                    rebuilt.back().word = acc + rebuilt.back().word;
            }
            std::reverse(rebuilt.begin(), rebuilt.end());
            out = rebuilt.empty() ? WordPairList{{name, kUnknownPartner}} : rebuilt;
        }
        return true;
    }

    bool Physical(const QString& name, WordPairList& out)
    {
        if (name.contains(QLatin1Char('_')))
            out = Underscore(name, true);
        else if (settings.need_seperator)
            out = name.isEmpty() ? WordPairList{} : WordPairList{{name, Lookup(name, true)}};
        else
            out = Dictionary(name, true);
        while (MergePairs(out, true)) {
        }
        if (out.size() == 1 && settings.IsExceptWord(out.front().word)) {
            out.clear();
            return false;
        }
        return true;
    }
};

} // namespace literal
