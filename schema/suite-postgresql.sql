-- The accounting suite's database, as the order station reads and writes it (PostgreSQL, reached
-- through unixODBC with database type 1). The same tables and columns as suite-sqlite.sql.
--
-- Conventions:
--   * every text column is citext COLLATE "C": codes and names compare without regard to letter
--     case (uid = 'c1001' finds C1001, keys are unique regardless of case) and sort in byte order
--     of their lower-case form, exactly as SQLite's NOCASE does; only ASCII letters fold;
--   * money columns are numeric(19,4): exact, four decimals as the program's Currency keeps them;
--     quantities, rates and percents double precision, counters and flags integer;
--   * dates are timestamp(0), times of day time(0);
--   * index names are schema-wide here as in SQLite, so they are the same as there.
--
-- Load it into an empty database as a user who may create the citext extension (the database's
-- owner; citext is a trusted extension):  psql -1 -v ON_ERROR_STOP=1 -f suite-postgresql.sql

CREATE EXTENSION IF NOT EXISTS citext;

-- Sales order headers: one row per order; invno is the order number from no_setup.
CREATE TABLE so (
    invno             citext COLLATE "C" NOT NULL PRIMARY KEY,
    CustNo            citext COLLATE "C",
    invdate           timestamp(0),
    orddate           timestamp(0),  -- ship date of the order
    CancelDate        timestamp(0),
    amount            numeric(19,4),  -- subtotal of the lines
    Memo              citext COLLATE "C",
    balance           numeric(19,4),
    freight           numeric(19,4),
    tax               numeric(19,4),
    total             numeric(19,4),
    dc                numeric(19,4),  -- discount amount
    tdcpercent        double precision,  -- discount percent
    dcamtentered      citext COLLATE "C",  -- 'Y' when dc was typed in as an amount
    taxrate           double precision,
    paydate           timestamp(0),
    payflag           integer,
    inputdate         timestamp(0),
    inputtime         time(0),  -- time of day
    userid            citext COLLATE "C",
    ref               citext COLLATE "C",
    sadressname       citext COLLATE "C",
    sAddress1         citext COLLATE "C",
    sAddress2         citext COLLATE "C",
    sCity             citext COLLATE "C",
    sstate            citext COLLATE "C",
    szip              citext COLLATE "C",
    sCountry          citext COLLATE "C",
    badressname       citext COLLATE "C",
    baddress1         citext COLLATE "C",
    baddress2         citext COLLATE "C",
    bcity             citext COLLATE "C",
    bstate            citext COLLATE "C",
    bzip              citext COLLATE "C",
    bcountry          citext COLLATE "C",
    terms             citext COLLATE "C",
    salesman          citext COLLATE "C",
    shipvia           citext COLLATE "C",
    ordtype           integer,  -- 0 regular, 1 back order
    ordstatus         integer,  -- 0 never printed, 1 printed
    custpo            citext COLLATE "C",
    Commission        double precision,  -- salesperson's commission percent
    fob               citext COLLATE "C",
    remark            citext COLLATE "C",
    versionstamp      integer,  -- latest revision, see sochanged
    ordtyperef        citext COLLATE "C",
    ordstatusref      citext COLLATE "C",
    seasoncode        citext COLLATE "C",
    deptcode          citext COLLATE "C",
    commrate1         double precision,
    salesman2         citext COLLATE "C",
    commrate2         double precision,
    salesman3         citext COLLATE "C",
    commrate3         double precision,
    orderholddatetime timestamp(0),
    orderholdby       citext COLLATE "C",
    housefactor       citext COLLATE "C",
    srcsono           citext COLLATE "C",
    nofbox            integer,
    weight            double precision,
    addedinshow       boolean,  -- taken at a trade show
    showname          citext COLLATE "C",
    catagory          citext COLLATE "C"
);
CREATE INDEX so_ordstatus ON so (ordstatus);

