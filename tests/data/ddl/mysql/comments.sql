-- The comments MySQL keeps inline, given afterwards
ALTER TABLE customer COMMENT = '고객';
ALTER TABLE `customer` MODIFY COLUMN `cust_nm` varchar(100) DEFAULT NULL COMMENT '고객명\n고객의 이름';
ALTER TABLE shop.order_item
  CHANGE ord_no ord_no varchar(20) NOT NULL COMMENT '주문번호',
  MODIFY ord_amt decimal(15,2) unsigned COMMENT '주문금액',
  ADD COLUMN reg_dtm datetime DEFAULT CURRENT_TIMESTAMP COMMENT '등록일시' AFTER ord_qty,
  ADD CONSTRAINT fk_x FOREIGN KEY (ord_no) REFERENCES customer (cust_no);
ALTER TABLE shop.order_item MODIFY ord_qty int(11) NOT NULL DEFAULT 0 COMMENT '주문수량';
