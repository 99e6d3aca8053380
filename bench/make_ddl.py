#!/usr/bin/env python3
"""Writes a PostgreSQL DDL model of N columns for the model benchmarks: the tables in one file,
their comments in another, as projects ship them. Column names and comments come from the
standard words and terms of a repository (STD_DIC of area PUB).
    make_ddl.py REPOSITORY.db COLUMNS SCHEMA TABLES.sql COMMENTS.sql [--mix registered|distinct]

Mixes:
  registered (default)  names drawn from the standard's names: terms as registered, names of two
                        standard entries, non-standard physical names, columns without comments;
                        few names are distinct (16 % at 1M columns).
  distinct              names as real databases have them: most distinct (two to four standard
                        words, the last mostly a class word), comments that go on with a
                        description or a code list ("사용자 상태. 0:사용중, 1:잠금"), code lists
                        alone, numbered names (설명1), lower-case Latin words (사용자 id, url 주소),
                        types that fit the name's domain and types that do not.
"""
import random
import re
import sqlite3
import sys

args = [a for a in sys.argv[1:] if not a.startswith("--mix")]
mix = "registered"
for i, a in enumerate(sys.argv):
    if a == "--mix" and i + 1 < len(sys.argv):
        mix = sys.argv[i + 1]
        args.remove(mix)
    elif a.startswith("--mix="):
        mix = a.split("=", 1)[1]
if mix not in ("registered", "distinct") or len(args) != 5:
    sys.exit(__doc__)
repo, columns, schema, tables_path, comments_path = args[0], int(args[1]), args[2], args[3], args[4]
random.seed(28)
# PostgreSQL's words that cannot name a column unquoted (reserved and type/function names).
reserved = set("""all analyse analyze and any array as asc asymmetric authorization binary both case cast check
collate collation column concurrently constraint create cross current_catalog current_date current_role
current_schema current_time current_timestamp current_user default deferrable desc distinct do else end except
false fetch for foreign freeze from full grant group having ilike in initially inner intersect into is isnull
join lateral leading left like limit localtime localtimestamp natural not notnull null offset on only or order
outer overlaps placing primary references returning right select session_user similar some symmetric
system_user table tablesample then to trailing true union unique user using variadic verbose when where window
with""".split())
db = sqlite3.connect(repo)
pool = [(l, p) for l, p in db.execute(
    "SELECT DIC_LOG_NM, DIC_PHY_NM FROM STD_DIC WHERE STD_AREA_ID = 'PUB' AND DIC_LOG_NM <> '' AND DIC_PHY_NM <> ''")
    if p.lower() not in reserved]
types = ["varchar(20)", "varchar(100)", "char(8)", "numeric(15,2)", "numeric(10)", "timestamp", "text", "integer"]
per_table = 20

