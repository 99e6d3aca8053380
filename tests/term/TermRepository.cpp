#include "TermRepository.h"

#include "components/QrDatabaseManager.h"
#include "components/QrDatatype.h"
#include "repository/RepositoryConnection.h"
#include "repository/RepositoryInit.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

namespace {

const QString kName = QStringLiteral("AR");
const QString kCurrent = QStringLiteral("99991231235959");

QSqlDatabase Repository()
{
    return CQrDatabaseManager::GetInstance().Database(kName);
}

} // namespace

bool TermRepository::Open(const QString& backend, QString& skipReason)
{
    CRepositoryConnection& connection = CRepositoryConnection::Instance();
    connection.OnRepositoryDisconnected();
    QString uri;
    if (backend == QLatin1String("postgres")) {
        uri = qEnvironmentVariable("TERMWISE_TEST_PG");
        if (uri.isEmpty()) {
            skipReason = QStringLiteral("TERMWISE_TEST_PG is not set (run through scripts/with-postgres)");
            return false;
        }
    } else {
        m_file = QDir::temp().filePath(
            QStringLiteral("termwise-term-%1.db").arg(QUuid::createUuid().toString(QUuid::Id128)));
        uri = QStringLiteral("sqlite:") + m_file;
    }
    QString error;
    if (!connection.Open(uri, &error, true)) {
        m_errors.append(error);
        return false;
    }
    m_open = true;
    if (backend == QLatin1String("postgres")) {
        m_schema = QStringLiteral("term_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        Exec(QStringLiteral("CREATE SCHEMA ") + m_schema);
        Exec(QStringLiteral("SET search_path TO ") + m_schema);
    } else {
        Exec(QStringLiteral("PRAGMA synchronous = OFF"));
    }
    RepositoryInitSummary summary;
    if (!CreateRepositorySchema(*connection.Database(), summary, error))
        m_errors.append(error);
    connection.OnRepositoryConnected();
    if (!connection.OpenGate())
        m_errors.append(QStringLiteral("no gateway"));
    return m_errors.isEmpty();
}

// Demo standard of `termwise repo init --demo` (area "ENT").
bool TermRepository::LoadDemo()
{
    RepositoryInitSummary summary;
    QString error;
    if (!LoadDemoStandard(*CRepositoryConnection::Instance().Database(), summary, error)) {
        m_errors.append(error);
        return false;
    }
    return true;
}

void TermRepository::Close()
{
    if (!m_open)
        return;
    if (!m_schema.isEmpty())
        Exec(QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
    CRepositoryConnection::Instance().OnRepositoryDisconnected();
    if (!m_file.isEmpty())
        QFile::remove(m_file);
    m_open = false;
}

bool TermRepository::Exec(const QString& sql, const QVariantList& values)
{
    QSqlQuery q(Repository());
    bool ok = false;
    if (values.isEmpty()) {
        ok = q.exec(sql); // DDL cannot be prepared on PostgreSQL
    } else {
        ok = q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        ok = ok && q.exec();
    }
    if (!ok)
        m_errors.append(sql + QStringLiteral(": ") + q.lastError().text());
    return ok;
}

void TermRepository::AddArea(const QString& id, const QString& name, const QString& parent)
{
    Exec(QStringLiteral(
             "INSERT INTO STD_AREA (STD_AREA_ID, STD_AREA_NM, UP_STD_AREA_ID, AVAL_END_DT) VALUES (?, ?, ?, ?)"),
         {id, name, parent.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(parent), kCurrent});
}

void TermRepository::AddWord(const QString& area, const QString& id, const QString& logical, const QString& physical,
                             bool classWord, bool standard, const QString& full)
{
    Exec(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, "
                        "DIC_PHY_FLL_NM, DIC_DESC, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD) "
                        "VALUES (?, ?, ?, '20240101000000', ?, ?, ?, ?, ?, ?, '0001')"),
         {area, id, kCurrent, logical, physical, full.isEmpty() ? physical : full, logical,
          classWord ? QStringLiteral("Y") : QString(), standard ? QStringLiteral("Y") : QStringLiteral("N")});
}

void TermRepository::AddOldWord(const QString& area, const QString& id, const QString& logical, const QString& physical)
{
    Exec(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, "
                        "DIC_PHY_FLL_NM, ATTR_CLSS_YN, STANDARD_YN, DIC_GBN_CD) "
                        "VALUES (?, ?, '20231231235959', '20200101000000', ?, ?, ?, 'Y', 'Y', '0001')"),
         {area, id, logical, physical, physical});
}

