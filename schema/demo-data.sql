-- Demo data for a fresh suite database built from suite-sqlite.sql. Invoice history is there for
-- the last-price method; the few sales orders at the end are there to print. Names, addresses and
-- telephone numbers are invented.
BEGIN;

INSERT INTO companyinfo (CompanyName, address1, address2, tel, fax) VALUES
  ('Riverside Wholesale Supply', '500 Commerce Parkway', 'Millbrook, OH 43001', '740-555-0100', '740-555-0101');

-- Picking-sheet transaction counter: last numbered a few days ago.
INSERT INTO config (trdate, trno) VALUES ('2026-12-01', 7);

-- Sales orders are numbered SO001001, SO001002, ...
INSERT INTO no_setup (sourcename, nprefix, ndigit, nnextno) VALUES
  ('no_salesorder', 'SO', 6, 1001),
  ('no_invoice',    'IN', 6, 5211);

INSERT INTO terms (uid, uname) VALUES
  ('NET30', 'Net 30 Days'),
  ('NET15', 'Net 15 Days'),
  ('2N10',  '2% 10, Net 30'),
  ('COD',   'Cash On Delivery'),
  ('PREPD', 'Prepaid');

-- Salespeople carry their commission percent; W01 is not a salesperson.
INSERT INTO employee (uid, uname, commission) VALUES
  ('S01', 'Dana Whitfield', 5),
  ('S02', 'Marcus Bell',    3.5),
  ('S03', 'Priya Nair',     4),
  ('W01', 'Owen Clarke',    0);

-- Users: ADMIN may do everything, CLERK may not change the setup, PACKER may only print
-- (pwr 2 on order entry is not a grant).
INSERT INTO userinfo (uid, uname, slevel, password) VALUES
  ('ADMIN',  'Administrator',    '1', 'admin'),
  ('CLERK',  'Order Clerk',      '3', 'clerk123'),
  ('PACKER', 'Warehouse Packer', '5', 'pack');

INSERT INTO userright (slevel, uid, pwr) VALUES
  ('1', 'SO_ENTRY', 1), ('1', 'SO_PRINT', 1), ('1', 'SETUP', 1),
  ('3', 'SO_ENTRY', 1), ('3', 'SO_PRINT', 1), ('3', 'SETUP', 0),
  ('5', 'SO_ENTRY', 2), ('5', 'SO_PRINT', 1);

-- Customers:
--   C1001 level 1, no tax, no discount, ships to the bill-to address
--   C1002 level 2, tax 8.25 %, ships to the bill-to address
--   C1003 level 3, discount 10 %, named ship-to "Warehouse"
--   C1004 level 4, tax 7 % and discount 5 %, ship-to with a quote in its name
--   C1005 level 5, priced at its last invoice prices; ship-to text without the leading blank,
--         so it is looked up as a ship-to name and not found
--   C1006 level 2, tax 6 %, ship-to " None", no salesperson
--   C1007 level 3, tax 13 %, discount 2.5 %, named ship-to, salesperson not on file
INSERT INTO customer (uid, uname, address1, address2, city, st, zip, country, tel, contact,
                      shipto, terms, salesperson, shipvia, pricelevel, taxrate, DcPercent) VALUES
  ('C1001', 'Harbor Street Boutique', '214 Harbor Street', '', 'Port Lindon', 'ME', '04101', 'USA',
   '207-555-0141', 'Ellen Marsh', ' Same As Bill To', 'NET30', 'S01', 'GROUND', '1', 0, 0),
  ('C1002', 'Maple Lane Apparel', '88 Maple Lane', 'Suite 4', 'Brookfield', 'WI', '53005', 'USA',
   '262-555-0178', 'Tom Reyes', ' Same As Bill To', 'NET30', 'S02', 'GROUND', '2', 8.25, 0),
  ('C1003', 'Blue Ridge Outfitters', '1200 Ridge Road', '', 'Asheton', 'NC', '28801', 'USA',
   '828-555-0112', 'Carla Jennings', 'Warehouse', '2N10', 'S01', 'FREIGHT', '3', 0, 10),
  ('C1004', 'Sunset Kids Wear', '9 Sunset Plaza', 'Unit B', 'Mesa Verde', 'AZ', '85201', 'USA',
   '480-555-0165', 'Rosa Delgado', 'O''Hara Distribution Center', 'NET15', 'S03', 'FREIGHT', '4', 7, 5),
  ('C1005', 'Pine Hill General Store', '3 Pine Hill Road', '', 'Greenvale', 'VT', '05401', 'USA',
   '802-555-0190', 'Walt Emery', 'Same As Bill To', 'COD', 'S02', 'PICKUP', '5', 0, 0),
  ('C1006', 'Lakeside Sports Hub', '55 Lakeshore Drive', '', 'Clearwater Bay', 'MI', '49601', 'USA',
   '231-555-0133', 'Jordan Pike', ' None', 'NET30', '', 'COURIER', '2', 6, 0),
  ('C1007', 'Northgate Uniform Co.', '1820 Queen Street', 'Floor 2', 'Kingsford', 'ON', 'K7K 2B1', 'Canada',
   '613-555-0157', 'Amelia Grant', 'Store 12', 'NET30', 'S99', 'FREIGHT', '3', 13, 2.5);

