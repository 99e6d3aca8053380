#include "components/QrDatatype.h"
#include "settings/AnalyzeSettings.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace GlobalEnum;

TEST(Datatype, PhysicalToLogicalPerDbms)
{
    struct Case
    {
        int dbms;
        QString physical, logical;
    };
    const Case cases[] = {
        {DBMS_ORACLE, u"VARCHAR2"_qs, u"VARCHAR"_qs},
        {DBMS_ORACLE_OLD, u"varchar2"_qs, u"VARCHAR"_qs},
        {DBMS_ORACLE, u"NUMBER"_qs, u"NUMERIC"_qs},
        {DBMS_ORACLE, u"NVARCHAR2"_qs, u"NVARCHAR"_qs},
        {DBMS_POSTGRESQL, u"INT4"_qs, u"INTEGER"_qs},
        {DBMS_POSTGRESQL, u"int8"_qs, u"BIGINT"_qs},
        {DBMS_POSTGRESQL, u"TIMESTAMPTZ"_qs, u"TIMESTAMP WITH TIME ZONE"_qs},
        {DBMS_POSTGRESQL, u"character  varying"_qs, u"VARCHAR"_qs},
        {DBMS_MSSQL, u"DATETIME2"_qs, u"DATETIME"_qs},
        {DBMS_MSSQL, u"BIT"_qs, u"BOOLEAN"_qs},
        {DBMS_SQLITE, u"TEXT"_qs, u"VARCHAR"_qs},
        {DBMS_SQLITE, u"INT"_qs, u"INTEGER"_qs},
        {DBMS_MYSQL, u"DOUBLE"_qs, u"FLOAT"_qs},
        // Synonyms of one DBMS do not leak into another.
        {DBMS_SQLITE, u"VARCHAR2"_qs, u"VARCHAR2"_qs},
        {DBMS_ORACLE, u"INT4"_qs, u"INT4"_qs},
        // Logical names map to themselves; unknown names come back exactly as given.
        {DBMS_ORACLE, u"DATE"_qs, u"DATE"_qs},
        {DBMS_HIVE, u"INTEGER(p)"_qs, u"INTEGER(p)"_qs},
        {DBMS_ORACLE, u"xmlish type"_qs, u"xmlish type"_qs},
        {DBMS_ORACLE, QString(), QString()},
        {99, u"VARCHAR2"_qs, u"VARCHAR2"_qs},
        {99, u"decimal"_qs, u"NUMERIC"_qs},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QrDatatype::ConvertPhyToLogDatatype(c.dbms, c.physical), c.logical)
            << c.dbms << " " << c.physical.toStdString();
}

TEST(Datatype, SettingsConvertWithTheAnalysisDbms)
{
    CAnalyzeSettings s;
    EXPECT_EQ(s.ConvertToLogicalDataType(u"VARCHAR2"_qs), u"VARCHAR"_qs); // default kind 1: Oracle
    s.analyze_database = DBMS_POSTGRESQL;
    EXPECT_EQ(s.ConvertToLogicalDataType(u"VARCHAR2"_qs), u"VARCHAR2"_qs);
    EXPECT_EQ(s.ConvertToLogicalDataType(u"INT4"_qs), u"INTEGER"_qs);
}

TEST(Datatype, LogicalTypesCoverTheAbbreviationTable)
{
    std::vector<tagLogicalDatatype> types;
    QrDatatype::GetLogicalDatatypes(types);
    CAnalyzeSettings s;
    ASSERT_EQ(types.size(), s.DataTypeKeywords().size());
    std::set<QString> ids;
    for (const tagLogicalDatatype& t : types) {
        EXPECT_TRUE(s.IsKnownDataType(t.name)) << t.name.toStdString();
        bool ok = false;
        EXPECT_GT(t.id.toInt(&ok), 0);
        EXPECT_TRUE(ok);
        EXPECT_TRUE(ids.insert(t.id).second);
        EXPECT_EQ(QrDatatype::GetLogicalDataTypeName(t.id), t.name);
        EXPECT_EQ(QrDatatype::GetLogicalDatatypeId(t.name), t.id);
        // Every logical type converts to itself, whatever the DBMS.
        for (int dbms = 1; dbms <= 24; ++dbms)
            EXPECT_EQ(QrDatatype::ConvertPhyToLogDatatype(dbms, t.name), t.name) << dbms << t.name.toStdString();
    }
    EXPECT_EQ(QrDatatype::GetLogicalDataTypeName(u"0"_qs), QString());
    EXPECT_EQ(QrDatatype::GetLogicalDatatypeId(u"varchar"_qs), QString());
}

TEST(Datatype, DbmsDisplayNames)
{
    const CQrEnumString& names = CQrEnumString::GetInstance();
    const auto values = names.GetValues(u"_eDBMSType"_qs);
    ASSERT_EQ(values.size(), 24u);
    std::set<QString> seen;
    for (int v = 1; v <= 24; ++v) {
        EXPECT_EQ(values[v - 1].first, v);
        EXPECT_FALSE(values[v - 1].second.isEmpty());
        EXPECT_TRUE(seen.insert(values[v - 1].second).second);
        EXPECT_EQ(names.GetString(u"_eDBMSType"_qs, v), values[v - 1].second);
    }
    EXPECT_TRUE(names.GetString(u"_eDBMSType"_qs, 1).startsWith(u"Oracle"_qs));
    EXPECT_TRUE(names.GetString(u"_eDBMSType"_qs, 10).startsWith(u"Oracle"_qs));
    EXPECT_EQ(names.GetString(u"_eDBMSType"_qs, 11), u"PostgreSQL"_qs);
    EXPECT_EQ(names.GetString(u"_eDBMSType"_qs, 13), u"SQLite"_qs);
    EXPECT_EQ(names.GetString(u"_eDBMSType"_qs, 0), QString());
    EXPECT_EQ(names.GetString(u"_eDBMSType"_qs, 25), QString());
    EXPECT_EQ(names.GetString(u"other"_qs, 1), QString());
}
