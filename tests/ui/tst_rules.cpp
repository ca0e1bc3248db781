// The rule pages driven as a user drives them: rules added, moved, dragged,
// copied and removed, every option pane's controls writing their attributes,
// number boxes that keep the focus, and the live sample.

#include "PageTestSupport.h"

#include "text/UiText.h"
#include "ui/panes/LiveSample.h"
#include "ui/panes/RuleListView.h"
#include "ui/panes/RulesPage.h"
#include "ui/window/SettingEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>

using namespace quillbay;
using namespace quillbay::test;

namespace {

constexpr int kFilePage = 2;
constexpr int kFileCriteriaPage = 1;
constexpr int kFolderPage = 4;

// The rules of a list as "type" (a copy shows its type as well), in order.
QStringList ruleTypes(SettingsDocument &settings, RuleKind kind)
{
    QStringList types;
    const pugi::xml_node list =
        settings.SelectedSetting().child(kind == RuleKind::File ? "newNameRules" : "newFolderNameRules");
    for (pugi::xml_node rule = list.child("rule"); rule; rule = rule.next_sibling("rule"))
        types << toQString(rule.attribute("type"))
                + (rule.attribute("text") ? u':' + toQString(rule.attribute("text")) : QString());
    return types;
}

// Sets a control as a user would: types into a box (replacing its text),
// clicks an option button or check box, picks the entry of a list that
// stores value.
void operate(QWidget *window, const QString &action)
{
    const QString name = action.section(u'=', 0, 0);
    const QString value = action.section(u'=', 1);
    QWidget *control = window->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto *box = qobject_cast<QLineEdit *>(control)) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, value);
    } else if (auto *list = qobject_cast<QComboBox *>(control)) {
        const int index = list->findData(value);
        QVERIFY2(index >= 0, qPrintable(action));
        list->setCurrentIndex(index);
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        button->click();
    }
}

} // namespace

class RulesTest : public QObject
{
    Q_OBJECT

private:
    PageWindow m_page;

    frmMain &openWith(const char *document = "<settings version=\"2.0\" select=\"S\"><setting name=\"S\"/></settings>")
    {
        return m_page.open(document);
    }
    SettingsDocument &settings() { return m_page.settings(); }
    template<typename T>
    T *control(const char *name)
    {
        return m_page.control<T>(name);
    }
    RulesPage &page(int index) { return *static_cast<RulesPage *>(m_page.window().editor().page(index)); }

    void addRule(const QString &typeCaption, const char *list = "cboNamingRulesFile",
                 const char *button = "cmdNewNameRuleAdd")
    {
        auto *types = control<QComboBox>(list);
        types->setCurrentIndex(types->findText(typeCaption));
        QTest::mouseClick(control<QToolButton>(button), Qt::LeftButton);
    }
    QStringList listTexts(int pageIndex)
    {
        QStringList texts;
        RuleListView *list = page(pageIndex).list();
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            texts << list->topLevelItem(row)->text(0);
        return texts;
    }
    QString selectedText(int pageIndex)
    {
        const QTreeWidgetItem *item = page(pageIndex).list()->currentItem();
        return item ? item->text(0) : QString();
    }

private slots:
    void init() { QVERIFY(m_page.prepare()); }
    void cleanup() { m_page.close(); }

