#include "analysis/DataType.h"
#include "settings/AnalyzeSettings.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(DataType, ParseAndBuild)
{
    struct Case
    {
        QString text, type, length, scale, built;
    };
    const Case cases[] = {
        {u"VARCHAR(100)"_qs, u"VARCHAR"_qs, u"100"_qs, QString(), u"VARCHAR(100)"_qs},
        {u"NUMERIC(15,2)"_qs, u"NUMERIC"_qs, u"15"_qs, u"2"_qs, u"NUMERIC(15,2)"_qs},
        {u"DATE"_qs, u"DATE"_qs, QString(), QString(), u"DATE"_qs},
        // Nothing is trimmed.
        {u"NUMERIC (15, 2)"_qs, u"NUMERIC "_qs, u"15"_qs, u" 2"_qs, u"NUMERIC (15, 2)"_qs},
        // Every bracket and every comma after the first goes.
        {u"NUMBER(10,2,1)"_qs, u"NUMBER"_qs, u"10"_qs, u"21"_qs, u"NUMBER(10,21)"_qs},
        {u"A((5))x"_qs, u"A"_qs, u"5x"_qs, QString(), u"A(5x)"_qs},
        {u"CHAR("_qs, u"CHAR"_qs, QString(), QString(), u"CHAR"_qs},
        {u"(10)"_qs, QString(), u"10"_qs, QString(), QString()},
        {u"TIMESTAMP WITH TIME ZONE"_qs, u"TIMESTAMP WITH TIME ZONE"_qs, QString(), QString(),
         u"TIMESTAMP WITH TIME ZONE"_qs},
    };
    for (const Case& c : cases) {
        QString type, length, scale;
        ParseDataType(c.text, type, length, scale);
        EXPECT_EQ(type, c.type) << c.text.toStdString();
        EXPECT_EQ(length, c.length) << c.text.toStdString();
        EXPECT_EQ(scale, c.scale) << c.text.toStdString();
        EXPECT_EQ(GlobalFunc::BuildDataType(type, length, scale), c.built) << c.text.toStdString();
    }
}

TEST(DataType, ParseKeepsCallerValuesWithoutBrackets)
{
    QString type, length = u"7"_qs, scale = u"1"_qs;
    ParseDataType(u"DATE"_qs, type, length, scale);
    EXPECT_EQ(length, u"7"_qs);
    EXPECT_EQ(scale, u"1"_qs);
}

TEST(DataType, BuildIgnoresScaleWithoutLengthAndLengthWithoutType)
{
    EXPECT_EQ(GlobalFunc::BuildDataType(QString(), u"10"_qs, u"2"_qs), QString());
    EXPECT_EQ(GlobalFunc::BuildDataType(u"CHAR"_qs, u"1"_qs, QString()), u"CHAR(1)"_qs);
    EXPECT_EQ(GlobalFunc::BuildDataType(u"NUMERIC"_qs, QString(), u"2"_qs), u"NUMERIC"_qs);
}

TEST(DataType, AbbreviationsAndDomainNames)
{
    CAnalyzeSettings s;
    struct Abbr
    {
        QString type, abbr;
    };
    const Abbr abbrs[] = {
        {u"CHAR"_qs, u"CH"_qs},
        {u"BOOLEAN"_qs, u"BL"_qs},
        {u"BLOB"_qs, u"BL"_qs},
        {u"INTEGER(p)"_qs, u"VINT"_qs},
        {u"INTEGER"_qs, u"INT"_qs},
        {u"NUMERIC"_qs, u"DEC"_qs},
        {u"YEAR"_qs, u"YEAR"_qs},
        {u"JSON"_qs, u"JSON"_qs},
        {u"TIMESTAMP WITH LOCAL TIME ZONE"_qs, u"TMPWLTZ"_qs},
        {u"INTERVAL DAY TO SECOND"_qs, u"INTVLDTS"_qs},
        {u"ARRAY/GEOMETRY"_qs, u"AGEO"_qs},
        {u"ARRAY/DATETIME"_qs, u"ADTM"_qs},
        {u"UNIQUEIDENTIFIER"_qs, u"UID"_qs},
    };
    for (const Abbr& a : abbrs) {
        EXPECT_TRUE(s.IsKnownDataType(a.type)) << a.type.toStdString();
        EXPECT_EQ(s.GetDataTypeAbbreviation(a.type), a.abbr) << a.type.toStdString();
    }
    for (const QString& unknown : {u"varchar"_qs, u"VARCHAR2"_qs, u"INTEGER(P)"_qs, QString()}) {
        EXPECT_FALSE(s.IsKnownDataType(unknown));
        EXPECT_EQ(s.GetDataTypeAbbreviation(unknown), unknown);
    }

    struct Dom
    {
        QString cls, type, length, scale, name;
    };
    const Dom doms[] = {
        {u"명"_qs, u"VARCHAR"_qs, u"100"_qs, QString(), u"명VC100"_qs},
        {u"금액"_qs, u"NUMERIC"_qs, u"15"_qs, u"2"_qs, u"금액DEC15,2"_qs},
        {u"일자"_qs, u"DATE"_qs, QString(), QString(), u"일자DT"_qs},
        {u"여부"_qs, u"BLOB"_qs, QString(), QString(), u"여부BL"_qs},
        {u"여부"_qs, u"BOOLEAN"_qs, QString(), QString(), u"여부BL"_qs},
        {u"금액"_qs, u"NUMERIC"_qs, QString(), u"2"_qs, u"금액DEC"_qs}, // scale only with a length
        {u"명"_qs, u"varchar"_qs, u"100"_qs, QString(), QString()},     // unknown type: no proposal
        {QString(), u"VARCHAR"_qs, u"100"_qs, QString(), QString()},
        {u"명"_qs, QString(), u"100"_qs, QString(), QString()},
    };
    for (const Dom& d : doms)
        EXPECT_EQ(s.BuildDomainName(d.cls, d.type, d.length, d.scale), d.name) << d.name.toStdString();
}
