-- The whole database of the dealer system. Text compares without regard to case
-- (type codes, partner codes, keys), as the stored data and the windows expect.
-- Run in one transaction when a new database file is made.

-- Numbering
CREATE TABLE XTDH (
  id           TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  YM_S         TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  csalecont_s  INTEGER NOT NULL DEFAULT 0,
  cbuycont_s   INTEGER NOT NULL DEFAULT 0,
  caddcost_s   INTEGER NOT NULL DEFAULT 0,
  ccarin_s     INTEGER NOT NULL DEFAULT 0,
  ccarout_s    INTEGER NOT NULL DEFAULT 0,
  cprovacc_s   INTEGER NOT NULL DEFAULT 0,
  ccustacc_s   INTEGER NOT NULL DEFAULT 0,
  cservice_s   INTEGER NOT NULL DEFAULT 0,
  cpresent_s   INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE DHSZ (
  csalecontpre TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  cbuycontpre  TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  caddcostpre  TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  ccarinpre    TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  ccaroutpre   TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  cprovaccpre  TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  ccustaccpre  TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  cservicepre  TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  cpresentpre  TEXT COLLATE NOCASE NOT NULL DEFAULT ''
);

CREATE TABLE recycle (
  s_code  TEXT COLLATE NOCASE,
  recycle INTEGER,
  type    TEXT COLLATE NOCASE
);
-- A given-back serial is kept once per type ("KS" and "ks" are one type).
CREATE UNIQUE INDEX recycle_serial_type ON recycle(type, recycle);

-- Basic data
CREATE TABLE bgsxx (
  gsmc     TEXT COLLATE NOCASE,
  ywmc     TEXT COLLATE NOCASE,
  address  TEXT COLLATE NOCASE,
  areacode TEXT COLLATE NOCASE,
  phone    TEXT COLLATE NOCASE,
  fax      TEXT COLLATE NOCASE,
  e_mail1  TEXT COLLATE NOCASE,
  netsite1 TEXT COLLATE NOCASE,
  bank     TEXT COLLATE NOCASE,
  bankacc  TEXT COLLATE NOCASE,
  taxcode  TEXT COLLATE NOCASE,
  lxr      TEXT COLLATE NOCASE
);

CREATE TABLE dq (
  dqdm TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  dqmc TEXT COLLATE NOCASE
);

CREATE TABLE cconttype (
  conttypeid TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  conttype   TEXT COLLATE NOCASE
);

CREATE TABLE subject (
  subjectid   TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  subjectname TEXT COLLATE NOCASE,
  subjecttype TEXT COLLATE NOCASE
);

CREATE TABLE cartype (
  code TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  type TEXT COLLATE NOCASE
);

CREATE TABLE model (
  code  TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  model TEXT COLLATE NOCASE
);

CREATE TABLE ccustomer (
  customerid    TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  custname      TEXT COLLATE NOCASE,
  address       TEXT COLLATE NOCASE,
  zip           TEXT COLLATE NOCASE,
  phone         TEXT COLLATE NOCASE,
  fax           TEXT COLLATE NOCASE,
  e_mail        TEXT COLLATE NOCASE,
  linkman       TEXT COLLATE NOCASE,
  legalperson   TEXT COLLATE NOCASE,
  legalpersonid TEXT COLLATE NOCASE,
  bank          TEXT COLLATE NOCASE,
  accountid     TEXT COLLATE NOCASE,
  taxid         TEXT COLLATE NOCASE,
  cableaddress  TEXT COLLATE NOCASE,
  register_date TEXT COLLATE NOCASE,
  remarks       TEXT COLLATE NOCASE
);
CREATE INDEX ccustomer_custname ON ccustomer(custname);
CREATE INDEX ccustomer_register_date ON ccustomer(register_date);

CREATE TABLE cprovider (
  providerid    TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  provname      TEXT COLLATE NOCASE,
  address       TEXT COLLATE NOCASE,
  zip           TEXT COLLATE NOCASE,
  phone         TEXT COLLATE NOCASE,
  fax           TEXT COLLATE NOCASE,
  e_mail        TEXT COLLATE NOCASE,
  linkman       TEXT COLLATE NOCASE,
  legalperson   TEXT COLLATE NOCASE,
  legalpersonid TEXT COLLATE NOCASE,
  bank          TEXT COLLATE NOCASE,
  accountid     TEXT COLLATE NOCASE,
  taxid         TEXT COLLATE NOCASE,
  cableaddress  TEXT COLLATE NOCASE,
  register_date TEXT COLLATE NOCASE,
  remarks       TEXT COLLATE NOCASE
);
CREATE INDEX cprovider_register_date ON cprovider(register_date);

CREATE TABLE cprovcarmodel (
  providerid TEXT COLLATE NOCASE,
  carmodel   TEXT COLLATE NOCASE
);
CREATE INDEX cprovcarmodel_providerid ON cprovcarmodel(providerid);
-- The register finds providers by the models they supply.
CREATE INDEX cprovcarmodel_carmodel ON cprovcarmodel(carmodel, providerid);

CREATE TABLE cpersonnel (
  personnelid   TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  Name          TEXT COLLATE NOCASE,
  Sex           TEXT COLLATE NOCASE,
  Birth         TEXT COLLATE NOCASE,
  Nation        TEXT COLLATE NOCASE,
  Native        TEXT COLLATE NOCASE,
  Degree        TEXT COLLATE NOCASE,
  Job           TEXT COLLATE NOCASE,
  HireDate      TEXT COLLATE NOCASE,
  HireMode      TEXT COLLATE NOCASE,
  IDCard_No     TEXT COLLATE NOCASE,
  Address       TEXT COLLATE NOCASE,
  Phone         TEXT COLLATE NOCASE,
  ZIP           TEXT COLLATE NOCASE,
  E_Mail        TEXT COLLATE NOCASE,
  register_date TEXT COLLATE NOCASE,
  Remarks       TEXT COLLATE NOCASE
);
CREATE INDEX cpersonnel_register_date ON cpersonnel(register_date);

-- The password is compared exactly, with case.
CREATE TABLE crights (
  personnelid TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  name        TEXT COLLATE NOCASE,
  password    TEXT COLLATE BINARY,
  rights      TEXT COLLATE NOCASE
);

-- Contracts
CREATE TABLE csalecontract (
  salecont_no   TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  contract_no   TEXT COLLATE NOCASE,
  conttype      TEXT COLLATE NOCASE,
  customerid    TEXT COLLATE NOCASE,
  custname      TEXT COLLATE NOCASE,
  contract_date TEXT COLLATE NOCASE,
  contractarea  TEXT COLLATE NOCASE,
  arrive_date   TEXT COLLATE NOCASE,
  arrivearea    TEXT COLLATE NOCASE,
  startarea     TEXT COLLATE NOCASE,
  transportmode TEXT COLLATE NOCASE,
  settlemode    TEXT COLLATE NOCASE,
  recorder      TEXT COLLATE NOCASE,
  remarks       TEXT COLLATE NOCASE,
  operator      TEXT COLLATE NOCASE,
  register_date TEXT COLLATE NOCASE,
  isfinished    INTEGER,
  bodcontract   TEXT COLLATE NOCASE,
  eodcontract   TEXT COLLATE NOCASE
);
-- isfinished, the contract's progress: 0 saved, 1 executing, 2 every car
-- delivered (data/Codes.h names them).
CREATE INDEX csalecontract_customerid ON csalecontract(customerid);
CREATE INDEX csalecontract_contract_no ON csalecontract(contract_no);

CREATE TABLE cbuycontract (
  buycont_no    TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  contract_no   TEXT COLLATE NOCASE,
  conttype      TEXT COLLATE NOCASE,
  providerid    TEXT COLLATE NOCASE,
  provname      TEXT COLLATE NOCASE,
  contract_date TEXT COLLATE NOCASE,
  contractarea  TEXT COLLATE NOCASE,
  arrive_date   TEXT COLLATE NOCASE,
  arrivearea    TEXT COLLATE NOCASE,
  startarea     TEXT COLLATE NOCASE,
  transportmode TEXT COLLATE NOCASE,
  settlemode    TEXT COLLATE NOCASE,
  recorder      TEXT COLLATE NOCASE,
  remarks       TEXT COLLATE NOCASE,
  operator      TEXT COLLATE NOCASE,
  register_date TEXT COLLATE NOCASE,
  isfinished    INTEGER,
  bodcontract   TEXT COLLATE NOCASE,
  eodcontract   TEXT COLLATE NOCASE
);
-- isfinished as in csalecontract.
CREATE INDEX cbuycontract_providerid ON cbuycontract(providerid);
CREATE INDEX cbuycontract_contract_no ON cbuycontract(contract_no);

CREATE TABLE csalecontdetail (
  salecont_no   TEXT COLLATE NOCASE,
  cartype       TEXT COLLATE NOCASE,
  carmodel      TEXT COLLATE NOCASE,
  producingarea TEXT COLLATE NOCASE,
  unit          TEXT COLLATE NOCASE,
  qty           INTEGER,
  unitprice     REAL
);
CREATE INDEX csalecontdetail_salecont_no ON csalecontdetail(salecont_no);

CREATE TABLE cbuycontdetail (
  buycont_no    TEXT COLLATE NOCASE,
  cartype       TEXT COLLATE NOCASE,
  carmodel      TEXT COLLATE NOCASE,
  producingarea TEXT COLLATE NOCASE,
  unit          TEXT COLLATE NOCASE,
  qty           INTEGER,
  unitprice     REAL
);
CREATE INDEX cbuycontdetail_buycont_no ON cbuycontdetail(buycont_no);

-- Stock
CREATE TABLE carinfor (
  carserial_no  TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  carmodel      TEXT COLLATE NOCASE,
  color         TEXT COLLATE NOCASE,
  producingarea TEXT COLLATE NOCASE,
  vin_no        TEXT COLLATE NOCASE,
  chassis_no    TEXT COLLATE NOCASE,
  engine_no     TEXT COLLATE NOCASE,
  customs_no    TEXT COLLATE NOCASE,
  qualifier_no  TEXT COLLATE NOCASE,
  commodity_no  TEXT COLLATE NOCASE,
  factory_date  TEXT COLLATE NOCASE,
  storearea     TEXT COLLATE NOCASE,
  carprice      REAL,
  remarks       TEXT COLLATE NOCASE,
  carstatus     INTEGER,
  isback        INTEGER NOT NULL DEFAULT 0
);
-- carstatus, the car's state: 0 in stock, 1 sold, 2 returned to the provider,
-- 3 returned by the customer and in stock again (data/Codes.h names them).
-- The stock states that lists and counts ask for, each a small part of the
-- table. A plain index on carstatus would mislead the planner in the joins of
-- the statistics (each state is a large share of the cars): keep it partial.
-- In stock is 0 or 3; returned is 2, to the provider.
CREATE INDEX carinfor_in_stock ON carinfor(carserial_no) WHERE carstatus IN (0,3);
CREATE INDEX carinfor_returned ON carinfor(carserial_no) WHERE carstatus = 2;
-- The sold cars, and the cars received and not returned to their provider,
-- with state and price: salesview and the statistics read every car they
-- count from these alone instead of from the table. Partial like the two
-- above, so the planner keeps those for the small states. The sold cars'
-- index is asked for by "carstatus IS 1" (salesview) and not by "= 1": a list
-- of sold cars in the order of another table would otherwise scan it and
-- sort every sold car before showing its first rows.
-- An earlier form of it counted the sold cars with "= 1".
-- Sold is 1; received and not returned to the provider is 0, 1 or 3.
DROP INDEX IF EXISTS carinfor_sold;
CREATE INDEX carinfor_sold ON carinfor(carserial_no, carstatus, carprice) WHERE carstatus IS 1;
CREATE INDEX carinfor_kept ON carinfor(carserial_no, carstatus, carprice) WHERE carstatus IN (0,1,3);

CREATE TABLE carinstock (
  carin_no       TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  buycontract_no TEXT COLLATE NOCASE,
  providerid     TEXT COLLATE NOCASE,
  provname       TEXT COLLATE NOCASE,
  carserial_no   TEXT COLLATE NOCASE,
  carintype      TEXT COLLATE NOCASE,
  buyrecorder    TEXT COLLATE NOCASE,
  instock_date   TEXT COLLATE NOCASE,
  buyinvoice_no  TEXT COLLATE NOCASE
);
CREATE INDEX carinstock_carserial_no ON carinstock(carserial_no);
CREATE INDEX carinstock_buycontract_no ON carinstock(buycontract_no);
CREATE INDEX carinstock_providerid ON carinstock(providerid);
-- With the serial, the cars received in a period are counted from the index.
DROP INDEX IF EXISTS carinstock_instock_date;
CREATE INDEX carinstock_instock_date_serial ON carinstock(instock_date, carserial_no);

CREATE TABLE caroutstock (
  carout_no       TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  salecontract_no TEXT COLLATE NOCASE,
  customerid      TEXT COLLATE NOCASE,
  custname        TEXT COLLATE NOCASE,
  carserial_no    TEXT COLLATE NOCASE,
  carouttype      TEXT COLLATE NOCASE,
  salerecorder    TEXT COLLATE NOCASE,
  sales           TEXT COLLATE NOCASE,
  outstock_date   TEXT COLLATE NOCASE,
  saleinvoice_no  TEXT COLLATE NOCASE,
  saleprice       REAL
);
-- A car's sales, latest last: the current sale of each car in one step of the
-- index (salesview), and every lookup by serial.
CREATE INDEX caroutstock_carserial_no_latest ON caroutstock(carserial_no, outstock_date, carout_no);
CREATE INDEX caroutstock_salecontract_no ON caroutstock(salecontract_no);
CREATE INDEX caroutstock_customerid ON caroutstock(customerid);
CREATE INDEX caroutstock_outstock_date ON caroutstock(outstock_date);

CREATE TABLE addcost (
  addcostid    TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  carin_no     TEXT COLLATE NOCASE,
  carserial_no TEXT COLLATE NOCASE,
  subjectname  TEXT COLLATE NOCASE,
  cost         REAL
);
CREATE INDEX addcost_carserial_no ON addcost(carserial_no);

CREATE TABLE presentcost (
  presentid    TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  carout_no    TEXT COLLATE NOCASE,
  carserial_no TEXT COLLATE NOCASE,
  subjectname  TEXT COLLATE NOCASE,
  cost         REAL
);
-- With the amount, a car's sum is read from the index alone (salesview, the
-- sales query and statistics).
CREATE INDEX presentcost_carserial_no_cost ON presentcost(carserial_no, cost);

