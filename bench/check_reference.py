#!/usr/bin/env python3
"""The core of `termwise check` written the straightforward way, to measure beside it: reads the
DDL scripts of make_ddl.py, takes the name at the head of each column comment, splits it into the
standard's words (synonyms and forbidden words included, Latin letters in any case), looks the
name up among the terms and writes the findings as JSON.
    check_reference.py REPOSITORY.db AREA OUTPUT.json SCRIPT.sql...
"""
import json
import re
import sqlite3
import sys

repo, area, output, scripts = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
db = sqlite3.connect(repo)
current = "AVAL_END_DT = '99991231235959' AND STD_AREA_ID = ?"
words = {}  # logical name, folded -> (standard, class word, standard synonym)
by_physical = {}
for logical, physical, cls, std in db.execute(
        f"SELECT DIC_LOG_NM, DIC_PHY_NM, ATTR_CLSS_YN, STANDARD_YN FROM STD_DIC WHERE {current} "
        "AND DIC_GBN_CD = '0001' ORDER BY DIC_LOG_NM, DIC_PHY_NM, DIC_ID", (area,)):
    if logical:
        words.setdefault(logical.upper(), (std == "Y", cls == "Y", physical))
        if std == "Y":
            by_physical.setdefault(physical, logical)
terms = {}
for logical, dom_id in db.execute(
        f"SELECT DIC_LOG_NM, DOM_ID FROM STD_DIC WHERE {current} AND DIC_GBN_CD = '0002'", (area,)):
    if logical:
        terms.setdefault(logical.upper(), dom_id)
domains = {d: (t or "").upper() for d, t in db.execute(
    f"SELECT DOM_ID, DATA_TYPE_CD FROM STD_DOM WHERE {current}", (area,))}
longest = max((len(w) for w in words), default=1)

columns = {}  # (schema.table, column) -> type
comments = {}
create = re.compile(r"CREATE TABLE\s+([\w.]+)\s*\((.*?)\n\);", re.S)
comment = re.compile(r"COMMENT ON COLUMN\s+([\w.]+)\.(\w+)\s+IS\s+'((?:[^']|'')*)';")
for path in scripts:
    text = open(path, encoding="utf-8").read()
    for table, body in create.findall(text):
        for line in body.split(",\n"):
            parts = line.split()
            if parts and parts[0].upper() != "CONSTRAINT":
                columns[(table, parts[0])] = " ".join(parts[1:]).upper()
    for table, col, text_ in comment.findall(text):
        comments[(table, col)] = text_.replace("''", "'")

cut = re.compile(r"[.,:;(\[\n]| - ")
findings = []
counts = {}


def find(kind, table, col, subject):
    counts[kind] = counts.get(kind, 0) + 1
    findings.append({"kind": kind, "table": table, "column": col, "subject": subject})


def split(name):
    """Left to right, the longest standard word at each position; unknown characters gather."""
    out, unknown, i = [], "", 0
    folded = name.upper()
    while i < len(name):
        for k in range(min(longest, len(name) - i), 0, -1):
            if folded[i:i + k] in words:
                if unknown:
                    out.append((unknown, None))
                    unknown = ""
                out.append((name[i:i + k], words[folded[i:i + k]]))
                i += k
                break
        else:
            unknown += name[i]
            i += 1
    if unknown:
        out.append((unknown, None))
    return out


conforming = 0
for (table, col), dtype in columns.items():
    raw = comments.get((table, col), "")
    name = cut.split(raw, 1)[0].strip()
    if not name or name.isdigit() or len(name) == 1:
        find("논리명 없음", table, col, raw)
        continue
    key = name.replace(" ", "").upper()
    if key in terms:
        want = domains.get(terms[key], "")
        if want and not dtype.startswith(want):
            find("도메인 불일치", table, col, f"{name}: {dtype} / {want}")
        else:
            conforming += 1
        continue
    parts = [p for piece in name.split() for p in split(piece)]
    ok = True
    for text_, word in parts:
        if word is None:
            find("미등록 단어", table, col, text_)
            ok = False
        elif not word[0]:
            find("비표준 단어", table, col, f"{text_} -> {by_physical.get(word[2], '')}")
            ok = False
    last = parts[-1][1] if parts else None
    if last is not None and not last[1]:
        find("분류어 아님", table, col, parts[-1][0])
        ok = False
    find("미등록 용어", table, col, name)
    conforming += 1 if ok else 0

with open(output, "w", encoding="utf-8") as out:
    json.dump({"columns": len(columns), "conforming": conforming, "counts": counts, "findings": findings},
              out, ensure_ascii=False, indent=1)
print(f"columns: {len(columns)}, conforming: {conforming}, findings: {len(findings)}", file=sys.stderr)
