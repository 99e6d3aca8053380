#pragma once
// Every statement the program sends to the repository, one namespace per dialect.
// The texts are kept exactly as the repositories in the field expect them; the gateways
// only bind parameters, never assemble SQL (the domain lookup appends its fixed optional
// conditions, which live here too).
#include <QString>

namespace RepositorySql {

// The validity end date of a current row of a standard table.
inline constexpr char16_t kCurrentEndDate[] = u"99991231235959";
// Every domain the program registers belongs to this group.
inline constexpr char16_t kAnalyzeDomainGroupId[] = u"a1aaaaaa-b2bb-c3cc-d4dd-e5eeeeeeeeee";

// Portable statements of the base gateway.
namespace Common {
inline const QString SelectAnalyzeWords = QStringLiteral(
    "SELECT WORD_PHY_NM, WORD_LOG_NM, WORD_PHY_FULL_NM, WORD_DESC, WORD_STD_YN, WORD_AUTH FROM STD_ANLY_WORD");
inline const QString DeleteAnalyzeWord =
    QStringLiteral("DELETE FROM STD_ANLY_WORD WHERE WORD_PHY_NM = ? AND WORD_LOG_NM = ?");
inline const QString SelectAnalyzeDomains =
    QStringLiteral("SELECT KEY_DOM_NM, DOM_NM, DATA_TYPE, DATA_LEN, DATA_SCALE, DOM_AUTH FROM STD_ANLY_DOMAIN");
inline const QString DeleteAnalyzeDomain =
    QStringLiteral("DELETE FROM STD_ANLY_DOMAIN WHERE KEY_DOM_NM = ? AND DOM_NM = ?");

inline const QString SelectExceptWords =
    QStringLiteral("SELECT EXCEPT_NM, EXCEPT_AUTH FROM STD_ANLY_EXCEPT WHERE EXCEPT_CD = '0001'");
inline const QString InsertExceptWord =
    QStringLiteral("INSERT INTO STD_ANLY_EXCEPT (EXCEPT_NM, EXCEPT_AUTH, EXCEPT_CD) VALUES (?, ?, '0001')");
inline const QString DeleteExceptWord =
    QStringLiteral("DELETE FROM STD_ANLY_EXCEPT WHERE EXCEPT_NM = ? AND EXCEPT_CD = '0001'");
inline const QString SelectExceptDomains =
    QStringLiteral("SELECT EXCEPT_NM, EXCEPT_AUTH FROM STD_ANLY_EXCEPT WHERE EXCEPT_CD = '0002'");
inline const QString InsertExceptDomain =
    QStringLiteral("INSERT INTO STD_ANLY_EXCEPT (EXCEPT_NM, EXCEPT_AUTH, EXCEPT_CD) VALUES (?, ?, '0002')");
inline const QString DeleteExceptDomain =
    QStringLiteral("DELETE FROM STD_ANLY_EXCEPT WHERE EXCEPT_NM = ? AND EXCEPT_CD = '0002'");

// Does the database hold a repository at all (no row is read).
inline const QString ProbeRepositoryTables = QStringLiteral("SELECT STD_AREA_ID FROM STD_AREA WHERE 1 = 0");
inline const QString SelectStandardAreaName =
    QStringLiteral("SELECT STD_AREA_NM FROM STD_AREA WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString SelectStandardWordById = QStringLiteral(
    "SELECT DIC_LOG_NM, DIC_PHY_NM, DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, STANDARD_YN FROM STD_DIC WHERE "
    "STD_AREA_ID = ? AND DIC_ID = ? AND DIC_GBN_CD = '0001' AND AVAL_END_DT = '99991231235959'");
inline const QString UpdateStandardClassWordFlag = QStringLiteral(
    "UPDATE STD_DIC SET ATTR_CLSS_YN = 'Y' WHERE AVAL_END_DT = '99991231235959' AND DIC_GBN_CD = '0001' AND "
    "STD_AREA_ID = ? AND DIC_ID = ?");
inline const QString SelectStandardDomains = QStringLiteral(
    "SELECT DOM_ID, KEY_DOM_NM, DOM_NM, DATA_TYPE_CD, DATA_LEN, DATA_SCALE FROM STD_DOM WHERE STD_AREA_ID = ? AND "
    "AVAL_END_DT = '99991231235959' ORDER BY KEY_DOM_NM, DOM_NM");
// The domain lookup: the head, then the length and scale conditions only when they are not 0.
inline const QString SelectStandardDomainsByKey =
    QStringLiteral("SELECT DOM_NM, DOM_ID FROM STD_DOM WHERE AVAL_END_DT = '99991231235959' AND STD_AREA_ID = ? AND "
                   "KEY_DOM_NM = ? AND DATA_TYPE_CD = ? ");
inline const QString SelectStandardDomainsByKeyLength = QStringLiteral("AND DATA_LEN = ? ");
inline const QString SelectStandardDomainsByKeyScale = QStringLiteral("AND DATA_SCALE = ? ");
inline const QString SelectStandardWord =
    QStringLiteral("SELECT DIC_PHY_NM, DIC_LOG_NM, DIC_DESC FROM STD_DIC WHERE STD_AREA_ID = ? AND DIC_PHY_NM = ? AND "
                   "DIC_LOG_NM = ? AND DIC_GBN_CD = '0001' AND AVAL_END_DT = '99991231235959'");
inline const QString SelectStandardWordsByLogicalName =
    QStringLiteral("SELECT DIC_PHY_NM, DIC_LOG_NM, DIC_DESC FROM STD_DIC WHERE STD_AREA_ID = ? AND DIC_LOG_NM = ? AND "
                   "DIC_GBN_CD = '0001' AND AVAL_END_DT = '99991231235959'");
inline const QString SelectStandardDomain = QStringLiteral(
    "SELECT KEY_DOM_NM, DOM_NM, DOM_ID FROM STD_DOM WHERE STD_AREA_ID = ? AND KEY_DOM_NM = ? AND DOM_NM = ? AND "
    "AVAL_END_DT = '99991231235959'");
inline const QString SelectStandardTermsByLogicalName =
    QStringLiteral("SELECT DIC_PHY_NM, DIC_LOG_NM, DIC_DESC FROM STD_DIC WHERE STD_AREA_ID = ? AND DIC_LOG_NM = ? AND "
                   "DIC_GBN_CD = '0002' AND AVAL_END_DT = '99991231235959'");
// Who already holds a physical name: standard words (an abbreviation) or terms, other than
// the logical name being registered; case does not make another name.
inline const QString SelectStandardWordsByPhysicalName =
    QStringLiteral("SELECT DIC_LOG_NM FROM STD_DIC WHERE STD_AREA_ID = ? AND UPPER(DIC_PHY_NM) = UPPER(?) AND "
                   "DIC_LOG_NM <> ? AND DIC_GBN_CD = '0001' AND STANDARD_YN = 'Y' AND AVAL_END_DT = "
                   "'99991231235959' ORDER BY DIC_LOG_NM");
inline const QString SelectStandardTermsByPhysicalName =
    QStringLiteral("SELECT DIC_LOG_NM FROM STD_DIC WHERE STD_AREA_ID = ? AND UPPER(DIC_PHY_NM) = UPPER(?) AND "
                   "DIC_LOG_NM <> ? AND DIC_GBN_CD = '0002' AND AVAL_END_DT = '99991231235959' ORDER BY DIC_LOG_NM");
// The group most of a class's domains are in.
inline const QString SelectDomainGroupOfKey =
    QStringLiteral("SELECT DOM_GRP_ID, COUNT(*) AS N FROM STD_DOM WHERE STD_AREA_ID = ? AND KEY_DOM_NM = ? AND "
                   "AVAL_END_DT = '99991231235959' AND DOM_GRP_ID IS NOT NULL GROUP BY DOM_GRP_ID ORDER BY "
                   "COUNT(*) DESC, DOM_GRP_ID");
inline const QString ExistsAnalyzeDomainGroup =
    QStringLiteral("SELECT DOM_GRP_ID FROM STD_DOM_GRP WHERE STD_AREA_ID = ? AND DOM_GRP_ID = ? AND "
                   "AVAL_END_DT = '99991231235959'");
inline const QString InsertAnalyzeDomainGroup = QStringLiteral(
    "INSERT INTO STD_DOM_GRP ( STD_AREA_ID, DOM_GRP_ID, AVAL_END_DT, AVAL_ST_DT, DOM_GRP_NM, DOM_GRP_DESC ) "
    "VALUES(?, ?, '99991231235959', ?, '분석', '분석 도메인그룹')");

inline const QString InsertStandardWord = QStringLiteral(
    "INSERT INTO STD_DIC ( STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, DIC_PHY_FLL_NM, "
    "DIC_DESC, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD) VALUES(?, ?, '99991231235959', ?, ?, ?, ?, ?, ?, ?, "
    "'0001')");
inline const QString InsertStandardDomain = QStringLiteral(
    "INSERT INTO STD_DOM (STD_AREA_ID, DOM_ID, AVAL_END_DT, AVAL_ST_DT, KEY_DOM_NM, DOM_NM, DOM_TYPE_CD, "
    "DATA_TYPE_CD, DATA_LEN, DATA_SCALE, DOM_GRP_ID, KEY_DOM_PHY_NM) VALUES(?, ?, '99991231235959', ?, ?, ?, "
    "'0003', ?, ?, ?, ?, ?)");
inline const QString InsertDomainWordCombination = QStringLiteral(
    "INSERT INTO STD_WORD_COMBI (STD_AREA_ID, TERM_ID, TGT_GBN_CD, ORDER_NO, WORD_ID, AVAL_END_DT, AVAL_ST_DT) "
    "VALUES (?, ?, '0004', ?, ?, '99991231235959', ?)");
inline const QString InsertStandardTerm = QStringLiteral(
    "INSERT INTO STD_DIC(STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, DIC_DESC, "
    "STANDARD_YN, DIC_GBN_CD, TERM_GBN_CD, DOM_ID, DOM_USE_YN) VALUES(?, ?, '99991231235959', ?, ?, ?, ?, 'Y', "
    "'0002', '0001', ?, 'Y')");
inline const QString InsertTermWordCombination = QStringLiteral(
    "INSERT INTO STD_WORD_COMBI ( STD_AREA_ID, TERM_ID, TGT_GBN_CD, ORDER_NO, WORD_ID, AVAL_END_DT, AVAL_ST_DT) "
    "VALUES(?, ?, '0001', ?, ?, '99991231235959', ?)");

// One row of a batch written inside the batch's transaction: a row the server refuses is
// taken back alone, the rest stay (Oracle has no RELEASE: a new savepoint of the name moves it).
inline const QString SavepointRow = QStringLiteral("SAVEPOINT TW_ROW");
inline const QString RollbackToRow = QStringLiteral("ROLLBACK TO SAVEPOINT TW_ROW");
inline const QString ReleaseRow = QStringLiteral("RELEASE SAVEPOINT TW_ROW");

inline const QString SelectOptionUrls =
    QStringLiteral("SELECT OPTN_ID, OPTN_VAL FROM ZT_OPTIONS WHERE OPTN_ID IN (?, ?) AND OPTN_VALID_YN = 'Y'");

inline const QString SelectUnusedStandardWords = QStringLiteral(
    "SELECT W.DIC_ID, W.DIC_LOG_NM, W.DIC_PHY_NM, W.DIC_PHY_FLL_NM, W.DIC_DESC FROM STD_DIC W LEFT JOIN (SELECT "
    "STD_AREA_ID, WORD_ID FROM STD_WORD_COMBI WHERE AVAL_END_DT = '99991231235959' GROUP BY STD_AREA_ID, "
    "WORD_ID) C ON W.DIC_ID = C.WORD_ID AND W.STD_AREA_ID = C.STD_AREA_ID WHERE W.DIC_GBN_CD = '0001' AND "
    "W.STANDARD_YN = 'Y' AND W.AVAL_END_DT = '99991231235959' AND W.STD_AREA_ID = ? AND C.WORD_ID IS NULL "
    "ORDER BY W.DIC_LOG_NM, W.DIC_PHY_NM");
inline const QString SelectUnusedClassWords = QStringLiteral(
    "SELECT D.DIC_ID, D.DIC_LOG_NM, D.DIC_PHY_NM, D.DIC_PHY_FLL_NM, D.DIC_DESC FROM STD_DIC D LEFT JOIN (SELECT "
    "STD_AREA_ID, TERM_ID, MAX(ORDER_NO) LST_ORD, WORD_ID FROM STD_WORD_COMBI WHERE AVAL_END_DT = "
    "'99991231235959' AND TGT_GBN_CD = '0001' GROUP BY STD_AREA_ID, TERM_ID, WORD_ID) R ON D.DIC_ID = R.WORD_ID "
    "AND D.STD_AREA_ID = R.STD_AREA_ID WHERE D.STD_AREA_ID = ? AND D.DIC_GBN_CD = '0001' AND D.AVAL_END_DT = "
    "'99991231235959' AND D.ATTR_CLSS_YN = 'Y' AND R.WORD_ID IS NULL ORDER BY D.DIC_LOG_NM, D.DIC_PHY_NM");
inline const QString SelectUnusedStandardTerms = QStringLiteral(
    "SELECT T.DIC_LOG_NM, T.DIC_PHY_NM, DIC_DESC FROM STD_DIC T LEFT JOIN (SELECT T.STD_CLAS_ID FROM "
    "ZTM_ATTR_OBJ A JOIN ZTM_MDL_INFO M ON A.MDL_ID = M.MDL_ID AND M.AVAL_END_DT = '99991231235959' JOIN "
    "ZTM_TERM T ON A.MDL_ID = T.MDL_ID AND T.AVAL_END_DT = '99991231235959' WHERE A.TYPE = 102 AND "
    "A.AVAL_END_DT = '99991231235959' AND A.TERM_LINK_ID IS NOT NULL AND M.CLAS_SYST_ID = ? GROUP BY "
    "T.STD_CLAS_ID) O ON T.DIC_ID = O.STD_CLAS_ID WHERE T.DIC_GBN_CD = '0002' AND T.STD_AREA_ID = ? AND "
    "T.STANDARD_YN = 'Y' AND T.AVAL_END_DT = '99991231235959' AND O.STD_CLAS_ID IS NULL ORDER BY T.DIC_LOG_NM");
inline const QString SelectUnusedStandardDomains = QStringLiteral(
    "SELECT D.KEY_DOM_NM, D.DOM_NM, D.DATA_TYPE_CD, D.DATA_LEN, D.DATA_SCALE FROM STD_DOM D LEFT JOIN (SELECT "
    "STD_AREA_ID, DOM_ID FROM STD_DIC WHERE DIC_GBN_CD = '0002' AND STANDARD_YN = 'Y' AND AVAL_END_DT = "
    "'99991231235959' GROUP BY STD_AREA_ID, DOM_ID) C ON D.DOM_ID = C.DOM_ID AND D.STD_AREA_ID = C.STD_AREA_ID "
    "WHERE D.STD_AREA_ID = ? AND D.AVAL_END_DT = '99991231235959' AND C.DOM_ID IS NULL ORDER BY D.KEY_DOM_NM, "
    "D.DOM_NM");
} // namespace Common

namespace Sqlite {
inline const QString MergeAnalyzeWord = QStringLiteral(
    "INSERT OR REPLACE INTO STD_ANLY_WORD (WORD_PHY_NM, WORD_LOG_NM, WORD_PHY_FULL_NM, WORD_DESC, WORD_STD_YN, "
    "WORD_AUTH) VALUES (?, ?, ?, ?, ?, ?)");
inline const QString MergeAnalyzeDomain = QStringLiteral(
    "INSERT OR REPLACE INTO STD_ANLY_DOMAIN (KEY_DOM_NM, DOM_NM, DATA_TYPE, DATA_LEN, DATA_SCALE, DOM_AUTH) "
    "VALUES (?, ?, ?, ?, ?, ?)");
inline const QString SelectStandardAreas = QStringLiteral(
    "SELECT 1 LVL, STD_AREA_ID, STD_AREA_NM, STD_AREA_DESC, TERM_USE_YN, DOM_USE_YN, COMBI_USE_YN, WORD_USE_YN, "
    "CODE_USE_YN, CD_DOM_MAP_YN FROM STD_AREA WHERE AVAL_END_DT = '99991231235959'");
inline const QString SelectCurrentDateTime =
    QStringLiteral("SELECT STRFTIME('%Y%m%d%H%M%S', 'NOW', 'LOCALTIME') AS CURDATE");
// A page cache that holds a whole standard edition (64 MB), so a large import does not spill
// pages to the file before its commit.
inline const QString LargeCache = QStringLiteral("PRAGMA cache_size = -65536");
// Catalog look-up behind IsExistTable.
inline const QString ExistsTable =
    QStringLiteral("SELECT NAME FROM SQLITE_MASTER WHERE TYPE = 'table' AND UPPER(NAME) = UPPER(?)");
// Declared column types of a table ("VARCHAR(200)"): the lengths values are checked against,
// although SQLite itself would store longer ones.
inline const QString ColumnTypes = QStringLiteral("SELECT NAME, TYPE FROM PRAGMA_TABLE_INFO(?)");
// The write lock at once, so a second registration waits here (busy timeout) and then sees
// the first one's rows, instead of both reading first and one failing at its first insert.
inline const QString LockStandardWords = QStringLiteral("UPDATE STD_DIC SET DIC_ID = DIC_ID WHERE 1 = 0");
inline const QString LockStandardDomains = QStringLiteral("UPDATE STD_DOM SET DOM_ID = DOM_ID WHERE 1 = 0");
} // namespace Sqlite

namespace Oracle {
inline const QString MergeAnalyzeWord = QStringLiteral(
    "MERGE INTO STD_ANLY_WORD USING DUAL ON(WORD_PHY_NM = ? AND WORD_LOG_NM = ?) WHEN MATCHED THEN UPDATE SET "
    "WORD_PHY_FULL_NM = ?, WORD_DESC = ?, WORD_STD_YN = ?, WORD_AUTH = ? WHEN NOT MATCHED THEN "
    "INSERT(WORD_PHY_NM, WORD_LOG_NM, WORD_PHY_FULL_NM, WORD_DESC, WORD_STD_YN, WORD_AUTH) VALUES(?, ?, ?, ?, ?, "
    "?)");
inline const QString MergeAnalyzeDomain = QStringLiteral(
    "MERGE INTO STD_ANLY_DOMAIN USING DUAL ON(KEY_DOM_NM = ? AND DOM_NM = ?) WHEN MATCHED THEN UPDATE SET "
    "DATA_TYPE = ?, DATA_LEN = ?, DATA_SCALE = ?, DOM_AUTH = ? WHEN NOT MATCHED THEN INSERT(KEY_DOM_NM, DOM_NM, "
    "DATA_TYPE, DATA_LEN, DATA_SCALE, DOM_AUTH) VALUES(?, ?, ?, ?, ?, ?)");
inline const QString SelectStandardAreas = QStringLiteral(
    "SELECT LEVEL LVL, STD_AREA_ID, STD_AREA_NM FROM STD_AREA CONNECT BY PRIOR STD_AREA_ID = UP_STD_AREA_ID AND "
    "AVAL_END_DT = '99991231235959' START WITH(UP_STD_AREA_ID = 'ROOT' OR UP_STD_AREA_ID IS NULL) AND "
    "AVAL_END_DT = '99991231235959' ORDER SIBLINGS BY STD_AREA_NM");
inline const QString SelectCurrentDateTime = QStringLiteral("SELECT TO_CHAR(SYSDATE, 'YYYYMMDDHH24MISS') FROM DUAL");
inline const QString ExistsTable = QStringLiteral("SELECT TABLE_NAME FROM USER_TABLES WHERE TABLE_NAME = UPPER(?)");
// Column lengths; CHAR_USED 'B' counts DATA_LENGTH in bytes, 'C' CHAR_LENGTH in characters.
inline const QString ColumnLengths = QStringLiteral(
    "SELECT COLUMN_NAME, DATA_LENGTH, CHAR_LENGTH, CHAR_USED FROM USER_TAB_COLUMNS WHERE TABLE_NAME = UPPER(?)");
// Registrations of one table one after another (queries still run): the check for a row
// already there and the insert see the same table.
inline const QString LockStandardWords = QStringLiteral("LOCK TABLE STD_DIC IN EXCLUSIVE MODE");
inline const QString LockStandardDomains = QStringLiteral("LOCK TABLE STD_DOM IN EXCLUSIVE MODE");
} // namespace Oracle

namespace Postgresql {
inline const QString MergeAnalyzeWord = QStringLiteral(
    "WITH UPSERT AS ( UPDATE STD_ANLY_WORD SET WORD_PHY_FULL_NM = ?, WORD_DESC = ?, WORD_STD_YN = ?, WORD_AUTH = "
    "? WHERE WORD_PHY_NM = ? AND WORD_LOG_NM = ? RETURNING * ) INSERT INTO STD_ANLY_WORD (WORD_PHY_NM, "
    "WORD_LOG_NM, WORD_PHY_FULL_NM, WORD_DESC, WORD_STD_YN, WORD_AUTH) SELECT ?, ?, ?, ?, ?, ? WHERE NOT EXISTS ( "
    "SELECT * FROM UPSERT)");
inline const QString MergeAnalyzeDomain = QStringLiteral(
    "WITH UPSERT AS ( UPDATE STD_ANLY_DOMAIN SET DATA_TYPE = ?, DATA_LEN = ?, DATA_SCALE = ?, DOM_AUTH = ? WHERE "
    "KEY_DOM_NM = ? AND DOM_NM = ? RETURNING * ) INSERT INTO STD_ANLY_DOMAIN (KEY_DOM_NM, DOM_NM, DATA_TYPE, "
    "DATA_LEN, DATA_SCALE, DOM_AUTH) SELECT ?, ?, ?, ?, ?, ? WHERE NOT EXISTS ( SELECT * FROM UPSERT)");
inline const QString SelectStandardAreas = QStringLiteral(
    "WITH RECURSIVE hier_std_area( STD_AREA_NM, STD_AREA_DESC, TERM_USE_YN , DOM_USE_YN, COMBI_USE_YN, "
    "WORD_USE_YN , CODE_USE_YN, CD_DOM_MAP_YN, STD_AREA_ID , LVL, UP_STD_AREA_ID, UP_STD_AREA_NM, TOP_ID, PATH) "
    "AS ( SELECT A.STD_AREA_NM, A.STD_AREA_DESC, A.TERM_USE_YN , A.DOM_USE_YN, A.COMBI_USE_YN, A.WORD_USE_YN , "
    "A.CODE_USE_YN, A.CD_DOM_MAP_YN, A.STD_AREA_ID , 1, A.UP_STD_AREA_ID, CAST('' AS TEXT), STD_AREA_ID AS "
    "TOP_ID , ARRAY[CAST(A.STD_AREA_ID AS TEXT)] FROM STD_AREA A WHERE A.AVAL_END_DT = '99991231235959' AND(A."
    "UP_STD_AREA_ID IS NULL OR TRIM(A.UP_STD_AREA_ID) = '') UNION ALL SELECT C.STD_AREA_NM, C.STD_AREA_DESC, "
    "C.TERM_USE_YN , C.DOM_USE_YN, C.COMBI_USE_YN, C.WORD_USE_YN , C.CODE_USE_YN, C.CD_DOM_MAP_YN, C.STD_AREA_ID "
    ", (P.LVL + 1), C.UP_STD_AREA_ID, P.STD_AREA_NM AS UP_STD_AREA_NM , P.TOP_ID , PATH || CAST(C.STD_AREA_ID AS "
    "TEXT) FROM HIER_STD_AREA P JOIN STD_AREA C ON C.UP_STD_AREA_ID = P.STD_AREA_ID AND C.AVAL_END_DT = "
    "'99991231235959' ) SELECT LVL, STD_AREA_ID, STD_AREA_NM, STD_AREA_DESC, TERM_USE_YN, DOM_USE_YN, "
    "COMBI_USE_YN, WORD_USE_YN, CODE_USE_YN, CD_DOM_MAP_YN FROM HIER_STD_AREA ORDER BY PATH");
inline const QString SelectCurrentDateTime = QStringLiteral("SELECT TO_CHAR(now(), 'YYYYMMDDHH24MISS')");
// Tables visible through the search path, so a test schema or a non-public schema works.
inline const QString ExistsTable = QStringLiteral(
    "SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES WHERE UPPER(TABLE_NAME) = UPPER(?) AND TABLE_SCHEMA = "
    "ANY(CURRENT_SCHEMAS(FALSE))");
// Column lengths in characters (empty for TEXT) of the table seen through the search path.
inline const QString ColumnLengths = QStringLiteral(
    "SELECT UPPER(COLUMN_NAME) AS COLUMN_NAME, CHARACTER_MAXIMUM_LENGTH FROM INFORMATION_SCHEMA.COLUMNS WHERE "
    "UPPER(TABLE_NAME) = UPPER(?) AND TABLE_SCHEMA = ANY(CURRENT_SCHEMAS(FALSE))");
// Conflicts with itself and with inserts, not with reads: two registrations run one after
// the other, and the second sees the first one's rows.
inline const QString LockStandardWords = QStringLiteral("LOCK TABLE STD_DIC IN SHARE ROW EXCLUSIVE MODE");
inline const QString LockStandardDomains = QStringLiteral("LOCK TABLE STD_DOM IN SHARE ROW EXCLUSIVE MODE");
} // namespace Postgresql

// Portable inserts of `termwise repo init --demo`, with the demo's own identifiers.
namespace Demo {
inline const QString ExistsArea =
    QStringLiteral("SELECT STD_AREA_ID FROM STD_AREA WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString InsertArea = QStringLiteral(
    "INSERT INTO STD_AREA (STD_AREA_ID, AVAL_END_DT, AVAL_ST_DT, STD_AREA_NM, STD_AREA_DESC, UP_STD_AREA_ID, "
    "TERM_USE_YN, DOM_USE_YN, COMBI_USE_YN, WORD_USE_YN, CODE_USE_YN, CD_DOM_MAP_YN) VALUES (?, ?, ?, ?, ?, ?, "
    "'Y', 'Y', 'Y', 'Y', 'N', 'N')");
inline const QString InsertWord = QStringLiteral(
    "INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, DIC_PHY_FLL_NM, "
    "DIC_DESC, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '0001')");
inline const QString InsertTerm = QStringLiteral(
    "INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, DIC_PHY_FLL_NM, "
    "DIC_DESC, STANDARD_YN, DIC_GBN_CD, TERM_GBN_CD, DOM_ID, DOM_USE_YN) VALUES (?, ?, '99991231235959', ?, ?, ?, "
    "?, ?, 'Y', '0002', '0001', ?, 'Y')");
inline const QString InsertDomainGroup = QStringLiteral(
    "INSERT INTO STD_DOM_GRP (STD_AREA_ID, DOM_GRP_ID, AVAL_END_DT, AVAL_ST_DT, DOM_GRP_NM, DOM_GRP_DESC) VALUES "
    "(?, ?, '99991231235959', ?, ?, ?)");
inline const QString InsertDomain = QStringLiteral(
    "INSERT INTO STD_DOM (STD_AREA_ID, DOM_ID, AVAL_END_DT, AVAL_ST_DT, KEY_DOM_NM, DOM_NM, DOM_TYPE_CD, "
    "DATA_TYPE_CD, DATA_LEN, DATA_SCALE, DOM_GRP_ID, KEY_DOM_PHY_NM) VALUES (?, ?, '99991231235959', ?, ?, ?, "
    "'0001', ?, ?, ?, ?, ?)");
inline const QString InsertCombination = QStringLiteral(
    "INSERT INTO STD_WORD_COMBI (STD_AREA_ID, TERM_ID, TGT_GBN_CD, ORDER_NO, WORD_ID, AVAL_END_DT, AVAL_ST_DT) "
    "VALUES (?, ?, ?, ?, ?, '99991231235959', ?)");
inline const QString InsertOption =
    QStringLiteral("INSERT INTO ZT_OPTIONS (OPTN_ID, OPTN_VAL, OPTN_VALID_YN, OPTN_DESC) VALUES (?, ?, ?, ?)");
inline const QString InsertModel = QStringLiteral(
    "INSERT INTO ZTM_MDL_INFO (MDL_ID, AVAL_END_DT, AVAL_ST_DT, MDL_NM, CLAS_SYST_ID) VALUES (?, ?, ?, ?, ?)");
inline const QString InsertModelObject =
    QStringLiteral("INSERT INTO ZTM_ATTR_OBJ (MDL_ID, OBJ_ID, AVAL_END_DT, AVAL_ST_DT, TYPE, OBJ_LOG_NM, OBJ_PHY_NM, "
                   "TERM_LINK_ID) VALUES (?, ?, '99991231235959', ?, ?, ?, ?, ?)");
inline const QString InsertModelTerm =
    QStringLiteral("INSERT INTO ZTM_TERM (MDL_ID, TERM_ID, AVAL_END_DT, AVAL_ST_DT, STD_CLAS_ID) VALUES (?, ?, "
                   "'99991231235959', ?, ?)");
inline const QString InsertAnalyzeWord = QStringLiteral(
    "INSERT INTO STD_ANLY_WORD (WORD_PHY_NM, WORD_LOG_NM, WORD_PHY_FULL_NM, WORD_DESC, WORD_STD_YN, WORD_AUTH) "
    "VALUES (?, ?, ?, ?, ?, ?)");
inline const QString InsertAnalyzeDomain = QStringLiteral(
    "INSERT INTO STD_ANLY_DOMAIN (KEY_DOM_NM, DOM_NM, DATA_TYPE, DATA_LEN, DATA_SCALE, DOM_AUTH) VALUES (?, ?, ?, "
    "?, ?, ?)");
inline const QString InsertAnalyzeExcept =
    QStringLiteral("INSERT INTO STD_ANLY_EXCEPT (EXCEPT_NM, EXCEPT_AUTH, EXCEPT_CD) VALUES (?, ?, ?)");
} // namespace Demo

// `termwise standard import` and `termwise check`: a published edition loaded into one area.
// The inserts are a head and a row tuple: the import sends several tuples per statement where
// the dialect takes a multi-row VALUES list (one round trip per batch, not per row).
namespace Standard {
inline const QString CountCurrentDic =
    QStringLiteral("SELECT COUNT(*) AS CNT FROM STD_DIC WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString CountCurrentDomains =
    QStringLiteral("SELECT COUNT(*) AS CNT FROM STD_DOM WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString CountCurrentDomainGroups =
    QStringLiteral("SELECT COUNT(*) AS CNT FROM STD_DOM_GRP WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString CountCurrentCombinations = QStringLiteral(
    "SELECT COUNT(*) AS CNT FROM STD_WORD_COMBI WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
// Closing keeps the history: the rows stay with their validity end set to the import's time.
inline const QString CloseDic =
    QStringLiteral("UPDATE STD_DIC SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString CloseDomains =
    QStringLiteral("UPDATE STD_DOM SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString CloseDomainGroups =
    QStringLiteral("UPDATE STD_DOM_GRP SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString CloseCombinations = QStringLiteral(
    "UPDATE STD_WORD_COMBI SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString ExistsArea =
    QStringLiteral("SELECT STD_AREA_ID FROM STD_AREA WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString InsertArea = QStringLiteral(
    "INSERT INTO STD_AREA (STD_AREA_ID, AVAL_END_DT, AVAL_ST_DT, STD_AREA_NM, STD_AREA_DESC, UP_STD_AREA_ID, "
    "TERM_USE_YN, DOM_USE_YN, COMBI_USE_YN, WORD_USE_YN, CODE_USE_YN, CD_DOM_MAP_YN) VALUES (?, "
    "'99991231235959', ?, ?, ?, ?, 'Y', 'Y', 'Y', 'Y', '', '')");
inline const QString RenameArea =
    QStringLiteral("UPDATE STD_AREA SET STD_AREA_NM = ? WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");

// A class word whose published domain class is another name (제목 -> 명) names a domain of
// that class in DOM_ID; the term analysis reads its class from there.
inline const QString InsertWordHead =
    QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, "
                   "DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD, DOM_ID) VALUES ");
inline const QString InsertWordRow = QStringLiteral("(?, ?, '99991231235959', ?, ?, ?, ?, ?, ?, ?, '0001', ?)");
inline const QString InsertTermHead =
    QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, "
                   "DIC_PHY_FLL_NM, DIC_DESC, STANDARD_YN, DIC_GBN_CD, TERM_GBN_CD, DOM_ID, DOM_USE_YN) VALUES ");
inline const QString InsertTermRow =
    QStringLiteral("(?, ?, '99991231235959', ?, ?, ?, ?, ?, 'Y', '0002', '0001', ?, ?)");
// A term synonym: not standard, its description naming its term.
inline const QString InsertTermSynonymRow =
    QStringLiteral("(?, ?, '99991231235959', ?, ?, ?, ?, ?, 'N', '0002', '0001', ?, ?)");
inline const QString InsertDomainGroupHead = QStringLiteral(
    "INSERT INTO STD_DOM_GRP (STD_AREA_ID, DOM_GRP_ID, AVAL_END_DT, AVAL_ST_DT, DOM_GRP_NM, DOM_GRP_DESC) VALUES ");
inline const QString InsertDomainGroupRow = QStringLiteral("(?, ?, '99991231235959', ?, ?, ?)");
inline const QString InsertDomainHead =
    QStringLiteral("INSERT INTO STD_DOM (STD_AREA_ID, DOM_ID, AVAL_END_DT, AVAL_ST_DT, KEY_DOM_NM, DOM_NM, "
                   "DOM_TYPE_CD, DATA_TYPE_CD, DATA_LEN, DATA_SCALE, DOM_GRP_ID, KEY_DOM_PHY_NM) VALUES ");
inline const QString InsertDomainRow = QStringLiteral("(?, ?, '99991231235959', ?, ?, ?, '0003', ?, ?, ?, ?, ?)");
inline const QString InsertCombinationHead = QStringLiteral(
    "INSERT INTO STD_WORD_COMBI (STD_AREA_ID, TERM_ID, TGT_GBN_CD, ORDER_NO, WORD_ID, AVAL_END_DT, AVAL_ST_DT) "
    "VALUES ");
inline const QString InsertCombinationRow = QStringLiteral("(?, ?, '0001', ?, ?, '99991231235959', ?)");

// A term file alone joins the words and domains the area already holds.
inline const QString CountCurrentTerms =
    QStringLiteral("SELECT COUNT(*) AS CNT FROM STD_DIC WHERE STD_AREA_ID = ? AND DIC_GBN_CD = '0002' AND "
                   "AVAL_END_DT = '99991231235959'");
inline const QString CloseTerms =
    QStringLiteral("UPDATE STD_DIC SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND DIC_GBN_CD = '0002' AND "
                   "AVAL_END_DT = '99991231235959'");
inline const QString SelectStandardWords = QStringLiteral(
    "SELECT DIC_ID, DIC_LOG_NM, DIC_PHY_NM, DIC_PHY_FLL_NM FROM STD_DIC WHERE STD_AREA_ID = ? AND "
    "DIC_GBN_CD = '0001' AND STANDARD_YN = 'Y' AND AVAL_END_DT = '99991231235959' ORDER BY DIC_LOG_NM, DIC_ID");
inline const QString SelectDomainIds =
    QStringLiteral("SELECT DOM_ID, DOM_NM FROM STD_DOM WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");

// The check: descriptions of the non-standard words (forbidden ones are marked there) and the
// current domains with their type, to compare a registered term's attribute with its domain.
// An area's current standards as an edition (the diff, and bringing an area to a new edition):
// every word with the domain class its class-word link names, the domains with their group,
// the terms with their domain.
inline const QString SelectAreaWords = QStringLiteral(
    "SELECT W.DIC_ID, W.DIC_LOG_NM, W.DIC_PHY_NM, W.DIC_PHY_FLL_NM, W.DIC_DESC, W.ATTR_CLSS_YN, W.STANDARD_YN, "
    "D.KEY_DOM_NM, W.DOM_ID FROM STD_DIC W LEFT JOIN STD_DOM D ON D.STD_AREA_ID = W.STD_AREA_ID AND D.DOM_ID = "
    "W.DOM_ID AND D.AVAL_END_DT = '99991231235959' WHERE W.STD_AREA_ID = ? AND W.DIC_GBN_CD = '0001' AND "
    "W.AVAL_END_DT = '99991231235959' ORDER BY W.DIC_LOG_NM, W.DIC_ID");
inline const QString SelectAreaDomains = QStringLiteral(
    "SELECT D.DOM_ID, D.KEY_DOM_NM, D.DOM_NM, D.DATA_TYPE_CD, D.DATA_LEN, D.DATA_SCALE, G.DOM_GRP_NM, "
    "D.KEY_DOM_PHY_NM, D.DOM_GRP_ID FROM STD_DOM D LEFT JOIN STD_DOM_GRP G ON G.STD_AREA_ID = D.STD_AREA_ID AND "
    "G.DOM_GRP_ID = D.DOM_GRP_ID AND G.AVAL_END_DT = '99991231235959' WHERE D.STD_AREA_ID = ? AND D.AVAL_END_DT = "
    "'99991231235959' ORDER BY D.DOM_NM, D.DOM_ID");
// The terms leave out the synonym rows an import writes (the second parameter: their
// description's pattern).
inline const QString SelectAreaTerms = QStringLiteral(
    "SELECT T.DIC_ID, T.DIC_LOG_NM, T.DIC_PHY_NM, T.DIC_DESC, D.DOM_NM FROM STD_DIC T LEFT JOIN STD_DOM D ON "
    "D.STD_AREA_ID = T.STD_AREA_ID AND D.DOM_ID = T.DOM_ID AND D.AVAL_END_DT = '99991231235959' WHERE "
    "T.STD_AREA_ID = ? AND T.DIC_GBN_CD = '0002' AND T.AVAL_END_DT = '99991231235959' AND NOT "
    "(T.STANDARD_YN = 'N' AND T.DIC_DESC LIKE ?) ORDER BY T.DIC_LOG_NM, T.DIC_ID");
// The term synonyms an import wrote (the parameter: their description's pattern); a new edition
// writes its own, so bringing an area to it closes the old ones first.
inline const QString CloseTermSynonyms = QStringLiteral(
    "UPDATE STD_DIC SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND DIC_GBN_CD = '0002' AND STANDARD_YN = 'N' AND "
    "DIC_DESC LIKE ? AND AVAL_END_DT = '99991231235959'");
inline const QString SelectAreaDomainGroups = QStringLiteral(
    "SELECT DOM_GRP_ID, DOM_GRP_NM FROM STD_DOM_GRP WHERE STD_AREA_ID = ? AND AVAL_END_DT = '99991231235959'");
// Bringing an area to a new edition closes single rows (validity end = the import's time).
inline const QString CloseDicRow = QStringLiteral(
    "UPDATE STD_DIC SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND DIC_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString CloseDomainRow = QStringLiteral(
    "UPDATE STD_DOM SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND DOM_ID = ? AND AVAL_END_DT = '99991231235959'");
inline const QString CloseTermCombinations =
    QStringLiteral("UPDATE STD_WORD_COMBI SET AVAL_END_DT = ? WHERE STD_AREA_ID = ? AND TERM_ID = ? AND "
                   "TGT_GBN_CD = '0001' AND AVAL_END_DT = '99991231235959'");

// The current terms of an area: the standard ones with their domains, and the synonyms that
// name their term in the description.
inline const QString SelectTerms = QStringLiteral(
    "SELECT DIC_LOG_NM, DIC_PHY_NM, DOM_ID, STANDARD_YN, DIC_DESC FROM STD_DIC WHERE STD_AREA_ID = ? AND "
    "DIC_GBN_CD = '0002' AND AVAL_END_DT = '99991231235959'");
inline const QString SelectNonStandardWords =
    QStringLiteral("SELECT DIC_ID, DIC_LOG_NM, DIC_DESC FROM STD_DIC WHERE STD_AREA_ID = ? AND DIC_GBN_CD = '0001' AND "
                   "AVAL_END_DT = '99991231235959' AND (STANDARD_YN IS NULL OR STANDARD_YN <> 'Y')");
} // namespace Standard

} // namespace RepositorySql