CREATE TABLE servicecost (
  serviceid    TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  carserial_no TEXT COLLATE NOCASE,
  subjectname  TEXT COLLATE NOCASE,
  cost         REAL
);
CREATE INDEX servicecost_carserial_no_cost ON servicecost(carserial_no, cost);

-- Kept for data initialisation, which empties it; nothing else uses it.
CREATE TABLE delfcost (
  id TEXT COLLATE NOCASE
);

-- Ledgers
CREATE TABLE cprovaccount (
  paccountid      TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  providerid      TEXT COLLATE NOCASE,
  provname        TEXT COLLATE NOCASE,
  provaccttype    TEXT COLLATE NOCASE,
  income          REAL,
  outgo           REAL,
  account_date    TEXT COLLATE NOCASE,
  in_date         TEXT COLLATE NOCASE,
  affirm_date     TEXT COLLATE NOCASE,
  certificate_no  TEXT COLLATE NOCASE,
  invoice_no      TEXT COLLATE NOCASE,
  buycont_no      TEXT COLLATE NOCASE,
  affirm_recorder TEXT COLLATE NOCASE,
  recorder        TEXT COLLATE NOCASE,
  remarks         TEXT COLLATE NOCASE,
  isaffirm        INTEGER NOT NULL DEFAULT 0,
  ischeck         INTEGER NOT NULL DEFAULT 0,
  check_date      TEXT COLLATE NOCASE,
  check_recorder  TEXT COLLATE NOCASE,
  isfinished      INTEGER,
  isprepay        INTEGER
);
-- isprepay, the entry's kind: 0 payment, 1 carried balance or refund, 2 car
-- charge, 3 advanced fee (data/Codes.h names them).
CREATE INDEX cprovaccount_certificate_no ON cprovaccount(certificate_no);
CREATE INDEX cprovaccount_providerid ON cprovaccount(providerid);
CREATE INDEX cprovaccount_isprepay ON cprovaccount(isprepay);
-- One partner's rows of one kind (the account queries, the reconciliation),
-- in entry-number order: without the number the planner walks the kind's
-- entries in number order to spare itself sorting one partner's few.
DROP INDEX IF EXISTS cprovaccount_isprepay_providerid;
CREATE INDEX cprovaccount_isprepay_providerid_paccountid ON cprovaccount(isprepay, providerid, paccountid);
-- The account queries: payments in entry-number order, and a range of the
-- entries' date as stored (the expression must stay as the queries write it).
CREATE INDEX cprovaccount_isprepay_paccountid ON cprovaccount(isprepay, paccountid);
CREATE INDEX cprovaccount_isprepay_entry_date ON cprovaccount(isprepay, coalesce(affirm_date, account_date, in_date));
CREATE INDEX cprovaccount_isprepay_provname ON cprovaccount(isprepay, provname);
CREATE INDEX cprovaccount_buycont_no ON cprovaccount(buycont_no);

