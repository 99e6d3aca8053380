#pragma once
// Fixed texts of the repository area: gateway reports and connection messages.
// Formats use CQrStringUtil::Format (%s, %d).
#include <QString>

namespace RepositoryText {
inline const QString WordUpdateFailed = QStringLiteral("%s 단어 업데이트 실패");
inline const QString WordUpdateFailedWith = QStringLiteral("%s 단어 업데이트 실패 : %s");
inline const QString DomainUpdateFailed = QStringLiteral("%s 도메인 업데이트 실패");
inline const QString DomainUpdateFailedWith = QStringLiteral("%s 도메인 업데이트 실패 : %s");
inline const QString ConnectionLostStopped = QStringLiteral("저장소 연결이 끊어져 나머지 항목을 쓰지 않았습니다");
inline const QString DomainLookupFailedWith = QStringLiteral("%s 도메인 조회 실패 : %s");
inline const QString WordInsertFailed = QStringLiteral("%s (%s) 단어 입력 실패");
inline const QString DomainInsertFailed = QStringLiteral("%s (%s) 도메인 입력 실패");
inline const QString DomainRegisterFailed = QStringLiteral("%s 도메인 등록 실패");
inline const QString DomainRegisterFailedWith = QStringLiteral("%s 도메인 등록 실패 : %s");
inline const QString TermInsertFailed = QStringLiteral("%s (%s) 용어 입력 실패");
inline const QString ClassWordUpdateFailed = QStringLiteral("단어 분류어 변경 실패");

// The connection as the window and the dialogs report it.
inline const QString ConnectionLost = QStringLiteral("저장소 연결이 끊어졌습니다");
inline const QString ConnectionLostAsk = QStringLiteral("저장소 연결이 끊어졌습니다. 다시 연결하시겠습니까?");
inline const QString NotConnected = QStringLiteral("저장소(A/R)에 연결되어 있지 않습니다");
inline const QString ReconnectFailed = QStringLiteral("저장소에 다시 연결하지 못했습니다");
inline const QString FileMissing = QStringLiteral("저장소 파일이 없습니다: %1");
inline const QString OpenFailed = QStringLiteral("저장소 %1을(를) 열지 못했습니다");
inline const QString ServerNoAnswer = QStringLiteral("서버가 응답하지 않습니다");
// A failed repository statement: which work failed, then the driver's own text.
inline const QString OperationFailed = QStringLiteral("%s 실패");
inline const QString OperationFailedWith = QStringLiteral("%s 실패 : %s");

// Names of the repository rows the program writes.
inline const QString AnalyzeDomainGroupName = QStringLiteral("분석");
inline const QString AnalyzeDomainGroupDesc = QStringLiteral("분석 도메인그룹");

// Option ids of the proposal pages, in the order they are read at connect.
inline const QString OptionCommonUrl = QStringLiteral("Meta.Common.URL");
inline const QString OptionWordProposalUrl = QStringLiteral("Standard.WordProposalURL");
inline const QString OptionDomainProposalUrl = QStringLiteral("Standard.DomainProposalURL");
inline const QString OptionTermProposalUrl = QStringLiteral("Standard.TermProposalURL");
// A database that opens but is no repository (a model database, say).
inline const QString NoRepositoryTables = QStringLiteral(
    "이 데이터베이스에는 저장소 테이블(STD_AREA 등)이 없어 저장소로 연결하지 않았습니다. 모델을 읽으려면 "
    "\"DB에서 열기\"를, 저장소를 만들려면 termwise repo init을 쓰십시오.");
} // namespace RepositoryText