void TermRepository::AddTerm(const QString& area, const QString& id, const QString& logical, const QString& physical,
                             const QString& domainId)
{
    Exec(QStringLiteral("INSERT INTO STD_DIC (STD_AREA_ID, DIC_ID, AVAL_END_DT, AVAL_ST_DT, DIC_LOG_NM, DIC_PHY_NM, "
                        "DIC_DESC, STANDARD_YN, DIC_GBN_CD, TERM_GBN_CD, DOM_ID, DOM_USE_YN) "
                        "VALUES (?, ?, ?, '20240101000000', ?, ?, ?, 'Y', '0002', '0001', ?, 'Y')"),
         {area, id, kCurrent, logical, physical, logical, domainId});
}

void TermRepository::AddDomain(const QString& area, const QString& id, const QString& keyDomain, const QString& name,
                               const QString& logicalType, int length, int scale)
{
    Exec(QStringLiteral("INSERT INTO STD_DOM (STD_AREA_ID, DOM_ID, AVAL_END_DT, AVAL_ST_DT, KEY_DOM_NM, DOM_NM, "
                        "DOM_TYPE_CD, DATA_TYPE_CD, DATA_LEN, DATA_SCALE) VALUES (?, ?, ?, '20240101000000', ?, ?, "
                        "'0003', ?, ?, ?)"),
         {area, id, kCurrent, keyDomain, name, QrDatatype::GetLogicalDatatypeId(logicalType), QString::number(length),
          QString::number(scale)});
}

void TermRepository::LoadStandard()
{
    AddArea(QStringLiteral("A1"), QStringLiteral("공통표준"));
    AddArea(QStringLiteral("A2"), QStringLiteral("업무표준"), QStringLiteral("A1"));
    const QString a = QStringLiteral("A1");
    AddWord(a, QStringLiteral("W01"), QStringLiteral("고객"), QStringLiteral("CUST"), false);
    AddWord(a, QStringLiteral("W02"), QStringLiteral("주문"), QStringLiteral("ORD"), false);
    AddWord(a, QStringLiteral("W03"), QStringLiteral("번호"), QStringLiteral("NO"), true, true,
            QStringLiteral("NUMBER"));
    AddWord(a, QStringLiteral("W04"), QStringLiteral("명"), QStringLiteral("NM"), true, true, QStringLiteral("NAME"));
    AddWord(a, QStringLiteral("W05"), QStringLiteral("손님"), QStringLiteral("CUST"), false, false);
    AddWord(a, QStringLiteral("W06"), QStringLiteral("일자"), QStringLiteral("DT"), true);
    AddWord(a, QStringLiteral("W07"), QStringLiteral("금액"), QStringLiteral("AMT"), true);
    AddWord(a, QStringLiteral("W08"), QStringLiteral("주민등록번호"), QStringLiteral("RRN_NO"), true);
    AddWord(a, QStringLiteral("W09"), QStringLiteral("등록"), QStringLiteral("REG"), false);
    AddWord(a, QStringLiteral("W10"), QStringLiteral("주문번"), QStringLiteral("ORDN"), false, false);
    AddOldWord(a, QStringLiteral("W99"), QStringLiteral("폐기"), QStringLiteral("OLD"));
    AddWord(QStringLiteral("A2"), QStringLiteral("X01"), QStringLiteral("상품"), QStringLiteral("PROD"), false);
    AddTerm(a, QStringLiteral("T01"), QStringLiteral("고객번호"), QStringLiteral("CUST_NO"), QStringLiteral("D01"));
    AddDomain(a, QStringLiteral("D01"), QStringLiteral("번호"), QStringLiteral("번호VC20"), QStringLiteral("VARCHAR"),
              20, 0);
    AddDomain(a, QStringLiteral("D02"), QStringLiteral("명"), QStringLiteral("명VC100"), QStringLiteral("VARCHAR"), 100,
              0);
    AddDomain(a, QStringLiteral("D03"), QStringLiteral("주문번호"), QStringLiteral("주문번호VC30"),
              QStringLiteral("VARCHAR"), 30, 0);
    AddDomain(a, QStringLiteral("D04"), QStringLiteral("번호"), QStringLiteral("번호VC30"), QStringLiteral("VARCHAR"),
              30, 0);
    AddDomain(a, QStringLiteral("D05"), QStringLiteral("금액"), QStringLiteral("금액DEC15,2"),
              QStringLiteral("NUMERIC"), 15, 2);
}
