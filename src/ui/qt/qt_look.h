// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Shared look of the windows: twips to pixels, the fonts, the icon.

#include <QFont>
#include <QIcon>
#include <QString>

namespace vantric {

// 1440 twips to the inch, 15 to the pixel at 96 dots per inch.
inline int px(int twips)
{
    return (twips + 7) / 15;
}

// A font by its point size at 96 dots per inch, so the layout does not
// depend on the screen's reported resolution.
QFont lookFont(const QString& family, double points, bool bold = false, bool italic = false);

// Puts metric-compatible faces in for the named fonts that are missing.
void installFontSubstitutes();

QIcon appIcon();

} // namespace vantric
