#pragma once
// The term analysis as a file: the ".ztst" document ("term_analyze" entries and the area
// under "term_analyze_area") and the term request (code 3) that other programs send.
#include "analysis/TermAnalysis.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace TermDocumentTexts {
inline const QString kWrongKind = QStringLiteral("not term analyzed document file");
}

// Reads a term document. False with the parser's error text, or the wrong-kind message when
// "term_analyze" is not an array or "term_analyze_area" not a string. Entries that are not
// objects are skipped; a later entry of the same "Attribute" overwrites the earlier one.
bool ReadTermDocument(const QByteArray& bytes, QString& areaId, std::vector<TermAnalysisTarget>& targets,
                      QString& error);
// The document of the targets, in name order, with the analysis's area.
QByteArray WriteTermDocument(const CTermAnalysis& term);

// Reads a term request: "standard_areaid" and the attributes of "termwise", names
// normalised, later objects of the same name overwriting. False (nothing to do) for text that
// is not a JSON object.
bool ReadTermRequest(const QByteArray& bytes, QString& areaId, std::vector<TermAnalysisTarget>& targets,
                     QString& error);
