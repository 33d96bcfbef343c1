#pragma once
// How the main window appears to assistive technology (AT-SPI, what screen
// readers read): a frame, without the storage controls.

namespace vantric {

class MainWindow;

// At the end of the window's constructor.
void exposeToAssistiveTechnology(MainWindow& w);

} // namespace vantric