INSERT INTO shipto (custno, shiptoname, address1, address2, city, State, zip, country) VALUES
  ('C1003', 'Warehouse', '400 Depot Street', 'Dock 3', 'Asheton', 'NC', '28803', 'USA'),
  ('C1003', 'Retail Store', '15 Main Street', '', 'Hillcrest', 'NC', '28605', 'USA'),
  ('C1004', 'O''Hara Distribution Center', '77 Industrial Way', 'Bay 12', 'Mesa Verde', 'AZ', '85210', 'USA'),
  ('C1007', 'Store 12', '44 Lakeview Avenue', '', 'Kingsford', 'ON', 'K7L 3N6', 'Canada');

-- Items. Price groups (pricecode): TEES, HOOD, POLO, ACC, KNIT, BAGS, GIFT.
-- AB-* and HD-* are grouped item numbers (group before the first "-"); POLO200 and SOCK300 are
-- matrix items (itemtype 2) with colour rows and size columns.
INSERT INTO item (uid, itemrow, itemcol, uname, itemtype, salesum, salesfactor, price, cost,
                  pricecode, taxable, commission, stock, onso) VALUES
  ('AB-S',   '', '', 'Active Base Tee - Small',    0, 'EA', 1, 12.50, 5.40, 'TEES', 1, 1, 240, 0),
  ('AB-M',   '', '', 'Active Base Tee - Medium',   0, 'EA', 1, 12.50, 5.40, 'TEES', 1, 1, 410, 0),
  ('AB-L',   '', '', 'Active Base Tee - Large',    0, 'EA', 1, 12.50, 5.40, 'TEES', 1, 1, 365, 0),
  ('AB-XL',  '', '', 'Active Base Tee - X-Large',  0, 'EA', 1, 13.75, 5.95, 'TEES', 1, 1, 180, 0),
  ('AB-2XL', '', '', 'Active Base Tee - 2X-Large', 0, 'EA', 1, 14.75, 6.30, 'TEES', 1, 1,  96, 0),
  ('HD-S',   '', '', 'Fleece Pullover Hoodie - Small',   0, 'EA', 1, 34.00, 15.20, 'HOOD', 1, 1,  72, 0),
  ('HD-M',   '', '', 'Fleece Pullover Hoodie - Medium',  0, 'EA', 1, 34.00, 15.20, 'HOOD', 1, 1, 120, 0),
  ('HD-L',   '', '', 'Fleece Pullover Hoodie - Large',   0, 'EA', 1, 34.00, 15.20, 'HOOD', 1, 1, 110, 0),
  ('HD-XL',  '', '', 'Fleece Pullover Hoodie - X-Large', 0, 'EA', 1, 36.00, 16.10, 'HOOD', 1, 1,  64, 0),
  ('CAP100',    '', '', 'Twill Cap, Adjustable',  0, 'EA', 1,  9.99,  4.50, 'ACC',  1, 1, 300, 0),
  ('BELT700',   '', '', 'Leather Belt, Brown',    0, 'EA', 1, 19.00, 14.50, 'ACC',  1, 1,  85, 0),
  ('TOTE400',   '', '', 'Canvas Tote Bag',        0, 'EA', 1, 15.95,  6.25, 'BAGS', 1, 1, 150, 0),
  ('BEANIE500', '', '', 'Knit Beanie',            0, 'EA', 1,  8.50,  3.20, 'KNIT', 1, 1, 220, 0),
  ('MUG600',    '', '', 'Ceramic Mug 12 oz',      0, 'EA', 1,  7.25,  2.80, 'GIFT', 1, 0, 144, 0),
  ('GC25',      '', '', 'Gift Card 25.00',        0, 'EA', 1, 25.00, 25.00, 'GIFT', 0, 0, 500, 0),
  ('POLO200', 'BLACK', 'S',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 30, 0),
  ('POLO200', 'BLACK', 'M',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 48, 0),
  ('POLO200', 'BLACK', 'L',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 44, 0),
  ('POLO200', 'BLACK', 'XL', 'Pique Polo Shirt', 2, 'EA', 1, 24.00, 10.60, 'POLO', 1, 1, 20, 0),
  ('POLO200', 'NAVY',  'S',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 26, 0),
  ('POLO200', 'NAVY',  'M',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 52, 0),
  ('POLO200', 'NAVY',  'L',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 40, 0),
  ('POLO200', 'NAVY',  'XL', 'Pique Polo Shirt', 2, 'EA', 1, 24.00, 10.60, 'POLO', 1, 1, 18, 0),
  ('POLO200', 'WHITE', 'S',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 24, 0),
  ('POLO200', 'WHITE', 'M',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 36, 0),
  ('POLO200', 'WHITE', 'L',  'Pique Polo Shirt', 2, 'EA', 1, 22.00, 9.80, 'POLO', 1, 1, 33, 0),
  ('POLO200', 'WHITE', 'XL', 'Pique Polo Shirt', 2, 'EA', 1, 24.00, 10.60, 'POLO', 1, 1, 12, 0),
  ('SOCK300', 'GREY',  'M',  'Crew Socks, 3-Pack', 2, 'PK', 3, 5.50, 2.10, 'ACC', 1, 1, 160, 0),
  ('SOCK300', 'GREY',  'L',  'Crew Socks, 3-Pack', 2, 'PK', 3, 5.50, 2.10, 'ACC', 1, 1, 140, 0),
  ('SOCK300', 'BLACK', 'M',  'Crew Socks, 3-Pack', 2, 'PK', 3, 5.50, 2.10, 'ACC', 1, 1, 175, 0),
  ('SOCK300', 'BLACK', 'L',  'Crew Socks, 3-Pack', 2, 'PK', 3, 5.50, 2.10, 'ACC', 1, 1, 150, 0);

