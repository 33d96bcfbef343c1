// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/qt/qt_look.h"

#include <QFontDatabase>
#include <QPixmap>

#include "ui/qt/vantric_icon.xpm"

namespace vantric {

QFont lookFont(const QString& family, double points, bool bold, bool italic)
{
    QFont f(family);
    f.setPixelSize(static_cast<int>(points * 96.0 / 72.0 + 0.5));
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleHint(family == "Courier New" ? QFont::TypeWriter : QFont::SansSerif);
    return f;
}

void installFontSubstitutes()
{
    const QStringList have = QFontDatabase::families();
    auto substitute = [&](const QString& wanted, const QStringList& faces) {
        if (have.contains(wanted, Qt::CaseInsensitive))
            return;
        QFont::insertSubstitutions(wanted, faces);
    };
    substitute("Arial", {"Liberation Sans", "DejaVu Sans"});
    substitute("Courier New", {"Liberation Mono", "DejaVu Sans Mono"});
    substitute("MS Sans Serif", {"Liberation Sans", "DejaVu Sans"});
    substitute("Verdana", {"DejaVu Sans", "Liberation Sans"});
}

QIcon appIcon()
{
    static const QIcon icon {QPixmap(vantric_icon_xpm)};
    return icon;
}

} // namespace vantric
