// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A logoff or a shutdown asks every top-level window whether the session
// may end, then tells it that it does. The main window's thread answers
// nothing while a pass runs, so for as long as a SessionWatch lives a
// hidden window on a thread of its own answers: yes, and at the end it
// calls `onEnd` there.

#include <windows.h>

namespace vantric {

class SessionWatch {
public:
    explicit SessionWatch(void (*onEnd)());
    ~SessionWatch();
    SessionWatch(const SessionWatch&) = delete;
    SessionWatch& operator=(const SessionWatch&) = delete;

private:
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

} // namespace vantric
