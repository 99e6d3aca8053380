-- The comments MySQL keeps inline, given afterwards
ALTER TABLE customer COMMENT = '고객';
ALTER TABLE `customer` MODIFY COLUMN `cust_nm` varchar(100) DEFAULT NULL COMMENT '고객명\n고객의 이름';
ALTER TABLE shop.order_item
  CHANGE ord_no ord_no varchar(20) NOT NULL COMMENT '주문번호',
  MODIFY ord_amt decimal(15,2) unsigned COMMENT '주문금액',
  ADD COLUMN reg_dtm datetime DEFAULT CURRENT_TIMESTAMP COMMENT '등록일시' AFTER ord_qty,
  ADD CONSTRAINT fk_x FOREIGN KEY (ord_no) REFERENCES customer (cust_no);
ALTER TABLE shop.order_item MODIFY ord_qty int(11) NOT NULL DEFAULT 0 COMMENT '주문수량';

-- MySQL dump 10.13  Distrib 8.0
/*!40101 SET NAMES utf8mb4 */;
DROP TABLE IF EXISTS `customer`;
CREATE TABLE `customer` (
  `cust_no` varchar(20) NOT NULL COMMENT '고객번호',
  `cust_nm` varchar(100) DEFAULT NULL,
  `join_dt` char(8) DEFAULT NULL COMMENT "가입일자",
  `Grade Cd` varchar(10) COLLATE utf8mb4_bin DEFAULT 'A' COMMENT '등급코드',
  `memo` text,
  PRIMARY KEY (`cust_no`),
  KEY `ix_join` (`join_dt`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE shop.order_item (
  ord_no VARCHAR(20) NOT NULL,
  ord_amt DECIMAL(15,2) UNSIGNED,
  ord_qty INT(11) NOT NULL DEFAULT 0,
  PRIMARY KEY (ord_no)
) ENGINE=InnoDB COMMENT='주문 상품';

LOCK TABLES `customer` WRITE;
INSERT INTO `customer` VALUES ('C001','It\'s; odd','20240101','A',NULL);
UNLOCK TABLES;

DELIMITER ;;
CREATE TRIGGER trg_order BEFORE INSERT ON shop.order_item FOR EACH ROW BEGIN
  SET NEW.ord_qty = 1;
END ;;
DELIMITER ;

CREATE TABLE `broken` (`a` int COMMENT 'unterminated);

DELIMITER $$
CREATE PROCEDURE p() BEGIN SELECT 1; END$$
DELIMITER ;
ALTER TABLE `customer` RENAME COLUMN `a` TO `b`, ADD PRIMARY KEY (`b`);
