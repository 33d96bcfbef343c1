#include "app/frmDrive.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "fakes/memory_window_system.h"
#include "platform/folders.h"
#include "support/fixed_clock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <memory_resource>

using namespace vantric;
using namespace vantric::test;

namespace {

const std::string kRow = " C:- Hard Disk  Free Space: 1,024.00 MB  Total Size: 2,048.00 MB";
// The scratch file's path in a folder, with this system's separator.
std::string scratchIn(const std::string& folder)
{
    return folder + pathSeparator() + "~test.tmp";
}

const std::string kScratch = scratchIn("/fake/c");

// Memory that runs out past a given size.
struct ScarceMemory : std::pmr::memory_resource {
    std::size_t refuseFrom = SIZE_MAX;
    void* do_allocate(std::size_t n, std::size_t align) override
    {
        if (n >= refuseFrom)
            throw std::bad_alloc();
        return std::pmr::new_delete_resource()->allocate(n, align);
    }
    void do_deallocate(void* p, std::size_t n, std::size_t align) override
    {
        std::pmr::new_delete_resource()->deallocate(p, n, align);
    }
    bool do_is_equal(const memory_resource& o) const noexcept override { return this == &o; }
};

struct RunWorld {
    MemoryWindowSystem ws;
    FakeDriveSource drives;
    FakeFileSystem fs;
    FakeCounter counter;
    FixedClock clock;
    ScarceMemory memory;
    frmDrive form {ws, Services {drives, fs, counter, clock, NumericLocale {}, "/fake/prog", std::nullopt, &memory}};

    RunWorld()
    {
        drives.folders['C'] = {{"/fake/c"}};
        counter.freq = 1000;
        counter.step = 500; // every reading half a second after the one before
        ws.addRow(Ctl::List1, kRow);
        ws.selectRow(Ctl::List1, 0);
        ws.setCaption(Ctl::Label9, "1k");
    }
    const std::vector<std::string>& log() { return ws.rows(Ctl::List2); }

    // The run itself, on variables of the test's own, as the window lends its.
    FormState own {ws, Services {drives, fs, counter, clock, NumericLocale {}}};
    FormVariables& vars = own.vars;
    void runOnOwnVariables()
    {
        RunState run;
        runBenchmark(own, run);
    }
};

struct Run : ::testing::Test, RunWorld {};

TEST_F(Run, OneKilobyteRunWritesReadsDeletesAndLogs)
{
    form.List1_Click();
    ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
    EXPECT_EQ(fs.bytesWritten, 1024u);
    EXPECT_EQ(fs.bytesRead, 512u);
    EXPECT_EQ(fs.syncs, 1);
    EXPECT_EQ(fs.removed, std::vector<std::string> {kScratch});
    EXPECT_TRUE(fs.files.empty());
    EXPECT_EQ(fs.openNow, 0);
    EXPECT_EQ(ws.caption(Ctl::Label2), "C");
    EXPECT_EQ(log(), (std::vector<std::string> {kRow, " Testing On 1k File", " Write [MB/s]= .001953 1.0000 Seconds",
                                                " Read  [MB/s]= .000977  1.0000 Seconds", " "}));
    EXPECT_TRUE(ws.isVisible(Ctl::Command4));
    EXPECT_EQ(ws.log, (std::vector<std::string> {"load PleaseWaitWriting", "show PleaseWaitWriting", "doEvents",
                                                  "unload PleaseWaitWriting", "showMain", "load PleaseWaitReading",
                                                  "show PleaseWaitReading", "doEvents", "unload PleaseWaitReading",
                                                  "showMain", "settleInput"}));
    form.List1_Click();
    EXPECT_EQ(log().size(), 10u);
    EXPECT_EQ(log()[5], kRow);
    EXPECT_EQ(ws.log.size(), 22u);
}

// What the file system did with the zeros: a run it compressed completes
// and logs as always, then one box says so; a run it stored says nothing.
TEST_F(Run, ADriveThatCompressedTheZerosIsReportedOnceAfterTheRun)
{
    for (bool compressed : {false, true}) {
        fs.storage = StoredBytes {compressed ? 256u : 1024u, compressed};
        ws.messages.clear();
        form.List1_Click();
        ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
        EXPECT_EQ(log().size(), compressed ? 10u : 5u);
        EXPECT_EQ(form.lastRun().stored.compressed, compressed);
        if (!compressed) {
            EXPECT_TRUE(ws.messages.empty());
            continue;
        }
        ASSERT_EQ(ws.messages.size(), 1u);
        EXPECT_EQ(ws.messages[0].first, "Vantric");
        EXPECT_EQ(ws.messages[0].second,
                  "This drive compresses what is written to it: of the 1,024 bytes the test wrote, 256 reached the "
                  "drive as written, the rest was compressed or left out. The figures therefore describe the "
                  "compression rather than the drive.");
        EXPECT_EQ(std::vector<std::string>(ws.log.end() - 2, ws.log.end()),
                  (std::vector<std::string> {"settleInput", "messageBox"}));
    }
}

TEST_F(Run, TheLoopsLeaveTheBufferAndTheCounterAsTheyEnd)
{
    vars.bytBuffer.assign(7, 0xAB); // a run sizes it afresh
    runOnOwnVariables();
    EXPECT_EQ(vars.lngCount, 512);
    EXPECT_EQ(vars.bytBuffer, std::pmr::vector<std::uint8_t>(512, 0));
    EXPECT_EQ(vars.lngIndex, 513);
    EXPECT_EQ(vars.strFileName, kScratch);
}

TEST_F(Run, LabelsAreEmptyUntilTheirPassEnds)
{
    for (Ctl c : {Ctl::Label1, Ctl::Label3, Ctl::Label4, Ctl::Label5})
        ws.setCaption(c, "old");
    std::vector<std::vector<std::string>> seen;
    ws.onDoEvents = [&] {
        seen.push_back({ws.caption(Ctl::Label1), ws.caption(Ctl::Label3), ws.caption(Ctl::Label4),
                        ws.caption(Ctl::Label5)});
    };
    form.List1_Click();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (std::vector<std::string> {"", "", "", ""}));
    EXPECT_EQ(seen[1], (std::vector<std::string> {".001953", "1.0000 Seconds", "", ""}));
}

