#pragma once

namespace vantric {

// Starts the program; returns its exit code.
int runApplication(int argc, char** argv);

} // namespace vantric
