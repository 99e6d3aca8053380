#pragma once
// The analysis service layer: splits attribute and domain names into the standard words of
// one standard area of the repository and answers questions about those words.
//
// Callers run one whole sequence per use and keep nothing between runs:
//   CreateAppLayer(); s = IServiceLayer::theServiceLayer;
//   s->SetDatabase(&db); options; s->SetTargets(&targets); s->RunAnalysis[All]();
//   for i < GetResultCount(1): GetResult(i, target, variant, 1);
//       SelectResult(target, variant, 0); PrepareResult(); SetResultMode(0);
//       GetResultWords(...), GetResultTerm(...), FindWords(...), GetServiceWord(...), ...
//   s->ClearResults(); DeleteAppLayer();
//
// How it works (our choices):
// - Data: at the run it reads, per area named by the targets, the current rows of STD_DIC
//   (DIC_GBN_CD '0001' words, '0002' terms) and the names and key domains of the current
//   STD_DOM rows. A target whose area cannot be read gets a result with no words.
// - Word record texts: [0] DIC_ID, [1] area id, [2] logical name, [3] physical name,
//   [4] full physical name, [5] description; marks: standard (STANDARD_YN 'Y') and class word
//   (ATTR_CLSS_YN 'Y'); the domain class of a class word: the key domain (KEY_DOM_NM) of the
//   domain its row names in DOM_ID, which the standard import writes where the published
//   domain class is not the word itself (제목 -> 명). A handle is an index into the words
//   read by this run.
// - Splitting: the text is cut at every blank and every separator character (text option 10,
//   plus text or value option 13); a blank is never a word. Then each piece is split into the logical names of the
//   area's words (standard or not, so synonyms are seen): the split that leaves the fewest characters unknown, then has
//   the fewest pieces, taking the longest word first among equals. A run of characters outside every word stays one
//   unknown word (kind 0); a matched word is kind 1.
// - Kind 2: the whole text (separators removed) is a registered term, or a standard word whose
//   physical name holds the physical separator (value option 12, "_" by default). The result
//   is then that one text of kind 2; its record's [3] is the physical name that callers split
//   at the separator and look up part by part.
// - A domain name made from class words + type abbreviation + length[,scale] splits into the
//   words of its class-word part: a type suffix ending the text is dropped, whether it is a
//   run of its own behind a word or the tail of an unknown run (뷁뷁V10 -> 뷁뷁). Suffixes are
//   the program's abbreviations, and the published edition's letters (C, V, N, D) followed
//   by a length (명V100).
// - FindWords looks in the area of the selected result (else the first target's area). Mode
//   1: words by logical name, then words by physical name, then terms by logical name. Mode
//   2 (the parts of a registered term's physical name): words by physical name only. Standard
//   ones first, then by logical name, physical name and DIC_ID (ordinal text order).
// - GetWordRelation: for a non-standard word, the standard words of its area that share its
//   physical name (its standard synonyms), the ones its description names first; nothing for
//   a standard word.
// - GetResultTerm: the domain (DOM_NM, DOM_ID) of the registered term that the whole text
//   names; nothing otherwise.
// - RunAnalysis and RunAnalysisAll both analyse every target handed over; the variant text
//   of a result is its target's companion text.
// - Options 8 (result mode), 0 and 11 are kept but change nothing here.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

struct _stServiceTarget
{
    QString strText;      // text to analyse
    QString strCompanion; // e.g. the attribute's column name
    QString strAreaId;    // STD_AREA_ID
};

struct _stServiceWord
{
    QString strTexts[6];
    int nStandard = 0;
    int nClassWord = 0;
    QString strDomainClass; // key domain name its domains are filed under; empty: its own name
};

// FindWords modes.
enum eServiceFindMode { eServiceFindByName = 1, eServiceFindByPhysicalName = 2 };

using SERVICE_WORD_HANDLE = int;

enum eServiceWordKind { eServiceWordUnknown = 0, eServiceWordFound = 1, eServiceWordCompound = 2 };

// (connection, library name) as handed to SetDatabase; the library name is "QrSql".
using ServiceDatabase = std::pair<QSqlDatabase, QString>;

class IServiceLayer
{
public:
    static IServiceLayer* theServiceLayer;

    virtual ~IServiceLayer() = default;

    virtual void SetOptionText(int option, const QString& text) = 0;
    virtual void SetOptionValue(int option, int value) = 0;
    virtual void SetDatabase(const ServiceDatabase* database) = 0;
    // The array stays the caller's until the run ends.
    virtual void SetTargets(const std::vector<_stServiceTarget>* targets) = 0;
    virtual bool RunAnalysis() = 0;
    virtual bool RunAnalysisAll() = 0;
    virtual int GetResultCount(int mode) const = 0;
    virtual bool GetResult(int index, QString& target, QString& variant, int mode) const = 0;
    virtual bool GetResultTerm(const QString& target, const QString& variant, QStringList& domainNames,
                               QStringList& domainIds) const = 0;
    virtual bool SelectResult(const QString& target, const QString& variant, int mode) = 0;
    virtual bool PrepareResult() = 0;
    virtual void SetResultMode(int mode) = 0;
    virtual bool GetResultWords(const QString& target, const QString& variant, QStringList& words,
                                std::vector<int>& kinds) const = 0;
    virtual bool GetServiceWord(SERVICE_WORD_HANDLE handle, _stServiceWord& word) const = 0;
    // The same record in place, null for no such handle; valid while the service lives.
    virtual const _stServiceWord* ServiceWord(SERVICE_WORD_HANDLE handle) const = 0;
    virtual bool FindWords(const QString& text, int mode, std::vector<SERVICE_WORD_HANDLE>& handles) const = 0;
    virtual bool GetWordRelation(SERVICE_WORD_HANDLE handle, std::vector<SERVICE_WORD_HANDLE>& related) const = 0;
    virtual void ClearResults() = 0;
    // One text outside a run, for callers that want its words alone: the words and kinds
    // GetResultWords would give. Reads the area the first time.
    virtual void SplitText(const QString& text, const QString& areaId, QStringList& words, std::vector<int>& kinds) = 0;
    // The same words as views of text, for a caller that splits many names and keeps none of
    // their texts. False when the text is one compound word (SplitText's one word, given in
    // compound), or when this service cannot split so (compound empty: call SplitText).
    using WordViews = std::vector<std::pair<QStringView, int>>;
    virtual bool SplitViews(const QString& text, WordViews& words, QString& compound) const
    {
        (void)text;
        words.clear();
        compound.clear();
        return false;
    }
};

// A service of the caller's own, beside theServiceLayer.
std::unique_ptr<IServiceLayer> NewServiceLayer();
// A view of one area of a service of NewServiceLayer (read here if it is not yet): SplitText,
// FindWords, GetServiceWord and GetWordRelation, safe to call from several threads at once.
// The service must outlive the view and is not to be used meanwhile.
std::unique_ptr<IServiceLayer> AreaViewOf(IServiceLayer& service, const QString& areaId);
// Creates the one service object (theServiceLayer); false when one exists already.
bool CreateAppLayer();
// Destroys it; theServiceLayer becomes null.
void DeleteAppLayer();

// The database handed to the service: the repository connection "AR" when it is open,
// otherwise an invalid connection (the service then finds nothing).
ServiceDatabase RepositoryServiceDatabase();
