// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The window system as the program's logic sees it: controls addressed by
// name, the wait windows, one pass of the event loop, a message box, and
// ending the program. The logic never touches a widget directly.

#include <functional>
#include <set>
#include <string>

namespace vantric {

enum class Ctl {
    List1, List2,
    Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label9,
    Command1, Command2, Command3, Command4,
    Text1,
    lblDrive, lblSN, lblFree, lblTot,
};

enum class WaitKind { PleastWait, PleaseWaitWriting, PleaseWaitReading };

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Label caption, or the text of the text box.
    virtual std::string caption(Ctl c) const = 0;
    virtual void setCaption(Ctl c, const std::string& text) = 0;

    virtual void addRow(Ctl list, const std::string& row) = 0;
    // Empty when no row is selected.
    virtual std::string selectedRow(Ctl list) const = 0;
    virtual int rowCount(Ctl list) const = 0;
    virtual void selectRow(Ctl list, int index) = 0;

    virtual void setVisible(Ctl c, bool visible) = 0;
    virtual bool isVisible(Ctl c) const = 0;

    virtual void showMain() = 0;

    virtual void loadWait(WaitKind w) = 0;
    virtual void showWait(WaitKind w) = 0;
    // Does nothing when the window is not loaded (or was closed already).
    virtual void unloadWait(WaitKind w) = 0;

    // Dispatches every event already waiting, user input included.
    virtual void doEvents() = 0;
    // At the end of a busy handler: dispatches the input that arrived while
    // it was busy, before the handler lets go of its state.
    virtual void settleInput() = 0;

    // Modal; returns when the user dismisses it. Only an OK button, no icon.
    virtual void messageBox(const std::string& caption, const std::string& text) = 0;
    // Modal report of a failed operation, captioned "Vantric".
    virtual void errorBox(const std::string& text) = 0;

    // Ends the program at once. A window system that cannot stop the process
    // (one used by tests) throws ProgramEnd to unwind the running handler.
    virtual void endProgram() = 0;
};

struct ProgramEnd {};

// Where a window system sends the main window's events: the handlers of
// the main window's logic, set once when it is wired up. Input that begins
// while a handler runs (at one of its event-processing points) acts only
// while that handler still runs: a key or mouse button held down, or an
// access key's delayed click, during a run clicks nothing once it is over.
class FormEvents {
public:
    std::function<void()> onList1Click, onCommand1, onCommand2, onCommand3, onCommand4, onClosed;

    // Input that may end in a click of c has begun: a press, a key going
    // down, an access key.
    void inputBegun(Ctl c);
    // c was clicked (List1: a row chosen): runs its handler, unless the
    // click's input began in a handler that has returned since.
    void clicked(Ctl c);

private:
    int running_ = 0;
    std::set<Ctl> begunInHandler_;
};

// A wait window's name in the program, its title and the one message it
// shows.
struct WaitText {
    const char* name;
    const char* title;
    const char* message;
};
const WaitText& waitText(WaitKind w);

} // namespace vantric
