#include "SalesOrderRecords.h"

#include <gtest/gtest.h>

TEST(SalesOrderRecords, HeaderHas63FieldsInOrderWithTheirTypesAndSizes)
{
    Recordset rs;
    ASSERT_TRUE(mf_CreateNewFieldSoHeader(rs));
    ASSERT_EQ(rs.fieldCount(), 63);
    const struct { int index; const char *name; FieldType type; int size; } checks[] = {
        {0, "invno", FieldType::Text, 10},         {2, "invdate", FieldType::Date, 0},
        {3, "amount", FieldType::Currency, 0},     {12, "inputtime", FieldType::Time, 0},
        {19, "sstate", FieldType::Text, 3},        {40, "remark", FieldType::Text, 100},
        {41, "versionstamp", FieldType::Integer, 0}, {58, "addedinshow", FieldType::Boolean, 0},
        {61, "tdcpercent", FieldType::Double, 0},  {62, "dcamtentered", FieldType::Text, 1},
    };
    for (const auto &c : checks) {
        EXPECT_EQ(rs.field(c.index).name, c.name);
        EXPECT_EQ(rs.field(c.index).type, c.type) << c.name;
        EXPECT_EQ(rs.field(c.index).size, c.size) << c.name;
    }
    rs.open();
    EXPECT_TRUE(rs.bof() && rs.eof());
}

TEST(SalesOrderRecords, DetailHas31FieldsAndUnsetFieldsStayNull)
{
    Recordset rs;
    ASSERT_TRUE(mf_CreateNewFieldSoDetail(rs));
    ASSERT_EQ(rs.fieldCount(), 31);
    EXPECT_EQ(rs.field(20).name, "linenum");
    EXPECT_EQ(rs.field(20).type, FieldType::BigInt);
    EXPECT_EQ(rs.field(21).type, FieldType::Integer); // colpos
    EXPECT_EQ(rs.field(29).name, "autonum");
    EXPECT_EQ(rs.field(29).size, 14);

    rs.open();
    rs.addNew();
    rs.setValue("ItemNo", "AB-S"); // names match without regard to case
    rs.setValue("qord", 2);
    rs.update();
    EXPECT_TRUE(rs.isNull("cost"));
    EXPECT_TRUE(rs.isNull("weight"));
    EXPECT_TRUE(rs.isNull("autonum"));
}

TEST(SalesOrderRecords, AppendingToAnOpenSetFails)
{
    Recordset rs;
    rs.appendField("x", FieldType::Text, 1);
    rs.open();
    EXPECT_FALSE(mf_CreateNewFieldSoHeader(rs));
}