if mix == "distinct":
    current = "AVAL_END_DT = '99991231235959' AND STD_AREA_ID = 'PUB'"
    words = [(l, p, c == "Y", d) for l, p, c, d in db.execute(
        f"SELECT DIC_LOG_NM, DIC_PHY_NM, ATTR_CLSS_YN, DOM_ID FROM STD_DIC WHERE {current} AND DIC_GBN_CD = '0001' "
        "AND STANDARD_YN = 'Y' AND DIC_LOG_NM <> '' AND DIC_PHY_NM <> ''")]
    plain = [w for w in words if not w[2]]
    classes = [w for w in words if w[2]]
    latin = [w for w in words if w[0].isascii() and w[0].isalpha() and 2 <= len(w[0]) <= 5]
    terms = [(l, p, d) for l, p, d in db.execute(
        f"SELECT DIC_LOG_NM, DIC_PHY_NM, DOM_ID FROM STD_DIC WHERE {current} AND DIC_GBN_CD = '0002' "
        "AND DIC_LOG_NM <> '' AND DIC_PHY_NM <> ''") if p.lower() not in reserved]
    domains = {}
    # The published domain names carry the type: 명V100, 연월일C8, 금액N15,2, 일시D.
    letters = {"V": "VARCHAR", "C": "CHAR", "N": "NUMERIC", "D": "TIMESTAMP"}
    shape = re.compile(r"([CVND])(\d*)(?:,(\d+))?$")
    for dom_id, key, name in db.execute(f"SELECT DOM_ID, KEY_DOM_NM, DOM_NM FROM STD_DOM WHERE {current}"):
        m = shape.search(name or "")
        if m:
            domains[dom_id] = (key, letters[m.group(1)], m.group(2) or "", m.group(3) or "")
    by_key = {}
    for key, dtype, length, scale in domains.values():
        by_key.setdefault(key, []).append((dtype, length, scale))

    def fitting(dom_id, class_word):
        """A type of one of the domains the name's class word or term gives, when one can be written."""
        cands = [domains[dom_id][1:]] if dom_id in domains else by_key.get(class_word, [])
        for dtype, length, scale in random.sample(cands, len(cands)):
            num = lambda s: s.strip().isdigit()
            if dtype in ("VARCHAR", "CHAR", "NUMERIC") and num(length):
                return f"{dtype.lower()}({length}{',' + scale if num(scale) and scale.strip() != '0' else ''})"
            if dtype in ("DATE", "TIMESTAMP", "INTEGER", "BIGINT", "TEXT"):
                return dtype.lower()
        return None

    descriptions = [". 0:사용중, 1:잠금, 2:해지", ", Y : 표시, N : 비표시", "(중복)", " - 화면에 보이는 값",
                    ". 시스템이 부여한다", "\n등록 시 입력", ": 공통코드 참조", "[선택]"]
    code_lists = ["0:사용, 1:미사용", "Y/N", "1: 정상, 2: 오류, 9: 기타", "사용 여부를 나타낸다."]

    def column():
        """(logical name, physical name, type, comment or None)."""
        r = random.random()
        if r < 0.15 and terms:
            logical, physical, dom_id = random.choice(terms)
            class_word = None
        else:
            parts = [random.choice(plain) for _ in range(random.randint(1, 3))]
            last = random.choice(classes) if random.random() < 0.85 else random.choice(plain)
            parts.append(last)
            if r < 0.25 and latin:  # a Latin word written in small letters
                parts.insert(random.randrange(len(parts)), random.choice(latin))
            logical = "".join(w[0].lower() if w[0].isascii() else w[0] for w in parts)
            if r < 0.25:
                logical = " ".join(w[0].lower() if w[0].isascii() else w[0] for w in parts)
            physical = "_".join(w[1] for w in parts)
            dom_id, class_word = last[3], last[0]
        if random.random() < 0.05:  # numbered columns: 설명1, 설명2
            n = str(random.randint(1, 5))
            logical, physical = logical + n, physical + n
        if random.random() < 0.10:
            physical += "_X"
        dtype = fitting(dom_id, class_word) if random.random() < 0.6 else None
        c = random.random()
        if c < 0.05:
            comment = None
        elif c < 0.08:
            comment = random.choice(code_lists)
        elif c < 0.45:
            comment = logical + random.choice(descriptions)
        else:
            comment = logical
        return logical, physical, dtype or random.choice(types), comment
else:
    def column():
        r = random.random()
        logical, physical = random.choice(pool)
        if r < 0.15:
            l2, p2 = random.choice(pool)
            logical, physical = logical + l2, physical + "_" + p2
        elif r < 0.25:
            physical = physical + "_X"
        return logical, physical, random.choice(types), logical if r < 0.95 else None

with open(tables_path, "w", encoding="utf-8") as tables, open(comments_path, "w", encoding="utf-8") as comments:
    n = 0
    t = 0
    uncommented = 0
    names = set()
    while n < columns:
        t += 1
        table = f"tb_model_{t:06d}"
        used, defs = set(), []
        for _ in range(min(per_table, columns - n)):
            logical, physical, dtype, comment = column()
            name = physical.lower()[:60]  # PostgreSQL keeps 63 bytes of a name
            while name in used or name in reserved:
                name += "_2"
            used.add(name)
            defs.append(f"    {name} {dtype}")
            if comment is not None:
                text = comment.replace("'", "''")
                comments.write(f"COMMENT ON COLUMN {schema}.{table}.{name} IS '{text}';\n")
                names.add(comment)
            else:
                uncommented += 1
            n += 1
        tables.write(f"CREATE TABLE {schema}.{table} (\n" + ",\n".join(defs) + f",\n    CONSTRAINT pk_{t} PRIMARY KEY ({defs[0].split()[0]})\n);\n")
        comments.write(f"COMMENT ON TABLE {schema}.{table} IS '모델 테이블 {t}';\n")
print(f"{n} columns in {t} tables, mix {mix}, {len(pool)} standard names", file=sys.stderr)
# What check must report, counted here independently of it.
print(f"expected: columns: {n} in {t} tables, without logical name: {uncommented}; distinct comments: {len(names)}",
      file=sys.stderr)
