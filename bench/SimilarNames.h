#pragma once
// Dictionaries of word names that look like real ones, for the similar-word benchmark and
// the tests that compare the engine with the plain procedure. Deterministic per seed.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <set>

namespace SimilarNames {

class Random
{
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return int(Next() % uint64_t(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T> const T& Pick(const T* items, int count) { return items[Below(count)]; }

private:
    uint64_t m_state;
};

inline QString Syllable(int initial, int vowel, int final)
{
    return QString(QChar(char16_t(0xAC00 + (initial * 21 + vowel) * 28 + final)));
}

// A Hangul syllable with its jamo drawn from the common ones.
inline QString RandomSyllable(Random& random)
{
    static const int initials[] = {0, 2, 3, 5, 6, 7, 9, 11, 12, 14, 15, 16, 17, 18};
    static const int vowels[] = {0, 1, 4, 5, 6, 8, 13, 18, 20, 9, 14};
    static const int finals[] = {0, 0, 0, 0, 1, 4, 8, 16, 17, 21, 21};
    return Syllable(random.Pick(initials, 14), random.Pick(vowels, 11), random.Pick(finals, 11));
}

// Changes one jamo of one syllable: the spelling slips the review is meant to catch.
inline QString SlipSyllable(const QString& name, Random& random)
{
    QString result = name;
    for (int tries = 0; tries < 4; ++tries) {
        const int at = random.Below(int(result.size()));
        const int code = result[at].unicode() - 0xAC00;
        if (code < 0 || code > 11171)
            continue;
        int initial = code / 588, vowel = (code % 588) / 28, final = code % 28;
        switch (random.Below(3)) {
        case 0:
            initial = (initial + 1 + random.Below(18)) % 19;
            break;
        case 1:
            vowel = (vowel + 1 + random.Below(20)) % 21;
            break;
        default:
            final = (final + 1 + random.Below(27)) % 28;
            break;
        }
        result[at] = Syllable(initial, vowel, final)[0];
        return result;
    }
    return result;
}

// Logical word names: Korean words and compounds of them, some with a slipped syllable,
// a dropped or added syllable, or a Latin tail.
inline QStringList LogicalNames(int count, uint64_t seed)
{
    static const char16_t* const words[] = {
        u"고객", u"번호", u"주문",     u"일자",   u"명칭",   u"코드",   u"금액", u"수량", u"주소", u"전화",
        u"상품", u"계좌", u"거래",     u"은행",   u"지점",   u"사원",   u"부서", u"직급", u"급여", u"시작",
        u"종료", u"등록", u"수정",     u"삭제",   u"여부",   u"구분",   u"유형", u"상태", u"사유", u"내용",
        u"비고", u"건수", u"비율",     u"단가",   u"총액",   u"할인",   u"세금", u"결제", u"방법", u"카드",
        u"배송", u"우편", u"도시",     u"국가",   u"지역",   u"담당",   u"관리", u"승인", u"요청", u"처리",
        u"결과", u"이력", u"순번",     u"기준",   u"기간",   u"연도",   u"월별", u"분기", u"보험", u"계약",
        u"만기", u"이자", u"잔액",     u"입금",   u"출금",   u"대출",   u"한도", u"신용", u"등급", u"점수",
        u"평가", u"학교", u"학생",     u"과목",   u"성적",   u"교수",   u"강의", u"시간", u"장소", u"회의",
        u"문서", u"파일", u"경로",     u"버전",   u"시스템", u"사용자", u"권한", u"접속", u"암호", u"인증",
        u"메일", u"주민", u"생년월일", u"성별",   u"나이",   u"직업",   u"소득", u"자산", u"부채", u"재고",
        u"창고", u"입고", u"출고",     u"공급",   u"업체",   u"협력",   u"계획", u"실적", u"목표", u"매출",
        u"원가", u"이익", u"손실",     u"예산",   u"집행",   u"정산",   u"환율", u"통화", u"단위", u"수수료",
        u"위치", u"좌표", u"면적",     u"높이",   u"무게",   u"길이",   u"색상", u"크기", u"모델", u"제조",
        u"품목", u"분류", u"대분류",   u"중분류", u"소분류", u"항목",   u"값",   u"명",   u"수",   u"일",
        u"번",   u"액",   u"율",       u"량",     u"자",     u"지",     u"서",   u"부",   u"처",   u"과",
        u"팀"};
    const int wordCount = int(sizeof(words) / sizeof(words[0]));
    static const char* const tails[] = {"ID", "URL", "IP", "YN", "CD", "NO", "1", "2"};
    Random random(seed);
    std::set<QString> names;
    QStringList made;
    while (int(names.size()) < count) {
        QString name;
        const int kind = random.Below(100);
        if (kind < 15 && !made.isEmpty()) {
            name = SlipSyllable(made[random.Below(int(made.size()))], random);
        } else if (kind < 20 && !made.isEmpty()) {
            name = made[random.Below(int(made.size()))];
            if (name.size() > 2 && random.Chance(50))
                name.remove(random.Below(int(name.size())), 1);
            else
                name.insert(random.Below(int(name.size()) + 1), RandomSyllable(random));
        } else if (kind < 35) {
            const int length = 1 + random.Below(4);
            for (int i = 0; i < length; ++i)
                name += RandomSyllable(random);
        } else {
            const int parts = 1 + random.Below(random.Chance(30) ? 4 : 3);
            for (int i = 0; i < parts; ++i)
                name += QString::fromUtf16(words[random.Below(wordCount)]);
            if (random.Chance(4))
                name += QLatin1String(tails[random.Below(8)]);
        }
        if (name.isEmpty() || name.size() > 16)
            continue;
        if (names.insert(name).second)
            made.append(name);
    }
    return QStringList(names.begin(), names.end());
}

// Physical word names: upper-case English words, their abbreviations and compounds joined
// by "_", some with a typing slip, a few in Hangul.
inline QStringList PhysicalNames(int count, uint64_t seed, bool withHangul = true)
{
    static const char* const onsets[] = {"B", "C", "D", "F", "G",  "H",  "K",  "L",  "M",  "N",  "P",  "R",
                                         "S", "T", "V", "W", "CH", "ST", "TR", "PR", "CL", "SH", "BR", "GR"};
    static const char* const nuclei[] = {"A", "E", "I", "O", "U", "EA", "OU", "IO", "AI"};
    static const char* const codas[] = {"", "", "", "N", "R", "T", "S", "L", "M", "CT", "NT", "RD"};
    static const char* const letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    Random random(seed);
    auto word = [&] {
        QString w;
        const int syllables = 1 + random.Below(3);
        for (int i = 0; i < syllables; ++i) {
            w += QLatin1String(random.Pick(onsets, 24));
            w += QLatin1String(random.Pick(nuclei, 9));
            w += QLatin1String(random.Pick(codas, 12));
        }
        return w;
    };
    auto abbreviate = [&](const QString& w) {
        QString a = w.left(1);
        for (int i = 1; i < w.size(); ++i)
            if (!QStringLiteral("AEIOU").contains(w[i]))
                a += w[i];
        return a.left(random.Chance(5) ? 2 : 3 + random.Below(3));
    };
    std::set<QString> names;
    QStringList made, hangul;
    while (int(names.size()) < count) {
        QString name;
        const int kind = random.Below(100);
        if (kind < 15 && !made.isEmpty()) {
            name = made[random.Below(int(made.size()))];
            const int at = random.Below(int(name.size()));
            switch (random.Below(3)) {
            case 0:
                name[at] = QLatin1Char(letters[random.Below(26)]);
                break;
            case 1:
                name.remove(at, 1);
                break;
            default:
                name.insert(at, QLatin1Char(letters[random.Below(26)]));
                break;
            }
        } else if (kind < 40) {
            name = word();
        } else if (kind < 70) {
            name = abbreviate(word());
        } else {
            const int parts = 2 + random.Below(2);
            for (int i = 0; i < parts; ++i) {
                if (i > 0)
                    name += QLatin1Char('_');
                name += random.Chance(70) ? abbreviate(word()) : word();
            }
            if (random.Chance(5))
                name += QString::number(random.Below(10));
        }
        if (withHangul && random.Chance(2)) {
            if (random.Chance(50) && !hangul.isEmpty()) {
                name = SlipSyllable(hangul[random.Below(int(hangul.size()))], random);
            } else {
                name.clear();
                const int length = 2 + random.Below(4);
                for (int i = 0; i < length; ++i)
                    name += RandomSyllable(random);
            }
            hangul.append(name);
        }
        if (name.isEmpty() || name.size() > 24)
            continue;
        if (names.insert(name).second)
            made.append(name);
    }
    return QStringList(names.begin(), names.end());
}

} // namespace SimilarNames
