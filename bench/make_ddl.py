#!/usr/bin/env python3
"""Writes a PostgreSQL DDL model of N columns for the model benchmarks: the tables in one file,
their comments in another, as projects ship them. Column names and comments come from the
standard words and terms of a repository (STD_DIC of area PUB), so the check finds what a real
model has: terms as registered, names of two standard entries, non-standard physical names and
columns without comments.
    make_ddl.py REPOSITORY.db COLUMNS SCHEMA TABLES.sql COMMENTS.sql
"""
import random
import sqlite3
import sys

repo, columns, schema, tables_path, comments_path = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]
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
pool = [(l, p) for l, p in sqlite3.connect(repo).execute(
    "SELECT DIC_LOG_NM, DIC_PHY_NM FROM STD_DIC WHERE STD_AREA_ID = 'PUB' AND DIC_LOG_NM <> '' AND DIC_PHY_NM <> ''")
    if p.lower() not in reserved]
types = ["varchar(20)", "varchar(100)", "char(8)", "numeric(15,2)", "numeric(10)", "timestamp", "text", "integer"]
per_table = 20
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
            r = random.random()
            logical, physical = random.choice(pool)
            if r < 0.15:
                l2, p2 = random.choice(pool)
                logical, physical = logical + l2, physical + "_" + p2
            elif r < 0.25:
                physical = physical + "_X"
            name = physical.lower()[:60]  # PostgreSQL keeps 63 bytes of a name
            while name in used:
                name += "_2"
            used.add(name)
            defs.append(f"    {name} {random.choice(types)}")
            if r < 0.95:
                comments.write(f"COMMENT ON COLUMN {schema}.{table}.{name} IS '{logical}';\n")
                names.add(logical)
            else:
                uncommented += 1
            n += 1
        tables.write(f"CREATE TABLE {schema}.{table} (\n" + ",\n".join(defs) + f",\n    CONSTRAINT pk_{t} PRIMARY KEY ({defs[0].split()[0]})\n);\n")
        comments.write(f"COMMENT ON TABLE {schema}.{table} IS '모델 테이블 {t}';\n")
print(f"{n} columns in {t} tables, {len(pool)} standard names", file=sys.stderr)
# What check must report, counted here independently of it.
print(f"expected: columns: {n} in {t} tables, without logical name: {uncommented}; attributes: {len(names)}",
      file=sys.stderr)
