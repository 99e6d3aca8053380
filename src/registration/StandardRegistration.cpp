#include "registration/StandardRegistration.h"

#include "repository/RepositoryConnection.h"
#include "settings/AnalyzeSettings.h"

namespace StandardRegistration {

namespace {

ProposalHook& Proposal()
{
    static ProposalHook hook;
    return hook;
}

WaitCursorHook& WaitCursor()
{
    static WaitCursorHook hook;
    return hook;
}

class WaitCursorScope
{
public:
    WaitCursorScope()
    {
        if (WaitCursor())
            WaitCursor()(true);
    }
    ~WaitCursorScope()
    {
        if (WaitCursor())
            WaitCursor()(false);
    }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};

CSqlBaseGate* OpenGate()
{
    return CRepositoryConnection::Instance().OpenGate();
}

bool Propose(MetaWebRequest request, const QString& url)
{
    if (!Proposal())
        return false;
    request.url = url;
    return Proposal()(request);
}

// Whatever the route, the area's analysis domain group must exist before its first domain.
void EnsureDomainGroup(const QString& areaId)
{
    if (CSqlBaseGate* gate = OpenGate(); gate && !gate->ExistsAnalyzeDomainGroup(areaId))
        gate->InsertAnalyzeDomainGroup(areaId);
}

} // namespace

bool IsWebRoute(int proposalSwitch, const QString& address)
{
    return proposalSwitch != 0 && !address.trimmed().isEmpty();
}

QString WebRouteAddress(Kind kind)
{
    const CAnalyzeSettings& settings = CAnalyzeSettings::Instance();
    const CRepositoryConnection& connection = CRepositoryConnection::Instance();
    int proposalSwitch = 0;
    QString address;
    switch (kind) {
    case Kind::Word:
        proposalSwitch = settings.word_request;
        address = connection.WordProposalUrl();
        break;
    case Kind::Domain:
        proposalSwitch = settings.domain_request;
        address = connection.DomainProposalUrl();
        break;
    case Kind::Term:
        proposalSwitch = settings.term_request;
        address = connection.TermProposalUrl();
        break;
    }
    return IsWebRoute(proposalSwitch, address) ? address.trimmed() : QString();
}

void SetProposalHook(ProposalHook hook)
{
    Proposal() = std::move(hook);
}

bool HasProposalHook()
{
    return bool(Proposal());
}

void SetWaitCursorHook(WaitCursorHook hook)
{
    WaitCursor() = std::move(hook);
}

} // namespace StandardRegistration

namespace GlobalFunc {

using namespace StandardRegistration;

bool UpdateStandardClassWord(const QString& areaId, const QString& dicId)
{
    if (dicId.isEmpty())
        return false;
    const QString url = WebRouteAddress(Kind::Word);
    if (!url.isEmpty()) {
        CSqlBaseGate* gate = OpenGate();
        MetaWebRequest request;
        request.mode = eMetaWebClassWord;
        request.areaId = areaId;
        request.word.strWordId = dicId;
        if (!gate || !gate->SelectStandardWordById(areaId, request.word))
            return false;
        return Propose(std::move(request), url);
    }
    CSqlBaseGate* gate = OpenGate();
    return gate && gate->UpdateStandardClassWordFlag(areaId, dicId);
}

bool InsertStandardWord(const QString& areaId, WordIndex& words)
{
    if (words.empty() || areaId.isEmpty())
        return false;
    if (const QString url = WebRouteAddress(Kind::Word); !url.isEmpty()) {
        MetaWebRequest request;
        request.mode = eMetaWebWordMap;
        request.areaId = areaId;
        request.words = words;
        return Propose(std::move(request), url);
    }
    WaitCursorScope wait;
    CSqlBaseGate* gate = OpenGate();
    return gate && gate->InsertStandardWords(areaId, words);
}

bool InsertStandardWord(const QString& areaId, _stAnalyzeManageWord& word)
{
    // A standard outside every area could never be found again.
    if (areaId.isEmpty())
        return false;
    if (const QString url = WebRouteAddress(Kind::Word); !url.isEmpty()) {
        MetaWebRequest request;
        request.mode = eMetaWebWord;
        request.areaId = areaId;
        request.word = word;
        return Propose(std::move(request), url);
    }
    CSqlBaseGate* gate = OpenGate();
    return gate && gate->InsertStandardWordRow(areaId, QString(), word);
}

bool InsertStandardDomain(const QString& areaId, DomainIndex& domains)
{
    if (domains.empty() || areaId.isEmpty())
        return false;
    EnsureDomainGroup(areaId);
    if (const QString url = WebRouteAddress(Kind::Domain); !url.isEmpty()) {
        MetaWebRequest request;
        request.mode = eMetaWebDomainMap;
        request.areaId = areaId;
        request.domains = domains;
        return Propose(std::move(request), url);
    }
    WaitCursorScope wait;
    CSqlBaseGate* gate = OpenGate();
    return gate && gate->InsertStandardDomains(areaId, domains);
}

bool InsertStandardDomain(const QString& areaId, _stAnalyzeManageDomain& domain)
{
    if (areaId.isEmpty())
        return false;
    EnsureDomainGroup(areaId);
    if (const QString url = WebRouteAddress(Kind::Domain); !url.isEmpty()) {
        MetaWebRequest request;
        request.mode = eMetaWebDomain;
        request.areaId = areaId;
        request.domain = domain;
        return Propose(std::move(request), url);
    }
    CSqlBaseGate* gate = OpenGate();
    return gate && gate->InsertStandardDomainRow(areaId, QString(), domain);
}

bool InsertStandardTerm(const QString& areaId, _stAnalyzeManageTerm& term)
{
    if (areaId.isEmpty())
        return false;
    if (const QString url = WebRouteAddress(Kind::Term); !url.isEmpty()) {
        MetaWebRequest request;
        request.mode = eMetaWebTerm;
        request.areaId = areaId;
        request.term = term;
        return Propose(std::move(request), url);
    }
    CSqlBaseGate* gate = OpenGate();
    return gate && gate->InsertStandardTermRow(areaId, term);
}

} // namespace GlobalFunc