TEST_F(Run, EveryFailureCleansUpAndReportsOnce)
{
    struct Case {
        const char* name;
        std::function<void(RunWorld&)> arrange;
        const char* reason;
        bool fileMayRemain; // something that is not ours stays where it was
    } cases[] = {
        {"may not create", [](RunWorld& r) { r.fs.refuseCreate[kScratch] = EACCES; }, "You may not create files", false},
        {"cannot create", [](RunWorld& r) { r.fs.refuseCreate[kScratch] = EIO; }, "Input/output error", false},
        {"cannot open for writing", [](RunWorld& r) { r.fs.refuseOpen[kScratch] = EACCES; }, "Permission denied", false},
        {"disk full", [](RunWorld& r) { r.fs.fullAfter = 300; }, "No space left on device", false},
        {"sync fails", [](RunWorld& r) { r.fs.failSync = true; }, "Input/output error", false},
        {"read open fails", [](RunWorld& r) { r.fs.failReadOpen = true; }, "No such file or directory", false},
        {"too little room", [](RunWorld& r) { r.fs.available = 1000; }, "only 1000 bytes are free", false},
        {"not a regular file", [](RunWorld& r) { r.fs.notRegular.insert(kScratch); }, "not a regular file", true},
        {"other links", [](RunWorld& r) { r.fs.otherLinks.insert(kScratch); }, "It has other links", true},
        {"another test has it", [](RunWorld& r) { r.fs.heldByOther.insert(kScratch); }, "Another test is using the file", true},
        {"counter frequency 0", [](RunWorld& r) { r.counter.freq = 0; }, "Division by zero", false},
        {"unknown letter", [](RunWorld& r) { r.drives.folders.clear(); }, "No file system has the letter C", false},
        {"no memory for the read buffer", [](RunWorld& r) { r.memory.refuseFrom = 512; },
         "Out of memory for the read buffer", false},
    };
    for (const auto& c : cases) {
        RunWorld r;
        c.arrange(r);
        r.form.List1_Click();
        ASSERT_EQ(r.ws.errors.size(), 1u) << c.name;
        EXPECT_NE(r.ws.errors[0].find(c.reason), std::string::npos) << c.name << ": " << r.ws.errors[0];
        EXPECT_TRUE(r.fs.files.empty()) << c.name;
        EXPECT_EQ(r.fs.openNow, 0) << c.name;
        EXPECT_TRUE(r.ws.loadedWaits.empty()) << c.name;
        EXPECT_EQ(r.ws.log.back(), "errorBox") << c.name;
        EXPECT_EQ(r.ws.log[r.ws.log.size() - 2], "showMain") << c.name;
        EXPECT_TRUE(r.log().empty()) << c.name;
        EXPECT_FALSE(r.ws.isVisible(Ctl::Command4)) << c.name;
        EXPECT_EQ(r.ws.caption(Ctl::Label4), "") << c.name;
        r.form.Command1_Click(); // the run is over: the window takes clicks again
        EXPECT_EQ(r.ws.caption(Ctl::Label9), "2k") << c.name;
        if (c.fileMayRemain) {
            EXPECT_TRUE(r.fs.removed.empty()) << c.name;
        }
    }
}

