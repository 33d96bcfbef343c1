// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/windows/session_watch.h"

#include "platform/windows/window_class.h"

namespace vantric {

namespace {

constexpr wchar_t kClass[] = L"VantricSession";

struct Start {
    void (*onEnd)();
    HANDLE ready;
};

LRESULT CALLBACK sessionProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        if (wp) {
            auto onEnd = reinterpret_cast<void (*)()>(::GetWindowLongPtrW(h, GWLP_USERDATA));
            if (onEnd)
                onEnd();
        }
        return 0;
    default: return ::DefWindowProcW(h, msg, wp, lp);
    }
}

DWORD WINAPI watch(void* param)
{
    const Start start = *static_cast<Start*>(param);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    registerWindowClass({kClass, sessionProc});
    // Top-level (a message-only window hears no session end), never shown.
    HWND h = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (h)
        ::SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(start.onEnd));
    MSG m;
    ::PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE); // the queue exists before the owner may post WM_QUIT
    ::SetEvent(start.ready);
    while (::GetMessageW(&m, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&m);
    if (h)
        ::DestroyWindow(h);
    return 0;
}

} // namespace

SessionWatch::SessionWatch(void (*onEnd)())
{
    Start start {onEnd, ::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    thread_ = ::CreateThread(nullptr, 0, watch, &start, 0, &threadId_);
    if (thread_)
        ::WaitForSingleObject(start.ready, INFINITE);
    ::CloseHandle(start.ready);
}

SessionWatch::~SessionWatch()
{
    if (!thread_)
        return;
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    ::WaitForSingleObject(thread_, INFINITE);
    ::CloseHandle(thread_);
}

} // namespace vantric
