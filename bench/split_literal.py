#!/usr/bin/env python3
"""The logical word split written the literal way in Python, to measure `termwise analyze logical`
beside it: reads a logical analysis document (.ztsl) and the data folder's dictionary, splits
every attribute name right to left taking the longest dictionary word that ends at each place
(one dictionary lookup per suffix length up to the longest word), joins excluded words to the word after them, and
writes each name's words and physical names as JSON.
    split_literal.py DATA_DIR DOCUMENT.ztsl OUTPUT.json
"""
import json
import sys

data_dir, document, output = sys.argv[1], sys.argv[2], sys.argv[3]
with open(f"{data_dir}/standard/termwise.json", encoding="utf-8") as f:
    dictionary = json.load(f)
first_physical = {}  # logical word -> its lowest physical name
for physical, logicals in dictionary.get("words", {}).items():
    for logical in logicals:
        if logical not in first_physical or physical < first_physical[logical]:
            first_physical[logical] = physical
excluded = set(dictionary.get("except_words", []))
longest = max(map(len, first_physical), default=1)

with open(document, encoding="utf-8") as f:
    root = json.load(f)
entries = next((v for v in root.values() if isinstance(v, list)), [])


def split(name):
    out, pending, end = [], "", len(name)
    while end > 0:
        best = 0
        for k in range(1, min(end, longest) + 1):
            if name[end - k:end] in first_physical:
                best = k
        if best:
            if pending:
                out.append(pending)
                pending = ""
            out.append(name[end - best:end])
            end -= best
        else:
            pending = name[end - 1] + pending
            end -= 1
    if pending:
        out.append(pending)
    out.reverse()
    merged, acc = [], ""
    for w in out:
        if w in excluded and len(out) > 1:
            acc += w
        else:
            merged.append(acc + w)
            acc = ""
    if acc:
        merged.append(acc) if not merged else merged.__setitem__(-1, merged[-1] + acc)
    return merged


results = []
for entry in entries:
    name = entry.get("Attribute", "")
    if not name:
        continue
    words = split(name)
    partners = [first_physical.get(w, "?") for w in words]
    known = sum(p != "?" for p in partners)
    results.append({"name": name, "words": words, "physical": "_".join(partners),
                    "status": 2 if known == len(partners) else (1 if known else 0)})
with open(output, "w", encoding="utf-8") as f:
    json.dump({"results": results}, f, ensure_ascii=False, indent=4)
