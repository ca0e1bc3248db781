// The access keys of every menu and every window are unique, in both
// languages: read from the menus and dialogs as the program builds them, so
// that a caption added or reworded later is held to the same rule.

#include "WindowFixture.h"

#include "text/UiText.h"
#include "ui/dialogs/frmSelectSetting.h"
#include "ui/window/WindowCommands.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>

using namespace quillbay;
using namespace quillbay::test;

namespace {

// Captions by the access key they carry ("&Remove Folder" and "フォルダを
// 一覧から削除(&R)" under R), as Qt reads it from a caption.
class AccessKeys
{
public:
    void add(const QString &caption)
    {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (!key.isEmpty())
            m_captions.insert(QChar(int(key[0].key())), caption);
    }

    // "scope: key (caption | caption)" for each key that more than one caption carries.
    QStringList clashes(const QString &scope) const
    {
        QStringList found;
        for (const QChar key : m_captions.uniqueKeys()) {
            QStringList captions = m_captions.values(key);
            captions.sort();
            if (captions.size() > 1)
                found << QStringLiteral("%1: %2 (%3)").arg(scope, key, captions.join(QStringLiteral(" | ")));
        }
        return found;
    }

private:
    QMultiMap<QChar, QString> m_captions;
};

QStringList clashesInMenu(QMenu *menu)
{
    AccessKeys keys;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible())
            keys.add(action->text());
    }
    return keys.clashes(menu->objectName());
}

// The keys a user can press in the window as it is shown now: the titles of
// its menu bar and every visible caption of its own (menus are windows of
// their own, and so are the dialogs it opens).
AccessKeys keysShownIn(QWidget *window)
{
    AccessKeys keys;
    if (auto *main = qobject_cast<QMainWindow *>(window)) {
        for (QAction *action : main->menuBar()->actions())
            keys.add(action->text());
    }
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window || !widget->isVisibleTo(window))
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            keys.add(button->text());
        else if (auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
            keys.add(label->text());
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            keys.add(group->title());
        else if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                keys.add(tabs->tabText(i));
        }
    }
    return keys;
}

// The clashes of the window on each page of each of its tab widgets.
QStringList clashesInWindow(QWidget *window)
{
    QStringList found = keysShownIn(window).clashes(window->objectName());
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        const int shown = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            found << keysShownIn(window).clashes(window->objectName());
        }
        tabs->setCurrentIndex(shown);
    }
    found.removeDuplicates();
    return found;
}

// Opens a modal dialog with trigger and returns its clashes once it shows.
QStringList clashesInModal(const std::function<void()> &trigger)
{
    QStringList found;
    bool seen = false;
    whenModalShows([&](QWidget *modal) {
        seen = true;
        found = clashesInWindow(modal);
        modal->close();
    });
    trigger();
    if (!seen)
        found << QStringLiteral("no dialog opened");
    return found;
}

} // namespace

class AccessKeysTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void cleanup() { UiText::setLanguage(UiLanguage::English); }

    void eachMenuAndWindowHasUniqueKeys_data()
    {
        QTest::addColumn<bool>("japanese");
        QTest::addColumn<QStringList>("expected");
        // The English captions are the design's own, and "&Remove Folder" and
        // "Add Naming &Rule" share R there (a second press moves on to the
        // next item); the Japanese menu gives the latter a key of its own.
        QTest::newRow("English") << false << QStringList{"mnuSetting: R (&Remove Folder | Add Naming &Rule)"};
        QTest::newRow("Japanese") << true << QStringList{};
    }
    void eachMenuAndWindowHasUniqueKeys()
    {
        QFETCH(bool, japanese);
        QFETCH(QStringList, expected);
        UiText::setLanguage(japanese ? UiLanguage::Japanese : UiLanguage::English);
        QVERIFY(m_dir.isValid());
        WindowFixture fixture(m_dir.path());
        frmMain &window = fixture.open();

        QStringList found;
        int menus = 0;
        for (QAction *title : window.menuBar()->actions()) {
            if (QMenu *menu = title->menu()) {
                found << clashesInMenu(menu);
                ++menus;
            }
        }
        QVERIFY(menus >= 4);
        found << clashesInWindow(&window);
        found << clashesInModal([&] { window.commands().trigger(Command::Options); });
        found << clashesInModal([&] { window.commands().trigger(Command::SettingAdd); });
        frmSelectSetting chooser(fixture.options, {QStringLiteral("A"), QStringLiteral("B")}, &window);
        chooser.show();
        found << clashesInWindow(&chooser);
        QVERIFY2(found == expected, qPrintable(found.join(u'\n')));
    }

    void everyMenuItemHasAKeyInJapanese()
    {
        // A Japanese menu gives every item a key, even where the English one has none.
        UiText::setLanguage(UiLanguage::Japanese);
        WindowFixture fixture(m_dir.path());
        frmMain &window = fixture.open();
        for (QAction *title : window.menuBar()->actions()) {
            QVERIFY(!QKeySequence::mnemonic(title->text()).isEmpty());
            for (QAction *item : title->menu()->actions()) {
                if (!item->isSeparator())
                    QVERIFY2(!QKeySequence::mnemonic(item->text()).isEmpty(), qPrintable(item->text()));
            }
        }
    }
};

QTEST_MAIN(AccessKeysTest)
#include "tst_accesskeys.moc"
