ALTER TABLE order_item ADD COLUMN ord_qty INTEGER NOT NULL DEFAULT 0;
ALTER TABLE order_item RENAME COLUMN ord_amt TO ord_amount;
COMMIT;

-- SQLite keeps no comments: the columns have no logical names.
PRAGMA foreign_keys = ON;
BEGIN TRANSACTION;
CREATE TABLE IF NOT EXISTS customer (
    cust_no TEXT NOT NULL PRIMARY KEY,
    cust_nm VARCHAR(100),
    [join dt] CHAR(8),
    "Grade Cd" TEXT DEFAULT 'A',
    memo
);
CREATE TABLE order_item (
    ord_no INTEGER PRIMARY KEY AUTOINCREMENT,
    ord_amt NUMERIC(15, 2),
    FOREIGN KEY (ord_no) REFERENCES customer (cust_no)
) WITHOUT ROWID;
CREATE TABLE oops (a TEXT, 'b

CREATE TABLE [x y] (id INTEGER PRIMARY KEY, n TEXT REFERENCES t(n));
