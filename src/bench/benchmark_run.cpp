#include "bench/benchmark_run.h"

#include "bench/clsElapsedTimer.h"
#include "bench/figures.h"
#include "bench/size_ladder.h"
#include "platform/errors.h"

#include <climits>
#include <new>

namespace vantric {

namespace {

void checkRoom(RunContext& ctx, const std::string& folder)
{
    FileSystem& fs = ctx.files.fs();
    // Without a size (ramfs) the free figure means nothing; the write itself
    // still reports a full drive.
    if (fs.totalBytes(folder) == 0)
        return;
    std::uint64_t need = 2ULL * static_cast<std::uint64_t>(ctx.state.lngCount);
    std::uint64_t existing = fs.regularFileSize(ctx.state.strFileName).value_or(0);
    std::uint64_t avail = fs.availableBytes(folder);
    if (avail + existing < need)
        throw VantricError("Not enough free space for the test",
                           "The test writes " + std::to_string(need) + " bytes but only "
                               + std::to_string(avail + existing) + " bytes are free",
                           folder);
}

void writePass(RunContext& ctx)
{
    FormState& st = ctx.state;
    WindowSystem& ws = ctx.ws;
    st.intFileNum = ctx.files.freeFile();
    ctx.files.openWrite(st.intFileNum, st.strFileName);
    st.runScratchFile = st.strFileName;

    clsElapsedTimer timer(ctx.counter);
    timer.Start();
    WriteChannel& ch = ctx.files.writer(st.intFileNum);
    writeLoop(ch, st);
    // The span ends only once the bytes are on the drive.
    ch.flush();
    double first = timer.Elapsed();
    ws.setCaption(Ctl::Label1,
                  formatRate(rateMBps(2ULL * static_cast<std::uint64_t>(st.lngCount), first, ctx.counter.frequency()),
                             ctx.locale));
    double second = timer.Elapsed();
    ws.setCaption(Ctl::Label3, formatSeconds(second, ctx.locale) + " Seconds");
    ctx.files.close(st.intFileNum);
}

void readPass(RunContext& ctx)
{
    FormState& st = ctx.state;
    WindowSystem& ws = ctx.ws;
    try {
        st.bytBuffer.clear();
        st.bytBuffer.shrink_to_fit();
        st.bytBuffer.resize(static_cast<std::size_t>(st.lngCount));
    } catch (const std::bad_alloc&) {
        throw VantricError("Cannot read the file back", "Out of memory for the read buffer");
    }
    st.intFileNum = ctx.files.freeFile();
    ctx.files.openRead(st.intFileNum, st.strFileName, static_cast<std::uint64_t>(st.lngCount));

    clsElapsedTimer timer(ctx.counter);
    timer.Start();
    readLoop(ctx.files.reader(st.intFileNum), st);
    double first = timer.Elapsed();
    ws.setCaption(Ctl::Label4,
                  formatRate(rateMBps(static_cast<std::uint64_t>(st.lngCount), first, ctx.counter.frequency()),
                             ctx.locale));
    double second = timer.Elapsed();
    ws.setCaption(Ctl::Label5, formatSeconds(second, ctx.locale) + " Seconds");
    ctx.files.close(st.intFileNum);
}

} // namespace

// The counter runs in a register and is stored when the loop ends; no one
// can look at it in between. Stepping past the last value of a 32-bit
// counter is the overflow it would raise.
static std::int32_t loopEnd(std::int64_t i)
{
    if (i > INT32_MAX)
        throw VantricError("Arithmetic error", "Overflow");
    return static_cast<std::int32_t>(i);
}

void writeLoop(WriteChannel& ch, FormState& st)
{
    const std::int64_t end = st.lngCount;
    WriteCursor c = ch.begin();
    std::int64_t i = 1;
#pragma GCC unroll 8
    for (; i <= end; ++i)
        ch.put16(c, 0);
    ch.end(c);
    st.lngIndex = loopEnd(i);
}

void readLoop(ReadChannel& ch, FormState& st)
{
    std::uint8_t* buf = st.bytBuffer.data(); // element lngIndex lives at lngIndex - 1
    const std::int64_t end = st.lngCount;
    ReadCursor c = ch.begin();
    std::int64_t i = 1;
#pragma GCC unroll 8
    for (; i <= end; ++i)
        buf[i - 1] = ch.getByte(c);
    ch.end(c);
    st.lngIndex = loopEnd(i);
}

void abandonRun(RunContext& ctx) noexcept
{
    ctx.files.closeAll();
    if (!ctx.state.runScratchFile.empty()) {
        try {
            ctx.files.kill(ctx.state.runScratchFile);
        } catch (...) {
        }
        ctx.state.runScratchFile.clear();
    }
}

void List1_Click(RunContext& ctx)
{
    FormState& st = ctx.state;
    WindowSystem& ws = ctx.ws;
    if (st.runInProgress)
        return;
    st.runInProgress = true;
    struct Done {
        FormState& st;
        ~Done() { st.runInProgress = false; }
    } done {st};

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

        std::string folder = ctx.drives.scratchFolder(ws.caption(Ctl::Label2));
        st.strFileName = folder + (folder.ends_with('/') ? "" : "/") + kScratchName;
        checkRoom(ctx, folder);
        writePass(ctx);
        ws.unloadWait(WaitKind::PleaseWaitWriting);
        ws.showMain();

        ws.loadWait(WaitKind::PleaseWaitReading);
        ws.showWait(WaitKind::PleaseWaitReading);
        ws.doEvents();
        readPass(ctx);
        ws.unloadWait(WaitKind::PleaseWaitReading);
        ws.showMain();

        ctx.files.kill(st.strFileName);
        st.runScratchFile.clear();
    } catch (const ProgramEnd&) {
        throw;
    } catch (...) {
        abandonRun(ctx);
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
}

} // namespace vantric
