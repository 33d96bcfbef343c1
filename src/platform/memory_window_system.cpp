#include "platform/memory_window_system.h"

namespace vantric {

MemoryWindowSystem::MemoryWindowSystem()
{
    // Initial contents of the main window's controls.
    captions_[Ctl::Label9] = "1M";
    captions_[Ctl::Label6] = "Write [MB/s]";
    captions_[Ctl::Label7] = "Read [MB/s]";
    captions_[Ctl::Command2] = "&Exit";
    captions_[Ctl::Command4] = "&Save Log File";
    captions_[Ctl::Text1] = "C";
    captions_[Ctl::Label2] = "Label2";
    for (Ctl c : {Ctl::List1, Ctl::List2, Ctl::Label9, Ctl::Label6, Ctl::Label7, Ctl::Label1,
                  Ctl::Label4, Ctl::Label3, Ctl::Label5, Ctl::Command1, Ctl::Command2, Ctl::Command3})
        visible_[c] = true;
}

std::string MemoryWindowSystem::caption(Ctl c) const
{
    auto it = captions_.find(c);
    return it == captions_.end() ? std::string() : it->second;
}

void MemoryWindowSystem::setCaption(Ctl c, const std::string& text) { captions_[c] = text; }

void MemoryWindowSystem::addRow(Ctl list, const std::string& row) { rows_[list].push_back(row); }

std::string MemoryWindowSystem::selectedRow(Ctl list) const
{
    int i = selectedIndex(list);
    const auto& r = rows(list);
    return i >= 0 && i < static_cast<int>(r.size()) ? r[i] : std::string();
}

int MemoryWindowSystem::rowCount(Ctl list) const { return static_cast<int>(rows(list).size()); }

void MemoryWindowSystem::selectRow(Ctl list, int index) { selected_[list] = index; }

void MemoryWindowSystem::setVisible(Ctl c, bool visible) { visible_[c] = visible; }

bool MemoryWindowSystem::isVisible(Ctl c) const
{
    auto it = visible_.find(c);
    return it != visible_.end() && it->second;
}

void MemoryWindowSystem::showMain()
{
    log.push_back("showMain");
}

void MemoryWindowSystem::loadWait(WaitKind w)
{
    loadedWaits.insert(w);
    log.push_back("load " + waitName(w));
}

void MemoryWindowSystem::showWait(WaitKind w) { log.push_back("show " + waitName(w)); }

void MemoryWindowSystem::unloadWait(WaitKind w)
{
    if (loadedWaits.erase(w))
        log.push_back("unload " + waitName(w));
}

void MemoryWindowSystem::doEvents()
{
    log.push_back("doEvents");
    if (onDoEvents)
        onDoEvents();
}

void MemoryWindowSystem::settleInput()
{
    log.push_back("settleInput");
    if (onSettleInput)
        onSettleInput();
}

void MemoryWindowSystem::messageBox(const std::string& caption, const std::string& text)
{
    messages.emplace_back(caption, text);
    log.push_back("messageBox");
}

void MemoryWindowSystem::errorBox(const std::string& text)
{
    errors.push_back(text);
    log.push_back("errorBox");
}

void MemoryWindowSystem::endProgram()
{
    ended = true;
    log.push_back("end");
    throw ProgramEnd {};
}

const std::vector<std::string>& MemoryWindowSystem::rows(Ctl list) const
{
    static const std::vector<std::string> none;
    auto it = rows_.find(list);
    return it == rows_.end() ? none : it->second;
}

int MemoryWindowSystem::selectedIndex(Ctl list) const
{
    auto it = selected_.find(list);
    return it == selected_.end() ? -1 : it->second;
}

} // namespace vantric
