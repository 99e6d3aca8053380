#include "analysis/DataType.h"

// Type cells like "NUMERIC(15,2)". Nothing is trimmed: the caller compares exactly what
// the sheet holds, and overrides length and scale from their own columns when it has them.
void ParseDataType(const QString& text, QString& type, QString& length, QString& scale)
{
    const qsizetype open = text.indexOf(u'(');
    if (open < 0) {
        type = text;
        return;
    }
    type = text.left(open);
    QString rest = text.mid(open);
    rest.remove(u'(');
    rest.remove(u')');
    const qsizetype comma = rest.indexOf(u',');
    if (comma < 0) {
        length = rest;
        return;
    }
    length = rest.left(comma);
    scale = rest.mid(comma);
    scale.remove(u',');
}

namespace GlobalFunc {

QString BuildDataType(const QString& type, const QString& length, const QString& scale)
{
    if (type.isEmpty())
        return {};
    if (length.isEmpty())
        return type;
    QString text = type + u'(' + length;
    if (!scale.isEmpty())
        text += u',' + scale;
    return text + u')';
}

} // namespace GlobalFunc
