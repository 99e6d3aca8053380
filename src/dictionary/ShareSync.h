#pragma once
// Sharing the analysis dictionary through the repository's analysis tables: download merges
// the server's entries into the local dictionary, upload merges local entries into the
// server's. A key present on both sides with other contents is a conflict; the caller's
// callback settles it (a dialog in the window, --prefer on the command line), and an answer
// given with "repeat" settles every later conflict of the same run without asking again.
//
// The functions never write the settings file and never show anything: they return the
// lines the output pane shows, and the caller saves.
#include "repository/SqlBaseGate.h"
#include "settings/AnalyzeRecords.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <set>
#include <utility>
#include <vector>

class CAnalyzeSettings;

enum class ShareDirection { Download, Upload };
enum class ShareKind { Word, Domain };

// The two command links of the choice dialog. 100 prefers the local entry and 101 the
// server's, in both directions ("보류" is 100 on download and 101 on upload).
enum ShareChoice { kPreferLocal = 100, kPreferServer = 101 };

struct ShareConflict
{
    ShareDirection direction = ShareDirection::Download;
    ShareKind kind = ShareKind::Word;
    QString first;  // physical name or key domain name
    QString second; // logical name or domain name
    _stAnalyzeManageWord localWord, serverWord;
    _stAnalyzeManageDomain localDomain, serverDomain;
};

struct ShareAnswer
{
    ShareChoice choice = kPreferLocal;
    bool repeat = false; // "해당 동작을 계속 합니다"
};

// The texts of the choice dialog of one conflict.
struct ShareChoiceTexts
{
    QString title;
    QString instruction;
    QString content;
    QString localLink;  // command 100
    QString serverLink; // command 101
    QString repeat;
};
ShareChoiceTexts ChoiceTexts(const ShareConflict& conflict);

// Asks once per conflict until an answer comes with repeat; then answers alone.
class CConflictResolver
{
public:
    using Ask = std::function<ShareAnswer(const ShareConflict&)>;
    explicit CConflictResolver(Ask ask) : m_ask(std::move(ask)) {}
    ShareChoice Resolve(const ShareConflict& conflict);
    int AskedCount() const { return m_asked; }

private:
    Ask m_ask;
    std::optional<ShareChoice> m_remembered;
    int m_asked = 0;
};

struct ShareResult
{
    bool ok = true;  // false: the server could not be read or a row could not be written
    int added = 0;   // entries the receiving side did not have, and now has
    int changed = 0; // conflicting entries taken over
    int kept = 0;    // conflicting entries left as they were
    int unchanged = 0;
    int refused = 0;   // entries the receiving side did not take; a line says why
    QStringList lines; // output pane lines, in order
};

namespace ShareSync {

// Equal for sharing: full name and definition (words); type, length and scale (domains).
bool SameWord(const _stAnalyzeManageWord& a, const _stAnalyzeManageWord& b);
bool SameDomain(const _stAnalyzeManageDomain& a, const _stAnalyzeManageDomain& b);

// gate may be null or closed: the server's lists then read as empty and nothing is written.
ShareResult DownloadWords(CAnalyzeSettings& dictionary, CSqlBaseGate* gate, CConflictResolver& resolver);
ShareResult DownloadDomains(CAnalyzeSettings& dictionary, CSqlBaseGate* gate, CConflictResolver& resolver);
ShareResult DownloadExceptWords(CAnalyzeSettings& dictionary, CSqlBaseGate* gate);
ShareResult DownloadExceptDomains(CAnalyzeSettings& dictionary, CSqlBaseGate* gate);

// `words`: the local entries to upload (physical -> logical -> word). An upload is one
// transaction: killed or cut off, it stores nothing, and its counts are of what was
// committed (a row the server refused is counted refused; rows a lost connection took are
// not). The pairs send both kinds in one transaction.
ShareResult UploadWords(const WordIndex& words, CSqlBaseGate* gate, CConflictResolver& resolver);
ShareResult UploadDomains(const DomainIndex& domains, CSqlBaseGate* gate, CConflictResolver& resolver);
ShareResult UploadExceptWords(const std::set<QString>& names, CSqlBaseGate* gate);
ShareResult UploadExceptDomains(const std::set<QString>& names, CSqlBaseGate* gate);
std::pair<ShareResult, ShareResult> UploadWordsAndDomains(const WordIndex& words, const DomainIndex& domains,
                                                          CSqlBaseGate* gate, CConflictResolver& resolver);
std::pair<ShareResult, ShareResult> UploadExcluded(const std::set<QString>& words, const std::set<QString>& domains,
                                                   CSqlBaseGate* gate);

// Keys of the entries that exist on the server with other contents (share status compare).
std::set<std::pair<QString, QString>> DifferingWords(const WordIndex& local, CSqlBaseGate* gate);
std::set<std::pair<QString, QString>> DifferingDomains(const DomainIndex& local, CSqlBaseGate* gate);

} // namespace ShareSync
