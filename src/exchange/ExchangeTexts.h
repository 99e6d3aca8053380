#pragma once
// Fixed texts of documents, workbooks and requests, shared by the forms and the command line.
#include <QString>

namespace ExchangeTexts {

inline const QString kSaved = QStringLiteral("저장이 완료되었습니다");
inline const QString kNoStandardArea = QStringLiteral("not exist standard system for analyze terms");
inline const QString kNotLogicalDocument = QStringLiteral("not logical analyzed document file");
inline const QString kNotPhysicalDocument = QStringLiteral("not physical analyzed document file");
inline const QString kNotDomainDocument = QStringLiteral("not domain analyzed document file");
inline const QString kNotTermDocument = QStringLiteral("not term analyzed document file");
inline const QString kInvalidWorkbook = QStringLiteral("not vaild excel file");
inline const QString kExported = QStringLiteral("출력이 완료되었습니다. 파일을 열겠습니까?");
inline const QString kNoAreaSelected = QStringLiteral("대상 분류체계를 선택해 주세요");

inline const QString kReadTitle = QStringLiteral("Termwise Read");
inline const QString kReadText = QStringLiteral("Read column description");
inline const QString kExportTitle = QStringLiteral("Termwise Export");
inline const QString kExportBuild = QStringLiteral("Build excel document");
inline const QString kExportWrite = QStringLiteral("Export excel document");

inline const QString kExcelFilter = QStringLiteral("Excel Files(*.xlsx,*.xls)|*.xlsx;*.xls|");

} // namespace ExchangeTexts
