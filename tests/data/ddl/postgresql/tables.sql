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
