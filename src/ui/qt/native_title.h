// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Qt never shows a window title as it is given: an empty one becomes the
// application's name, and any other gets the application's display name
// appended. These put the exact title on the window system's side.

class QString;
class QWindow;

namespace vantric {

// Makes the title that the window system holds for the window exactly
// `title`, where the platform allows; does nothing elsewhere.
void setNativeTitle(QWindow* window, const QString& title);

} // namespace vantric
