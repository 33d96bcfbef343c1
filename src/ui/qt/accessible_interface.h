#pragma once
// Qt asks for a widget's accessible interface as soon as the widget exists,
// while it is still a plain QWidget that no factory can tell apart. Called
// at the end of a window's constructor, this drops an interface made then,
// so that the next one is made for the finished window.

#include <QAccessible>

namespace vantric {

template <typename Wanted> void dropEarlyAccessible(QObject* object)
{
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(object);
    if (made && !dynamic_cast<Wanted*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace vantric
