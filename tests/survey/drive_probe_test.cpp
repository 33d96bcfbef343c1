#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "fakes/memory_window_system.h"
#include "survey/drive_probe.h"

#include <gtest/gtest.h>

using namespace vantric;
using vantric::test::FakeDrive;
using vantric::test::FakeDriveSource;

namespace {

constexpr double GiB = 1024.0 * 1024 * 1024;

struct Probe : ::testing::Test {
    test::MemoryWindowSystem ws;
    FakeDriveSource drives;
    test::FakeFileSystem files;
    test::FakeCounter counter;
    FormState ctx {ws, Services {drives, files, counter, systemClock(), NumericLocale {}}};
    std::int32_t& lngIndex = ctx.vars.lngIndex;

    void probe(char letter)
    {
        ws.setCaption(Ctl::Text1, std::string(1, letter));
        CheckDrive(ctx);
    }
    std::string cap(Ctl c) { return ws.caption(c); }
    const std::vector<std::string>& rows() { return ws.rows(Ctl::List1); }
};

TEST_F(Probe, LetterWithoutDriveIsNotFoundAndGetsNoRow)
{
    ws.setCaption(Ctl::lblSN, "old");
    ws.setCaption(Ctl::lblFree, "old");
    ws.setCaption(Ctl::lblTot, "old");
    probe('Q');
    EXPECT_EQ(cap(Ctl::lblDrive), "Unit Q: not found");
    EXPECT_EQ(cap(Ctl::lblSN), "");
    EXPECT_EQ(cap(Ctl::lblFree), "");
    EXPECT_EQ(cap(Ctl::lblTot), "");
    EXPECT_TRUE(rows().empty());
}

TEST_F(Probe, FailingObjectCreationOrTypeQueryCountsAsNotFound)
{
    drives.drives['C'] = {.type = 2, .avail = GiB, .total = 2 * GiB};
    drives.failCreate = true;
    probe('C');
    EXPECT_EQ(cap(Ctl::lblDrive), "Unit C: not found");
    drives.failCreate = false;
    drives.drives['C'].failType = true;
    probe('C');
    EXPECT_EQ(cap(Ctl::lblDrive), "Unit C: not found");
    EXPECT_TRUE(rows().empty());
}

struct TypeCase {
    int code;
    const char* drivePart; // lblDrive caption
    bool listed;
};

class ProbeTypes : public Probe, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(ProbeTypes, NamesTheTypeAndListsOnlyTestableDrives)
{
    const TypeCase& c = GetParam();
    drives.drives['E'] = {.type = c.code, .avail = 1536.0 * 1024 * 1024, .total = 2 * GiB};
    ws.setCaption(Ctl::lblSN, "left alone");
    probe('E');
    EXPECT_EQ(cap(Ctl::lblDrive), c.drivePart);
    EXPECT_EQ(cap(Ctl::lblSN), "left alone");
    EXPECT_EQ(cap(Ctl::lblFree), "Free Space: 1,536.00 MB");
    EXPECT_EQ(cap(Ctl::lblTot), "Total Size: 2,048.00 MB");
    if (c.listed) {
        ASSERT_EQ(rows().size(), 1u);
        EXPECT_EQ(rows()[0], std::string(c.drivePart) + "  Free Space: 1,536.00 MB  Total Size: 2,048.00 MB");
        EXPECT_EQ(rows()[0][1], 'E');
    } else {
        EXPECT_TRUE(rows().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, ProbeTypes,
                         ::testing::Values(TypeCase {0, " E:- Unknown", false}, TypeCase {1, " E:- Removable", true},
                                           TypeCase {2, " E:- Hard Disk", true}, TypeCase {3, " E:- Network", false},
                                           TypeCase {4, " E:- CD-ROM", false}, TypeCase {5, " E:- RAM Disc", true},
                                           TypeCase {7, " E:- ", true}),
                         [](const auto& info) { return "code" + std::to_string(info.param.code); });

TEST_F(Probe, UnlistedTypeLeavesThreeBlanksBeforeFreeSpace)
{
    drives.drives['F'] = {.type = 9, .avail = 2048, .total = 4096};
    probe('F');
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0], " F:-   Free Space: 2 KB  Total Size: 4 KB");
}

struct SpaceCase {
    double bytes;
    const char* caption;
};

class ProbeSpace : public Probe, public ::testing::WithParamInterface<SpaceCase> {};

TEST_P(ProbeSpace, MegabytesFromExactlyOneMebibyte)
{
    drives.drives['C'] = {.type = 2, .avail = GetParam().bytes, .total = GetParam().bytes};
    probe('C');
    EXPECT_EQ(cap(Ctl::lblFree), std::string("Free Space: ") + GetParam().caption);
    EXPECT_EQ(cap(Ctl::lblTot), std::string("Total Size: ") + GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ProbeSpace,
                         ::testing::Values(SpaceCase {1048576, "1.00 MB"}, SpaceCase {1048575, "1,024 KB"},
                                           SpaceCase {0, "0 KB"}, SpaceCase {1023, "1 KB"},
                                           SpaceCase {2.0 * 1024 * 1024 * 1024 * 1024, "2,097,152.00 MB"}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(Probe, FailingSpaceQueriesKeepTheEarlierCaptions)
{
    drives.drives['C'] = {.type = 2, .avail = GiB, .total = GiB};
    drives.drives['D'] = {.type = 5, .availFailures = -1, .totalFailures = -1};
    probe('C');
    ws.setCaption(Ctl::lblSN, "untouched");
    probe('D');
    EXPECT_EQ(cap(Ctl::lblDrive), " D:- RAM Disc");
    EXPECT_EQ(cap(Ctl::lblSN), "untouched");
    EXPECT_EQ(cap(Ctl::lblFree), "Free Space: 1,024.00 MB");
    ASSERT_EQ(rows().size(), 2u);
    EXPECT_EQ(rows()[1], " D:- RAM Disc  Free Space: 1,024.00 MB  Total Size: 1,024.00 MB");
}

TEST_F(Probe, FailedSpaceTestFallsToTheMegabyteStep)
{
    drives.drives['C'] = {.type = 2, .avail = 512, .total = 600, .availFailures = 1};
    probe('C');
    EXPECT_EQ(cap(Ctl::lblFree), "Free Space: 0.00 MB");
    EXPECT_EQ(cap(Ctl::lblTot), "Total Size: 1 KB");
}

TEST_F(Probe, UnreadableLetterMeansUnitNotReadyAndStillLists)
{
    drives.drives['C'] = {.type = 4, .avail = GiB, .total = GiB};
    drives.drives['D'] = {.type = 2, .avail = 4096, .total = GiB, .failLetter = true};
    probe('C');
    EXPECT_TRUE(rows().empty());
    probe('D');
    // The earlier caption stays and decides the exclusion: still a CD-ROM.
    EXPECT_EQ(cap(Ctl::lblDrive), " C:- CD-ROM");
    EXPECT_EQ(cap(Ctl::lblSN), "Unit not ready");
    EXPECT_EQ(cap(Ctl::lblFree), "Free Space: 4 KB");
    EXPECT_EQ(cap(Ctl::lblTot), "Total Size: 1,024.00 MB");
    EXPECT_TRUE(rows().empty());

    drives.drives['E'] = {.type = 2, .failLetter = true, .availFailures = -1, .totalFailures = -1};
    ws.setCaption(Ctl::lblDrive, " X:- Hard Disk");
    probe('E');
    EXPECT_EQ(cap(Ctl::lblFree), "");
    EXPECT_EQ(cap(Ctl::lblTot), "");
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0], " X:- Hard Disk    ");
}

TEST_F(Probe, EachProbeStartsWithTheFlagLowered)
{
    drives.drives['D'] = {.type = 2, .avail = 2048, .total = 2048};
    probe('C');
    probe('D');
    EXPECT_EQ(cap(Ctl::lblDrive), " D:- Hard Disk");
    EXPECT_EQ(cap(Ctl::lblSN), "");
    ASSERT_EQ(rows().size(), 1u);
}

TEST_F(Probe, StartUpScanProbesCToZUnderTheWaitWindow)
{
    drives.drives['A'] = {.type = 2, .avail = GiB, .total = GiB};
    drives.drives['C'] = {.type = 2, .avail = GiB, .total = GiB};
    drives.drives['Z'] = {.type = 3, .avail = GiB, .total = GiB};
    surveyDrives(ctx);
    ASSERT_EQ(drives.asked.size(), 24u);
    EXPECT_EQ(drives.asked.front(), "C");
    EXPECT_EQ(drives.asked.back(), "Z");
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0][1], 'C');
    EXPECT_EQ(cap(Ctl::Text1), "Z");
    EXPECT_EQ(lngIndex, 91);
    EXPECT_EQ(cap(Ctl::lblDrive), " Z:- Network");
    EXPECT_EQ(ws.log, (std::vector<std::string> {"load PleastWait", "show PleastWait", "doEvents",
                                                  "unload PleastWait", "showMain"}));
}

TEST_F(Probe, OnlyDriveCEndsWithZNotFound)
{
    drives.drives['C'] = {.type = 1, .avail = GiB, .total = GiB};
    surveyDrives(ctx);
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(cap(Ctl::lblDrive), "Unit Z: not found");
    EXPECT_EQ(cap(Ctl::lblFree), "");
}

} // namespace
