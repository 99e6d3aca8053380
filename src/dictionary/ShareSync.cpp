#include "dictionary/ShareSync.h"

#include "analysis/DataType.h"
#include "components/QrStringUtil.h"
#include "dictionary/ManageTexts.h"
#include "settings/AnalyzeSettings.h"

namespace T = ManageTexts;

namespace {

QString Fmt(const QString& format, std::initializer_list<QVariant> args)
{
    return CQrStringUtil::Format(format, args);
}

bool Usable(CSqlBaseGate* gate)
{
    return gate && gate->IsOpen();
}

void Refuse(ShareResult& result, const QString& line)
{
    ++result.refused;
    result.lines << line;
}

size_t Entries(const auto& index)
{
    size_t n = 0;
    for (const auto& entry : index)
        n += entry.second.size();
    return n;
}

// What the server did not write is taken back from the count it was made under.
void CountRefused(ShareResult& result, const RefusedRows& refused,
                  const std::set<std::pair<QString, QString>>& changedKeys, const QString& format)
{
    for (const RefusedRow& row : refused) {
        if (changedKeys.count({row.first, row.second}))
            --result.changed;
        else
            --result.added;
        Refuse(result, Fmt(format, {row.first, row.second, row.reason}));
    }
}

} // namespace

ShareChoiceTexts ChoiceTexts(const ShareConflict& c)
{
    ShareChoiceTexts t;
    t.repeat = T::Repeat;
    t.instruction = Fmt(T::ChoiceInstruction, {c.first, c.second});
    const bool download = c.direction == ShareDirection::Download;
    if (c.kind == ShareKind::Word) {
        t.title = download ? T::WordDownloadTitle : T::WordUploadTitle;
        t.content = Fmt(download ? T::WordDownloadContent : T::WordUploadContent, {c.first, c.second});
        const auto cut = [](const QString& text) { return text.left(T::kDefinitionCut); };
        t.localLink = Fmt(download ? T::WordDownloadLocal : T::WordUploadLocal,
                          {c.localWord.strPhyFullName, cut(c.localWord.strDescription)});
        t.serverLink = Fmt(download ? T::WordDownloadServer : T::WordUploadServer,
                           {c.serverWord.strPhyFullName, cut(c.serverWord.strDescription)});
    } else {
        t.title = download ? T::DomainDownloadTitle : T::DomainUploadTitle;
        t.content = Fmt(download ? T::DomainDownloadContent : T::DomainUploadContent, {c.first, c.second});
        const auto type = [](const _stAnalyzeManageDomain& d) {
            return GlobalFunc::BuildDataType(d.strDataType, d.strLength, d.strScale);
        };
        t.localLink = Fmt(download ? T::DomainDownloadLocal : T::DomainUploadLocal, {type(c.localDomain)});
        t.serverLink = Fmt(download ? T::DomainDownloadServer : T::DomainUploadServer, {type(c.serverDomain)});
    }
    return t;
}

ShareChoice CConflictResolver::Resolve(const ShareConflict& conflict)
{
    if (m_remembered)
        return *m_remembered;
    ++m_asked;
    const ShareAnswer answer = m_ask ? m_ask(conflict) : ShareAnswer{};
    if (answer.repeat)
        m_remembered = answer.choice;
    return answer.choice;
}

