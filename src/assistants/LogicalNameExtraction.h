#pragma once
// What the logical-name extraction sends and how it reads the answer: the column names
// collected once each in ordinal order, the prompt, and the JSON object of name -> Korean name.
#include <QString>
#include <QStringList>
#include <map>
#include <set>

namespace LogicalNameExtraction {

// The non-empty names, duplicates collapsed, in ordinal order.
std::set<QString> CollectNames(const QStringList& names);
// The prompt with the names joined by commas; the keyword sentence follows the first
// sentence's period directly when keywords are given.
QString BuildPrompt(const std::set<QString>& names, const QString& keywords);
// Parses the answer (a surrounding code fence is dropped first). False with the parser's
// message when it is not JSON. A JSON object gives its string members; anything else nothing.
bool ParseAnswer(const QString& answer, std::map<QString, QString>& names, QString& error);

} // namespace LogicalNameExtraction
