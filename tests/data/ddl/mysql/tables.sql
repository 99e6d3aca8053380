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
