#!/usr/bin/env python3
"""Makes the bundled sample: model.csv (converted to model.xlsx with LibreOffice) and the
starter dictionary termwise.json. Run once; the outputs are committed.
    python3 make_sample.py && soffice --headless --infilter=CSV:44,34,76,1 --convert-to xlsx model.csv
"""
import csv, json, random

random.seed(7)
# logical word -> (physical abbreviation, full name, definition)
W = {
    '고객': ('CUST', 'CUSTOMER', '상품이나 서비스를 구매하는 사람'), '번호': ('NO', 'NUMBER', '식별을 위해 붙인 숫자'),
    '명': ('NM', 'NAME', '이름'), '주문': ('ORD', 'ORDER', '상품을 사겠다는 요청'), '일자': ('DT', 'DATE', '날짜'),
    '상품': ('PRD', 'PRODUCT', '판매하는 물건'), '코드': ('CD', 'CODE', '분류를 위한 부호'),
    '금액': ('AMT', 'AMOUNT', '돈의 액수'), '수량': ('QTY', 'QUANTITY', '개수'), '배송': ('DLV', 'DELIVERY', '물건을 보냄'),
    '주소': ('ADDR', 'ADDRESS', '사는 곳'), '연락처': ('CNTC', 'CONTACT', '연락할 방법'), '등록': ('REG', 'REGIST', '올림'),
    '변경': ('CHG', 'CHANGE', '바꿈'), '사용': ('USE', 'USE', '씀'), '여부': ('YN', 'YES NO', '그러함과 그러하지 아니함'),
    '일시': ('DTM', 'DATETIME', '날짜와 시각'), '결제': ('PAY', 'PAYMENT', '대금을 치름'), '계좌': ('ACNT', 'ACCOUNT', '예금 계좌'),
    '은행': ('BANK', 'BANK', '금융 기관'), '상태': ('STAT', 'STATUS', '놓여 있는 모양'), '유형': ('TP', 'TYPE', '갈래'),
    '구분': ('DIV', 'DIVISION', '나눔'), '담당자': ('CHRG', 'CHARGER', '일을 맡은 사람'), '부서': ('DEPT', 'DEPARTMENT', '조직 단위'),
    '사원': ('EMP', 'EMPLOYEE', '회사에 고용된 사람'), '시작': ('STRT', 'START', '처음'), '종료': ('END', 'END', '끝'),
    '비율': ('RT', 'RATE', '견주어 본 값'), '할인': ('DC', 'DISCOUNT', '값을 깎음'), '가격': ('PRC', 'PRICE', '값'),
    '단가': ('UPRC', 'UNIT PRICE', '한 단위의 값'), '이메일': ('EMAIL', 'EMAIL', '전자 우편'), '전화': ('TEL', 'TELEPHONE', '전화'),
    '회원': ('MBR', 'MEMBER', '모임의 구성원'), '등급': ('GRD', 'GRADE', '높낮이의 단계'), '포인트': ('PNT', 'POINT', '적립 점수'),
    '내용': ('CN', 'CONTENTS', '속에 든 것'), '순번': ('SEQ', 'SEQUENCE', '차례의 번호'), '건수': ('CNT', 'COUNT', '일의 수'),
    '최종': ('LST', 'LAST', '맨 나중'), '수정': ('MOD', 'MODIFY', '고침'), '생성': ('CRT', 'CREATE', '만듦'),
    '요청': ('REQ', 'REQUEST', '청함'), '처리': ('PROC', 'PROCESS', '일을 다룸'), '승인': ('APRV', 'APPROVAL', '받아들임'),
    '반품': ('RTN', 'RETURN', '돌려보냄'), '취소': ('CNCL', 'CANCEL', '없던 것으로 함'), '재고': ('STCK', 'STOCK', '창고에 있는 물건'),
    '창고': ('WH', 'WAREHOUSE', '물건을 두는 곳'), '카테고리': ('CTGR', 'CATEGORY', '범주'), '우편번호': ('ZIP', 'ZIP CODE', '우편 구역 번호'),
}
# words the starter dictionary does not know yet: the sample's unknown words
UNKNOWN = {'마일리지': 'MLG', '쿠폰': 'CPN', '바코드': 'BRCD', '택배사': 'PCLCO', '적립': 'ACCM', '휴대폰': 'MPHN'}
CLASS = {  # class word -> (physical type, length, scale) choices
    '번호': [('VARCHAR2', '20', '')], '명': [('VARCHAR2', '100', ''), ('VARCHAR2', '200', '')],
    '일자': [('CHAR', '8', '')], '일시': [('DATE', '', '')], '코드': [('VARCHAR2', '10', '')],
    '금액': [('NUMBER', '15', '2'), ('NUMBER', '18', '0')], '수량': [('NUMBER', '10', '0')], '주소': [('VARCHAR2', '200', '')],
    '여부': [('CHAR', '1', '')], '비율': [('NUMBER', '5', '2')], '내용': [('VARCHAR2', '4000', '')],
    '순번': [('NUMBER', '10', '0')], '건수': [('NUMBER', '10', '0')], '가격': [('NUMBER', '15', '2')],
    '단가': [('NUMBER', '15', '2')], '연락처': [('VARCHAR2', '20', '')], '이메일': [('VARCHAR2', '100', '')],
    '등급': [('VARCHAR2', '10', '')], '상태': [('VARCHAR2', '10', '')], '우편번호': [('VARCHAR2', '6', '')],
}
SUBJECTS = ['고객', '주문', '상품', '배송', '결제', '회원', '사원', '부서', '재고', '창고', '반품', '요청', '쿠폰', '택배사']
QUALIFIERS = ['', '', '등록', '변경', '최종', '시작', '종료', '처리', '승인', '취소', '할인', '적립', '마일리지']
HEADS = ['번호', '명', '일자', '일시', '코드', '금액', '수량', '주소', '여부', '비율', '내용', '순번', '건수', '가격',
         '단가', '연락처', '이메일', '등급', '상태', '우편번호']