    // The type list reads as its table says; a new rule goes to the end of
    // the list, is selected, and its pane shows (and stores) its defaults.
    void addingRules()
    {
        frmMain &window = openWith();
        window.ShowTabPage(kFilePage);
        auto *types = control<QComboBox>("cboNamingRulesFile");
        QStringList captions;
        for (int i = 0; i < types->count(); ++i)
            captions << types->itemText(i);
        QCOMPARE(captions,
                 (QStringList{"Add", "Remove", "Replace", "Exif(Camera)", "MP3 Tag", "Space", "Case of Base Name",
                              "Case of Extension", "Extension", "Date & Time", "Folder Name", "Numbering",
                              "Adjust Digits", "MS Office", "Half/Full-Width", "Reg. Exp. (Base)", "Reg. Exp."}));
        QVERIFY(control<QWidget>("picPaneNamingRuleFileBlank")->isVisible());

        addRule(QStringLiteral("Numbering"));
        QCOMPARE(listTexts(kFilePage), QStringList{"Numbering"});
        QCOMPARE(selectedText(kFilePage), QStringLiteral("Numbering"));
        QVERIFY(control<QWidget>("picPaneNamingRuleFile_6")->isVisible());
        QVERIFY(!control<QWidget>("picPaneNamingRuleFileBlank")->isVisible());
        QCOMPARE(control<QLineEdit>("txtNewNameFileNumberingPrefix")->text(), QString());
        QCOMPARE(control<QLineEdit>("txtNewNameFileNumberingStart")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLineEdit>("txtNewNameFileNumberingColumns")->text(), QStringLiteral("2"));
        QCOMPARE(control<QComboBox>("cboNewNameFileNumberingPosition")->currentText(),
                 QStringLiteral("Set it as new name"));
        const pugi::xml_node rule = settings().SelectedSetting().child("newNameRules").child("rule");
        QCOMPARE(toQString(rule.attribute("start")), QStringLiteral("1"));
        QCOMPARE(toQString(rule.attribute("column")), QStringLiteral("2"));
        QVERIFY(!rule.attribute("position"));

        // With the first rule selected, the next one still goes to the end.
        page(kFilePage).SelectRuleNode(page(kFilePage).list()->idAt(0));
        addRule(QStringLiteral("Add"));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        types->setCurrentIndex(types->findText(QStringLiteral("Space")));
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier); // Add Naming Rule
        QCOMPARE(listTexts(kFilePage), (QStringList{"Numbering", "Add", "Space"}));
        QCOMPARE(selectedText(kFilePage), QStringLiteral("Space"));
        QCOMPARE(ruleTypes(settings(), RuleKind::Folder), QStringList());
    }

    void movingAndRemoving()
    {
        frmMain &window = openWith("<settings version=\"2.0\" select=\"S\"><setting name=\"S\"><newNameRules>"
                                   "<rule type=\"add\" text=\"A\"/><rule type=\"add\" text=\"B\"/>"
                                   "<rule type=\"add\" text=\"C\"/><rule type=\"add\" text=\"D\"/>"
                                   "</newNameRules></setting></settings>");
        window.ShowTabPage(kFilePage);
        RulesPage &rules = page(kFilePage);
        auto selectRow = [&](int row) { rules.SelectRuleNode(rules.list()->idAt(row)); };
        auto order = [&] { return ruleTypes(settings(), RuleKind::File).join(u' ').remove(QStringLiteral("add:")); };
        auto selectedTextBox = [&] { return control<QLineEdit>("txtNewNameFileAdd")->text(); };
        selectRow(2);
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleDown"), Qt::LeftButton); // second to last
        QCOMPARE(order(), QStringLiteral("A B D C"));
        QCOMPARE(selectedTextBox(), QStringLiteral("C"));
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleDown"), Qt::LeftButton); // last: nothing
        QCOMPARE(order(), QStringLiteral("A B D C"));
        selectRow(1);
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleDown"), Qt::LeftButton);
        QCOMPARE(order(), QStringLiteral("A D B C"));
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleUp"), Qt::LeftButton);
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleUp"), Qt::LeftButton);
        QCOMPARE(order(), QStringLiteral("B A D C"));
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleUp"), Qt::LeftButton); // first: nothing
        QCOMPARE(order(), QStringLiteral("B A D C"));

        // Remove selects the rule after, or before when there is none after.
        selectRow(1);
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleRemove"), Qt::LeftButton);
        QCOMPARE(order(), QStringLiteral("B D C"));
        QCOMPARE(selectedTextBox(), QStringLiteral("D"));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        selectRow(2);
        rules.list()->setFocus();
        QTest::keyClick(rules.list(), Qt::Key_Delete);
        QCOMPARE(order(), QStringLiteral("B D"));
        QCOMPARE(selectedTextBox(), QStringLiteral("D"));
        QTest::keyClick(rules.list(), Qt::Key_Delete);
        QTest::keyClick(rules.list(), Qt::Key_Delete);
        QCOMPARE(order(), QString());
        QVERIFY(control<QWidget>("picPaneNamingRuleFileBlank")->isVisible());
        QCOMPARE(control<QLabel>("lblNamingRuleFileBlank")->text(),
                 QStringLiteral("To add a rule, select a rule and click on the blue plus button."));
    }

    // A rule dropped on another moves before it; with Ctrl a copy goes
    // there and the dragged rule stays. Drops from the other list, from
    // another program, on the rule itself or on empty space change nothing.
    void draggingRules()
    {
        frmMain &window = openWith("<settings version=\"2.0\" select=\"S\"><setting name=\"S\"><newNameRules>"
                                   "<rule type=\"add\" text=\"A\"/><rule type=\"add\" text=\"B\"/>"
                                   "<rule type=\"add\" text=\"C\"/></newNameRules><newFolderNameRules>"
                                   "<rule type=\"remove\"/></newFolderNameRules></setting></settings>");
        window.ShowTabPage(kFilePage);
        RuleListView *list = page(kFilePage).list();
        auto order = [&] { return ruleTypes(settings(), RuleKind::File).join(u' ').remove(QStringLiteral("add:")); };
        auto dropOnRow = [&](RuleListView *source, int sourceRow, RuleListView *onto, int row,
                             Qt::KeyboardModifiers keys = Qt::NoModifier) {
            std::unique_ptr<QMimeData> data(source->ruleDragData(source->idAt(sourceRow)));
            const QPoint at = row < 0 ? QPoint(5, onto->viewport()->height() - 5)
                                      : onto->visualItemRect(onto->topLevelItem(row)).center();
            return dropAt(onto->viewport(), *data, keys, at);
        };
        QVERIFY(dropOnRow(list, 2, list, 0));
        QCOMPARE(order(), QStringLiteral("C A B"));
        QCOMPARE(control<QLineEdit>("txtNewNameFileAdd")->text(), QStringLiteral("C"));
        const QString sourceId = list->idAt(2);
        QVERIFY(dropOnRow(list, 2, list, 0, Qt::ControlModifier));
        QCOMPARE(order(), QStringLiteral("B C A B"));
        QCOMPARE(list->selectedId(), sourceId);
        QVERIFY(list->idAt(0) != sourceId);

        QVERIFY(!dropOnRow(list, 1, list, 1));
        QVERIFY(!dropOnRow(list, 1, list, -1));
        window.ShowTabPage(kFolderPage);
        QVERIFY(!dropOnRow(list, 0, page(kFolderPage).list(), 0));
        QMimeData foreign;
        foreign.setText(list->idAt(0));
        window.ShowTabPage(kFilePage);
        dropAt(list->viewport(), foreign, Qt::NoModifier, list->visualItemRect(list->topLevelItem(1)).center());
        QCOMPARE(order(), QStringLiteral("B C A B"));
        QCOMPARE(ruleTypes(settings(), RuleKind::Folder), QStringList{"remove"});
    }

    // Each pane's controls write the attributes of the rule on show.
    void optionPanesWriteTheirAttributes_data()
    {
        QTest::addColumn<int>("pageIndex");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("attributes");
        auto file = [](const char *row, const char *type, QStringList actions, QStringList attributes) {
            QTest::newRow(row) << kFilePage << type << actions << attributes;
        };
        auto folder = [](const char *row, const char *type, QStringList actions, QStringList attributes) {
            QTest::newRow(row) << kFolderPage << type << actions << attributes;
        };
        file("file add", "Add", {"txtNewNameFileAdd=Cat", "optNewNameFileAdd_1"}, {"text=Cat", "position=after"});
        file("file remove", "Remove", {"txtNewNameFileRemove=x"}, {"text=x"});
        file("file replace", "Replace", {"txtNewNameFileReplacePattern=a", "txtNewNameFileReplaceWith=b"},
             {"pattern=a", "replaceWith=b"});
        file("file case", "Case of Base Name", {"optNewNameFileCase_3", "optNewNameFileCase_0"}, {"option=lower"});
        file("file case of extension", "Case of Extension", {"optNewNameFileExtCase_1"}, {"option=upper"});
        file("file space", "Space", {"optNewNameFileSpace_1"}, {"option=removeAll"});
        file("file numbering", "Numbering",
             {"txtNewNameFileNumberingPrefix=p", "txtNewNameFileNumberingSuffix=s", "txtNewNameFileNumberingStart=5",
              "txtNewNameFileNumberingColumns=3", "cboNewNameFileNumberingPosition=before"},
             {"prefix=p", "suffix=s", "start=5", "column=3", "position=before"});
        file("file adjust digits", "Adjust Digits",
             {"txtNewNameFileAdjustDigits=4", "cboNewNameFileAdjustDigitsFirstLast=last",
              "txtNewNameFileAdjstDgtsPstn=2"},
             {"column=4", "firstLast=last", "position=2"});
        file("file date", "Date & Time", {"cboNewNameFileDate=short date 2", "cboNewNameFileDatePosition=after"},
             {"option=short date 2", "position=after"});
        file("file reg. exp.", "Reg. Exp.",
             {"txtNewNameFileBaseNamePattern=^a", "txtNewNameFileBaseNameReplace=b", "txtNewNameFileExtPattern=jpe?g",
              "txtNewNameFileExtReplace=jpg"},
             {"basePattern=^a", "baseReplace=b", "extPattern=jpe?g", "extReplace=jpg"});
        file("file mp3", "MP3 Tag", {"cboNewNameFileMp3=Artist", "cboNewNameFileMp3Position=before"},
             {"option=Artist", "position=before"});
        file("file office", "MS Office", {"cboNewNameFileMSOffice=Author", "cboNewNameFileMSOfficePosition=after"},
             {"option=Author", "position=after"});
        file("file extension", "Extension", {"txtNewNameFileExtension=txt"}, {"text=txt"});
        file("file width", "Half/Full-Width", {"cboNewNameFileDBCS=WideKatakana"}, {"option=WideKatakana"});
        file("file folder name", "Folder Name", {"cboNewNameFileFolderPosition=after"}, {"position=after"});
        file("file reg. exp. (base)", "Reg. Exp. (Base)",
             {"txtNewNameFileRegExpNamePattern=a+", "txtNewNameFileRegExpNameReplaceWith=b",
              "chkNewNameFileRegExpNameG", "chkNewNameFileRegExpNameIC"},
             {"pattern=a+", "replace=b", "global=True", "ignoreCase=False"});
        file("file exif", "Exif(Camera)", {"cboNewNameFileExif=Model", "cboNewNameFileExifPosition=replace"},
             {"option=Model", "position=replace"});
        folder("folder add", "Add", {"txtNewNameFolderAdd=Old ", "optNewNameFolderAdd_1"},
               {"text=Old ", "position=after"});
        folder("folder remove", "Remove", {"txtNewNameFolderRemove=tmp"}, {"text=tmp"});
        folder("folder replace", "Replace", {"txtNewNameFolderReplacePattern=_", "txtNewNameFolderReplaceWith= "},
               {"pattern=_", "replaceWith= "});
        folder("folder reg. exp.", "Reg. Exp.",
               {"txtNewFolderRegExpPattern=(\\d+)", "txtNewFolderRegExpReplace=#$1", "chkNewNameFolderNameG"},
               {"pattern=(\\d+)", "replace=#$1", "global=True"});
        folder("folder case", "Case of Base Name", {"optNewNameFolderCase_1"}, {"option=upper"});
        folder("folder width", "Half/Full-Width", {"cboNewNameFolderDBCS=Wide"}, {"option=Wide"});
        folder("folder space", "Space", {"optNewNameFolderSpace_1"}, {"option=removeAll"});
        folder("folder adjust digits", "Adjust Digits",
               {"txtNewNameFolderAdjustDigits=3", "cboNewNameFolderAdjstDgtsFrstLst=last",
                "txtNewNameFolderAdjstDgtsPstn=9"},
               {"column=3", "firstLast=last", "position=9"});
        folder("folder date", "Date & Time",
               {"cboNewNameFolderDate=short date 1", "cboNewNameFolderDatePosition=replace"},
               {"option=short date 1", "position=replace"});
    }
    void optionPanesWriteTheirAttributes()
    {
        QFETCH(int, pageIndex);
        QFETCH(QString, type);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, attributes);
        frmMain &window = openWith();
        window.ShowTabPage(pageIndex);
        const bool files = pageIndex == kFilePage;
        addRule(type, files ? "cboNamingRulesFile" : "cboNamingRulesFolder",
                files ? "cmdNewNameRuleAdd" : "cmdNewNameRuleFolderAdd");
        for (const QString &action : actions)
            operate(&window, action);
        const pugi::xml_node rule =
            settings().SelectedSetting().child(files ? "newNameRules" : "newFolderNameRules").child("rule");
        for (const QString &expected : attributes) {
            const QByteArray name = expected.section(u'=', 0, 0).toLatin1();
            QCOMPARE(toQString(rule.attribute(name.constData())), expected.section(u'=', 1));
        }
    }

    // Showing a rule sets the pane as a user would: a list whose entry
    // changes stores its value ("replace" for an unknown position), one that
    // stays writes nothing; a type the list does not know shows no pane.
    void showingRules()
    {
        frmMain &window =
            openWith("<settings version=\"2.0\" select=\"S\"><setting name=\"S\"><newNameRules>"
                     "<rule type=\"date\" position=\"before\"/><rule type=\"date\" position=\"sideways\"/>"
                     "<rule type=\"regexpBase\"/><rule type=\"mystery\" x=\"1\"/>"
                     "</newNameRules></setting></settings>");
        window.ShowTabPage(kFilePage);
        RulesPage &rules = page(kFilePage);
        auto rule = [&](int index) {
            pugi::xml_node r = settings().SelectedSetting().child("newNameRules").child("rule");
            while (index-- > 0)
                r = r.next_sibling("rule");
            return r;
        };
        QCOMPARE(control<QComboBox>("cboNewNameFileDatePosition")->currentText(), QStringLiteral("Add before"));
        rules.SelectRuleNode(rules.list()->idAt(1));
        QCOMPARE(control<QComboBox>("cboNewNameFileDatePosition")->currentText(), QStringLiteral("Set it as new name"));
        QCOMPARE(toQString(rule(1).attribute("position")), QStringLiteral("replace"));
        rules.SelectRuleNode(rules.list()->idAt(2));
        QVERIFY(control<QCheckBox>("chkNewNameFileRegExpNameIC")->isChecked()); // ignoreCase defaults to True
        QCOMPARE(toQString(rule(2).attribute("ignoreCase")), QStringLiteral("True"));
        QVERIFY(!rule(2).attribute("global"));

        // A folder "Date & Time" rule shows "Add before" when it has no
        // position, and stores it: the rename must do what the pane shows.
        window.ShowTabPage(kFolderPage);
        addRule(QStringLiteral("Date & Time"), "cboNamingRulesFolder", "cmdNewNameRuleFolderAdd");
        addRule(QStringLiteral("Date & Time"), "cboNamingRulesFolder", "cmdNewNameRuleFolderAdd");
        QCOMPARE(control<QComboBox>("cboNewNameFolderDatePosition")->currentText(), QStringLiteral("Add before"));
        QCOMPARE(ruleTypes(settings(), RuleKind::Folder), (QStringList{"date", "date"}));
        for (pugi::xml_node r = settings().SelectedSetting().child("newFolderNameRules").child("rule"); r;
             r = r.next_sibling("rule"))
            QCOMPARE(toQString(r.attribute("position")), QStringLiteral("before"));

        window.ShowTabPage(kFilePage);
        QCOMPARE(listTexts(kFilePage).last(), QString());
        rules.SelectRuleNode(rules.list()->idAt(3));
        auto *panes = control<QWidget>("picPaneNamingRuleFile_15")->parentWidget();
        QVERIFY(!panes->findChild<QWidget *>(QStringLiteral("picPaneNamingRuleFile_15"))->isVisible());
        QVERIFY(!control<QWidget>("picPaneNamingRuleFileBlank")->isVisible());
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleUp"), Qt::LeftButton);
        QCOMPARE(toQString(rule(2).attribute("type")), QStringLiteral("mystery"));
        QCOMPARE(toQString(rule(2).attribute("x")), QStringLiteral("1"));
    }

    // "Number of digits" needs a number of at least 1 before the focus may
    // leave; the numbering's needs a number; "Start number from" nothing.
    void numberBoxesKeepTheFocus_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("kept");
        QTest::newRow("adjust digits 0") << "Adjust Digits"
                                         << "txtNewNameFileAdjustDigits"
                                         << "0" << true;
        QTest::newRow("adjust digits empty") << "Adjust Digits"
                                             << "txtNewNameFileAdjstDgtsPstn"
                                             << "" << true;
        QTest::newRow("adjust digits 3") << "Adjust Digits"
                                         << "txtNewNameFileAdjustDigits"
                                         << "3" << false;
        QTest::newRow("numbering digits 0") << "Numbering"
                                            << "txtNewNameFileNumberingColumns"
                                            << "0" << false;
        QTest::newRow("numbering digits empty") << "Numbering"
                                                << "txtNewNameFileNumberingColumns"
                                                << "" << true;
        QTest::newRow("numbering start empty") << "Numbering"
                                               << "txtNewNameFileNumberingStart"
                                               << "" << false;
    }
    void numberBoxesKeepTheFocus()
    {
        QFETCH(QString, type);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(bool, kept);
        frmMain &window = openWith();
        window.ShowTabPage(kFilePage);
        addRule(type);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *edit = control<QLineEdit>(box.toLatin1().constData());
        edit->setFocus();
        QVERIFY(edit->hasFocus());
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->hasFocus(), kept);
        if (!kept)
            return;
        // A click on another control is refused as well, and the rule stays.
        QTest::mouseClick(control<QToolButton>("cmdTreeViewRuleRemove"), Qt::LeftButton);
        QCOMPARE(ruleTypes(settings(), RuleKind::File).size(), 1);
        QVERIFY(edit->hasFocus());
        QTest::keyClicks(edit, QStringLiteral("4"));
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
    }

    // The sample follows every edit: the first names of the first folder,
    // a cleared entry with its reason, and the message of a bad pattern.
    void liveSampleFollowsEdits()
    {
        const QString folder = m_page.path(QStringLiteral("photos"));
        QDir().mkpath(folder);
        for (const char *name : {"a.txt", "b.txt"}) {
            QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        frmMain &window = openWith();
        LiveSample *sample = page(kFilePage).sample();
        QCOMPARE(sample->shownText(), QString()); // not in sight: not made
        window.ShowTabPage(kFilePage);
        QSignalSpy shown(sample, &LiveSample::shown);
        QVERIFY(shown.wait());
        QCOMPARE(sample->shownText(),
                 QStringLiteral("Add a folder to \"Look in\" to see a sample of the new names here."));

        settings().AddFolderEntry(window.CurrentSettingName(), folder);
        addRule(QStringLiteral("Add"));
        QTest::keyClicks(control<QLineEdit>("txtNewNameFileAdd"), QStringLiteral("X_"));
        QTRY_COMPARE(sample->shownText(), folder + QStringLiteral("\na.txt → X_a.txt\nb.txt → X_b.txt"));

        operate(&window, QStringLiteral("txtNewNameFileAdd="));
        addRule(QStringLiteral("Replace"));
        operate(&window, QStringLiteral("txtNewNameFileReplacePattern=a"));
        operate(&window, QStringLiteral("txtNewNameFileReplaceWith=b"));
        QTRY_VERIFY(sample->shownText().endsWith(QStringLiteral(
            "a.txt → b.txt — another file or folder has or gets this name; its check mark will be cleared")));

        addRule(QStringLiteral("Reg. Exp. (Base)"));
        operate(&window, QStringLiteral("txtNewNameFileRegExpNamePattern=(a"));
        QTRY_VERIFY(sample->shownText().contains(QStringLiteral("A rule cannot be applied: ")));

        // Criteria that cannot be used are named as a preview names them.
        window.ShowTabPage(kFileCriteriaPage);
        operate(&window, QStringLiteral("chkCriteriaFileRegularExpression"));
        operate(&window, QStringLiteral("txtCriteriaFileBaseNameRegExp=("));
        window.ShowTabPage(kFilePage);
        QTRY_VERIFY2(sample->shownText().startsWith(QStringLiteral("Files Criteria: Base name pattern \"(\": ")),
                     qPrintable(sample->shownText()));
    }
};

QTEST_MAIN(RulesTest)
#include "tst_rules.moc"
