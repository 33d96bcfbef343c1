// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/cli/headless_controls.h"

#include "app/form_layout.h"

namespace vantric {

HeadlessControls::HeadlessControls()
{
    for (const ControlLayout& c : mainWindowControls()) {
        if (*c.caption)
            captions_[c.ctl] = c.caption;
        visible_[c.ctl] = c.visible;
    }
}

std::string HeadlessControls::caption(Ctl c) const
{
    auto it = captions_.find(c);
    return it == captions_.end() ? std::string() : it->second;
}

void HeadlessControls::setCaption(Ctl c, const std::string& text) { captions_[c] = text; }

void HeadlessControls::addRow(Ctl list, const std::string& row) { rows_[list].push_back(row); }

std::string HeadlessControls::selectedRow(Ctl list) const
{
    int i = selectedIndex(list);
    const auto& r = rows(list);
    return i >= 0 && i < static_cast<int>(r.size()) ? r[i] : std::string();
}

int HeadlessControls::rowCount(Ctl list) const { return static_cast<int>(rows(list).size()); }

void HeadlessControls::selectRow(Ctl list, int index) { selected_[list] = index; }

void HeadlessControls::setVisible(Ctl c, bool visible) { visible_[c] = visible; }

bool HeadlessControls::isVisible(Ctl c) const
{
    auto it = visible_.find(c);
    return it != visible_.end() && it->second;
}

const std::vector<std::string>& HeadlessControls::rows(Ctl list) const
{
    static const std::vector<std::string> none;
    auto it = rows_.find(list);
    return it == rows_.end() ? none : it->second;
}

int HeadlessControls::selectedIndex(Ctl list) const
{
    auto it = selected_.find(list);
    return it == selected_.end() ? -1 : it->second;
}

} // namespace vantric
