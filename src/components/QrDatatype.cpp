// Our data-type library: DBMS display names, the logical data types and the per-DBMS
// synonym tables that map a physical type name to a logical one.
//
// The logical types are the 52 names of the settings' abbreviation table, so every
// converted type can be abbreviated into a domain name. Lookups of physical names ignore
// ASCII case and runs of blanks ("varchar2", "double  precision"); a name we do not know
// comes back exactly as given. The tables are built on first use, so the Init functions
// only force that early; calling them is harmless and optional.
#include "components/QrDatatype.h"

#include <QHash>
#include <map>

namespace {

// Logical data types in the order the lists show them; the id is the position from 1.
const char16_t* const kLogicalNames[] = {
    u"CHAR",
    u"NCHAR",
    u"VARCHAR",
    u"NVARCHAR",
    u"BINARY",
    u"BOOLEAN",
    u"VARBINARY",
    u"CLOB",
    u"NCLOB",
    u"BLOB",
    u"INTEGER(p)",
    u"SMALLINT",
    u"INTEGER",
    u"BIGINT",
    u"NUMERIC",
    u"FLOAT",
    u"REAL",
    u"DATE",
    u"TIME",
    u"TIMESTAMP",
    u"TIMESTAMP WITH TIME ZONE",
    u"TIMESTAMP WITH LOCAL TIME ZONE",
    u"INTERVAL YEAR TO MONTH",
    u"INTERVAL DAY TO SECOND",
    u"DATETIME",
    u"TINYINT",
    u"MEDIUMINT",
    u"YEAR",
    u"TINYTEXT",
    u"MEDIUMTEXT",
    u"GEOMETRY",
    u"LONGTEXT",
    u"TINYBLOB",
    u"MEDIUMBLOB",
    u"LONGBLOB",
    u"IMAGE",
    u"UNIQUEIDENTIFIER",
    u"JSON",
    u"BSON",
    u"STRUCT",
    u"ARRAY/STRUCT",
    u"ARRAY/VARCHAR",
    u"ARRAY/NUMERIC",
    u"ARRAY/INTEGER",
    u"ARRAY/FLOAT",
    u"ARRAY/BOOLEAN",
    u"ARRAY/BINARY",
    u"ARRAY/DATE",
    u"ARRAY/DATETIME",
    u"ARRAY/TIME",
    u"ARRAY/TIMESTAMP",
    u"ARRAY/GEOMETRY",
};

struct Synonym
{
    const char16_t* physical;
    const char16_t* logical;
};

// Names most DBMSs understand the same way.
const Synonym kCommon[] = {
    {u"CHARACTER", u"CHAR"},
    {u"CHARACTER VARYING", u"VARCHAR"},
    {u"CHAR VARYING", u"VARCHAR"},
    {u"NATIONAL CHARACTER", u"NCHAR"},
    {u"NATIONAL CHAR", u"NCHAR"},
    {u"NATIONAL CHARACTER VARYING", u"NVARCHAR"},
    {u"NATIONAL CHAR VARYING", u"NVARCHAR"},
    {u"NCHAR VARYING", u"NVARCHAR"},
    {u"INT", u"INTEGER"},
    {u"DECIMAL", u"NUMERIC"},
    {u"DEC", u"NUMERIC"},
    {u"NUMBER", u"NUMERIC"},
    {u"DOUBLE", u"FLOAT"},
    {u"DOUBLE PRECISION", u"FLOAT"},
    {u"BOOL", u"BOOLEAN"},
    {u"CHARACTER LARGE OBJECT", u"CLOB"},
    {u"BINARY LARGE OBJECT", u"BLOB"},
    {u"TIMESTAMP WITHOUT TIME ZONE", u"TIMESTAMP"},
    {u"TIME WITHOUT TIME ZONE", u"TIME"},
    {u"TEXT", u"CLOB"},
};

// Oracle family (Oracle, Oracle legacy, Tibero, Altibase, Goldilocks).
const Synonym kOracle[] = {
    {u"VARCHAR2", u"VARCHAR"},
    {u"NVARCHAR2", u"NVARCHAR"},
    {u"NUMBER", u"NUMERIC"},
    {u"RAW", u"VARBINARY"},
    {u"LONG RAW", u"BLOB"},
    {u"LONG", u"CLOB"},
    {u"BINARY_FLOAT", u"REAL"},
    {u"BINARY_DOUBLE", u"FLOAT"},
    {u"BINARY_INTEGER", u"INTEGER"},
    {u"PLS_INTEGER", u"INTEGER"},
    {u"BFILE", u"BLOB"},
    {u"XMLTYPE", u"CLOB"},
    {u"SDO_GEOMETRY", u"GEOMETRY"},
    {u"ROWID", u"VARCHAR"},
    {u"UROWID", u"VARCHAR"},
    {u"INTERVAL YEAR", u"INTERVAL YEAR TO MONTH"},
    {u"INTERVAL DAY", u"INTERVAL DAY TO SECOND"},
};

const Synonym kMsSql[] = {
    {u"DATETIME2", u"DATETIME"},
    {u"SMALLDATETIME", u"DATETIME"},
    {u"DATETIMEOFFSET", u"TIMESTAMP WITH TIME ZONE"},
    {u"BIT", u"BOOLEAN"},
    {u"MONEY", u"NUMERIC"},
    {u"SMALLMONEY", u"NUMERIC"},
    {u"NTEXT", u"NCLOB"},
    {u"TEXT", u"CLOB"},
    {u"ROWVERSION", u"BINARY"},
    {u"XML", u"CLOB"},
    {u"SQL_VARIANT", u"VARBINARY"},
    {u"HIERARCHYID", u"VARBINARY"},
    {u"GEOGRAPHY", u"GEOMETRY"},
};

// MySQL and MariaDB.
const Synonym kMySql[] = {
    {u"TEXT", u"CLOB"},
    {u"BIT", u"BOOLEAN"},
    {u"DOUBLE", u"FLOAT"},
    {u"ENUM", u"VARCHAR"},
    {u"SET", u"VARCHAR"},
    {u"POINT", u"GEOMETRY"},
    {u"LINESTRING", u"GEOMETRY"},
    {u"POLYGON", u"GEOMETRY"},
    {u"INT UNSIGNED", u"INTEGER"},
    {u"BIGINT UNSIGNED", u"BIGINT"},
};

// PostgreSQL and the DBMSs that speak its type names.
const Synonym kPostgres[] = {
    {u"INT2", u"SMALLINT"},
    {u"INT4", u"INTEGER"},
    {u"INT8", u"BIGINT"},
    {u"SERIAL", u"INTEGER"},
    {u"SERIAL4", u"INTEGER"},
    {u"BIGSERIAL", u"BIGINT"},
    {u"SERIAL8", u"BIGINT"},
    {u"SMALLSERIAL", u"SMALLINT"},
    {u"SERIAL2", u"SMALLINT"},
    {u"FLOAT4", u"REAL"},
    {u"FLOAT8", u"FLOAT"},
    {u"BPCHAR", u"CHAR"},
    {u"TEXT", u"CLOB"},
    {u"BYTEA", u"BLOB"},
    {u"TIMESTAMPTZ", u"TIMESTAMP WITH TIME ZONE"},
    {u"TIMETZ", u"TIME"},
    {u"TIME WITH TIME ZONE", u"TIME"},
    {u"JSONB", u"JSON"},
    {u"UUID", u"UNIQUEIDENTIFIER"},
    {u"MONEY", u"NUMERIC"},
    {u"INTERVAL", u"INTERVAL DAY TO SECOND"},
    {u"XML", u"CLOB"},
    {u"POINT", u"GEOMETRY"},
    {u"POLYGON", u"GEOMETRY"},
};

// SQLite keeps its type names loose; TEXT holds ordinary strings there.
const Synonym kSqlite[] = {
    {u"TEXT", u"VARCHAR"},
    {u"INT", u"INTEGER"},
    {u"DOUBLE", u"FLOAT"},
};

const Synonym kDb2[] = {
    {u"VARGRAPHIC", u"NVARCHAR"},
    {u"GRAPHIC", u"NCHAR"},
    {u"DBCLOB", u"NCLOB"},
    {u"DECFLOAT", u"NUMERIC"},
    {u"VARCHAR FOR BIT DATA", u"VARBINARY"},
    {u"XML", u"CLOB"},
};

const Synonym kCubrid[] = {
    {u"STRING", u"VARCHAR"},
    {u"BIT VARYING", u"VARBINARY"},
    {u"BIT", u"BINARY"},
    {u"DATETIMETZ", u"DATETIME"},
    {u"TIMESTAMPTZ", u"TIMESTAMP WITH TIME ZONE"},
    {u"MONETARY", u"NUMERIC"},
};

const Synonym kBigQuery[] = {
    {u"STRING", u"VARCHAR"},  {u"INT64", u"BIGINT"},       {u"FLOAT64", u"FLOAT"},      {u"BOOL", u"BOOLEAN"},
    {u"BYTES", u"VARBINARY"}, {u"BIGNUMERIC", u"NUMERIC"}, {u"GEOGRAPHY", u"GEOMETRY"},
};

const Synonym kSnowflake[] = {
    {u"STRING", u"VARCHAR"},
    {u"NUMBER", u"NUMERIC"},
    {u"TIMESTAMP_NTZ", u"TIMESTAMP"},
    {u"TIMESTAMP_TZ", u"TIMESTAMP WITH TIME ZONE"},
    {u"TIMESTAMP_LTZ", u"TIMESTAMP WITH LOCAL TIME ZONE"},
    {u"VARIANT", u"JSON"},
    {u"OBJECT", u"JSON"},
    {u"GEOGRAPHY", u"GEOMETRY"},
};

const Synonym kHive[] = {
    {u"STRING", u"VARCHAR"},
    {u"DOUBLE", u"FLOAT"},
    {u"MAP", u"STRUCT"},
    {u"ARRAY", u"ARRAY/VARCHAR"},
};

const Synonym kMongo[] = {
    {u"STRING", u"VARCHAR"}, {u"OBJECTID", u"UNIQUEIDENTIFIER"}, {u"INT32", u"INTEGER"}, {u"INT64", u"BIGINT"},
    {u"LONG", u"BIGINT"},    {u"DECIMAL128", u"NUMERIC"},        {u"BOOL", u"BOOLEAN"},  {u"OBJECT", u"BSON"},
    {u"BINDATA", u"BLOB"},
};

const Synonym kTeradata[] = {
    {u"BYTEINT", u"TINYINT"},
    {u"BYTE", u"BINARY"},
    {u"VARBYTE", u"VARBINARY"},
    {u"NUMBER", u"NUMERIC"},
};

const char16_t* const kDbmsNames[] = {
    u"Oracle",          u"MS SQL Server",   u"MySQL",     u"MariaDB",        u"IBM DB2",    u"SAP ASE (Sybase)",
    u"Informix",        u"Tibero",          u"Altibase",  u"Oracle (8i/9i)", u"PostgreSQL", u"CUBRID",
    u"SQLite",          u"Teradata",        u"Greenplum", u"Netezza",        u"SAP HANA",   u"Vertica",
    u"Amazon Redshift", u"Google BigQuery", u"Snowflake", u"Apache Hive",    u"MongoDB",    u"GOLDILOCKS",
};

QString LookupKey(const QString& name)
{
    return name.simplified().toUpper();
}

struct Tables
{
    std::vector<tagLogicalDatatype> logical;
    QHash<QString, QString> nameById;
    QHash<QString, QString> idByName;
    QHash<QString, QString> common; // lookup key -> logical name
    std::map<int, QHash<QString, QString>> perDbms;

