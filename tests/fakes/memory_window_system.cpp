#include "fakes/memory_window_system.h"

namespace vantric::test {

std::string MemoryWindowSystem::caption(Ctl c) const { return controls_.caption(c); }
void MemoryWindowSystem::setCaption(Ctl c, const std::string& text) { controls_.setCaption(c, text); }
void MemoryWindowSystem::addRow(Ctl list, const std::string& row) { controls_.addRow(list, row); }
std::string MemoryWindowSystem::selectedRow(Ctl list) const { return controls_.selectedRow(list); }
int MemoryWindowSystem::rowCount(Ctl list) const { return controls_.rowCount(list); }
void MemoryWindowSystem::selectRow(Ctl list, int index) { controls_.selectRow(list, index); }
void MemoryWindowSystem::setVisible(Ctl c, bool visible) { controls_.setVisible(c, visible); }
bool MemoryWindowSystem::isVisible(Ctl c) const { return controls_.isVisible(c); }

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

} // namespace vantric::test
