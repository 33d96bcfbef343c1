// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "fakes/memory_window_system.h"
#include "survey/drive_probe.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vantric;
using namespace vantric::test;

namespace {

constexpr double GiB = 1024.0 * 1024 * 1024;
using Rows = std::vector<std::string>;

struct ProbeWorld {
    MemoryWindowSystem ws;
    FakeDriveSource drives;
    FakeFileSystem files;
    FakeCounter counter;
    FormState ctx {ws, Services {drives, files, counter, systemClock(), systemStopHooks(), NumericLocale {}}};

    void probe(char letter)
    {
        ws.setCaption(Ctl::Text1, std::string(1, letter));
        CheckDrive(ctx);
    }
    std::string cap(Ctl c) { return ws.caption(c); }
    const Rows& rows() { return ws.rows(Ctl::List1); }
};

struct Probe : ::testing::Test, ProbeWorld {};

TEST_F(Probe, ADriveThatCannotBeAskedIsNotFoundAndTheNextProbeStartsAfresh)
{
    struct Case {
        const char* name;
        std::function<void(FakeDriveSource&)> arrange;
    } cases[] = {
        {"no such drive", [](FakeDriveSource& d) { d.drives.erase('C'); }},
        {"no drive object", [](FakeDriveSource& d) { d.failCreate = true; }},
        {"no type", [](FakeDriveSource& d) { d.drives['C'].failType = true; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeWorld w;
        w.drives.drives['C'] = {.type = 2, .avail = GiB, .total = 2 * GiB};
        w.drives.drives['D'] = {.type = 2, .avail = 2048, .total = 2048};
        c.arrange(w.drives);
        for (Ctl l : {Ctl::lblSN, Ctl::lblFree, Ctl::lblTot})
            w.ws.setCaption(l, "old");
        w.probe('C');
        EXPECT_EQ(w.cap(Ctl::lblDrive), "Unit C: not found");
        for (Ctl l : {Ctl::lblSN, Ctl::lblFree, Ctl::lblTot})
            EXPECT_EQ(w.cap(l), "");
        EXPECT_TRUE(w.rows().empty());
        w.drives.failCreate = false;
        w.probe('D');
        EXPECT_EQ(w.rows(), Rows {" D:- Hard Disk  Free Space: 2 KB  Total Size: 2 KB"});
    }
}

TEST_F(Probe, NamesTheTypeAndListsOnlyTestableDrives)
{
    struct Case {
        int code;
        const char* drivePart; // lblDrive caption
        bool listed;
    } cases[] = {
        {0, " E:- Unknown", false}, {1, " E:- Removable", true}, {2, " E:- Hard Disk", true},
        {3, " E:- Network", false}, {4, " E:- CD-ROM", false},   {5, " E:- RAM Disc", true}, {7, " E:- ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        ProbeWorld w;
        w.drives.drives['E'] = {.type = c.code, .avail = 1536.0 * 1024 * 1024, .total = 2 * GiB};
        w.probe('E');
        EXPECT_EQ(w.cap(Ctl::lblDrive), c.drivePart);
        const std::string row = std::string(c.drivePart) + "  Free Space: 1,536.00 MB  Total Size: 2,048.00 MB";
        EXPECT_EQ(w.rows(), c.listed ? Rows {row} : Rows {});
    }
}

TEST_F(Probe, MegabytesFromExactlyOneMebibyte)
{
    const std::pair<double, const char*> cases[] = {
        {1048576, "1.00 MB"}, {1048575, "1,024 KB"}, {0, "0 KB"}, {1023, "1 KB"}, {2 * GiB * 1024, "2,097,152.00 MB"},
    };
    for (const auto& [bytes, caption] : cases) {
        drives.drives['C'] = {.type = 2, .avail = bytes, .total = bytes};
        probe('C');
        EXPECT_EQ(cap(Ctl::lblFree), std::string("Free Space: ") + caption);
        EXPECT_EQ(cap(Ctl::lblTot), std::string("Total Size: ") + caption);
    }
}

// A row never carries an earlier drive's figures (a failed space query leaves none) or letter.
TEST_F(Probe, FailingQueriesLeaveNothingOfTheDriveBefore)
{
    drives.drives['C'] = {.type = 2, .avail = GiB, .total = GiB};
    drives.drives['D'] = {.type = 5, .failSpace = true};
    drives.drives['E'] = {.type = 2, .avail = 4096, .total = GiB, .failLetter = true};
    drives.drives['F'] = {.type = 4, .avail = GiB, .total = GiB};
    drives.drives['G'] = {.type = 2, .failLetter = true, .failSpace = true};
    probe('C');
    ws.setCaption(Ctl::lblSN, "untouched");
    probe('D');
    EXPECT_EQ(cap(Ctl::lblSN), "untouched");
    probe('F'); // a CD-ROM: not listed, its captions stay for the next probe
    probe('E');
    EXPECT_EQ(cap(Ctl::lblSN), "Unit not ready");
    probe('G');
    EXPECT_EQ(rows(), (Rows {" C:- Hard Disk  Free Space: 1,024.00 MB  Total Size: 1,024.00 MB", " D:- RAM Disc    ",
                             " E:- Hard Disk  Free Space: 4 KB  Total Size: 1,024.00 MB", " G:- Hard Disk    "}));
}

TEST_F(Probe, StartUpScanProbesCToZUnderTheWaitWindow)
{
    drives.drives['A'] = {.type = 2, .avail = GiB, .total = GiB};
    drives.drives['C'] = {.type = 2, .avail = GiB, .total = GiB};
    drives.drives['Z'] = {.type = 3, .avail = GiB, .total = GiB};
    surveyDrives(ctx);
    EXPECT_EQ(drives.asked.size(), 24u);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0][1], 'C');
    EXPECT_EQ(cap(Ctl::Text1), "Z");
    EXPECT_EQ(ctx.vars.lngIndex, 91);
    EXPECT_EQ(ws.log, (Rows {"load PleastWait", "show PleastWait", "doEvents", "unload PleastWait", "showMain"}));
}

} // namespace
