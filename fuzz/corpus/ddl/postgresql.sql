﻿COMMENT ON TABLE public.customer IS '고객';
COMMENT ON COLUMN public.customer.cust_no IS '고객번호';
COMMENT ON COLUMN public.customer.cust_nm IS E'고객명\n고객의 이름';
COMMENT ON COLUMN public.customer.join_dt IS '가입일자';
COMMENT ON COLUMN public.customer."Grade Cd" IS '등급코드';
COMMENT ON TABLE shop.order_item IS '주문 상품';
COMMENT ON COLUMN shop.order_item.ord_no IS '주문번호';
COMMENT ON COLUMN shop.order_item.ord_amt IS '주문금액';
COMMENT ON COLUMN shop.order_item.ord_qty IS '주문수량';
COMMENT ON COLUMN shop.order_item.reg_dtm IS '등록일시';
COMMENT ON INDEX shop.order_item_pkey IS '색인';

--
-- PostgreSQL database dump (the shape pg_dump writes)
--
SET statement_timeout = 0;
SET client_encoding = 'UTF8';
SELECT pg_catalog.set_config('search_path', '', false);

CREATE FUNCTION public.touch() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  NEW.reg_dtm := now(); -- a semicolon inside the body
  RETURN NEW;
END;
$$;

CREATE TABLE public.customer (
    cust_no character varying(20) NOT NULL,
    cust_nm varchar(100),
    join_dt character(8) DEFAULT to_char(now(), 'YYYYMMDD'::text),
    "Grade Cd" varchar(10),
    memo text,
    CONSTRAINT customer_pkey PRIMARY KEY (cust_no)
);

ALTER TABLE public.customer OWNER TO postgres;

CREATE TABLE shop.order_item (
    ord_no character varying(20) NOT NULL,
    ord_amt numeric(15,2),
    ord_qty integer CHECK (ord_qty >= 0),
    reg_dtm timestamp without time zone DEFAULT now()
);

COPY public.customer (cust_no, cust_nm, join_dt, "Grade Cd", memo) FROM stdin;
C001	홍길동; 'quote	20240101	A	\N
\.

ALTER TABLE ONLY shop.order_item
    ADD CONSTRAINT order_item_pkey PRIMARY KEY (ord_no);

CREATE TABLE public.broken AS SELECT * FROM public.customer;

/* a /* nested */ comment */
COMMENT ON COLUMN customer.cust_no IS E'\'s \\ no';
ALTER TABLE ONLY customer ADD CONSTRAINT pk PRIMARY KEY (cust_no);
CREATE FUNCTION f() RETURNS int AS $body$ SELECT 1; $body$ LANGUAGE sql;