CREATE TABLE ccustaccount (
  caccountid      TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  customerid      TEXT COLLATE NOCASE,
  custname        TEXT COLLATE NOCASE,
  custaccttype    TEXT COLLATE NOCASE,
  income          REAL,
  outgo           REAL,
  account_date    TEXT COLLATE NOCASE,
  in_date         TEXT COLLATE NOCASE,
  affirm_date     TEXT COLLATE NOCASE,
  certificate_no  TEXT COLLATE NOCASE,
  invoice_no      TEXT COLLATE NOCASE,
  salecont_no     TEXT COLLATE NOCASE,
  affirm_recorder TEXT COLLATE NOCASE,
  recorder        TEXT COLLATE NOCASE,
  remarks         TEXT COLLATE NOCASE,
  isaffirm        INTEGER NOT NULL DEFAULT 0,
  ischeck         INTEGER NOT NULL DEFAULT 0,
  check_date      TEXT COLLATE NOCASE,
  check_recorder  TEXT COLLATE NOCASE,
  isfinished      INTEGER,
  isprepay        INTEGER
);
-- isprepay as in cprovaccount.
CREATE INDEX ccustaccount_certificate_no ON ccustaccount(certificate_no);
CREATE INDEX ccustaccount_customerid ON ccustaccount(customerid);
CREATE INDEX ccustaccount_isprepay ON ccustaccount(isprepay);
-- One partner's rows of one kind (the account queries, the reconciliation),
-- in entry-number order: without the number the planner walks the kind's
-- entries in number order to spare itself sorting one partner's few.
DROP INDEX IF EXISTS ccustaccount_isprepay_customerid;
CREATE INDEX ccustaccount_isprepay_customerid_caccountid ON ccustaccount(isprepay, customerid, caccountid);
-- The account queries: payments in entry-number order, and a range of the
-- entries' date as stored (the expression must stay as the queries write it).
CREATE INDEX ccustaccount_isprepay_caccountid ON ccustaccount(isprepay, caccountid);
CREATE INDEX ccustaccount_isprepay_entry_date ON ccustaccount(isprepay, coalesce(affirm_date, account_date, in_date));
CREATE INDEX ccustaccount_isprepay_custname ON ccustaccount(isprepay, custname);
CREATE INDEX ccustaccount_salecont_no ON ccustaccount(salecont_no);

