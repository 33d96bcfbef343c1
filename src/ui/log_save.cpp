// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/log_save.h"

#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/termination.h"

#include <cerrno>
#include <cstdio>
#include <optional>

namespace vantric {

std::string logTimestamp(const LocalDateTime& t)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d%02d%02d", t.year % 100, t.month, t.day, t.hour, t.minute);
    return buf;
}

static bool folderRefused(int err)
{
    return err == EACCES || err == EPERM || err == EROFS;
}

void saveLog(FormState& form)
{
    FormVariables& st = form.vars;
    WindowSystem& ws = form.ws;
    LocalDateTime now = form.svc.clock.now();
    const std::string name = "Vantric_Log_" + logTimestamp(now) + ".txt";
    st.strFileName = form.svc.programFolder + pathSeparator() + name;
    st.intFileNum = form.files.freeFile();
    // Told to stop while the log is written, the program removes the
    // unfinished file beside it before it ends. Not while the confirmation
    // waits: a held stop would wait for OK (a logout, Ctrl+C).
    std::optional<TerminationCleanup> cleanup(std::in_place, form.svc.stops);
    try {
        form.files.openText(st.intFileNum, st.strFileName);
    } catch (const VantricError& e) {
        // Installed programs live in folders their users may not write.
        if (!folderRefused(e.osCode()) || !form.svc.documentsFolder)
            throw;
        st.strFileName = *form.svc.documentsFolder + pathSeparator() + name;
        form.files.openText(st.intFileNum, st.strFileName);
    }
    try {
        const std::int32_t last = ws.rowCount(Ctl::List2) - 1;
        TextOutput& out = form.files.text(st.intFileNum);
        cleanup->arm(out.pendingPath(), "");
        for (st.lngIndex = 0; st.lngIndex <= last; st.lngIndex = checkedNext(st.lngIndex)) {
            ws.selectRow(Ctl::List2, st.lngIndex);
            out.printLine(ws.selectedRow(Ctl::List2));
        }
        form.files.close(st.intFileNum);
        cleanup->disarm();
    } catch (...) {
        // Nothing half-written is left: the file only replaces its target on close.
        form.files.drop(st.intFileNum);
        throw;
    }
    cleanup.reset();
    ws.messageBox("Vantric", "Log Saved In\r\n" + st.strFileName);
}

} // namespace vantric