-- Lot numbers; HD-M is stocked in two lots, the accessories and matrix items in none.
INSERT INTO itemcopy (uid, lotno) VALUES
  ('AB-S', 'L2611A'), ('AB-M', 'L2611A'), ('AB-L', 'L2611B'), ('AB-XL', 'L2611B'),
  ('AB-2XL', 'L2611B'), ('HD-S', 'L2609C'), ('HD-M', 'L2609C'), ('HD-M', 'L2610A'),
  ('HD-L', 'L2610A'), ('HD-XL', 'L2610A'), ('TOTE400', 'L2608D');

-- Price rules, one per method, several competing for the same lines (the lowest priority wins):
--   method 0  TEES items, all customers: percent off list by quantity break
--   method 1  HOOD items, all customers: amount off list by quantity break
--   method 2  CAP100, all customers: percent on cost by quantity break (beats ACC's rule)
--   method 3  ACC items, all customers: amount on cost by quantity break
--   method 4  TOTE400, all customers: fixed price by quantity break (13.456 rounds to 13.46);
--             AB-M for C1004: contract price 9.95 (priority 1, beats TEES)
--   method 5  POLO items, all customers: percent off list by price level
--   method 6  HOOD items, price level 4: amount off list by level (beats the method 1 rule)
--   method 7  SOCK300, price level 2: percent on cost by level (beats ACC's rule)
--   method 8  KNIT items, all customers: amount on cost by level
--   method 9  AB-XL, price level 3: fixed price by level (beats TEES)
--   method 10 all items for C1005: the price of its last invoice, else the list price
-- GIFT items have no rule: list price, no discount, no commission (except for C1005).
INSERT INTO pricecode (uid, uname, priority, method, to1, to2, to3, to4, to5,
                       p1, p2, p3, p4, p5, c1, c2, c3, c4, c5) VALUES
  ('TEES',       ' All Customers', 50, 0, 11, 23, 47, 95, 99999,   0, 5, 8, 10, 12,   5, 5, 4, 4, 3),
  ('HOOD',       ' All Customers', 50, 1,  5, 11, 23, 47, 99999,   0, 1.00, 2.00, 3.00, 4.00,   5, 5, 5, 4, 4),
  ('CAP100',     ' All Customers', 40, 2, 24, 48, 96, 144, 99999,  100, 90, 80, 70, 60,   6, 6, 5, 5, 4),
  ('ACC',        ' All Customers', 50, 3, 12, 36, 72, 144, 99999,  3.00, 2.50, 2.00, 1.75, 1.50,   4, 4, 3, 3, 2),
  ('TOTE400',    ' All Customers', 40, 4,  9, 49, 99, 499, 99999,  14.95, 13.456, 12.50, 11.75, 10.99,   5, 5, 4, 4, 3),
  ('AB-M',       'C1004',           1, 4, 99999, NULL, NULL, NULL, NULL,  9.95, NULL, NULL, NULL, NULL,  2, NULL, NULL, NULL, NULL),
  ('POLO',       ' All Customers', 50, 5, NULL, NULL, NULL, NULL, NULL,  0, 5, 10, 15, 20,   5, 5, 4, 4, 3),
  ('HOOD',       '4',              20, 6, NULL, NULL, NULL, NULL, NULL,  0, 1.00, 2.00, 3.00, 4.00,   5, 5, 5, 6, 6),
  ('SOCK300',    '2',              30, 7, NULL, NULL, NULL, NULL, NULL,  150, 140, 130, 120, 110,   4, 4, 4, 4, 4),
  ('KNIT',       ' All Customers', 50, 8, NULL, NULL, NULL, NULL, NULL,  4.80, 4.30, 3.80, 3.30, 2.80,   4, 4, 3, 3, 2),
  ('AB-XL',      '3',              10, 9, NULL, NULL, NULL, NULL, NULL,  13.75, 13.25, 12.95, 12.50, 12.00,   5, 5, 5, 4, 4),
  (' All Items', 'C1005',           5, 10, NULL, NULL, NULL, NULL, NULL,  NULL, NULL, NULL, NULL, NULL,  NULL, NULL, NULL, NULL, NULL);

-- Invoice history. C1005's last AB-M invoice is IN005133 (10.95); C1001 bought AB-M later at
-- another price, which must not count for C1005. POLO200's last line has no commission rate.
INSERT INTO soinv (invno, custno, invdate, sono, amount, tax, total) VALUES
  ('IN004801', 'C1005', '2026-08-14', 'SO000871', 345.00, 0,     345.00),
  ('IN004977', 'C1005', '2026-09-10', 'SO000912',  88.80, 0,      88.80),
  ('IN005133', 'C1005', '2026-10-02', 'SO000955', 381.60, 0,     381.60),
  ('IN005198', 'C1002', '2026-11-12', 'SO000988', 204.00, 16.83, 220.83),
  ('IN005210', 'C1001', '2026-11-20', 'SO000996', 142.56, 0,     142.56);

INSERT INTO soinvdetail (autonum, invno, itemno, Description, qshp, unit, extended, commrate) VALUES
  ('IN0048010000', 'IN004801', 'AB-M',      'Active Base Tee - Medium',        12, 11.25, 135.00, 4),
  ('IN0048010001', 'IN004801', 'CAP100',    'Twill Cap, Adjustable',           24,  8.75, 210.00, 5),
  ('IN0049770000', 'IN004977', 'BEANIE500', 'Knit Beanie',                     12,  7.40,  88.80, 2),
  ('IN0051330000', 'IN005133', 'AB-M',      'Active Base Tee - Medium',        24, 10.95, 262.80, 3.5),
  ('IN0051330001', 'IN005133', 'POLO200',   'Pique Polo Shirt',                 6, 19.80, 118.80, NULL),
  ('IN0051980000', 'IN005198', 'HD-M',      'Fleece Pullover Hoodie - Medium',  6, 34.00, 204.00, 5),
  ('IN0052100000', 'IN005210', 'AB-M',      'Active Base Tee - Medium',        12, 11.88, 142.56, 5);

COMMIT;

-- Grouped printing ("GRP" style): sales orders entered at the suite before the RF orders, to
-- print as picking sheets (full, changed only, both) and as grouped sales orders.
--   SO000951 new: AB-* at one price and at two more, HD-* at two prices, group lines (itype 'm')
--   SO000952 printed, revised twice: its latest revision (2) in sochanged raises, lowers, adds
--            an unnumbered line and cancels one
--   SO000953 new back order: the sheets show the back-ordered quantities
--   SO000954 new, long enough for three picking sheet pages: kids' tees in 12 colours
BEGIN;

INSERT INTO so (invno, CustNo, invdate, orddate, custpo, terms, salesman, shipvia, fob, ordtype, ordstatus,
                versionstamp, remark, sadressname, sAddress1, sAddress2, sCity, sstate, szip, sCountry,
                amount, freight, dc, total) VALUES
  ('SO000951', 'C1001', '2026-12-02', '2026-12-02', 'HSB-2291', 'NET30', 'S01', 'GROUND', 'ORIGIN', 0, 0,
   NULL, 'Fold the tees, do not hang them.', ' Same As Bill To', '214 Harbor Street', '', 'Port Lindon', 'ME',
   '04101', 'USA', 2007.86, 18.00, 0, 2025.86),
  ('SO000952', 'C1002', '2026-11-26', '2026-11-25', 'ML-0417', 'NET30', 'S02', 'GROUND', 'ORIGIN', 0, 1,
   2, 'Second revision: customer called on 11/30.', ' Same As Bill To', '88 Maple Lane', 'Suite 4', 'Brookfield',
   'WI', '53005', 'USA', 666.00, 12.50, 0, 678.50),
  ('SO000953', 'C1003', '2026-12-03', '2026-11-18', 'BR-771', '2N10', 'S01', 'FREIGHT', 'DEST', 1, 0,
   NULL, 'Back order of SO000933.', 'Warehouse', '400 Depot Street', 'Dock 3', 'Asheton', 'NC', '28803', 'USA',
   197.42, 25.00, 19.74, 202.68),
  ('SO000954', 'C1004', '2026-12-03', '2026-12-01', 'SKW-5002', 'NET15', 'S03', 'FREIGHT', 'ORIGIN', 0, 0,
   NULL, 'Pack each colour in its own carton.', 'O''Hara Distribution Center', '77 Industrial Way', 'Bay 12',
   'Mesa Verde', 'AZ', '85210', 'USA', 7596.00, 45.00, 379.80, 7261.20);

INSERT INTO sodetail (autonum, invno, linenum, itemno, Description, itype, qord, qbord, unit, extended) VALUES
  ('SO0009510000', 'SO000951', NULL, 'AB',      'Active Base Tee, assorted sizes', 'm', 58, 0, 0, 0),
  ('SO0009510001', 'SO000951', 1,  'AB-S',      'Active Base Tee - Small',          'nm', 12, 0, 12.50, 150.00),
  ('SO0009510002', 'SO000951', 2,  'AB-M',      'Active Base Tee - Medium',         'nm', 24, 0, 12.50, 300.00),
  ('SO0009510003', 'SO000951', 3,  'AB-L',      'Active Base Tee - Large',          'nm', 12, 0, 12.50, 150.00),
  ('SO0009510004', 'SO000951', 4,  'AB-XL',     'Active Base Tee - X-Large',        'nm', 6,  0, 13.75, 82.50),
  ('SO0009510005', 'SO000951', 5,  'AB-2XL',    'Active Base Tee - 2X-Large',       'nm', 4,  0, 14.75, 59.00),
  ('SO0009510006', 'SO000951', NULL, 'HD',      'Fleece Pullover Hoodie, assorted', 'm', 26, 0, 0, 0),
  ('SO0009510007', 'SO000951', 6,  'HD-S',      'Fleece Pullover Hoodie - Small',   'nm', 6,  0, 34.00, 204.00),
  ('SO0009510008', 'SO000951', 7,  'HD-M',      'Fleece Pullover Hoodie - Medium',  'nm', 8,  0, 34.00, 272.00),
  ('SO0009510009', 'SO000951', 8,  'HD-L',      'Fleece Pullover Hoodie - Large',   'nm', 8,  0, 34.00, 272.00),
  ('SO0009510010', 'SO000951', 9,  'HD-XL',     'Fleece Pullover Hoodie - X-Large', 'nm', 4,  0, 36.00, 144.00),
  ('SO0009510011', 'SO000951', 10, 'CAP100',    'Twill Cap, Adjustable',            'nm', 24, 0, 9.99,  239.76),
  ('SO0009510012', 'SO000951', 11, 'TOTE400',   'Canvas Tote Bag',                  'nm', 10, 0, 13.46, 134.60),
  ('SO0009520001', 'SO000952', 1,  'AB-S',      'Active Base Tee - Small',          'nm', 12, 0, 12.50, 150.00),
  ('SO0009520002', 'SO000952', 2,  'AB-M',      'Active Base Tee - Medium',         'nm', 18, 0, 12.50, 225.00),
  ('SO0009520003', 'SO000952', 3,  'HD-L',      'Fleece Pullover Hoodie - Large',   'nm', 2,  0, 34.00, 68.00),
  ('SO0009520004', 'SO000952', 4,  'BEANIE500', 'Knit Beanie',                      'nm', 16, 0, 8.50,  136.00),
  ('SO0009520005', 'SO000952', 5,  'MUG600',    'Ceramic Mug 12 oz',                'nm', 12, 0, 7.25,  87.00),
  ('SO0009530001', 'SO000953', 1,  'AB-M',      'Active Base Tee - Medium',         'nm', 24, 6, 11.25, 67.50),
  ('SO0009530002', 'SO000953', 2,  'AB-L',      'Active Base Tee - Large',          'nm', 12, 4, 11.25, 45.00),
  ('SO0009530003', 'SO000953', 3,  'HD-XL',     'Fleece Pullover Hoodie - X-Large', 'nm', 4,  1, 36.00, 36.00),
  ('SO0009530004', 'SO000953', 4,  'BELT700',   'Leather Belt, Brown',              'nm', 6,  0, 17.50, 0),
  ('SO0009530005', 'SO000953', 5,  'TOTE400',   'Canvas Tote Bag',                  'nm', 10, 2, 13.46, 26.92),
  ('SO0009530006', 'SO000953', 6,  'SOCK300',   'Crew Socks, 3-Pack',               'nm', 24, 4, 5.50,  22.00);

-- SO000954: sizes 2T to 6 at 6.50 share a group row per colour, their pieces running on to a
-- second line; 6X at 7.25 has its own.
INSERT INTO sodetail (autonum, invno, linenum, itemno, Description, itype, qord, qbord, unit, extended)
WITH colours(n, colour) AS (VALUES
    (0, 'RED'), (1, 'ORANGE'), (2, 'YELLOW'), (3, 'LIME'), (4, 'GREEN'), (5, 'TEAL'), (6, 'BLUE'),
    (7, 'NAVY'), (8, 'PURPLE'), (9, 'PINK'), (10, 'WHITE'), (11, 'BLACK')),
  sizes(m, size, qty, price) AS (VALUES
    (1, '2T', 12, 6.50), (2, '3T', 12, 6.50), (3, '4T', 24, 6.50), (4, '5T', 24, 6.50), (5, '6', 12, 6.50),
    (6, '6X', 12, 7.25))
SELECT 'SO000954' || CASE WHEN n * 6 + m < 10 THEN '000' ELSE '00' END || CAST(n * 6 + m AS TEXT), 'SO000954', n * 6 + m, 'KT' || colour || '-' || size,
       'Kids Tee ' || lower(colour) || ' ' || size, 'nm', qty, 0, price, qty * price
FROM colours, sizes;

INSERT INTO sochanged (invno, versionstamp, linenum, itemno, fromqty, toqty, status) VALUES
  ('SO000952', 1, 4, 'BEANIE500', 12, 16, 'CHG'),
  ('SO000952', 2, 2, 'AB-M',      12, 18, 'CHG'),
  ('SO000952', 2, 3, 'HD-L',      6,  2,  'CHG'),
  ('SO000952', 2, NULL, 'MUG600', 0,  12, 'ADD'),
  ('SO000952', 2, 6, 'GC25',      4,  0,  'DEL');

COMMIT;
