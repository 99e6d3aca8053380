#pragma once
// Data type triples (type, length, scale) as texts.
#include <QString>

void ParseDataType(const QString& text, QString& type, QString& length, QString& scale);

namespace GlobalFunc {
QString BuildDataType(const QString& type, const QString& length, const QString& scale);
}