-- Sales order lines: autonum is the order number followed by a four-digit line counter.
CREATE TABLE sodetail (
    autonum      citext COLLATE "C" NOT NULL PRIMARY KEY,
    invno        citext COLLATE "C",
    linenum      integer,
    itemno       citext COLLATE "C",
    Description  citext COLLATE "C",
    itype        citext COLLATE "C",  -- 'm' matrix item, 'nm' other
    rowtext      citext COLLATE "C",  -- item variant row (colour)
    coltext      citext COLLATE "C",  -- item variant column (size)
    um           citext COLLATE "C",
    qord         double precision,
    qshp         double precision,
    qbord        double precision,
    qremain      double precision,
    actualqty    double precision,
    scalefactor  double precision,
    unit         numeric(19,4),
    extended     numeric(19,4),
    cost         numeric(19,4),
    weight       double precision,
    applytax     integer,  -- 1 taxable
    Commission   integer,  -- 1 subject to commission
    commrate     double precision,
    DcPercent    double precision,
    dcamount     numeric(19,4),
    dcamtentered citext COLLATE "C",
    invdate      timestamp(0),
    shpdate      timestamp(0),
    CancelDate   timestamp(0),
    colpos       integer,
    catalogno    citext COLLATE "C",
    upcno        citext COLLATE "C",
    editflag     citext COLLATE "C"
);
CREATE INDEX sodetail_invno ON sodetail (invno, linenum);

-- Items: one row per item variant; plain items have empty itemrow and itemcol.
CREATE TABLE item (
    uid         citext COLLATE "C" NOT NULL,
    itemrow     citext COLLATE "C" NOT NULL DEFAULT '',
    itemcol     citext COLLATE "C" NOT NULL DEFAULT '',
    uname       citext COLLATE "C",
    itemtype    integer,  -- 2 matrix (colour/size) item
    salesum     citext COLLATE "C",  -- unit of measure when sold
    salesfactor double precision,  -- units per unit of measure
    price       numeric(19,4),  -- list price
    cost        numeric(19,4),
    pricecode   citext COLLATE "C",  -- price group the price codes refer to
    taxable     integer,  -- 1 taxable
    commission  integer,  -- 1 subject to commission
    stock       double precision NOT NULL DEFAULT 0,
    onso        double precision NOT NULL DEFAULT 0,  -- quantity on open sales orders
    PRIMARY KEY (uid, itemrow, itemcol)
);

-- Item copies: lot numbers of items.
CREATE TABLE itemcopy (
    uid   citext COLLATE "C" NOT NULL,
    lotno citext COLLATE "C" NOT NULL,
    PRIMARY KEY (uid, lotno)
);

-- Customers. shipto is " Same As Bill To" (leading blank), " None", or a shipto.shiptoname.
CREATE TABLE customer (
    uid         citext COLLATE "C" NOT NULL PRIMARY KEY,
    uname       citext COLLATE "C",
    address1    citext COLLATE "C",
    address2    citext COLLATE "C",
    city        citext COLLATE "C",
    st          citext COLLATE "C",
    zip         citext COLLATE "C",
    country     citext COLLATE "C",
    tel         citext COLLATE "C",
    contact     citext COLLATE "C",
    shipto      citext COLLATE "C",
    terms       citext COLLATE "C",
    salesperson citext COLLATE "C",
    shipvia     citext COLLATE "C",
    pricelevel  citext COLLATE "C",  -- '1' to '5'
    taxrate     double precision,  -- percent
    DcPercent   double precision  -- order discount percent
);
CREATE UNIQUE INDEX uididx ON customer (uid);

-- Named delivery addresses of customers.
CREATE TABLE shipto (
    custno     citext COLLATE "C" NOT NULL,
    shiptoname citext COLLATE "C" NOT NULL,
    address1   citext COLLATE "C",
    address2   citext COLLATE "C",
    city       citext COLLATE "C",
    State      citext COLLATE "C",
    zip        citext COLLATE "C",
    country    citext COLLATE "C",
    PRIMARY KEY (custno, shiptoname)
);

-- Employees; salespeople carry their commission percent.
CREATE TABLE employee (
    uid        citext COLLATE "C" NOT NULL PRIMARY KEY,
    uname      citext COLLATE "C",
    commission double precision
);
CREATE UNIQUE INDEX employee_uididx ON employee (uid);

-- Price rules. uid: an item number, an item price group or " All Items"; uname: a customer number,
-- a customer price level or " All Customers"; the lowest priority wins. method 0-4 choose the
-- level by the quantity breaks to1-to5, 5-9 by the customer's price level, 10 takes the price of
-- the customer's last invoice. pN is the level's figure, cN its commission percent.
CREATE TABLE pricecode (
    uid      citext COLLATE "C" NOT NULL,
    uname    citext COLLATE "C" NOT NULL,
    priority integer,
    method   integer,
    to1 double precision, to2 double precision, to3 double precision, to4 double precision, to5 double precision,
    p1  double precision, p2  double precision, p3  double precision, p4  double precision, p5  double precision,
    c1  double precision, c2  double precision, c3  double precision, c4  double precision, c5  double precision
);
CREATE INDEX pricecode_rule ON pricecode (uid, uname, priority);

