// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/window_system.h"

namespace vantric {

std::string waitName(WaitKind w)
{
    switch (w) {
    case WaitKind::PleastWait: return "PleastWait";
    case WaitKind::PleaseWaitWriting: return "PleaseWaitWriting";
    case WaitKind::PleaseWaitReading: return "PleaseWaitReading";
    }
    return {};
}

std::string waitMessage(WaitKind w)
{
    switch (w) {
    case WaitKind::PleastWait: return "Please Wait Checking Your Drives";
    case WaitKind::PleaseWaitWriting: return "Please Wait Writing To Disk";
    case WaitKind::PleaseWaitReading: return "Please Wait Reading From Disk";
    }
    return {};
}

void FormEvents::inputBegun(Ctl c)
{
    if (running_ > 0)
        begunInHandler_.insert(c);
    else
        begunInHandler_.erase(c);
}

void FormEvents::clicked(Ctl c)
{
    if (begunInHandler_.erase(c) && running_ == 0)
        return;
    std::function<void()>* handler = nullptr;
    switch (c) {
    case Ctl::List1: handler = &onList1Click; break;
    case Ctl::Command1: handler = &onCommand1; break;
    case Ctl::Command2: handler = &onCommand2; break;
    case Ctl::Command3: handler = &onCommand3; break;
    case Ctl::Command4: handler = &onCommand4; break;
    default: return;
    }
    if (!*handler)
        return;
    struct Running {
        int& n;
        explicit Running(int& count) : n(count) { ++n; }
        ~Running() { --n; }
    } running {running_};
    (*handler)();
}

} // namespace vantric
