-- The accounting suite's database, as the order station reads and writes it (SQLite).
--
-- Conventions:
--   * every text column is COLLATE NOCASE: the suite compares codes and names without regard to
--     letter case, so uid = 'c1001' finds C1001 and keys are unique regardless of case;
--   * money columns are declared CURRENCY (NUMERIC affinity), quantities, rates and percents REAL,
--     counters and flags INTEGER;
--   * DATETIME columns hold texts 'yyyy-MM-dd' or 'yyyy-MM-dd hh:mm:ss' (times of day 'hh:mm:ss');
--   * index names are database-wide in SQLite, so an index that the suite names the same on
--     several tables is created as "<table>_<name>" on all but the first table (customer keeps
--     "uididx", employee has "employee_uididx"); table record sets look for the plain name first,
--     then for "<table>_<name>".
--
-- Loads with `sqlite3 suite.db < suite-sqlite.sql` and through sqlite3_exec: plain SQL only.

BEGIN;

-- Sales order headers: one row per order; invno is the order number from no_setup.
CREATE TABLE so (
    invno             TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    CustNo            TEXT COLLATE NOCASE,
    invdate           DATETIME,
    orddate           DATETIME,  -- ship date of the order
    CancelDate        DATETIME,
    amount            CURRENCY,  -- subtotal of the lines
    Memo              TEXT COLLATE NOCASE,
    balance           CURRENCY,
    freight           CURRENCY,
    tax               CURRENCY,
    total             CURRENCY,
    dc                CURRENCY,  -- discount amount
    tdcpercent        REAL,      -- discount percent
    dcamtentered      TEXT COLLATE NOCASE,  -- 'Y' when dc was typed in as an amount
    taxrate           REAL,
    paydate           DATETIME,
    payflag           INTEGER,
    inputdate         DATETIME,
    inputtime         DATETIME,  -- time of day, 'hh:mm:ss'
    userid            TEXT COLLATE NOCASE,
    ref               TEXT COLLATE NOCASE,
    sadressname       TEXT COLLATE NOCASE,
    sAddress1         TEXT COLLATE NOCASE,
    sAddress2         TEXT COLLATE NOCASE,
    sCity             TEXT COLLATE NOCASE,
    sstate            TEXT COLLATE NOCASE,
    szip              TEXT COLLATE NOCASE,
    sCountry          TEXT COLLATE NOCASE,
    badressname       TEXT COLLATE NOCASE,
    baddress1         TEXT COLLATE NOCASE,
    baddress2         TEXT COLLATE NOCASE,
    bcity             TEXT COLLATE NOCASE,
    bstate            TEXT COLLATE NOCASE,
    bzip              TEXT COLLATE NOCASE,
    bcountry          TEXT COLLATE NOCASE,
    terms             TEXT COLLATE NOCASE,
    salesman          TEXT COLLATE NOCASE,
    shipvia           TEXT COLLATE NOCASE,
    ordtype           INTEGER,   -- 0 regular, 1 back order
    ordstatus         INTEGER,   -- 0 never printed, 1 printed
    custpo            TEXT COLLATE NOCASE,
    Commission        REAL,      -- salesperson's commission percent
    fob               TEXT COLLATE NOCASE,
    remark            TEXT COLLATE NOCASE,
    versionstamp      INTEGER,   -- latest revision, see sochanged
    ordtyperef        TEXT COLLATE NOCASE,
    ordstatusref      TEXT COLLATE NOCASE,
    seasoncode        TEXT COLLATE NOCASE,
    deptcode          TEXT COLLATE NOCASE,
    commrate1         REAL,
    salesman2         TEXT COLLATE NOCASE,
    commrate2         REAL,
    salesman3         TEXT COLLATE NOCASE,
    commrate3         REAL,
    orderholddatetime DATETIME,
    orderholdby       TEXT COLLATE NOCASE,
    housefactor       TEXT COLLATE NOCASE,
    srcsono           TEXT COLLATE NOCASE,
    nofbox            INTEGER,
    weight            REAL,
    addedinshow       BOOLEAN,   -- taken at a trade show
    showname          TEXT COLLATE NOCASE,
    catagory          TEXT COLLATE NOCASE
);
CREATE INDEX so_ordstatus ON so (ordstatus);

