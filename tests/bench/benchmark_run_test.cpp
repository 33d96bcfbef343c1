// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "bench/figures.h"
#include "bench/size_ladder.h"
#include "fakes/fake_world.h"
#include "platform/folders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <functional>

using namespace vantric;
using namespace vantric::test;

namespace {

std::string scratchIn(const std::string& folder)
{
    return folder + pathSeparator() + "~test.tmp";
}

const std::string kScratch = scratchIn("/fake/c");
using Rows = std::vector<std::string>;

struct Run : ::testing::Test, FakeWorld {};

// Each rung's count from "1k" up; the command's size check pins the captions in their order.
const std::int32_t kCounts[] = {512,    1024,    2560,    5120,    12800,   25600,    51200,    256000,
                                512000, 524288, 1048576, 2621440, 5242880, 13107200, 26214400, 52428800};

// Down undoes up, and past either end the ladder wraps.
TEST(Ladder, EachClickStepsToTheNextRungAndEachRungGivesItsCount)
{
    MemoryWindowSystem ws;
    ws.setCaption(Ctl::Label9, "1k");
    for (std::int32_t count : kCounts) {
        const std::string caption = ws.caption(Ctl::Label9);
        std::int32_t got = -1;
        SetTestCount(ws, got);
        EXPECT_EQ(got, count) << caption;
        stepSizeDown(ws);
        stepSizeUp(ws);
        EXPECT_EQ(ws.caption(Ctl::Label9), caption);
        stepSizeUp(ws);
    }
    EXPECT_EQ(ws.caption(Ctl::Label9), "1k");
}

// The labels' figures; a pass timed at zero counts as one tick of the counter.
TEST(Figures, PatternsRenderAsTheLabelsShowThem)
{
    NumericLocale en;
    NumericLocale de {",", "."};
    EXPECT_EQ(formatRate(0.5, en), ".500000");
    EXPECT_EQ(formatRate(12.3456789, en), "12.345679");
    EXPECT_EQ(formatRate(1234.5, en), "1234.500000");
    EXPECT_EQ(formatRate(0.5, de), ",500000");
    EXPECT_EQ(formatSeconds(0.5, en), ".5000");
    EXPECT_DOUBLE_EQ(rateMBps(2 * 1048576, 0.5, 1000), 4.0);
    EXPECT_DOUBLE_EQ(rateMBps(1048576, 0.0, 1000000000), 1e9);
    EXPECT_THROW(rateMBps(1024, 0.0, 0), VantricError);
}

TEST_F(Run, OneKilobyteRunWritesReadsDeletesAndLogs)
{
    for (Ctl c : {Ctl::Label1, Ctl::Label3, Ctl::Label4, Ctl::Label5})
        ws.setCaption(c, "old");
    Rows labels, events; // the labels at each processing point; file events with the readings before them
    ws.onDoEvents = [&] {
        labels.push_back(ws.caption(Ctl::Label1) + "|" + ws.caption(Ctl::Label3) + "|" + ws.caption(Ctl::Label4) + "|"
                         + ws.caption(Ctl::Label5));
    };
    fs.onEvent = [&](const std::string& what) { events.push_back(what + " @" + std::to_string(counter.readings)); };
    form.List1_Click();
    ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
    EXPECT_EQ(labels, (Rows {"|||", ".001953|1.0000 Seconds||"}));
    // Write pass: Start is reading 1, its Elapsed readings 2 and 3; the read pass starts at 4. Emptying and opens
    // lie outside.
    EXPECT_EQ(events, (Rows {"empty @0", "open write @0", "preallocate 1024 @1", "sync @1", "open read @3"}));
    EXPECT_EQ(fs.bytesRead, 512u);
    EXPECT_EQ(fs.openNow, 0);
    EXPECT_EQ(log(), (Rows {kRow, " Testing On 1k File", " Write [MB/s]= .001953 1.0000 Seconds",
                            " Read  [MB/s]= .000977  1.0000 Seconds", " "}));
    EXPECT_TRUE(ws.isVisible(Ctl::Command4));
    EXPECT_EQ(ws.log, (Rows {"load PleaseWaitWriting", "show PleaseWaitWriting", "doEvents", "unload PleaseWaitWriting",
                             "showMain", "load PleaseWaitReading", "show PleaseWaitReading", "doEvents",
                             "unload PleaseWaitReading", "showMain", "settleInput"}));
}

// A run the file system compressed completes and logs as always, then one box says so.
TEST_F(Run, ADriveThatCompressedTheZerosIsReportedOnceAfterTheRun)
{
    fs.storage = StoredBytes {256u, true};
    form.List1_Click();
    ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
    ASSERT_EQ(ws.messages.size(), 1u);
    EXPECT_EQ(ws.messages[0].first, "Vantric");
    EXPECT_EQ(ws.messages[0].second,
              "This drive compresses what is written to it: of the 1,024 bytes the test wrote, 256 reached the "
              "drive as written, the rest was compressed or left out. The figures therefore describe the "
              "compression rather than the drive.");
    EXPECT_EQ(Rows(ws.log.end() - 2, ws.log.end()), (Rows {"settleInput", "messageBox"}));
    // A look that fails spoils nothing and claims nothing.
    FakeWorld unseen;
    unseen.fs.failStorage = true;
    unseen.form.List1_Click();
    EXPECT_TRUE(unseen.ws.errors.empty() && unseen.ws.messages.empty());
    EXPECT_EQ(unseen.log().size(), 5u);
    EXPECT_FALSE(unseen.form.lastRun().stored);
}

TEST_F(Run, TheLoopsLeaveTheBufferAndTheCounterAsTheyEnd)
{
    FormState own {ws, Services {drives, fs, counter, clock, systemStopHooks(), NumericLocale {}}};
    own.vars.bytBuffer.assign(7, 0xAB); // a run sizes it afresh
    RunState run;
    runBenchmark(own, run);
    EXPECT_EQ(own.vars.bytBuffer, std::pmr::vector<std::uint8_t>(512, 0));
    EXPECT_EQ(own.vars.lngIndex, 513);
}

TEST_F(Run, EveryFailureCleansUpAndReportsOnce)
{
    struct Case {
        const char* name;
        std::function<void(FakeWorld&)> arrange;
        const char* reason;
    } cases[] = {
        {"may not create", [](FakeWorld& r) { r.fs.refuseCreate[kScratch] = EACCES; }, "You may not create files"},
        {"cannot open for writing", [](FakeWorld& r) { r.fs.refuseOpen[kScratch] = EACCES; }, "Permission denied"},
        {"disk full", [](FakeWorld& r) { r.fs.fullAfter = 300; }, "No space left on device"},
        {"sizeless drive full",
         [](FakeWorld& r) {
             r.fs.total = r.fs.available = 0;
             r.fs.fullAfter = 300;
         },
         "No space left on device"},
        {"sync fails", [](FakeWorld& r) { r.fs.failSync = true; }, "Input/output error"},
        {"read open fails", [](FakeWorld& r) { r.fs.failReadOpen = true; }, "No such file or directory"},
        {"too little room", [](FakeWorld& r) { r.fs.available = 1000; }, "only 1000 bytes are free"},
        {"another test has it", [](FakeWorld& r) { r.fs.heldByOther.insert(kScratch); }, "Another test is using the file"},
        {"counter frequency 0", [](FakeWorld& r) { r.counter.freq = 0; }, "Division by zero"},
        {"unknown letter", [](FakeWorld& r) { r.drives.folders.clear(); }, "No file system has the letter C"},
        {"no memory for the read buffer", [](FakeWorld& r) { r.memory.from = std::pmr::null_memory_resource(); },
         "Out of memory for the read buffer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWorld r;
        c.arrange(r);
        r.form.List1_Click();
        ASSERT_EQ(r.ws.errors.size(), 1u);
        EXPECT_NE(r.ws.errors[0].find(c.reason), std::string::npos) << r.ws.errors[0];
        EXPECT_TRUE(r.fs.files.empty());
        EXPECT_EQ(r.fs.openNow, 0);
        EXPECT_TRUE(r.ws.loadedWaits.empty());
        EXPECT_EQ(Rows(r.ws.log.end() - 2, r.ws.log.end()), (Rows {"showMain", "errorBox"}));
        r.form.Command1_Click(); // the run is over: the window takes clicks again
        EXPECT_EQ(r.ws.caption(Ctl::Label9), "2k");
    }
}

// What is already in the file counts towards the room; the check comes before the write pass opens the file.
TEST_F(Run, TheRoomCheckCountsTheFileAlreadyThere)
{
    fs.available = 1000;
    fs.files[kScratch] = std::vector<std::uint8_t>(24, 1);
    form.List1_Click();
    EXPECT_EQ(fs.bytesWritten, 1024u);
    FakeWorld refused;
    refused.fs.available = 1000;
    refused.form.List1_Click();
    EXPECT_EQ(refused.fs.opened, Rows {"claim " + kScratch});
}

TEST_F(Run, RowShorterThanTwoCharactersGivesNoLetter)
{
    ws.addRow(Ctl::List1, "X");
    ws.selectRow(Ctl::List1, 1);
    form.List1_Click();
    EXPECT_EQ(ws.caption(Ctl::Label2), "");
    EXPECT_EQ(ws.errors.size(), 1u);
}

// At the passes' processing points and while input settles after them.
TEST_F(Run, InputDuringARunStartsNothingThenAndNothingLater)
{
    for (auto hook : {&MemoryWindowSystem::onDoEvents, &MemoryWindowSystem::onSettleInput}) {
        FakeWorld r;
        r.ws.*hook = [&r] {
            r.form.List1_Click();
            r.form.Command1_Click();
            r.form.Command3_Click();
            r.form.Command4_Click();
        };
        r.form.List1_Click();
        EXPECT_TRUE(r.ws.errors.empty());
        EXPECT_EQ(r.ws.caption(Ctl::Label9), "1k");
        EXPECT_EQ(r.log().size(), 5u);
        EXPECT_EQ(r.fs.opened, (Rows {"claim " + kScratch, "write " + kScratch, "read " + kScratch}));
        r.ws.*hook = nullptr;
        r.form.Command1_Click();
        EXPECT_EQ(r.ws.caption(Ctl::Label9), "2k");
    }
}

// Exit at the write pass's point (no file made yet), the read pass's, and as input settles.
TEST_F(Run, ExitDuringARunEndsItAndRemovesOnlyItsScratchFile)
{
    const std::string saved = std::string("/fake/prog") + pathSeparator() + "Vantric_Log_2612050907.txt";
    for (int point : {1, 2, 3}) {
        SCOPED_TRACE(point);
        FakeWorld r;
        r.form.List1_Click();
        r.form.Command4_Click();
        ASSERT_TRUE(r.fs.files.count(saved));
        r.fs.removed.clear();
        int calls = 0;
        r.ws.onDoEvents = [&] {
            if (++calls == point)
                r.form.Command2_Click();
        };
        r.ws.onSettleInput = [&] {
            if (point == 3)
                r.form.Command2_Click();
        };
        EXPECT_THROW(r.form.List1_Click(), ProgramEnd);
        EXPECT_TRUE(r.ws.ended);
        EXPECT_FALSE(r.fs.files.count(kScratch));
        EXPECT_TRUE(r.fs.files.count(saved));
        if (point == 1) {
            EXPECT_TRUE(r.fs.removed.empty());
        }
    }
}

TEST_F(Run, ScratchFileGoesToTheFirstFolderThatLetsUsCreateIt)
{
    const std::string root = scratchIn("/fake/c"), home = scratchIn("/home/u"), priv = scratchIn("/tmp/vantric-1");
    struct Case {
        const char* name;
        std::map<std::string, int> refused; // scratch path -> errno of its creation
        bool noPrivateFolder;
        std::string want; // the file the run used; empty: the run is refused
        Rows foldersRemoved;
    } cases[] = {
        {"root", {}, false, root, {}},
        {"home when the root is read-only", {{root, EROFS}}, false, home, {}},
        {"a private temp folder when neither may be written", {{root, EACCES}, {home, EPERM}}, false, priv,
         {"/tmp/vantric-1"}},
        {"a folder that cannot be made is skipped", {{root, EACCES}, {home, EACCES}}, true, "", {}},
        {"a failed claim in the private folder removes the folder", {{root, EACCES}, {home, EACCES}, {priv, EIO}},
         false, "", {"/tmp/vantric-1"}},
        {"another failure is not a reason to move on", {{root, EIO}}, false, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWorld r;
        r.drives.folders['C'] = {{"/fake/c"}, {"/home/u"}, {"/tmp", true}};
        r.fs.refuseCreate = c.refused;
        if (c.noPrivateFolder)
            r.fs.refusePrivateUnder.insert("/tmp");
        r.form.List1_Click();
        if (c.want.empty()) {
            EXPECT_EQ(r.ws.errors.size(), 1u);
            EXPECT_TRUE(r.fs.opened.empty());
        } else {
            EXPECT_TRUE(r.ws.errors.empty());
            EXPECT_EQ(r.fs.removed, Rows {c.want});
        }
        EXPECT_TRUE(r.fs.files.empty());
        EXPECT_EQ(r.fs.removedFolders, c.foldersRemoved);
    }
}

} // namespace
