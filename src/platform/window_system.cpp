// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/window_system.h"

namespace vantric {

// In WaitKind's order.
constexpr WaitText kWaits[] = {
    {"PleastWait", "           ", "Please Wait Checking Your Drives"},
    {"PleaseWaitWriting", "", "Please Wait Writing To Disk"},
    {"PleaseWaitReading", " ", "Please Wait Reading From Disk"},
};

const WaitText& waitText(WaitKind w)
{
    return kWaits[static_cast<int>(w)];
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
