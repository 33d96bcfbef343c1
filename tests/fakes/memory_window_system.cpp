#include "fakes/memory_window_system.h"

namespace vantric::test {

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
