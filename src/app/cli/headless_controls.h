// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The main window's controls as plain data: captions, rows, the selected
// row and visibility, starting from the window's initial contents. The
// window systems without widgets (the command's, the tests') start from
// this and add their own wait windows, message boxes and event loop.

#include "platform/window_system.h"

#include <map>
#include <string>
#include <vector>

namespace vantric {

class HeadlessControls : public WindowSystem {
public:
    HeadlessControls();

    std::string caption(Ctl c) const override;
    void setCaption(Ctl c, const std::string& text) override;
    void addRow(Ctl list, const std::string& row) override;
    std::string selectedRow(Ctl list) const override;
    int rowCount(Ctl list) const override;
    void selectRow(Ctl list, int index) override;
    void setVisible(Ctl c, bool visible) override;
    bool isVisible(Ctl c) const override;

    const std::vector<std::string>& rows(Ctl list) const;
    // -1 when no row is selected.
    int selectedIndex(Ctl list) const;

private:
    std::map<Ctl, std::string> captions_;
    std::map<Ctl, std::vector<std::string>> rows_;
    std::map<Ctl, int> selected_;
    std::map<Ctl, bool> visible_;
};

} // namespace vantric
