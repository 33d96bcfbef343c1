#include "platform/windows/win32_window_system.h"

#include "platform/windows/win_text.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vantric {

namespace {

constexpr wchar_t kMainClass[] = L"VantricMain";
constexpr wchar_t kWaitClass[] = L"VantricWait";
constexpr int kFirstId = 100;
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWaitStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

int px(int twips, UINT dpi)
{
    return twipsToPixels(twips, static_cast<int>(dpi));
}

// The window's outer size for a client area of the given twips, centred on
// the monitor that holds `anchor` (the primary monitor when null).
RECT centredFrame(int clientWidth, int clientHeight, DWORD style, UINT dpi, HWND anchor)
{
    RECT r {0, 0, px(clientWidth, dpi), px(clientHeight, dpi)};
    ::AdjustWindowRectExForDpi(&r, style, FALSE, 0, dpi);
    HMONITOR mon = anchor ? ::MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY)
                        : ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(mon, &mi);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = mi.rcMonitor.left + (mi.rcMonitor.right - mi.rcMonitor.left - w) / 2;
    const int y = mi.rcMonitor.top + (mi.rcMonitor.bottom - mi.rcMonitor.top - h) / 2;
    return {x, y, x + w, y + h};
}

std::wstring windowText(HWND h)
{
    int n = ::GetWindowTextLengthW(h);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(h, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(n));
    return s;
}

bool isButton(const ControlLayout* s)
{
    return s && s->kind == ControlKind::Button;
}

} // namespace

Win32WindowSystem::Win32WindowSystem(HINSTANCE instance) : instance_(instance)
{
    INITCOMMONCONTROLSEX icc {};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&icc);
    icon_ = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                            ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    const WaitWindowLayout& wait = waitWindowLayout();
    waitBack_ = ::CreateSolidBrush(RGB(wait.background.r, wait.background.g, wait.background.b));
    waitLabel_ = ::CreateSolidBrush(RGB(wait.labelBackground.r, wait.labelBackground.g, wait.labelBackground.b));

    WNDCLASSEXW wc {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = mainProc;
    wc.hInstance = instance_;
    wc.hIcon = icon_;
    wc.hIconSm = smallIcon_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kMainClass;
    ::RegisterClassExW(&wc);
    wc.lpfnWndProc = waitProc;
    wc.hbrBackground = waitBack_;
    wc.lpszClassName = kWaitClass;
    ::RegisterClassExW(&wc);

    createMain();
}

Win32WindowSystem::~Win32WindowSystem()
{
    for (auto& [_, h] : waits_)
        if (::IsWindow(h))
            ::DestroyWindow(h);
    if (::IsWindow(main_))
        ::DestroyWindow(main_);
    for (auto& [_, f] : fonts_)
        ::DeleteObject(f);
    ::DeleteObject(waitBack_);
    ::DeleteObject(waitLabel_);
}

HFONT Win32WindowSystem::font(const FontFace& f, UINT dpi)
{
    auto key = std::make_tuple(std::string(f.face ? f.face : ""), f.points, f.bold, f.italic, dpi);
    if (auto it = fonts_.find(key); it != fonts_.end())
        return it->second;
    LOGFONTW lf {};
    if (f.face) {
        lf.lfHeight = -static_cast<LONG>(std::lround(f.points * dpi / 72.0));
        lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = f.italic ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        std::wstring face = wide(f.face);
        face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
        std::copy(face.begin(), face.end(), lf.lfFaceName);
    } else {
        // The system's dialog font at this DPI.
        NONCLIENTMETRICSW ncm {};
        ncm.cbSize = sizeof ncm;
        ::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, dpi);
        lf = ncm.lfMessageFont;
    }
    HFONT h = ::CreateFontIndirectW(&lf);
    fonts_[key] = h;
    return h;
}

