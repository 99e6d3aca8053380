#!/usr/bin/env python3
"""Scripts that cost the DDL reader the most, for bench/ddl.sh.

make_huge_ddl.py KIND SIZE OUT.sql
  columns   one CREATE TABLE of SIZE MB: columns with long MySQL COMMENTs (Korean)
  check     one CREATE TABLE of SIZE MB: CHECK (b IN (0, 1, ...))
  comment   one COMMENT ON COLUMN whose literal is SIZE MB
  insert    a table, then one INSERT of SIZE MB (passed over)
  schemas   SIZE tables named orders, each in its own schema
  recreate  SIZE times DROP TABLE orders; CREATE TABLE orders
"""
import sys

kind, size, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
target = size * 1024 * 1024
with open(out, "w", encoding="utf-8") as f:
    if kind == "columns":
        f.write("CREATE TABLE shop.tb_wide (\n  id BIGINT PRIMARY KEY")
        note = "고객 주문 금액의 합계이며 할인과 적립금을 뺀 뒤의 값입니다 " * 4
        written, i = 0, 0
        while written < target:
            line = f",\n  col_{i} DECIMAL(15,2) NOT NULL DEFAULT 0 COMMENT '주문 금액 {i} {note}'"
            f.write(line)
            written += len(line.encode())
            i += 1
        f.write("\n) ENGINE=InnoDB;\n")
    elif kind == "check":
        f.write("CREATE TABLE tb_check (a INT, b INT CHECK (b IN (0")
        written, i = 0, 1
        while written < target:
            piece = ", ".join(str(n) for n in range(i, i + 1000))
            f.write(", " + piece)
            written += len(piece) + 2
            i += 1000
        f.write(")));\n")
    elif kind == "comment":
        f.write("CREATE TABLE tb_note (note_txt VARCHAR(4000));\n")
        f.write("COMMENT ON COLUMN tb_note.note_txt IS '비고 ")
        chunk = "긴 설명 '' 따옴표와 ; 세미콜론 -- 주석 아닌 글 /* 이것도 */ " * 100
        written = 0
        while written < target:
            f.write(chunk)
            written += len(chunk.encode())
        f.write("';\n")
    elif kind == "insert":
        f.write("CREATE TABLE tb_row (row_no INT, row_txt VARCHAR(100));\n")
        f.write("INSERT INTO tb_row VALUES (0, '행')")
        written, i = 0, 1
        while written < target:
            piece = "".join(f", ({n}, '행 {n}; 값')" for n in range(i, i + 1000))
            f.write(piece)
            written += len(piece.encode())
            i += 1000
        f.write(";\n")
    elif kind == "schemas":
        for i in range(size):
            f.write(f"CREATE TABLE s{i}.orders (order_no INT PRIMARY KEY, cust_no INT, ord_amt DECIMAL(15,2));\n"
                    f"COMMENT ON COLUMN s{i}.orders.ord_amt IS '주문 금액';\n")
    elif kind == "recreate":
        for i in range(size):
            f.write("DROP TABLE IF EXISTS orders;\n"
                    f"CREATE TABLE orders (order_no INT PRIMARY KEY, cust_no INT, ord_amt_{i % 7} DECIMAL(15,2));\n"
                    "COMMENT ON COLUMN orders.cust_no IS '고객 번호';\n")
    else:
        sys.exit(__doc__)
