#pragma once
// DBMS kinds, logical data types and physical-to-logical conversion.
#include <QString>
#include <vector>

namespace GlobalEnum {
enum _eDBMSType {
    DBMS_ORACLE = 1,
    DBMS_MSSQL = 2,
    DBMS_MYSQL = 3,
    DBMS_MARIADB = 4,
    DBMS_DB2 = 5,
    DBMS_SYBASE = 6,
    DBMS_INFORMIX = 7,
    DBMS_TIBERO = 8,
    DBMS_ALTIBASE = 9,
    DBMS_ORACLE_OLD = 10,
    DBMS_POSTGRESQL = 11,
    DBMS_CUBRID = 12,
    DBMS_SQLITE = 13,
    DBMS_TERADATA = 14,
    DBMS_GREENPLUM = 15,
    DBMS_NETEZZA = 16,
    DBMS_HANA = 17,
    DBMS_VERTICA = 18,
    DBMS_REDSHIFT = 19,
    DBMS_BIGQUERY = 20,
    DBMS_SNOWFLAKE = 21,
    DBMS_HIVE = 22,
    DBMS_MONGODB = 23,
    DBMS_GOLDILOCKS = 24,
};
}

struct tagLogicalDatatype
{
    QString id;   // decimal text
    QString name;
    QString reserved1;
    QString reserved2;
};

namespace QrDatatype {
void InitializeQrDatatype();
void InitLogicalDatatype();
void InitTotalSynonymMap();
void FinalizeQrDatatype();
// Unknown names come back unchanged.
QString ConvertPhyToLogDatatype(int dbms, const QString& physicalName);
void GetLogicalDatatypes(std::vector<tagLogicalDatatype>& types);
QString GetLogicalDataTypeName(const QString& id);
QString GetLogicalDatatypeId(const QString& name);
} // namespace QrDatatype

// Display names of enumeration values.
class CQrEnumString
{
public:
    static CQrEnumString& GetInstance();
    static void DestoryInstance();
    // Type name "_eDBMSType"; empty for an unknown value.
    QString GetString(const QString& enumType, int value) const;
    std::vector<std::pair<int, QString>> GetValues(const QString& enumType) const;
};