PHYS = dict((k, v[0]) for k, v in W.items())
PHYS.update(UNKNOWN)


def fmt(t, l, s):
    if not l:
        return t
    return f'{t}({l},{s})' if s else f'{t}({l})'


rows, seen = [], set()
while len(rows) < 320:
    subj, qual, head = random.choice(SUBJECTS), random.choice(QUALIFIERS), random.choice(HEADS)
    words = [w for w in (subj, qual, head) if w]
    name = ''.join(words)
    if name in seen and random.random() < 0.8:
        continue
    seen.add(name)
    if head == '주소' and random.random() < 0.3:
        name += random.choice(['1', '2'])  # 주소1, 주소2 fold into one target
    column = '_'.join(PHYS[w] for w in words)
    t, l, s = random.choice(CLASS[head])
    definition = f'{W.get(subj, ("", "", subj))[2]}의 {W[head][2]}'
    rows.append([name, column, fmt(t, l, s), definition])

with open('model.csv', 'w', newline='', encoding='utf-8') as f:
    w = csv.writer(f)
    w.writerow(['속성명', '컬럼명', '데이터타입', '속성정의'])
    w.writerows(rows)

words = {}
for logical, (phys, full, desc) in W.items():
    words.setdefault(phys, {})[logical] = [full, desc]
# Domains per class word; 비율 and 등급 only in other sizes, so the sample has missing domains.
LOGICAL = {'VARCHAR2': ('VARCHAR', 'V'), 'CHAR': ('CHAR', 'C'), 'NUMBER': ('NUMERIC', 'N'), 'DATE': ('DATE', 'DT')}
domains = {}
for head, choices in CLASS.items():
    if head == '비율':
        choices = [('NUMBER', '7', '3')]
    elif head == '등급':
        choices = [('VARCHAR2', '20', '')]
    for t, l, s in choices:
        logical, abbr = LOGICAL[t]
        name = head + abbr + l + (',' + s if l and s else '')
        domains.setdefault(head, {})[name] = [logical, l, s]
settings = {
    'words': words, 'nonestd_words': {}, 'domains': domains, 'except_domains': [], 'except_words': [],
    'seperator': '_', 'analyze_database': '1', 'analyze_sort_result': '0', 'need_seperator': '0',
    'accept_synonym_words': '0', 'domain_use_words': '0', 'term_analy_with_synonym': '0',
}
with open('termwise.json', 'w', encoding='utf-8') as f:
    json.dump(settings, f, ensure_ascii=False, indent=2, sort_keys=True)
print(len(rows), 'attributes')