void Win32WindowSystem::createMain()
{
    const MainWindowLayout& layout = mainWindowLayout();
    main_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, wide(layout.title).c_str(), kMainStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance_, this);
    if (!main_)
        throw winError("Cannot create the main window", ::GetLastError());
    // Made in focus order, which is the order Tab follows.
    int id = kFirstId;
    for (const ControlLayout& c : mainWindowControls()) {
        const wchar_t* cls = L"STATIC";
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.visible ? WS_VISIBLE : 0);
        switch (c.kind) {
        case ControlKind::Label:
            style |= SS_NOPREFIX
                     | (c.look == Look::ValueBox          ? SS_CENTER | SS_CENTERIMAGE | WS_BORDER
                        : c.look == Look::CentredNoBorder ? SS_CENTER
                                                          : SS_LEFT);
            break;
        case ControlKind::TextBox:
            cls = L"EDIT";
            style |= WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
            break;
        case ControlKind::ListBox:
            cls = L"LISTBOX";
            style |= WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            break;
        case ControlKind::Button:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        }
        HWND h = ::CreateWindowExW(0, cls, wide(c.caption).c_str(), style, 0, 0, 0, 0, main_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance_, nullptr);
        if (!h)
            throw winError(std::string("Cannot create the control ") + c.name, ::GetLastError());
        controls_[c.ctl] = h;
        specs_[h] = &c;
    }
    // Where labels overlap others, the one made later is on top, as the
    // layout means; the controls that take the focus keep the order of
    // their making, which Tab follows.
    const auto controls = mainWindowControls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (it->kind == ControlKind::Label)
            ::SetWindowPos(control(it->ctl), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowSubclass(control(Ctl::List1), listProc, 1, reinterpret_cast<DWORD_PTR>(this));

    const ControlLayout& list1 = controlLayout(Ctl::List1);
    if (list1.tooltip) {
        tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main_, nullptr, instance_, nullptr);
        static std::wstring tip = wide(list1.tooltip);
        TOOLINFOW ti {};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = main_;
        ti.uId = reinterpret_cast<UINT_PTR>(control(Ctl::List1));
        ti.lpszText = tip.data();
        ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }

    RECT frame = centredFrame(layout.clientWidth, layout.clientHeight, kMainStyle, ::GetDpiForWindow(main_), nullptr);
    ::SetWindowPos(main_, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    layoutMain(::GetDpiForWindow(main_));
}

void Win32WindowSystem::layoutMain(UINT dpi)
{
    for (const ControlLayout& c : mainWindowControls()) {
        HWND h = control(c.ctl);
        ::MoveWindow(h, px(c.left, dpi), px(c.top, dpi), px(c.width, dpi), px(c.height, dpi), FALSE);
        ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font(c.font, dpi)), FALSE);
    }
    ::InvalidateRect(main_, nullptr, TRUE);
}

HWND Win32WindowSystem::control(Ctl c) const
{
    return controls_.at(c);
}

LRESULT CALLBACK Win32WindowSystem::mainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        ::SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32WindowSystem*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
    return self ? self->onMain(h, msg, wp, lp) : ::DefWindowProcW(h, msg, wp, lp);
}

LRESULT Win32WindowSystem::onMain(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && lp) {
            auto it = specs_.find(reinterpret_cast<HWND>(lp));
            if (it == specs_.end())
                break;
            std::function<void()>* handler = nullptr;
            switch (it->second->ctl) {
            case Ctl::Command1: handler = &onCommand1; break;
            case Ctl::Command2: handler = &onCommand2; break;
            case Ctl::Command3: handler = &onCommand3; break;
            case Ctl::Command4: handler = &onCommand4; break;
            default: break;
            }
            if (handler && *handler)
                (*handler)();
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        auto it = specs_.find(reinterpret_cast<HWND>(lp));
        HDC dc = reinterpret_cast<HDC>(wp);
        if (it != specs_.end() && it->second->look == Look::ValueBox) {
            ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        }
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
        // Focus comes back where it was, as in a dialog.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = ::GetFocus();
            if (f && ::GetParent(f) == h)
                focus_ = f;
        } else if (focus_ && ::IsWindowVisible(focus_)) {
            ::SetFocus(focus_);
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        auto* r = reinterpret_cast<RECT*>(lp);
        ::SetWindowPos(h, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        layoutMain(HIWORD(wp));
        return 0;
    }
    case WM_ENDSESSION:
        if (wp && onClosed)
            onClosed();
        return 0;
    case WM_CLOSE:
        if (onClosed)
            onClosed();
        ::DestroyWindow(h);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default: break;
    }
    return ::DefWindowProcW(h, msg, wp, lp);
}