-- Sales order lines: autonum is the order number followed by a four-digit line counter.
CREATE TABLE sodetail (
    autonum      TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    invno        TEXT COLLATE NOCASE,
    linenum      INTEGER,
    itemno       TEXT COLLATE NOCASE,
    Description  TEXT COLLATE NOCASE,
    itype        TEXT COLLATE NOCASE,  -- 'm' matrix item, 'nm' other
    rowtext      TEXT COLLATE NOCASE,  -- item variant row (colour)
    coltext      TEXT COLLATE NOCASE,  -- item variant column (size)
    um           TEXT COLLATE NOCASE,
    qord         REAL,
    qshp         REAL,
    qbord        REAL,
    qremain      REAL,
    actualqty    REAL,
    scalefactor  REAL,
    unit         CURRENCY,
    extended     CURRENCY,
    cost         CURRENCY,
    weight       REAL,
    applytax     INTEGER,  -- 1 taxable
    Commission   INTEGER,  -- 1 subject to commission
    commrate     REAL,
    DcPercent    REAL,
    dcamount     CURRENCY,
    dcamtentered TEXT COLLATE NOCASE,
    invdate      DATETIME,
    shpdate      DATETIME,
    CancelDate   DATETIME,
    colpos       INTEGER,
    catalogno    TEXT COLLATE NOCASE,
    upcno        TEXT COLLATE NOCASE,
    editflag     TEXT COLLATE NOCASE
);
CREATE INDEX sodetail_invno ON sodetail (invno, linenum);

-- Items: one row per item variant; plain items have empty itemrow and itemcol.
CREATE TABLE item (
    uid         TEXT COLLATE NOCASE NOT NULL,
    itemrow     TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    itemcol     TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    uname       TEXT COLLATE NOCASE,
    itemtype    INTEGER,   -- 2 matrix (colour/size) item
    salesum     TEXT COLLATE NOCASE,  -- unit of measure when sold
    salesfactor REAL,      -- units per unit of measure
    price       CURRENCY,  -- list price
    cost        CURRENCY,
    pricecode   TEXT COLLATE NOCASE,  -- price group the price codes refer to
    taxable     INTEGER,   -- 1 taxable
    commission  INTEGER,   -- 1 subject to commission
    stock       REAL NOT NULL DEFAULT 0,
    onso        REAL NOT NULL DEFAULT 0,  -- quantity on open sales orders
    PRIMARY KEY (uid, itemrow, itemcol)
);

-- Item copies: lot numbers of items.
CREATE TABLE itemcopy (
    uid   TEXT COLLATE NOCASE NOT NULL,
    lotno TEXT COLLATE NOCASE NOT NULL,
    PRIMARY KEY (uid, lotno)
);

-- Customers. shipto is " Same As Bill To" (leading blank), " None", or a shipto.shiptoname.
CREATE TABLE customer (
    uid         TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    uname       TEXT COLLATE NOCASE,
    address1    TEXT COLLATE NOCASE,
    address2    TEXT COLLATE NOCASE,
    city        TEXT COLLATE NOCASE,
    st          TEXT COLLATE NOCASE,
    zip         TEXT COLLATE NOCASE,
    country     TEXT COLLATE NOCASE,
    tel         TEXT COLLATE NOCASE,
    contact     TEXT COLLATE NOCASE,
    shipto      TEXT COLLATE NOCASE,
    terms       TEXT COLLATE NOCASE,
    salesperson TEXT COLLATE NOCASE,
    shipvia     TEXT COLLATE NOCASE,
    pricelevel  TEXT COLLATE NOCASE,  -- '1' to '5'
    taxrate     REAL,      -- percent
    DcPercent   REAL       -- order discount percent
);
CREATE UNIQUE INDEX uididx ON customer (uid);

-- Named delivery addresses of customers.
CREATE TABLE shipto (
    custno     TEXT COLLATE NOCASE NOT NULL,
    shiptoname TEXT COLLATE NOCASE NOT NULL,
    address1   TEXT COLLATE NOCASE,
    address2   TEXT COLLATE NOCASE,
    city       TEXT COLLATE NOCASE,
    State      TEXT COLLATE NOCASE,
    zip        TEXT COLLATE NOCASE,
    country    TEXT COLLATE NOCASE,
    PRIMARY KEY (custno, shiptoname)
);

-- Employees; salespeople carry their commission percent.
CREATE TABLE employee (
    uid        TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    uname      TEXT COLLATE NOCASE,
    commission REAL
);
CREATE UNIQUE INDEX employee_uididx ON employee (uid);

-- Price rules. uid: an item number, an item price group or " All Items"; uname: a customer number,
-- a customer price level or " All Customers"; the lowest priority wins. method 0-4 choose the
-- level by the quantity breaks to1-to5, 5-9 by the customer's price level, 10 takes the price of
-- the customer's last invoice. pN is the level's figure, cN its commission percent.
CREATE TABLE pricecode (
    uid      TEXT COLLATE NOCASE NOT NULL,
    uname    TEXT COLLATE NOCASE NOT NULL,
    priority INTEGER,
    method   INTEGER,
    to1 REAL, to2 REAL, to3 REAL, to4 REAL, to5 REAL,
    p1  REAL, p2  REAL, p3  REAL, p4  REAL, p5  REAL,
    c1  REAL, c2  REAL, c3  REAL, c4  REAL, c5  REAL
);
CREATE INDEX pricecode_rule ON pricecode (uid, uname, priority);