-- One row per sold car, for its current sale: its latest out-stock record (a
-- car returned by its customer and sold again has two; the first now carries
-- the return's date and counts no more), with the sums of its presents and
-- services, which belong to the car. Read car by car in serial order
-- (carinfor_sold), so every lookup (caroutstock_carserial_no_latest, the
-- sums' indexes) moves forward through its index; the link by serial also
-- lets a period on outstock_date start from caroutstock_outstock_date. The
-- sums are read only by the statements that select them. Sold is carstatus 1.
CREATE VIEW salesview AS
SELECT o.sales        AS sales,
       c.carserial_no AS carserial_no,
       o.saleprice    AS chkjg,
       c.carprice     AS rkjg,
       (SELECT sum(p.cost) FROM presentcost p WHERE p.carserial_no = c.carserial_no) AS present,
       (SELECT sum(s.cost) FROM servicecost s WHERE s.carserial_no = c.carserial_no) AS service,
       o.carout_no     AS carout_no,
       o.outstock_date AS outstock_date,
       o.customerid    AS customerid,
       o.custname      AS custname,
       c.carmodel      AS carmodel,
       c.chassis_no    AS chassis_no
  FROM carinfor c
  JOIN caroutstock o
    ON o.carserial_no = c.carserial_no
   AND o.rowid = (SELECT o2.rowid FROM caroutstock o2
                   WHERE o2.carserial_no = c.carserial_no
                   ORDER BY o2.outstock_date DESC, o2.carout_no DESC
                   LIMIT 1)
 WHERE c.carstatus IS 1;

-- Initial rows. XTDH's row carries the current year and month and is written by
-- the program when it makes the file.
INSERT INTO DHSZ (csalecontpre, cbuycontpre, caddcostpre, ccarinpre, ccaroutpre,
                  cprovaccpre, ccustaccpre, cservicepre, cpresentpre)
VALUES ('SS', 'BS', 'AS', 'RS', 'CS', 'PS', 'KS', 'VS', 'ZS');

INSERT INTO cpersonnel (personnelid, Name) VALUES ('admin', '管理员');
INSERT INTO crights (personnelid, name, password, rights)
VALUES ('admin', '管理员', '', '1111111111111111111111111111111111100000');
