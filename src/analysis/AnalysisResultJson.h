#pragma once
// The analysis result as JSON for the command line and outside checks.
#include <QByteArray>
#include <QJsonObject>

class WordAnalysis;
class DomainAnalysis;
class CTermAnalysis;

// { "kind", "targets": [...], "totals": {...}, "unanalyzed": {...}, "missingDomains": {...} }
QJsonObject AnalysisResultJson(const WordAnalysis& analysis);
QJsonObject AnalysisResultJson(const DomainAnalysis& analysis);
// { "kind": "term", "area", "targets": [...], "totals": {...}, "unanalyzed": {...} }
QJsonObject AnalysisResultJson(const CTermAnalysis& analysis);
// Indented UTF-8 text of the object.
QByteArray AnalysisResultJsonBytes(const QJsonObject& result);
