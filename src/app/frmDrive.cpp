#include "app/frmDrive.h"

#include "bench/size_ladder.h"
#include "platform/errors.h"

#include <new>

namespace vantric {

frmDrive::frmDrive(WindowSystem& ws, Services services)
    : ws_(ws), svc_(std::move(services)), files_(svc_.fs),
      survey_ {ws_, svc_.drives, state_, svc_.locale},
      run_ {ws_, state_, files_, svc_.drives, svc_.counter, svc_.locale, {}, {}},
      log_ {ws_, state_, files_, svc_.clock, svc_.programFolder, svc_.documentsFolder}
{
}

// The handler stops at the failing step; the user is told what failed and
// why, and the program goes on.
template <typename F> void frmDrive::dispatch(F&& handler)
{
    try {
        handler();
    } catch (const ProgramEnd&) {
        throw;
    } catch (const VantricError& e) {
        ws_.errorBox(e.message());
    } catch (const std::bad_alloc&) {
        ws_.errorBox("Out of memory");
    } catch (const std::exception& e) {
        ws_.errorBox(e.what());
    }
}

// Clicks that reach the window while a run is in progress (at its
// event-processing points) are ignored: the run's state stays its own.
template <typename F> void frmDrive::idleOnly(F&& handler)
{
    if (!state_.runInProgress)
        dispatch(std::forward<F>(handler));
}

void frmDrive::Form_Load()
{
    dispatch([&] { vantric::Form_Load(survey_); });
}

void frmDrive::CheckDrive()
{
    vantric::CheckDrive(survey_);
}

void frmDrive::SetTestCount()
{
    vantric::SetTestCount(ws_, state_.lngCount);
}

void frmDrive::List1_Click()
{
    idleOnly([&] { vantric::List1_Click(run_); });
}

void frmDrive::Command1_Click()
{
    idleOnly([&] { vantric::Command1_Click(ws_); });
}

void frmDrive::Command3_Click()
{
    idleOnly([&] { vantric::Command3_Click(ws_); });
}

void frmDrive::Command4_Click()
{
    idleOnly([&] { vantric::Command4_Click(log_); });
}

void frmDrive::Command2_Click()
{
    if (state_.runInProgress)
        abandonRun(run_);
    ws_.endProgram();
}

void frmDrive::Form_Closed()
{
    if (state_.runInProgress) {
        abandonRun(run_);
        ws_.endProgram();
    }
}

} // namespace vantric
