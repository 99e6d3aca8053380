#pragma once
// The analysis result as JSON for the command line and outside checks.
#include <QByteArray>
#include <QJsonObject>

class WordAnalysis;
class DomainAnalysis;
class CTermAnalysis;
class CJsonTextWriter;

// { "kind", "targets": [...], "totals": {...}, "unanalyzed": {...}, "missingDomains": {...} }
QJsonObject AnalysisResultJson(const WordAnalysis& analysis);
QJsonObject AnalysisResultJson(const DomainAnalysis& analysis);
// { "kind": "term", "area", "targets": [...], "totals": {...}, "unanalyzed": {...} }
QJsonObject AnalysisResultJson(const CTermAnalysis& analysis);
// Indented UTF-8 text of the object.
QByteArray AnalysisResultJsonBytes(const QJsonObject& result);

// The same text as AnalysisResultJsonBytes(AnalysisResultJson(analysis)), written as it is
// made instead of through a JSON tree.
void WriteAnalysisResultJson(CJsonTextWriter& writer, const WordAnalysis& analysis);
void WriteAnalysisResultJson(CJsonTextWriter& writer, const DomainAnalysis& analysis);
// Written to the path whole or not at all; the reason in error.
bool SaveAnalysisResultJson(const WordAnalysis& analysis, const QString& path, QString* error = nullptr);
bool SaveAnalysisResultJson(const DomainAnalysis& analysis, const QString& path, QString* error = nullptr);
