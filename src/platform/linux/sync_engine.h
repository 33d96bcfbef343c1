#pragma once
// Plain pread/pwrite, one transfer after another, for when no ring is to be had.

#include "platform/io_engine.h"

#include <memory>

namespace vantric {

std::unique_ptr<IoEngine> makeSyncEngine(int fd);

} // namespace vantric
