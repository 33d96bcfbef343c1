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

std::string waitMessage(WaitKind w)
{
    switch (w) {
    case WaitKind::PleastWait: return "Please Wait Checking Your Drives";
    case WaitKind::PleaseWaitWriting: return "Please Wait Writing To Disk";
    case WaitKind::PleaseWaitReading: return "Please Wait Reading From Disk";
    }
    return {};
}

} // namespace vantric
