#pragma once
// Qt never leaves a window title empty: it falls back to the application's
// name. These put the empty title on the window system's side of a window.

class QWindow;

namespace vantric {

// Makes the title that the window system holds for the window empty, where
// the platform allows; does nothing elsewhere.
void clearNativeTitle(QWindow* window);

} // namespace vantric