// A row chosen with the mouse (pressed and released on it) or the selection
// moved with the keyboard is a click of List1; focus coming in, or the
// program selecting a row, is not.
LRESULT CALLBACK Win32WindowSystem::listProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    auto* self = reinterpret_cast<Win32WindowSystem*>(ref);
    auto rowAt = [h](LPARAM pos) {
        LRESULT r = ::SendMessageW(h, LB_ITEMFROMPOINT, 0, pos);
        return HIWORD(r) ? -1 : static_cast<int>(LOWORD(r));
    };
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        self->pressedRow_ = rowAt(lp);
        break;
    case WM_LBUTTONUP: {
        LRESULT r = ::DefSubclassProc(h, msg, wp, lp);
        const int row = rowAt(lp);
        const bool chosen = row >= 0 && row == self->pressedRow_;
        self->pressedRow_ = -1;
        if (chosen)
            self->fireList1();
        return r;
    }
    case WM_KEYDOWN: {
        const LRESULT before = ::SendMessageW(h, LB_GETCURSEL, 0, 0);
        LRESULT r = ::DefSubclassProc(h, msg, wp, lp);
        const LRESULT after = ::SendMessageW(h, LB_GETCURSEL, 0, 0);
        if (after != LB_ERR && after != before)
            self->fireList1();
        return r;
    }
    default: break;
    }
    return ::DefSubclassProc(h, msg, wp, lp);
}

void Win32WindowSystem::fireList1()
{
    if (onList1Click)
        onList1Click();
}

LRESULT CALLBACK Win32WindowSystem::waitProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        ::SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32WindowSystem*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
    switch (msg) {
    case WM_CTLCOLORSTATIC:
        if (self) {
            const WaitWindowLayout& layout = waitWindowLayout();
            HDC dc = reinterpret_cast<HDC>(wp);
            ::SetTextColor(dc, RGB(layout.labelText.r, layout.labelText.g, layout.labelText.b));
            ::SetBkColor(dc, RGB(layout.labelBackground.r, layout.labelBackground.g, layout.labelBackground.b));
            return reinterpret_cast<LRESULT>(self->waitLabel_);
        }
        break;
    case WM_CLOSE:
        // Closing only takes the window down early; the caller's unload
        // then finds it gone.
        ::DestroyWindow(h);
        return 0;
    default: break;
    }
    return ::DefWindowProcW(h, msg, wp, lp);
}

std::string Win32WindowSystem::caption(Ctl c) const
{
    return utf8(windowText(control(c)));
}

void Win32WindowSystem::setCaption(Ctl c, const std::string& text)
{
    ::SetWindowTextW(control(c), wide(text).c_str());
}

void Win32WindowSystem::addRow(Ctl list, const std::string& row)
{
    ::SendMessageW(control(list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(row).c_str()));
}

