#include "platform/window_system.h"

namespace vantric {

std::string waitName(WaitKind w)
{
    switch (w) {
    case WaitKind::PleastWait: return "PleastWait";
    case WaitKind::PleaseWaitWriting: return "PleaseWaitWriting";
    case WaitKind::PleaseWaitReading: return "PleaseWaitReading";
    }
    return {};
}

} // namespace vantric
