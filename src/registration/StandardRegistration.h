#pragma once
// Registration of standard words, domains and terms in a standard area, by one of two routes:
// - the web route, when the kind's proposal switch is on and its page address is not empty:
//   the candidates go to the repository's proposal page in the proposal dialog, and the
//   registration counts as done only when the page reports completion;
// - the direct route otherwise: the gateway writes the rows.
//
// The proposal dialog and the wait cursor belong to the window, so the window installs them
// here as hooks; without a proposal hook the web route gives false (nothing is written).
#include "registration/MetaWebRequest.h"
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <functional>

namespace StandardRegistration {

enum class Kind { Word, Domain, Term };

// The route rule itself: web when the switch is on and the address is not empty.
bool IsWebRoute(int proposalSwitch, const QString& address);
// The kind's switch (settings) and address (read at connect): the address for the web
// route, empty for the direct one.
QString WebRouteAddress(Kind kind);

// Opens the proposal dialog for the request (its url filled in); true when the page
// completed the proposal.
using ProposalHook = std::function<bool(const MetaWebRequest& request)>;
void SetProposalHook(ProposalHook hook);
bool HasProposalHook();
// Shows (true) and removes (false) the wait cursor around a direct batch registration.
using WaitCursorHook = std::function<void(bool busy)>;
void SetWaitCursorHook(WaitCursorHook hook);

} // namespace StandardRegistration

namespace GlobalFunc {
// Every insert gives false for an empty area id (nothing is written outside an area).
// Marks the word dicId as a class word; on the web route the word is read first and
// proposed as a class-word change.
bool UpdateStandardClassWord(const QString& areaId, const QString& dicId);
// physical -> logical -> word; an empty map gives false and opens nothing.
bool InsertStandardWord(const QString& areaId, WordIndex& words);
// On the direct route the new DIC_ID is written into word.strWordId.
bool InsertStandardWord(const QString& areaId, _stAnalyzeManageWord& word);
// The area's analysis domain group is created first (once per area), whatever the route.
bool InsertStandardDomain(const QString& areaId, DomainIndex& domains);
bool InsertStandardDomain(const QString& areaId, _stAnalyzeManageDomain& domain);
// The term and its word combination in one transaction (direct route).
bool InsertStandardTerm(const QString& areaId, _stAnalyzeManageTerm& term);
} // namespace GlobalFunc
