// When an order file counts as complete: by the folder's events where they arrive, otherwise by
// the settle time counted from its last change (a fake clock; nothing sleeps).

#include "queue/FileReadiness.h"

#include <gtest/gtest.h>

TEST(FileReadiness, WithoutEventsAFileSettlesFromItsLastChange)
{
    qint64 now = 1'000'000;
    FileReadiness readiness([&] { return now; });
    readiness.setSettleMs(5000);

    // Written 4 s ago by its own time: complete 1 s from now.
    FileReadiness::Verdict verdict = readiness.check("A1T1A.ord", {10, now - 4000});
    EXPECT_FALSE(verdict.complete);
    EXPECT_EQ(verdict.lookAgainAtMs, now + 1000);

    // The writer carries on after a pause: it counts from the new change, not from the last look.
    now += 2000;
    EXPECT_FALSE(readiness.check("A1T1A.ord", {20, now - 100}).complete);
    now += 4899;
    EXPECT_FALSE(readiness.check("a1t1a.ORD", {20, now - 4999}).complete);
    now += 1;
    EXPECT_TRUE(readiness.check("A1T1A.ord", {20, now - 5000}).complete);

    // A file server whose clock is behind: a file seen growing is not old, whatever its time says.
    EXPECT_TRUE(readiness.check("B.ord", {10, now - 60'000}).complete);
    now += 1000;
    verdict = readiness.check("B.ord", {30, now - 60'000});
    EXPECT_FALSE(verdict.complete);
    EXPECT_EQ(verdict.lookAgainAtMs, now - 1000 + 5000);
    // One whose clock is ahead: counted from now.
    EXPECT_EQ(readiness.check("C.ord", {10, now + 3'600'000}).lookAgainAtMs, now + 5000);
}

TEST(FileReadiness, EventsDecideWhereTheyArrive)
{
    qint64 now = 1'000'000;
    FileReadiness readiness([&] { return now; });
    const FileStamp old{10, now - 3'600'000};

    // Open for writing: not complete however long ago it last changed, until its writer closes it.
    readiness.written("A.ord");
    EXPECT_EQ(readiness.check("A.ord", old).reason, "still open for writing");
    readiness.closedAfterWrite("a.ORD");
    EXPECT_TRUE(readiness.check("A.ord", old).complete);

    // Renamed into its name: complete at once, even with a brand-new time.
    readiness.renamedInto("B.ord");
    EXPECT_TRUE(readiness.check("B.ord", {10, now}).complete);

    // Events lost: back to the settle time.
    readiness.written("B.ord");
    readiness.forgetEvents();
    EXPECT_FALSE(readiness.check("B.ord", {10, now}).complete);
    EXPECT_TRUE(readiness.check("A.ord", old).complete);
}