std::string Win32WindowSystem::selectedRow(Ctl list) const
{
    HWND h = control(list);
    LRESULT i = ::SendMessageW(h, LB_GETCURSEL, 0, 0);
    if (i == LB_ERR)
        return {};
    LRESULT n = ::SendMessageW(h, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    n = ::SendMessageW(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n == LB_ERR ? 0 : static_cast<std::size_t>(n));
    return utf8(s);
}

int Win32WindowSystem::rowCount(Ctl list) const
{
    return static_cast<int>(::SendMessageW(control(list), LB_GETCOUNT, 0, 0));
}

void Win32WindowSystem::selectRow(Ctl list, int index)
{
    // The list scrolls the row into view.
    ::SendMessageW(control(list), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32WindowSystem::setVisible(Ctl c, bool visible)
{
    ::ShowWindow(control(c), visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32WindowSystem::isVisible(Ctl c) const
{
    return (::GetWindowLongW(control(c), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32WindowSystem::showMain()
{
    ::ShowWindow(main_, SW_SHOW);
    ::SetForegroundWindow(main_);
    ::BringWindowToTop(main_);
    if (!shownOnce_) {
        shownOnce_ = true;
        focus_ = control(Ctl::Command2);
        ::SetFocus(focus_);
    }
}

void Win32WindowSystem::loadWait(WaitKind w)
{
    unloadWait(w);
    const WaitWindowLayout& layout = waitWindowLayout();
    HWND h = ::CreateWindowExW(0, kWaitClass, wide(waitTitle(w)).c_str(), kWaitStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                               100, 100, nullptr, nullptr, instance_, this);
    if (!h)
        throw winError("Cannot create the wait window", ::GetLastError());
    const UINT dpi = ::GetDpiForWindow(h);
    HWND label = ::CreateWindowExW(0, L"STATIC", wide(waitMessage(w)).c_str(),
                                   WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, px(layout.labelLeft, dpi),
                                   px(layout.labelTop, dpi), px(layout.labelWidth, dpi), px(layout.labelHeight, dpi), h,
                                   nullptr, instance_, nullptr);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font(layout.font, dpi)), FALSE);
    RECT frame = centredFrame(layout.clientWidth, layout.clientHeight, kWaitStyle, dpi, nullptr);
    ::SetWindowPos(h, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    waits_[w] = h;
}

void Win32WindowSystem::showWait(WaitKind w)
{
    auto it = waits_.find(w);
    if (it == waits_.end() || !::IsWindow(it->second))
        return;
    ::ShowWindow(it->second, SW_SHOW);
    ::SetForegroundWindow(it->second);
    ::BringWindowToTop(it->second);
}

void Win32WindowSystem::unloadWait(WaitKind w)
{
    auto it = waits_.find(w);
    if (it == waits_.end())
        return;
    if (::IsWindow(it->second))
        ::DestroyWindow(it->second);
    waits_.erase(it);
}

bool Win32WindowSystem::preTranslate(MSG& m)
{
    // Enter on a focused button clicks it, as the space bar does.
    if (m.message == WM_KEYDOWN && m.wParam == VK_RETURN) {
        auto it = specs_.find(m.hwnd);
        if (it != specs_.end() && isButton(it->second)) {
            ::SendMessageW(m.hwnd, BM_CLICK, 0, 0);
            return true;
        }
    }
    return false;
}

bool Win32WindowSystem::drain()
{
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(m.wParam));
            return false;
        }
        if (preTranslate(m) || ::IsDialogMessageW(main_, &m))
            continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
    return true;
}

void Win32WindowSystem::doEvents()
{
    if (!drain())
        endProgram();
    // What was drawn reaches the screen now, before the busy work.
    ::GdiFlush();
}

void Win32WindowSystem::settleInput()
{
    if (!drain())
        endProgram();
}

int Win32WindowSystem::run()
{
    MSG m;
    while (::GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (preTranslate(m) || ::IsDialogMessageW(main_, &m))
            continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
    return static_cast<int>(m.wParam);
}

void Win32WindowSystem::messageBox(const std::string& caption, const std::string& text)
{
    HWND owner = ::IsWindowVisible(main_) ? main_ : nullptr;
    ::MessageBoxW(owner, wide(text).c_str(), wide(caption).c_str(), MB_OK);
}

void Win32WindowSystem::errorBox(const std::string& text)
{
    HWND owner = ::IsWindowVisible(main_) ? main_ : nullptr;
    ::MessageBoxW(owner, wide(text).c_str(), L"Vantric", MB_OK | MB_ICONERROR);
}

void Win32WindowSystem::endProgram()
{
    // At once, even from inside a running handler: the system closes what is open.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace vantric
