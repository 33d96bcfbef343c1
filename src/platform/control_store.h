#pragma once
// The main window's controls as plain data: captions, rows, the selected
// row and visibility, starting from the window's initial contents. The
// window systems that have no widgets keep their controls here.

#include "platform/window_system.h"

#include <map>
#include <string>
#include <vector>

namespace vantric {

class ControlStore {
public:
    ControlStore();

    std::string caption(Ctl c) const;
    void setCaption(Ctl c, const std::string& text);
    void addRow(Ctl list, const std::string& row);
    std::string selectedRow(Ctl list) const;
    int rowCount(Ctl list) const;
    void selectRow(Ctl list, int index);
    void setVisible(Ctl c, bool visible);
    bool isVisible(Ctl c) const;

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