-- Invoice headers (history; the last-price method reads them).
CREATE TABLE soinv (
    invno   TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    custno  TEXT COLLATE NOCASE,
    invdate DATETIME,
    sono    TEXT COLLATE NOCASE,  -- sales order the invoice shipped
    amount  CURRENCY,
    tax     CURRENCY,
    total   CURRENCY
);
CREATE INDEX soinv_custno ON soinv (custno, invdate);

-- Invoice lines.
CREATE TABLE soinvdetail (
    autonum     TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    invno       TEXT COLLATE NOCASE,
    itemno      TEXT COLLATE NOCASE,
    Description TEXT COLLATE NOCASE,
    qshp        REAL,
    unit        CURRENCY,
    extended    CURRENCY,
    commrate    REAL
);
CREATE INDEX soinvdetail_invno ON soinvdetail (invno, itemno);

-- Document numbering: one row per document kind, e.g. 'no_salesorder'.
CREATE TABLE no_setup (
    sourcename TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    nprefix    TEXT COLLATE NOCASE,
    ndigit     INTEGER,  -- minimum number of digits
    nnextno    INTEGER   -- next number to hand out
);

-- Cooperative record locks shared by every program of the suite. No key: two programs taking the
-- same lock at once both add a row, and the release removes every such row.
CREATE TABLE locktable (
    lockid       TEXT COLLATE NOCASE,
    tablename    TEXT COLLATE NOCASE,
    fieldname    TEXT COLLATE NOCASE,
    uidvalue     TEXT COLLATE NOCASE,
    formname     TEXT COLLATE NOCASE,
    computername TEXT COLLATE NOCASE,
    UserName     TEXT COLLATE NOCASE,
    lockedtime   DATETIME
);
CREATE INDEX locktable_record ON locktable (tablename, uidvalue);

-- Users and their security level.
CREATE TABLE userinfo (
    uid      TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    uname    TEXT COLLATE NOCASE,
    slevel   TEXT COLLATE NOCASE,
    password TEXT COLLATE NOCASE
);

-- Rights: a security level may use a screen or transaction (uid) when pwr is 1.
CREATE TABLE userright (
    slevel TEXT COLLATE NOCASE NOT NULL,
    uid    TEXT COLLATE NOCASE NOT NULL,
    pwr    INTEGER,
    PRIMARY KEY (slevel, uid)
);

-- Changed lines of revised orders: one row per line and revision.
CREATE TABLE sochanged (
    invno        TEXT COLLATE NOCASE,
    versionstamp INTEGER,
    linenum      INTEGER,
    itemno       TEXT COLLATE NOCASE,
    fromqty      REAL,
    toqty        REAL,
    status       TEXT COLLATE NOCASE  -- why the line changed
);
CREATE INDEX sochanged_invno ON sochanged (invno, versionstamp);

-- Payment terms.
CREATE TABLE terms (
    uid   TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    uname TEXT COLLATE NOCASE
);

-- Suite settings, one row: the daily picking-sheet transaction counter. No key: the print run
-- adds the row and numbers on it in one go, so it is matched on its values.
CREATE TABLE config (
    trdate DATETIME,
    trno   INTEGER
);

-- Company details printed on documents (first row).
CREATE TABLE companyinfo (
    CompanyName TEXT COLLATE NOCASE,
    address1    TEXT COLLATE NOCASE,
    address2    TEXT COLLATE NOCASE,
    tel         TEXT COLLATE NOCASE,
    fax         TEXT COLLATE NOCASE
);

-- The order station's own: which order file became which sales order, written in the save's
-- transaction (the station creates it when missing). Times are 'yyyy-MM-dd hh:mm:ss' UTC texts;
-- archivedat stays null until the file has left the queue. Plain types: the same statement
-- runs on every server.
CREATE TABLE rfimport (
    invno      VARCHAR(20) NOT NULL PRIMARY KEY,  -- the sales order
    queuedir   VARCHAR(1024) NOT NULL,  -- the queue folder's identity (older records: its path)
    ordfile    VARCHAR(255) NOT NULL,   -- the order file's name, upper-cased
    filehash   VARCHAR(64) NOT NULL,    -- SHA-256 of its bytes, lower-case hex
    savedat    VARCHAR(19) NOT NULL,
    archivedat VARCHAR(19),
    printdue   INTEGER,                 -- copies still to print once archived
    printqty   VARCHAR(20)              -- its "Print?", for the print list
);
CREATE INDEX rfimport_ordfile ON rfimport (ordfile);
-- One record per queued file: a second save of it fails while the first is not archived.
CREATE UNIQUE INDEX rfimport_once ON rfimport (queuedir, ordfile, filehash) WHERE archivedat IS NULL;

-- The station that works on each queue (by the queue's identity), with a beat it counts up
-- while it lives: one station per queue across machines.
CREATE TABLE rfstation (
    queuedir VARCHAR(64) NOT NULL PRIMARY KEY,
    host     VARCHAR(255) NOT NULL,
    pid      INTEGER NOT NULL,
    since    VARCHAR(30) NOT NULL,
    beat     INTEGER NOT NULL
);

COMMIT;
