#pragma once
// Helpers for the tests of the tab pages: drops that reach the window as the
// platform delivers them, and a flat view of the settings document to
// compare before and after.

#include "WindowFixture.h"

#include "settings/SettingsDocument.h"
#include "settings/XmlTools.h"
#include "text/UiText.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QWindow>

namespace quillbay::test {

// The main window of one test function, in English, over a data folder of
// its own that the next test function finds empty again.
class PageWindow
{
public:
    // Called by the test's init(): an empty working folder.
    bool prepare()
    {
        UiText::setLanguage(UiLanguage::English);
        QDir(m_dir.path()).removeRecursively();
        return m_dir.isValid() && QDir().mkpath(m_dir.path());
    }
    // The program's objects as a start makes them, reading the given settings
    // file (null: none, so the default document is used); the window is not
    // open yet.
    WindowFixture &load(const char *document)
    {
        const QString data = m_dir.filePath(QStringLiteral("data"));
        if (document) {
            QDir().mkpath(data);
            QFile file(data + QStringLiteral("/Setting.xml"));
            if (!file.open(QIODevice::WriteOnly) || file.write(document) < 0)
                QTest::qFail("the settings file was not written", __FILE__, __LINE__);
        }
        m_fixture = std::make_unique<WindowFixture>(data);
        return *m_fixture;
    }
    frmMain &open(const char *document) { return load(document).open(); }
    void close() { m_fixture.reset(); }

    frmMain &window() { return *m_fixture->window; }
    SettingsDocument &settings() { return m_fixture->manager.settings(); }
    WindowFixture &fixture() { return *m_fixture; }
    template<typename T>
    T *control(const char *name)
    {
        return child<T>(m_fixture->window.get(), name);
    }
    // A path in the working folder (created as a folder by folder()).
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString folder(const QString &name) const
    {
        QDir().mkpath(path(name));
        return path(name);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> m_fixture;
};

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
