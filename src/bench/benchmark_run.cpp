// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "bench/benchmark_run.h"

#include "bench/clsElapsedTimer.h"
#include "bench/figures.h"
#include "bench/size_ladder.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/folders.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

namespace vantric {

namespace {

void checkRoom(FormState& form, const std::string& folder)
{
    FileTable& fs = form.files;
    // Without a size (ramfs) the free figure means nothing; the write itself
    // still reports a full drive.
    const DriveSpace room = fs.space(folder);
    if (room.total == 0)
        return;
    std::uint64_t need = 2ULL * static_cast<std::uint64_t>(form.vars.lngCount);
    std::uint64_t existing = fs.regularFileSize(form.vars.strFileName).value_or(0);
    std::uint64_t avail = room.available;
    if (avail + existing < need)
        throw VantricError("Not enough free space for the test",
                           "The test writes " + std::to_string(need) + " bytes but only "
                               + std::to_string(avail + existing) + " bytes are free",
                           folder);
}

bool mayNotCreate(const VantricError& e)
{
    return e.osCode() == EACCES || e.osCode() == EPERM || e.osCode() == EROFS;
}

// Takes the scratch file in the first folder of the drive where this user
// may create it; no probe files, the create itself is the test. Returns the
// folder.
std::string claimScratch(FormState& form, ScratchHold& hold, const std::string& letter)
{
    FileTable& fs = form.files;
    const std::vector<ScratchFolder> places = form.svc.drives.scratchFolders(letter);
    for (const ScratchFolder& place : places) {
        std::string folder = place.path;
        if (place.privateUnder) {
            auto made = fs.makePrivateFolder(place.path);
            if (!made)
                continue;
            folder = *made;
        }
        const std::string sep(1, pathSeparator());
        const std::string path = folder + (folder.ends_with(sep) ? "" : sep) + kScratchName;
        try {
            hold.claim = fs.claimScratch(path);
        } catch (const VantricError& e) {
            if (place.privateUnder)
                fs.removeFolder(folder);
            if (mayNotCreate(e))
                continue;
            throw;
        }
        form.vars.strFileName = path;
        hold.privateFolder = place.privateUnder ? folder : std::string();
        hold.cleanup->arm(path, hold.privateFolder);
        return folder;
    }
    throw VantricError("Cannot test the drive",
                       "You may not create files on this drive, and neither your home folder nor a "
                       "temporary folder lies on it",
                       places.empty() ? letter + ":" : places.front().path);
}

// Deletes the run's own scratch file and folder; the claim goes with them.
void releaseScratch(FormState& form, ScratchHold& hold)
{
    if (hold.cleanup)
        hold.cleanup->disarm();
    std::unique_ptr<ScratchClaim> claim = std::move(hold.claim);
    std::string folder = std::move(hold.privateFolder);
    hold.privateFolder.clear();
    struct RemoveFolder {
        FileTable& fs;
        const std::string& folder;
        ~RemoveFolder()
        {
            if (!folder.empty())
                fs.removeFolder(folder);
        }
    } removeFolder {form.files, folder};
    if (claim)
        claim->remove();
}

// Each pass opens the claimed file: another file that has taken its name is refused.
void writePass(FormState& form, RunRecord& record, const ScratchClaim& claim)
{
    FormVariables& st = form.vars;
    WindowSystem& ws = form.ws;
    st.intFileNum = form.files.freeFile();
    form.files.openWrite(st.intFileNum, st.strFileName, claim.file());

    clsElapsedTimer timer(form.svc.counter);
    timer.Start();
    WriteChannel& ch = form.files.writer(st.intFileNum);
    // Writes that land inside the file go out in parallel; ones that extend
    // it wait for each other on some file systems.
    ch.preallocate(2ULL * static_cast<std::uint64_t>(st.lngCount));
    writeLoop(ch, st);
    // The span ends only once the bytes are on the drive.
    ch.flush();
    double first = timer.Elapsed();
    record.write = {2ULL * static_cast<std::uint64_t>(st.lngCount), first, ch.mode()};
    ws.setCaption(Ctl::Label1,
                  formatRate(rateMBps(2ULL * static_cast<std::uint64_t>(st.lngCount), first, form.svc.counter.frequency()),
                             form.svc.locale));
    double second = timer.Elapsed();
    ws.setCaption(Ctl::Label3, formatSeconds(second, form.svc.locale) + " Seconds");
    form.files.close(st.intFileNum);
}

// The figures of a run whose zeros were compressed away say nothing about
// the drive; the user is told so once the run is complete.
std::string compressionNotice(std::uint64_t written, std::uint64_t stored, const NumericLocale& loc)
{
    auto bytes = [&](std::uint64_t n) { return formatFixed(static_cast<double>(n), 0, true, true, loc); };
    return "This drive compresses what is written to it: of the " + bytes(written) + " bytes the test wrote, "
           + bytes(stored) + " reached the drive as written, the rest was compressed or left out. "
           + "The figures therefore describe the compression rather than the drive.";
}

void readPass(FormState& form, RunRecord& record, const ScratchClaim& claim)
{
    FormVariables& st = form.vars;
    WindowSystem& ws = form.ws;
    try {
        st.bytBuffer.clear();
        st.bytBuffer.shrink_to_fit();
        st.bytBuffer.resize(static_cast<std::size_t>(st.lngCount));
    } catch (const std::bad_alloc&) {
        throw VantricError("Cannot read the file back", "Out of memory for the read buffer");
    }
    st.intFileNum = form.files.freeFile();
    form.files.openRead(st.intFileNum, st.strFileName, static_cast<std::uint64_t>(st.lngCount), claim.file());

    clsElapsedTimer timer(form.svc.counter);
    timer.Start();
    ReadChannel& ch = form.files.reader(st.intFileNum);
    readLoop(ch, st);
    double first = timer.Elapsed();
    record.read = {static_cast<std::uint64_t>(st.lngCount), first, ch.mode()};
    ws.setCaption(Ctl::Label4,
                  formatRate(rateMBps(static_cast<std::uint64_t>(st.lngCount), first, form.svc.counter.frequency()),
                             form.svc.locale));
    double second = timer.Elapsed();
    ws.setCaption(Ctl::Label5, formatSeconds(second, form.svc.locale) + " Seconds");
    form.files.close(st.intFileNum);
}

} // namespace

// lngIndex is 32-bit: a loop whose end lies past its last value overflows.
static std::int32_t loopEnd(std::int64_t i)
{
    if (i > INT32_MAX)
        throw VantricError("Arithmetic error", "Overflow");
    return static_cast<std::int32_t>(i);
}

// Each loop runs in strips: as many steps as fit in the channel's current
// block, with no check per step, one value per step into contiguous memory;
// the channel then learns where the steps stopped. The strips take restrict
// pointers so that the compiler may turn them into block stores and vector
// copies.
static std::uint8_t* writeStrip(std::uint8_t* __restrict out, std::int64_t& lngIndex, std::int64_t stop)
{
    for (; lngIndex < stop; ++lngIndex) {
        const std::int16_t zero = 0;
        std::memcpy(out, &zero, 2);
        out += 2;
    }
    return out;
}

static const std::uint8_t* readStrip(std::uint8_t* __restrict bytBuffer, const std::uint8_t* __restrict in,
                                     std::int64_t& lngIndex, std::int64_t stop)
{
    for (; lngIndex < stop; ++lngIndex)
        bytBuffer[lngIndex - 1] = *in++; // element lngIndex lives at lngIndex - 1
    return in;
}

void writeLoop(WriteChannel& ch, FormVariables& st)
{
    const std::int64_t end = st.lngCount;
    std::int64_t i = 1;
    while (i <= end) {
        std::span<std::uint8_t> room = ch.room();
        const std::int64_t steps = std::min<std::int64_t>(end - i + 1, static_cast<std::int64_t>(room.size() / 2));
        ch.filledTo(writeStrip(room.data(), i, i + steps));
    }
    st.lngIndex = loopEnd(i);
}

void readLoop(ReadChannel& ch, FormVariables& st)
{
    const std::int64_t end = st.lngCount;
    std::int64_t i = 1;
    while (i <= end) {
        std::span<const std::uint8_t> block = ch.available();
        const std::int64_t steps = std::min<std::int64_t>(end - i + 1, static_cast<std::int64_t>(block.size()));
        ch.takenTo(readStrip(st.bytBuffer.data(), block.data(), i, i + steps));
    }
    st.lngIndex = loopEnd(i);
}

void abandonRun(FormState& form, RunState& run) noexcept
{
    form.files.closeAll();
    try {
        releaseScratch(form, run.hold);
    } catch (...) {
    }
    run.hold.cleanup.reset();
}

void runBenchmark(FormState& form, RunState& run)
{
    FormVariables& st = form.vars;
    WindowSystem& ws = form.ws;

    SetTestCount(ws, st.lngCount);
    ws.setCaption(Ctl::Label1, "");
    ws.setCaption(Ctl::Label3, "");
    ws.setCaption(Ctl::Label4, "");
    ws.setCaption(Ctl::Label5, "");
    // The row and size are taken now: what the log names is what was tested.
    const std::string row = ws.selectedRow(Ctl::List1);
    const std::string size = ws.caption(Ctl::Label9);
    ws.setCaption(Ctl::Label2, row.size() >= 2 ? row.substr(1, 1) : std::string());

    try {
        ws.loadWait(WaitKind::PleaseWaitWriting);
        ws.showWait(WaitKind::PleaseWaitWriting);
        ws.doEvents();

        run.hold.cleanup = std::make_unique<TerminationCleanup>(form.svc.stops);
        std::string folder = claimScratch(form, run.hold, ws.caption(Ctl::Label2));
        checkRoom(form, folder);
        // Outside the timed span: an old file's blocks, already allocated,
        // would flatter the write pass.
        run.hold.claim->empty();
        writePass(form, run.record, *run.hold.claim);
        // Between the timed spans: did the zeros reach the drive? A look
        // that fails leaves the completed passes as they are and says nothing.
        try {
            run.record.stored = form.files.storedBytes(st.strFileName, run.record.write.bytes);
        } catch (const VantricError&) {
            run.record.stored.reset();
        }
        ws.unloadWait(WaitKind::PleaseWaitWriting);
        ws.showMain();

        ws.loadWait(WaitKind::PleaseWaitReading);
        ws.showWait(WaitKind::PleaseWaitReading);
        ws.doEvents();
        readPass(form, run.record, *run.hold.claim);
        ws.unloadWait(WaitKind::PleaseWaitReading);
        ws.showMain();

        releaseScratch(form, run.hold);
        run.hold.cleanup.reset();
    } catch (const ProgramEnd&) {
        throw;
    } catch (...) {
        abandonRun(form, run);
        ws.unloadWait(WaitKind::PleaseWaitWriting);
        ws.unloadWait(WaitKind::PleaseWaitReading);
        ws.showMain();
        throw;
    }

    ws.addRow(Ctl::List2, row);
    ws.addRow(Ctl::List2, " Testing On " + size + " File");
    ws.addRow(Ctl::List2, " Write [MB/s]= " + ws.caption(Ctl::Label1) + " " + ws.caption(Ctl::Label3));
    ws.addRow(Ctl::List2, " Read  [MB/s]= " + ws.caption(Ctl::Label4) + "  " + ws.caption(Ctl::Label5));
    ws.addRow(Ctl::List2, " ");
    ws.setVisible(Ctl::Command4, true);
    // Clicks made while the passes ran reach the window now, with the run
    // still in progress: none of them starts a run or a save afterwards.
    ws.settleInput();
    if (run.record.stored && run.record.stored->compressed)
        ws.messageBox("Vantric", compressionNotice(run.record.write.bytes, run.record.stored->stored, form.svc.locale));
}

} // namespace vantric
