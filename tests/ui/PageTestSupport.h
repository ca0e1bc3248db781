#pragma once
// Helpers for the tests of the tab pages: drops that reach the window as the
// platform delivers them, and a flat view of the settings document to
// compare before and after.

#include "WindowFixture.h"

#include "settings/SettingsDocument.h"
#include "settings/XmlTools.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QWindow>

namespace quillbay::test {

// A drag entering the window and dropped at the middle of target, as the
// platform hands it to the window (which finds the widget that takes it).
inline bool dropAt(QWidget *target, const QMimeData &data, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                   QPoint at = QPoint(-1, -1))
{
    QWidget *window = target->window();
    const QPoint local = at.x() < 0 ? target->rect().center() : at;
    const QPointF position = target->mapTo(window, local);
    QDragEnterEvent enter(position.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(window->windowHandle(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(position, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(window->windowHandle(), &drop);
    return drop.isAccepted();
}

// Every attribute of the document as "path/to/element[n]@attribute=value",
// sorted: two documents with the same lines hold the same values.
inline QStringList flattened(const pugi::xml_node node, const QString &path = QString())
{
    QStringList lines;
    int index = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const QString here = QStringLiteral("%1/%2[%3]").arg(path, QString::fromUtf8(child.name())).arg(index++);
        lines << here;
        for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute())
            lines << here + u'@' + QString::fromUtf8(a.name()) + u'=' + toQString(a);
        lines << flattened(child, here);
    }
    lines.sort();
    return lines;
}

inline QStringList flattened(SettingsDocument &settings)
{
    return flattened(settings.document());
}

} // namespace quillbay::test