    Tables()
    {
        int id = 0;
        for (const char16_t* n : kLogicalNames) {
            tagLogicalDatatype t;
            t.id = QString::number(++id);
            t.name = QString::fromUtf16(n);
            nameById.insert(t.id, t.name);
            idByName.insert(t.name, t.id);
            common.insert(LookupKey(t.name), t.name);
            logical.push_back(t);
        }
        for (const Synonym& s : kCommon)
            common.insert(LookupKey(QString::fromUtf16(s.physical)), QString::fromUtf16(s.logical));

        auto add = [this](std::initializer_list<int> kinds, const Synonym* begin, const Synonym* end) {
            for (int kind : kinds)
                for (const Synonym* s = begin; s != end; ++s)
                    perDbms[kind].insert(LookupKey(QString::fromUtf16(s->physical)), QString::fromUtf16(s->logical));
        };
        using namespace GlobalEnum;
        add({DBMS_ORACLE, DBMS_ORACLE_OLD, DBMS_TIBERO, DBMS_ALTIBASE, DBMS_GOLDILOCKS}, std::begin(kOracle),
            std::end(kOracle));
        add({DBMS_MSSQL, DBMS_SYBASE}, std::begin(kMsSql), std::end(kMsSql));
        add({DBMS_MYSQL, DBMS_MARIADB}, std::begin(kMySql), std::end(kMySql));
        add({DBMS_POSTGRESQL, DBMS_GREENPLUM, DBMS_REDSHIFT, DBMS_VERTICA, DBMS_NETEZZA}, std::begin(kPostgres),
            std::end(kPostgres));
        add({DBMS_SQLITE}, std::begin(kSqlite), std::end(kSqlite));
        add({DBMS_DB2, DBMS_INFORMIX}, std::begin(kDb2), std::end(kDb2));
        add({DBMS_CUBRID}, std::begin(kCubrid), std::end(kCubrid));
        add({DBMS_BIGQUERY}, std::begin(kBigQuery), std::end(kBigQuery));
        add({DBMS_SNOWFLAKE}, std::begin(kSnowflake), std::end(kSnowflake));
        add({DBMS_HIVE}, std::begin(kHive), std::end(kHive));
        add({DBMS_MONGODB}, std::begin(kMongo), std::end(kMongo));
        add({DBMS_TERADATA, DBMS_HANA}, std::begin(kTeradata), std::end(kTeradata));
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}

} // namespace

namespace QrDatatype {

void InitializeQrDatatype()
{
    GetTables();
}
void InitLogicalDatatype()
{
    GetTables();
}
void InitTotalSynonymMap()
{
    GetTables();
}
void FinalizeQrDatatype() {}

QString ConvertPhyToLogDatatype(int dbms, const QString& physicalName)
{
    const Tables& t = GetTables();
    const QString key = LookupKey(physicalName);
    if (key.isEmpty())
        return physicalName;
    const auto dbmsIt = t.perDbms.find(dbms);
    if (dbmsIt != t.perDbms.end()) {
        const auto it = dbmsIt->second.constFind(key);
        if (it != dbmsIt->second.constEnd())
            return *it;
    }
    const auto it = t.common.constFind(key);
    return it != t.common.constEnd() ? *it : physicalName;
}

void GetLogicalDatatypes(std::vector<tagLogicalDatatype>& types)
{
    types = GetTables().logical;
}

QString GetLogicalDataTypeName(const QString& id)
{
    return GetTables().nameById.value(id.trimmed());
}

QString GetLogicalDatatypeId(const QString& name)
{
    return GetTables().idByName.value(name);
}

} // namespace QrDatatype

CQrEnumString& CQrEnumString::GetInstance()
{
    static CQrEnumString instance;
    return instance;
}

void CQrEnumString::DestoryInstance() {}

QString CQrEnumString::GetString(const QString& enumType, int value) const
{
    if (enumType != u"_eDBMSType" || value < 1 || value > int(std::size(kDbmsNames)))
        return {};
    return QString::fromUtf16(kDbmsNames[value - 1]);
}

std::vector<std::pair<int, QString>> CQrEnumString::GetValues(const QString& enumType) const
{
    std::vector<std::pair<int, QString>> values;
    if (enumType != u"_eDBMSType")
        return values;
    for (int v = 1; v <= int(std::size(kDbmsNames)); ++v)
        values.emplace_back(v, QString::fromUtf16(kDbmsNames[v - 1]));
    return values;
}
