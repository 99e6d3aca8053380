#pragma once
// Fixed texts of the chat-completion logical-name extraction.
#include <QString>
#include <QStringList>

namespace AssistantTexts {
inline const QString ChatTitle = QStringLiteral("ChatGPT Logical Extractor");
inline const QString KeywordsLabel = QStringLiteral("분석 참고 키워드");
inline const QString KeywordsCue = QStringLiteral("분석 관련 참고 키워드를 입력하세요");
inline const QString ApiKeyLabel = QStringLiteral("사용자 API KEY");
inline const QString ApiKeyCue = QStringLiteral("ChatGPT User API Key 를 입력하세요");
inline const QString ColumnsLabel = QStringLiteral("분석 대상 컬럼");
inline const QStringList GridColumns = {QStringLiteral("컬럼명"), QStringLiteral("분석 한글명")};
inline const QString RequestButton = QStringLiteral("분석 요청");
inline const QString CloseButton = QStringLiteral("닫기");
inline const QString NoApiKey = QStringLiteral("ChatGPT API Key 가 입력되지 않았습니다");
inline const QString ProgressTitle = QStringLiteral("Termwise ChatGPT");
inline const QString ProgressText = QStringLiteral("Waiting for chatGPT response");

// The prompt; %1 the column names joined by commas, %2 the keywords.
inline const QString PromptFormat =
    QStringLiteral("I have column names (%1) that are used in a specific schema. generate the Korean names "
                   "corresponding to those columns. Output the result in JSON only.");
inline const QString KeywordsFormat = QStringLiteral("Keywords to analyze are (%1)");

// Why a request brought no answer (shown instead of the JSON parser's complaint about an
// empty reply, which would hide the cause).
inline const QString HttpFailed = QStringLiteral("ChatGPT 요청이 실패했습니다 (HTTP %1)");
inline const QString Unauthorized = QStringLiteral("ChatGPT API Key 가 거부되었습니다 (HTTP %1)");
inline const QString TimedOut = QStringLiteral("ChatGPT 응답이 %1초 안에 오지 않았습니다");
inline const QString Refused = QStringLiteral("ChatGPT 서비스에 연결할 수 없습니다: %1");
inline const QString NetworkFailed = QStringLiteral("ChatGPT 요청이 실패했습니다: %1");
inline const QString NoAnswer = QStringLiteral("ChatGPT 응답에 답변이 없습니다");
} // namespace AssistantTexts