-- Invoice headers (history; the last-price method reads them).
CREATE TABLE soinv (
    invno   citext COLLATE "C" NOT NULL PRIMARY KEY,
    custno  citext COLLATE "C",
    invdate timestamp(0),
    sono    citext COLLATE "C",  -- sales order the invoice shipped
    amount  numeric(19,4),
    tax     numeric(19,4),
    total   numeric(19,4)
);
CREATE INDEX soinv_custno ON soinv (custno, invdate);

-- Invoice lines.
CREATE TABLE soinvdetail (
    autonum     citext COLLATE "C" NOT NULL PRIMARY KEY,
    invno       citext COLLATE "C",
    itemno      citext COLLATE "C",
    Description citext COLLATE "C",
    qshp        double precision,
    unit        numeric(19,4),
    extended    numeric(19,4),
    commrate    double precision
);
CREATE INDEX soinvdetail_invno ON soinvdetail (invno, itemno);

-- Document numbering: one row per document kind, e.g. 'no_salesorder'.
CREATE TABLE no_setup (
    sourcename citext COLLATE "C" NOT NULL PRIMARY KEY,
    nprefix    citext COLLATE "C",
    ndigit     integer,  -- minimum number of digits
    nnextno    integer  -- next number to hand out
);

-- Cooperative record locks shared by every program of the suite. No key: two programs taking the
-- same lock at once both add a row, and the release removes every such row.
CREATE TABLE locktable (
    lockid       citext COLLATE "C",
    tablename    citext COLLATE "C",
    fieldname    citext COLLATE "C",
    uidvalue     citext COLLATE "C",
    formname     citext COLLATE "C",
    computername citext COLLATE "C",
    UserName     citext COLLATE "C",
    lockedtime   timestamp(0)
);
CREATE INDEX locktable_record ON locktable (tablename, uidvalue);

-- Users and their security level.
CREATE TABLE userinfo (
    uid      citext COLLATE "C" NOT NULL PRIMARY KEY,
    uname    citext COLLATE "C",
    slevel   citext COLLATE "C",
    password citext COLLATE "C"
);

-- Rights: a security level may use a screen or transaction (uid) when pwr is 1.
CREATE TABLE userright (
    slevel citext COLLATE "C" NOT NULL,
    uid    citext COLLATE "C" NOT NULL,
    pwr    integer,
    PRIMARY KEY (slevel, uid)
);

-- Changed lines of revised orders: one row per line and revision.
CREATE TABLE sochanged (
    invno        citext COLLATE "C",
    versionstamp integer,
    linenum      integer,
    itemno       citext COLLATE "C",
    fromqty      double precision,
    toqty        double precision,
    status       citext COLLATE "C"  -- why the line changed
);
CREATE INDEX sochanged_invno ON sochanged (invno, versionstamp);

-- Payment terms.
CREATE TABLE terms (
    uid   citext COLLATE "C" NOT NULL PRIMARY KEY,
    uname citext COLLATE "C"
);

-- Suite settings, one row: the daily picking-sheet transaction counter. No key: the print run
-- adds the row and numbers on it in one go, so it is matched on its values.
CREATE TABLE config (
    trdate timestamp(0),
    trno   integer
);

-- Company details printed on documents (first row).
CREATE TABLE companyinfo (
    CompanyName citext COLLATE "C",
    address1    citext COLLATE "C",
    address2    citext COLLATE "C",
    tel         citext COLLATE "C",
    fax         citext COLLATE "C"
);

-- The station's own import record: which order file became which sales order, written in the
-- same transaction as the order (the station also creates it when missing, with this statement).
CREATE TABLE rfimport (
    invno      VARCHAR(20) NOT NULL PRIMARY KEY,  -- the sales order
    queuedir   VARCHAR(1024) NOT NULL,  -- the queue folder's identity (older records: its path)
    ordfile    VARCHAR(255) NOT NULL,   -- the order file's name, upper-cased
    filehash   VARCHAR(64) NOT NULL,    -- SHA-256 of its bytes, lower-case hex
    savedat    VARCHAR(19) NOT NULL,
    archivedat VARCHAR(19),
    printdue   integer,                 -- copies still to print once archived
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
    pid      integer NOT NULL,
    since    VARCHAR(30) NOT NULL,
    beat     integer NOT NULL
);
