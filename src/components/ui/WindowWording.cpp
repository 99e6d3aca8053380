#include "components/ui/WindowWording.h"

#include <utility>

namespace {

// Longer keys first where one begins another.
const std::pair<const char*, const char*> kKorean[] = {
    {"Termwise Process", "처리 중"},
    {"Termwise Read", "읽기"},
    {"Termwise Export", "내보내기"},
    {"Termwise Initialize", "준비"},
    {"Termwise Import", "가져오기"},
    {"Termwise ChatGPT", "ChatGPT 요청"},
    {"Search standard data for analyze terms. wait...", "용어 분석에 쓸 표준 데이터를 찾는 중입니다…"},
    {"Analyze standard word, domain data", "표준 단어와 도메인을 분석하는 중입니다"},
    {"Arrangement analyzed data", "분석 결과를 정리하는 중입니다"},
    {"Search synonym word data", "이음동의어를 찾는 중입니다"},
    {"reAnalyze related standard terms. wait...", "관련 대상을 다시 분석하는 중입니다…"},
    {"reAnalyze related standard terms", "관련 대상을 다시 분석하는 중입니다"},
    {"Filtering already registed standard terms", "등록 용어를 거르는 중입니다"},
    {"Filtering already extract analyzed word", "분석한 단어를 거르는 중입니다"},
    {"Filtering already extract analyzed domain", "분석한 도메인을 거르는 중입니다"},
    {"Process analyze word", "단어를 분석하는 중입니다"},
    {"Process analyze domain", "도메인을 분석하는 중입니다"},
    {"Analyze levenshtein distance word", "비슷한 단어를 찾는 중입니다"},
    {"Read column description", "컬럼 설명을 읽는 중입니다"},
    {"Build excel document", "Excel 문서를 만드는 중입니다"},
    {"Export excel document", "Excel 문서를 쓰는 중입니다"},
    {"Initialize dictionary engine", "분석 사전을 준비하는 중입니다"},
    {"Waiting for chatGPT response", "ChatGPT의 응답을 기다리는 중입니다"},
    {"not exist standard system for analyze terms", "분석할 표준 분류체계가 없습니다"},
    {"not logical analyzed document file", "논리 단어 분석 문서가 아닙니다"},
    {"not physical analyzed document file", "물리 단어 분석 문서가 아닙니다"},
    {"not domain analyzed document file", "도메인 분석 문서가 아닙니다"},
    {"not term analyzed document file", "용어 분석 문서가 아닙니다"},
    {"not vaild excel file", "올바른 Excel 파일이 아닙니다"},
};

} // namespace

QString WindowWording::Korean(const QString& text)
{
    for (const auto& [english, korean] : kKorean) {
        const QLatin1String key(english);
        if (text == key)
            return QString::fromUtf8(korean);
        // a step with its detail: "Process analyze word (3/10)"
        if (text.startsWith(key) && text.size() > key.size() && !text.at(key.size()).isLetterOrNumber())
            return QString::fromUtf8(korean) + text.mid(key.size());
    }
    return text;
}