namespace ShareSync {

bool SameWord(const _stAnalyzeManageWord& a, const _stAnalyzeManageWord& b)
{
    return a.strPhyFullName == b.strPhyFullName && a.strDescription == b.strDescription;
}

bool SameDomain(const _stAnalyzeManageDomain& a, const _stAnalyzeManageDomain& b)
{
    return a.strDataType == b.strDataType && a.strLength == b.strLength && a.strScale == b.strScale;
}

ShareResult DownloadWords(CAnalyzeSettings& dictionary, CSqlBaseGate* gate, CConflictResolver& resolver)
{
    ShareResult result;
    WordIndex server;
    if (Usable(gate))
        result.ok = gate->SelectAnalyzeWords(server);
    for (const auto& [physical, byLogical] : server) {
        for (const auto& [logical, remote] : byLogical) {
            _stAnalyzeManageWord local;
            const bool exists = dictionary.GetWord(physical, logical, local);
            if (exists && SameWord(local, remote)) {
                ++result.unchanged;
                continue;
            }
            if (exists) {
                ShareConflict c{ShareDirection::Download, ShareKind::Word, physical, logical, local, remote, {}, {}};
                if (resolver.Resolve(c) == kPreferLocal) {
                    ++result.kept;
                    continue;
                }
            }
            if (physical.isEmpty() || logical.isEmpty()) {
                Refuse(result, Fmt(T::LocalWordRefused, {physical, logical, T::RefusedEmptyName}));
                continue;
            }
            _stAnalyzeManageWord taken = exists ? local : _stAnalyzeManageWord{};
            taken.strPhyFullName = remote.strPhyFullName;
            taken.strDescription = remote.strDescription;
            taken.nStandard = remote.nStandard;
            dictionary.AddWord(physical, logical, taken);
            if (exists) {
                ++result.changed;
                result.lines << Fmt(T::LocalWordChanged, {physical, logical});
            } else {
                ++result.added;
            }
        }
    }
    return result;
}

ShareResult DownloadDomains(CAnalyzeSettings& dictionary, CSqlBaseGate* gate, CConflictResolver& resolver)
{
    ShareResult result;
    DomainIndex server;
    if (Usable(gate))
        result.ok = gate->SelectAnalyzeDomains(server);
    for (const auto& [key, byName] : server) {
        for (const auto& [name, remote] : byName) {
            _stAnalyzeManageDomain local;
            const bool exists = dictionary.GetDomain(key, name, local);
            if (exists && SameDomain(local, remote)) {
                ++result.unchanged;
                continue;
            }
            if (exists) {
                ShareConflict c{ShareDirection::Download, ShareKind::Domain, key, name, {}, {}, local, remote};
                if (resolver.Resolve(c) == kPreferLocal) {
                    ++result.kept;
                    continue;
                }
            }
            if (key.isEmpty() || name.isEmpty()) {
                Refuse(result, Fmt(T::LocalDomainRefused, {key, name, T::RefusedEmptyName}));
                continue;
            }
            _stAnalyzeManageDomain taken = exists ? local : _stAnalyzeManageDomain{};
            taken.strDataType = remote.strDataType;
            taken.strLength = remote.strLength;
            taken.strScale = remote.strScale;
            dictionary.AddDomain(key, name, taken);
            if (exists) {
                ++result.changed;
                result.lines << Fmt(T::LocalDomainChanged, {key, name});
            } else {
                ++result.added;
            }
        }
    }
    return result;
}

namespace {

// A name the dictionary uses as a word (or key domain) is never excluded: it is refused.
ShareResult DownloadExcept(std::set<QString>& local, CSqlBaseGate* gate, bool words,
                           const std::function<bool(const QString&)>& inUse)
{
    ShareResult result;
    ExceptNameMap server;
    if (Usable(gate))
        result.ok = words ? gate->SelectExceptWords(server) : gate->SelectExceptDomains(server);
    for (const auto& entry : server) {
        if (entry.first.isEmpty()) {
            Refuse(result, Fmt(T::LocalExceptRefused, {entry.first, T::RefusedEmptyName}));
        } else if (local.count(entry.first)) {
            ++result.unchanged;
        } else if (inUse(entry.first)) {
            Refuse(result,
                   Fmt(T::LocalExceptRefused, {entry.first, words ? T::RefusedWordInUse : T::RefusedDomainInUse}));
        } else {
            local.insert(entry.first);
            ++result.added;
        }
    }
    return result;
}

// One kind's upload inside the upload's transaction, settled when the transaction ends.
struct Sent
{
    ShareResult result; // counted as if every entry sent were stored
    RefusedRows refused;
    std::set<std::pair<QString, QString>> changedKeys;
    QString refusedFormat; // empty: excluded names
    QString what;          // for the line of an upload that stored nothing
    size_t sent = 0;
};

// The transaction committed: what the server refused (each row under its savepoint) is taken
// back from its count. It did not: nothing of it is stored, and none of it was refused.
void Settle(Sent& s, bool committed, bool connectionLost)
{
    ShareResult& r = s.result;
    if (!committed) {
        r.ok = false;
        r.added = 0;
        r.changed = 0;
        if (s.sent)
            r.lines << Fmt(connectionLost ? T::ServerBatchLost : T::ServerUploadUndone, {s.what, qint64(s.sent)});
        return;
    }
    if (!s.refused.empty())
        r.ok = false;
    if (!s.refusedFormat.isEmpty()) {
        CountRefused(r, s.refused, s.changedKeys, s.refusedFormat);
        return;
    }
    for (const RefusedRow& row : s.refused) {
        --r.added;
        Refuse(r, Fmt(T::ServerExceptRefused, {row.first, row.reason}));
    }
}

// After a kind is sent: false when the transaction cannot go on (the server is gone or the
// gate rolled it back).
bool StillGoing(CSqlBaseGate* gate)
{
    return !gate->LastBatchLost() && !gate->LastFailureLostConnection();
}

bool SendExcept(const std::set<QString>& names, CSqlBaseGate* gate, bool words, Sent& s)
{
    s.what = words ? QStringLiteral("제외 단어") : QStringLiteral("제외 도메인");
    ExceptNameMap server;
    if (!(words ? gate->SelectExceptWords(server) : gate->SelectExceptDomains(server))) {
        s.result.ok = false;
        return false;
    }
    // One name at a time, so a refused one does not stop or hide the rest.
    for (const QString& name : names) {
        if (name.isEmpty())
            continue;
        if (server.count(name)) {
            ++s.result.unchanged;
            continue;
        }
        ++s.sent;
        ++s.result.added;
        const std::set<QString> one{name};
        if (words ? gate->InsertExceptWords(one) : gate->InsertExceptDomains(one))
            continue;
        if (!StillGoing(gate))
            return false;
        const RefusedRows& refused = gate->LastRefusedRows();
        s.refused.push_back({name, QString(), refused.empty() ? QString() : refused.front().reason});
    }
    return true;
}

bool SendWords(const WordIndex& words, CSqlBaseGate* gate, CConflictResolver& resolver, Sent& s)
{
    s.what = QStringLiteral("단어");
    s.refusedFormat = T::ServerWordRefused;
    ShareResult& result = s.result;
    WordIndex server;
    if (!gate->SelectAnalyzeWords(server)) {
        result.ok = false;
        return false;
    }
    WordIndex upload;
    for (const auto& [physical, byLogical] : words) {
        for (const auto& [logical, local] : byLogical) {
            if (physical.isEmpty() || logical.isEmpty())
                continue;
            const auto p = server.find(physical);
            const bool exists = p != server.end() && p->second.count(logical);
            if (!exists) {
                upload[physical][logical] = local;
                ++result.added;
                continue;
            }
            const _stAnalyzeManageWord& remote = p->second.at(logical);
            if (SameWord(local, remote)) {
                ++result.unchanged;
                continue;
            }
            ShareConflict c{ShareDirection::Upload, ShareKind::Word, physical, logical, local, remote, {}, {}};
            if (resolver.Resolve(c) == kPreferServer) {
                ++result.kept;
                continue;
            }
            upload[physical][logical] = local;
            ++result.changed;
            s.changedKeys.insert({physical, logical});
            result.lines << Fmt(T::ServerWordChanged, {physical, logical});
        }
    }
    s.sent = Entries(upload);
    if (upload.empty())
        return true;
    if (!gate->MergeAnalyzeWords(upload))
        s.refused = gate->LastRefusedRows();
    return StillGoing(gate);
}

bool SendDomains(const DomainIndex& domains, CSqlBaseGate* gate, CConflictResolver& resolver, Sent& s)
{
    s.what = QStringLiteral("도메인");
    s.refusedFormat = T::ServerDomainRefused;
    ShareResult& result = s.result;
    DomainIndex server;
    if (!gate->SelectAnalyzeDomains(server)) {
        result.ok = false;
        return false;
    }
    DomainIndex upload;
    for (const auto& [key, byName] : domains) {
        for (const auto& [name, local] : byName) {
            if (key.isEmpty() || name.isEmpty())
                continue;
            const auto k = server.find(key);
            const bool exists = k != server.end() && k->second.count(name);
            if (!exists) {
                upload[key][name] = local;
                ++result.added;
                continue;
            }
            const _stAnalyzeManageDomain& remote = k->second.at(name);
            if (SameDomain(local, remote)) {
                ++result.unchanged;
                continue;
            }
            ShareConflict c{ShareDirection::Upload, ShareKind::Domain, key, name, {}, {}, local, remote};
            if (resolver.Resolve(c) == kPreferServer) {
                ++result.kept;
                continue;
            }
            upload[key][name] = local;
            ++result.changed;
            s.changedKeys.insert({key, name});
            result.lines << Fmt(T::ServerDomainChanged, {key, name});
        }
    }
    s.sent = Entries(upload);
    if (upload.empty())
        return true;
    if (!gate->MergeAnalyzeDomains(upload))
        s.refused = gate->LastRefusedRows();
    return StillGoing(gate);
}

// The kinds in order, in one transaction: all of them are stored or none. A kind after one
// that stopped the transaction is not sent.
std::vector<ShareResult> InOneTransaction(CSqlBaseGate* gate, const std::vector<std::function<bool(Sent&)>>& kinds)
{
    std::vector<Sent> sent(kinds.size());
    if (!Usable(gate))
        return std::vector<ShareResult>(kinds.size());
    gate->ClearLastError();
    bool going = gate->BeginUnit();
    for (size_t i = 0; i < kinds.size() && going; ++i)
        going = kinds[i](sent[i]);
    const bool committed = gate->EndUnit(going);
    const bool lost = !committed && (gate->LastFailureLostConnection() || !gate->IsReachable());
    std::vector<ShareResult> results;
    for (Sent& s : sent) {
        Settle(s, committed, lost);
        results.push_back(std::move(s.result));
    }
    return results;
}

} // namespace

ShareResult DownloadExceptWords(CAnalyzeSettings& dictionary, CSqlBaseGate* gate)
{
    ShareResult result = DownloadExcept(dictionary.m_setExceptWords, gate, true, [&](const QString& name) {
        return dictionary.m_mapWordsByLogical.count(name) != 0;
    });
    dictionary.Touch();
    return result;
}

ShareResult DownloadExceptDomains(CAnalyzeSettings& dictionary, CSqlBaseGate* gate)
{
    ShareResult result = DownloadExcept(dictionary.m_setExceptDomains, gate, false,
                                        [&](const QString& name) { return dictionary.m_mapDomains.count(name) != 0; });
    dictionary.Touch();
    return result;
}

ShareResult UploadExceptWords(const std::set<QString>& names, CSqlBaseGate* gate)
{
    return InOneTransaction(gate, {[&](Sent& s) { return SendExcept(names, gate, true, s); }}).front();
}

ShareResult UploadExceptDomains(const std::set<QString>& names, CSqlBaseGate* gate)
{
    return InOneTransaction(gate, {[&](Sent& s) { return SendExcept(names, gate, false, s); }}).front();
}

ShareResult UploadWords(const WordIndex& words, CSqlBaseGate* gate, CConflictResolver& resolver)
{
    return InOneTransaction(gate, {[&](Sent& s) { return SendWords(words, gate, resolver, s); }}).front();
}

ShareResult UploadDomains(const DomainIndex& domains, CSqlBaseGate* gate, CConflictResolver& resolver)
{
    return InOneTransaction(gate, {[&](Sent& s) { return SendDomains(domains, gate, resolver, s); }}).front();
}

std::pair<ShareResult, ShareResult> UploadWordsAndDomains(const WordIndex& words, const DomainIndex& domains,
                                                          CSqlBaseGate* gate, CConflictResolver& resolver)
{
    std::vector<ShareResult> r =
        InOneTransaction(gate, {[&](Sent& s) { return SendWords(words, gate, resolver, s); },
                                [&](Sent& s) { return SendDomains(domains, gate, resolver, s); }});
    return {std::move(r[0]), std::move(r[1])};
}

std::pair<ShareResult, ShareResult> UploadExcluded(const std::set<QString>& words, const std::set<QString>& domains,
                                                   CSqlBaseGate* gate)
{
    std::vector<ShareResult> r = InOneTransaction(gate, {[&](Sent& s) { return SendExcept(words, gate, true, s); },
                                                         [&](Sent& s) { return SendExcept(domains, gate, false, s); }});
    return {std::move(r[0]), std::move(r[1])};
}

std::set<std::pair<QString, QString>> DifferingWords(const WordIndex& local, CSqlBaseGate* gate)
{
    std::set<std::pair<QString, QString>> out;
    WordIndex server;
    if (!Usable(gate) || !gate->SelectAnalyzeWords(server))
        return out;
    for (const auto& [physical, byLogical] : local) {
        const auto p = server.find(physical);
        if (p == server.end())
            continue;
        for (const auto& [logical, word] : byLogical) {
            const auto l = p->second.find(logical);
            if (l != p->second.end() && !SameWord(word, l->second))
                out.insert({physical, logical});
        }
    }
    return out;
}

std::set<std::pair<QString, QString>> DifferingDomains(const DomainIndex& local, CSqlBaseGate* gate)
{
    std::set<std::pair<QString, QString>> out;
    DomainIndex server;
    if (!Usable(gate) || !gate->SelectAnalyzeDomains(server))
        return out;
    for (const auto& [key, byName] : local) {
        const auto k = server.find(key);
        if (k == server.end())
            continue;
        for (const auto& [name, domain] : byName) {
            const auto n = k->second.find(name);
            if (n != k->second.end() && !SameDomain(domain, n->second))
                out.insert({key, name});
        }
    }
    return out;
}

} // namespace ShareSync
