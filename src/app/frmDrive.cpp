// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/frmDrive.h"

#include "bench/size_ladder.h"
#include "platform/errors.h"
#include "survey/drive_probe.h"
#include "ui/log_save.h"

#include <new>

namespace vantric {

frmDrive::frmDrive(WindowSystem& ws, Services services) : form_(ws, std::move(services)) {}

// The handler stops at the failing step; the user is told what failed and
// why, and the program goes on.
template <typename F> void frmDrive::dispatch(F&& handler)
{
    try {
        handler();
    } catch (const ProgramEnd&) {
        throw;
    } catch (const VantricError& e) {
        form_.ws.errorBox(e.message());
    } catch (const std::bad_alloc&) {
        form_.ws.errorBox("Out of memory");
    } catch (const std::exception& e) {
        form_.ws.errorBox(e.what());
    }
}

// The one guard: clicks that reach the window while a run is in progress
// (at its event-processing points) are ignored, so the run's state stays
// its own.
template <typename F> void frmDrive::idleOnly(F&& handler)
{
    if (!runInProgress_)
        dispatch(std::forward<F>(handler));
}

void frmDrive::wire(FormEvents& events)
{
    events.onList1Click = [this] { List1_Click(); };
    events.onCommand1 = [this] { Command1_Click(); };
    events.onCommand2 = [this] { Command2_Click(); };
    events.onCommand3 = [this] { Command3_Click(); };
    events.onCommand4 = [this] { Command4_Click(); };
    events.onClosed = [this] { Form_Closed(); };
}

void frmDrive::Form_Load()
{
    dispatch([&] { surveyDrives(form_); });
}

void frmDrive::List1_Click()
{
    idleOnly([&] {
        runInProgress_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done {runInProgress_};
        runBenchmark(form_, run_);
    });
}

void frmDrive::Command1_Click()
{
    idleOnly([&] { stepSizeUp(form_.ws); });
}

void frmDrive::Command3_Click()
{
    idleOnly([&] { stepSizeDown(form_.ws); });
}

void frmDrive::Command4_Click()
{
    idleOnly([&] { saveLog(form_); });
}

void frmDrive::Command2_Click()
{
    if (runInProgress_)
        abandonRun(form_, run_);
    form_.ws.endProgram();
}

void frmDrive::Form_Closed()
{
    if (runInProgress_) {
        abandonRun(form_, run_);
        form_.ws.endProgram();
    }
}

} // namespace vantric
