// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The window system over native Win32 windows: the main window and the wait
// windows built from the form's layout, with standard controls, sized from
// twips at the monitor's DPI.

#include "app/form_layout.h"
#include "platform/window_system.h"
#include "ui/win32/spoken.h"
#include "ui/win32/wait_window.h"
#include "ui/win32/win_look.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace vantric {

// The text of a list box's row; empty when there is no such row.
std::string rowText(HWND list, int index);

class Win32WindowSystem : public WindowSystem, public FormEvents {
public:
    explicit Win32WindowSystem(HINSTANCE instance);
    ~Win32WindowSystem() override;

    std::string caption(Ctl c) const override;
    void setCaption(Ctl c, const std::string& text) override;
    void addRow(Ctl list, const std::string& row) override;
    std::string selectedRow(Ctl list) const override;
    int rowCount(Ctl list) const override;
    void selectRow(Ctl list, int index) override;
    void setVisible(Ctl c, bool visible) override;
    bool isVisible(Ctl c) const override;
    void showMain() override;
    void loadWait(WaitKind w) override;
    void showWait(WaitKind w) override;
    void unloadWait(WaitKind w) override;
    void doEvents() override;
    void settleInput() override;
    void messageBox(const std::string& caption, const std::string& text) override;
    void errorBox(const std::string& text) override;
    void endProgram() override;

    // Runs the message loop until the main window is closed; the exit status.
    int run();

    HWND control(Ctl c) const;
    HWND waitWindow(WaitKind w) const { return waits_.window(w); }

private:
    // The main window and its controls (win32_main_window.cpp).
    void createMain();
    void layoutMain(UINT dpi);
    static LRESULT CALLBACK mainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK buttonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK listProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    LRESULT onMain(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    // A character typed on the drive list (Enter arrives as '\r').
    void typeOnDriveList(char32_t typed);

    // Keys the controls do not handle themselves; true when taken.
    bool preTranslate(MSG& m);
    // Dispatches every message waiting; false once the program is to end.
    bool drain();
    // Names the control for assistive technology after what it shows.
    void speak(Ctl c, const std::string& caption);

    Spoken spoken_; // before any window is made
    HINSTANCE instance_;
    HICON icon_;
    HICON smallIcon_;
    FontCache fonts_;
    Win32WaitWindows waits_;
    HWND main_ = nullptr;
    HWND tooltip_ = nullptr;
    std::map<Ctl, HWND> controls_;
    std::map<HWND, const ControlLayout*> specs_;
    HWND focus_ = nullptr;
    bool shownOnce_ = false;
    int pressedRow_ = -1;
};

} // namespace vantric