TEST_F(Run, RefusedForLackOfRoomWritesNothing)
{
    fs.available = 1000;
    fs.files[kScratch] = std::vector<std::uint8_t>(24, 1); // counts towards the room
    form.List1_Click();
    EXPECT_EQ(fs.bytesWritten, 1024u); // 1000 free + 24 already there is enough
    RunWorld r;
    r.fs.available = 1000;
    r.form.List1_Click();
    EXPECT_EQ(r.fs.bytesWritten, 0u);
    EXPECT_EQ(r.fs.opened, std::vector<std::string> {"claim " + kScratch});
    EXPECT_TRUE(r.fs.files.empty());
}

TEST_F(Run, FileSystemWithoutASizeSkipsThePreCheck)
{
    // ramfs: statvfs reports no blocks at all, so nothing is "free" either.
    fs.total = 0;
    fs.available = 0;
    form.List1_Click();
    ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
    EXPECT_EQ(fs.bytesWritten, 1024u);
    EXPECT_EQ(log().size(), 5u);
    EXPECT_EQ(log()[0], kRow); // the row as the drive reported it

    // A drive that really fills up is still an error.
    RunWorld r;
    r.fs.total = 0;
    r.fs.available = 0;
    r.fs.fullAfter = 300;
    r.form.List1_Click();
    ASSERT_EQ(r.ws.errors.size(), 1u);
    EXPECT_NE(r.ws.errors[0].find("No space left on device"), std::string::npos) << r.ws.errors[0];
    EXPECT_TRUE(r.fs.files.empty());
    EXPECT_TRUE(r.log().empty());
}

TEST_F(Run, ClicksAtTheProcessingPointsAreIgnored)
{
    ws.onDoEvents = [&] {
        form.List1_Click();
        form.Command1_Click();
        form.Command3_Click();
        form.Command4_Click();
    };
    form.List1_Click();
    EXPECT_TRUE(ws.errors.empty());
    EXPECT_EQ(ws.caption(Ctl::Label9), "1k");
    EXPECT_EQ(log().size(), 5u);
    EXPECT_EQ(fs.opened, (std::vector<std::string> {"claim " + kScratch, "write " + kScratch, "read " + kScratch}));
    EXPECT_TRUE(ws.messages.empty());
    // After the run the same clicks work again.
    ws.onDoEvents = nullptr;
    form.Command1_Click();
    EXPECT_EQ(ws.caption(Ctl::Label9), "2k");
}

TEST_F(Run, ExitDuringARunRemovesOnlyItsScratchFile)
{
    // A save leaves the log's path where the next run keeps its own.
    const std::string saved = std::string("/fake/prog") + pathSeparator() + "Vantric_Log_2612050907.txt";
    form.List1_Click();
    form.Command4_Click();
    ASSERT_TRUE(fs.files.count(saved));
    int calls = 0;
    ws.onDoEvents = [&] {
        if (++calls == 2)
            form.Command2_Click();
    };
    EXPECT_THROW(form.List1_Click(), ProgramEnd);
    EXPECT_TRUE(ws.ended);
    EXPECT_FALSE(fs.files.count(kScratch));
    EXPECT_TRUE(fs.files.count(saved));

    // At the first point the file is not made yet: nothing is removed.
    RunWorld r;
    r.form.List1_Click();
    r.form.Command4_Click();
    r.fs.removed.clear();
    r.ws.onDoEvents = [&] { r.form.Command2_Click(); };
    EXPECT_THROW(r.form.List1_Click(), ProgramEnd);
    EXPECT_TRUE(r.fs.removed.empty());
    EXPECT_TRUE(r.fs.files.count(saved));
}