// The connection dialog and the window's repository messages.
namespace ConnectText {
inline const QString DialogTitle = QStringLiteral("A/R 연결");
inline const QString ProfileGroup = QStringLiteral("연결 프로필");
inline const QString DetailGroup = QStringLiteral("연결 정보");
inline const QString NewProfile = QStringLiteral("새로 만들기");
inline const QString DeleteProfile = QStringLiteral("삭제");
inline const QString ProfileName = QStringLiteral("프로필 이름");
inline const QString Dbms = QStringLiteral("DBMS");
inline const QString SqliteFile = QStringLiteral("SQLite 파일");
inline const QString PostgreSql = QStringLiteral("PostgreSQL");
inline const QString Oracle = QStringLiteral("Oracle");
inline const QString File = QStringLiteral("파일");
inline const QString Browse = QStringLiteral("찾기...");
inline const QString Host = QStringLiteral("호스트");
inline const QString Port = QStringLiteral("포트");
inline const QString DefaultPort = QStringLiteral("기본값");
inline const QString Database = QStringLiteral("데이터베이스");
inline const QString OracleService = QStringLiteral("서비스 / TNS");
inline const QString DbUser = QStringLiteral("DB 사용자");
inline const QString Password = QStringLiteral("비밀번호");
inline const QString ArUser = QStringLiteral("A/R 사용자");
inline const QString ArUserHint = QStringLiteral("비워 두면 DB 사용자");
inline const QString SavePassword = QStringLiteral("비밀번호 저장");
inline const QString NoKeychain = QStringLiteral(
    "시스템 키체인을 사용할 수 없어 비밀번호를 저장할 수 없습니다. 비밀번호는 이번 실행 동안만 기억합니다. (%s)");
inline const QString Test = QStringLiteral("연결 테스트");
inline const QString Connect = QStringLiteral("연결");
inline const QString Cancel = QStringLiteral("취소");
inline const QString TestSucceeded = QStringLiteral("연결에 성공했습니다.");
inline const QString ConnectFailed = QStringLiteral("연결하지 못했습니다.\n\n%s");
inline const QString NeedName = QStringLiteral("프로필 이름을 입력하세요.");
inline const QString NeedFile = QStringLiteral("SQLite 파일을 선택하세요.");
inline const QString NeedServer = QStringLiteral("호스트, 데이터베이스와 DB 사용자를 입력하세요.");
inline const QString AskDelete = QStringLiteral("'%s' 프로필을 삭제하시겠습니까?");
inline const QString PasswordNotKept = QStringLiteral("비밀번호를 키체인에 저장하지 못했습니다: %s");
inline const QString FileFilter =
    QStringLiteral("SQLite 파일(*.db,*.sqlite)|*.db;*.sqlite;*.sqlite3|모든 파일(*.*)|*|");
inline const QString UriConnectFailed = QStringLiteral("A/R 연결 실패 : %s");
// A model's database kept as a profile of its own.
inline const QString ModelDb = QStringLiteral("모델 DB (\"DB에서 열기\" 전용, 저장소로 연결하지 않음)");
inline const QString ModelDbMark = QStringLiteral("%1 (모델 DB)");
inline const QString SaveProfile = QStringLiteral("저장");
inline const QString ProfileSaved = QStringLiteral("연결을 시험하고 프로필을 저장했습니다: %1");
inline const QString ModelNotRepository =
    QStringLiteral("모델 DB 프로필은 저장소로 연결하지 않습니다. \"DB에서 열기\"에서 쓰십시오.");
} // namespace ConnectText

// The shared analysis data dialog.
namespace ShareText {
inline const QString Title = QStringLiteral("분석 공유 데이터");
inline const QString SearchGroup = QStringLiteral("데이터 검색");
inline const QString ListGroup = QStringLiteral("분석 공유 데이터 목록");
inline const QString SearchHint = QStringLiteral("검색 할 논리명, 물리명을 입력하세요");
inline const QString Delete = QStringLiteral("삭제");
inline const QString Output = QStringLiteral("출력");
inline const QString ToStandard = QStringLiteral("표준 데이터 전환");
inline const QString Close = QStringLiteral("닫기");
inline const QString ChartSeries = QStringLiteral("작업자");
inline const QString DeleteCount = QStringLiteral("선택 된 대상 %d 개의 데이터를 AR 에서 삭제합니다");
inline const QString ExcelFilter = QStringLiteral("Excel 파일(*.xlsx)|*.xlsx|");
inline const QString OutputDone = QStringLiteral("출력이 완료되었습니다. 파일을 열겠습니까?");
inline const QString NoWordSelected = QStringLiteral("선택 단어가 없습니다");
inline const QString NoDomainSelected = QStringLiteral("선택 도메인이 없습니다");
inline const QString AskWordStandard = QStringLiteral("선택 대상을 표준단어로 입력 합니다. 계속 하시겠습니까?");
inline const QString AskDomainStandard = QStringLiteral("선택 대상을 표준도메인으로 입력 합니다. 계속 하시겠습니까?");
inline const QString NothingChecked = QStringLiteral("선택된 항목이 없습니다");
inline const QString ReadWork = QStringLiteral("분석 공유 데이터 조회");
inline const QString DeleteWork = QStringLiteral("분석 공유 데이터 삭제");
} // namespace ShareText