TEST_F(Run, OnlyPreallocationAndSyncFallInsideTheWriteSpan)
{
    // Each event with the number of stopwatch readings taken before it: the
    // write pass's Start is the first reading, its two Elapsed the second and
    // third, the read pass's Start the fourth. The opens lie outside.
    std::vector<std::string> events;
    fs.onEvent = [&](const std::string& what) { events.push_back(what + " @" + std::to_string(counter.readings)); };
    form.List1_Click();
    ASSERT_TRUE(ws.errors.empty()) << ws.errors[0];
    EXPECT_EQ(events, (std::vector<std::string> {"open write @0", "preallocate 1024 @1", "sync @1", "open read @3"}));
}

TEST_F(Run, RowShorterThanTwoCharactersGivesNoLetter)
{
    ws.addRow(Ctl::List1, "X");
    ws.selectRow(Ctl::List1, 1);
    form.List1_Click();
    EXPECT_EQ(ws.caption(Ctl::Label2), "");
    ASSERT_EQ(ws.errors.size(), 1u);
    EXPECT_TRUE(log().empty());
}

TEST_F(Run, InputMadeDuringThePassesStartsNothingLaterAndExitStillEnds)
{
    ws.onSettleInput = [&] {
        form.List1_Click();
        form.Command1_Click();
        form.Command4_Click();
    };
    form.List1_Click();
    EXPECT_EQ(log().size(), 5u);
    EXPECT_EQ(ws.caption(Ctl::Label9), "1k");
    EXPECT_TRUE(ws.messages.empty());
    EXPECT_EQ(fs.opened, (std::vector<std::string> {"claim " + kScratch, "write " + kScratch, "read " + kScratch}));

    RunWorld r;
    r.ws.onSettleInput = [&] { r.form.Command2_Click(); };
    EXPECT_THROW(r.form.List1_Click(), ProgramEnd);
    EXPECT_TRUE(r.ws.ended);
    EXPECT_TRUE(r.fs.files.empty());
}

TEST_F(Run, ScratchFileGoesToTheFirstFolderThatLetsUsCreateIt)
{
    const std::string root = scratchIn("/fake/c"), home = scratchIn("/home/u");
    struct Case {
        const char* name;
        std::function<void(RunWorld&)> arrange;
        std::string want;        // the file the run used; empty: the run is refused
        std::vector<std::string> foldersRemoved;
    } cases[] = {
        {"root", [](RunWorld&) {}, root, {}},
        {"home when the root is read-only",
         [&](RunWorld& r) { r.fs.refuseCreate[root] = EROFS; }, home, {}},
        {"a private temp folder when neither may be written",
         [&](RunWorld& r) {
             r.fs.refuseCreate[root] = EACCES;
             r.fs.refuseCreate[home] = EPERM;
         },
         scratchIn("/tmp/vantric-1"), {"/tmp/vantric-1"}},
        {"a folder that cannot be made is skipped",
         [&](RunWorld& r) {
             r.fs.refuseCreate[root] = EACCES;
             r.fs.refuseCreate[home] = EACCES;
             r.fs.refusePrivateUnder.insert("/tmp");
         },
         "", {}},
        {"a failed claim in the private folder removes the folder",
         [&](RunWorld& r) {
             r.fs.refuseCreate[root] = EACCES;
             r.fs.refuseCreate[home] = EACCES;
             r.fs.refuseCreate[scratchIn("/tmp/vantric-1")] = EIO;
         },
         "", {"/tmp/vantric-1"}},
        {"another failure is not a reason to move on",
         [&](RunWorld& r) { r.fs.refuseCreate[root] = EIO; }, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunWorld r;
        r.drives.folders['C'] = {{"/fake/c"}, {"/home/u"}, {"/tmp", true}};
        c.arrange(r);
        r.form.List1_Click();
        if (c.want.empty()) {
            EXPECT_EQ(r.ws.errors.size(), 1u);
            EXPECT_TRUE(r.fs.opened.empty());
        } else {
            EXPECT_TRUE(r.ws.errors.empty());
            EXPECT_EQ(r.fs.removed, std::vector<std::string> {c.want});
        }
        EXPECT_TRUE(r.fs.files.empty());
        EXPECT_TRUE(r.fs.folders.empty());
        EXPECT_EQ(r.fs.removedFolders, c.foldersRemoved);
    }
}

} // namespace
