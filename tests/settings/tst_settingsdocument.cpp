#include "settings/SettingsDocument.h"
#include "settings/XmlTools.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillbay;

namespace {

QString attr(pugi::xml_node e, const char *name)
{
    const pugi::xml_attribute a = e.attribute(name);
    return a ? toQString(a) : QStringLiteral("<missing>");
}

QByteArray snapshot(const SettingsDocument &doc)
{
    return XmlTools::serialize(doc.document());
}

QString defaultFileText()
{
    QFile file(QStringLiteral(QUILLBAY_SOURCE_DIR "/app/resources/strings/DefaultSettings.xml"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("default settings file missing");
    return QString::fromUtf8(file.readAll());
}

void load(SettingsDocument &doc, const char *xml)
{
    const Result<void> parsed = doc.loadText(QString::fromUtf8(xml));
    if (!parsed)
        qFatal("test document does not parse: %s", qPrintable(parsed.error().message));
}

QStringList ruleIds(pugi::xml_node list)
{
    QStringList ids;
    for (pugi::xml_node r = list.child("rule"); r; r = r.next_sibling("rule"))
        ids << attr(r, "id");
    return ids;
}

const char *kThreeSettings = "<settings version='2.0' select='B'>"
                             "<setting name='A'/><setting name='MP3'/><setting name='MS Office'/>"
                             "</settings>";

} // namespace

class SettingsDocumentTest : public QObject
{
    Q_OBJECT
private slots:
    void defaultDocument()
    {
        SettingsDocument doc;
        QVERIFY(doc.loadDefault());
        QCOMPARE(attr(doc.SelectedSetting(), "name"), QStringLiteral("Setting 1"));
        QCOMPARE(attr(doc.SettingsRoot(), "version"), QStringLiteral("2.0"));
        QCOMPARE(doc.SettingNames(),
                 (QStringList{"Setting 1", "MP3", "FUJIFILM CLIP-IT 50", "MS Office", "(C)(R)(TM)"}));
        doc.RenumberIds();
        QStringList rules;
        for (const QString &name : doc.SettingNames()) {
            const pugi::xml_node files = doc.RulesList(name, RuleKind::File);
            for (pugi::xml_node r = files.child("rule"); r; r = r.next_sibling("rule"))
                rules << attr(r, "id") + ' ' + attr(r, "type");
            QVERIFY(!doc.RulesList(name, RuleKind::Folder).first_child());
        }
        QCOMPARE(rules,
                 (QStringList{"r1 mp3", "r2 add", "r3 mp3", "r4 regexp", "r5 date", "r6 replace", "r7 MSOffice",
                              "r8 add", "r9 MSOffice", "r10 regexp", "r11 regexp", "r12 regexp"}));
        const pugi::xml_node copyright =
            doc.FindRule(doc.RulesList(QStringLiteral("(C)(R)(TM)"), RuleKind::File), QStringLiteral("r10"));
        QCOMPARE(attr(copyright, "basePattern"), QStringLiteral("\\u00a9"));
        const pugi::xml_node office = doc.FindSetting(QStringLiteral("MS Office"));
        QCOMPARE(attr(office.child("fileToBeChanged"), "regExp"), QStringLiteral("false"));
        QCOMPARE(attr(office.child("fileToBeChanged"), "ext"), QStringLiteral("doc xls"));
        QVERIFY(!office.child("folderToBeChanged"));
    }

    void defaultTextIsTheResourceFile()
    {
        // The built-in text is string table entry 980, kept as a resource file.
        QCOMPARE(SettingsDocument::defaultDocumentText().trimmed(), defaultFileText().trimmed());
    }

    void renameSetting_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("ok");
        QTest::newRow("case only") << "MP3"
                                   << "mp3" << true;
        QTest::newRow("other setting in other case") << "MP3"
                                                     << "ms office" << false;
        QTest::newRow("same name") << "MP3"
                                   << "MP3" << false;
        QTest::newRow("free name") << "MP3"
                                   << "Music" << true;
        QTest::newRow("unknown source") << "mp3"
                                        << "Music" << false;
        QTest::newRow("empty name") << "MP3"
                                    << "" << false;
    }
    void renameSetting()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, ok);
        SettingsDocument doc;
        load(doc, kThreeSettings);
        const QByteArray before = snapshot(doc);
        QCOMPARE(doc.RenameSetting(from, to), ok);
        if (!ok) {
            QCOMPARE(snapshot(doc), before);
            return;
        }
        QCOMPARE(doc.SettingNames(), (QStringList{"A", to, "MS Office"}));
        QCOMPARE(attr(doc.SettingsRoot(), "select"), to);
    }

    void nameWithQuotes()
    {
        SettingsDocument doc;
        load(doc, kThreeSettings);
        const QString odd = QStringLiteral("Say \"hi\" o'clock ] [@name=\"A\"]");
        QVERIFY(doc.AddSetting(odd));
        QVERIFY(doc.SelectSetting(QStringLiteral("A")));
        QVERIFY(doc.SelectSetting(odd));
        QCOMPARE(doc.SelectedSetting(), doc.FindSetting(odd));
        QVERIFY(!doc.FindSetting(QStringLiteral("Say \"hi\"")));
        const QString renamed = odd + QStringLiteral("\"");
        QVERIFY(doc.RenameSetting(odd, renamed));
        QCOMPARE(attr(doc.FindSetting(renamed), "name"), renamed);
        QVERIFY(doc.RemoveSetting(renamed));
        QCOMPARE(doc.SettingNames(), (QStringList{"A", "MP3", "MS Office"}));

        // The name survives a save and a load unchanged.
        QVERIFY(doc.AddSetting(odd));
        SettingsDocument back;
        QVERIFY(back.loadText(decodeSaved(doc)));
        QVERIFY(back.FindSetting(odd));
    }

    void selectedSettingRepairsSelect_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unknown name") << "<settings select='Gone'><setting name='X'/><setting name='Y'/></settings>"
                                      << "X";
        QTest::newRow("other case") << "<settings select='y'><setting name='X'/><setting name='Y'/></settings>"
                                    << "X";
        QTest::newRow("missing select") << "<settings><setting name='X'/></settings>"
                                        << "X";
        QTest::newRow("no setting at all") << "<settings select='X'><other/></settings>"
                                           << "Setting 1";
        QTest::newRow("empty document") << ""
                                        << "Setting 1";
    }
    void selectedSettingRepairsSelect()
    {
        QFETCH(QString, xml);
        QFETCH(QString, expected);
        SettingsDocument doc;
        if (!xml.isEmpty())
            QVERIFY(doc.loadText(xml));
        const pugi::xml_node selected = doc.SelectedSetting();
        QCOMPARE(attr(selected, "name"), expected);
        QCOMPARE(attr(doc.SettingsRoot(), "select"), expected);
        QCOMPARE(doc.SelectedSetting(), selected);
    }

    void selectAfterRemoval()
    {
        SettingsDocument doc;
        load(doc, kThreeSettings);
        QVERIFY(doc.SelectSetting(QStringLiteral("MS Office")));
        QVERIFY(!doc.SelectSetting(QStringLiteral("ms office")));
        QVERIFY(doc.RemoveSetting(QStringLiteral("MS Office")));
        QCOMPARE(attr(doc.SettingsRoot(), "select"), QStringLiteral("A"));
        QVERIFY(doc.RemoveSetting(QStringLiteral("A")));
        QVERIFY(!doc.RemoveSetting(QStringLiteral("MP3")));
        QCOMPARE(doc.SettingNames(), QStringList{"MP3"});
        QVERIFY(!doc.RemoveSetting(QStringLiteral("Nope")));
    }

    void namelessSettingsGetFreeNames()
    {
        SettingsDocument doc;
        load(doc,
             "<settings><setting/><setting name='setting 1'/><setting><x/></setting>"
             "<setting name='Setting 3'/></settings>");
        QCOMPARE(doc.SettingNames(), (QStringList{"Setting 2", "setting 1", "Setting 4", "Setting 3"}));
        QCOMPARE(attr(doc.SettingsRoot().first_child(), "name"), QStringLiteral("Setting 2"));
    }

    void addAndDuplicateSetting()
    {
        SettingsDocument doc;
        load(doc, kThreeSettings);
        QVERIFY(!doc.AddSetting(QStringLiteral("mp3")));
        QVERIFY(doc.AddSetting(QStringLiteral("New")));
        QCOMPARE(attr(doc.SettingsRoot(), "select"), QStringLiteral("New"));
        const pugi::xml_node added = doc.SettingsRoot().last_child();
        QCOMPARE(attr(added, "name"), QStringLiteral("New"));
        QString children;
        for (pugi::xml_node c = added.first_child(); c; c = c.next_sibling())
            children += QString::fromUtf8(c.name()) + ' ';
        QCOMPARE(children,
                 QStringLiteral("folders fileToBeChanged folderToBeChanged newNameRules "
                                "newFolderNameRules "));
        QCOMPARE(attr(added.child("fileToBeChanged"), "regExp"), QStringLiteral("false"));
        QCOMPARE(attr(added.child("folderToBeChanged"), "endWith"), QString());

        doc.AddRule(QStringLiteral("New"), RuleKind::File, QStringLiteral("add"));
        QVERIFY(!doc.DuplicateSetting(QStringLiteral("New"), QStringLiteral("a")));
        QVERIFY(!doc.DuplicateSetting(QStringLiteral("new"), QStringLiteral("Copy")));
        QVERIFY(doc.DuplicateSetting(QStringLiteral("New"), QStringLiteral("Copy")));
        QCOMPARE(attr(doc.SettingsRoot(), "select"), QStringLiteral("Copy"));
        QCOMPARE(ruleIds(doc.RulesList(QString(), RuleKind::File)), QStringList{"r1"});
        QCOMPARE(doc.SettingCount(), 5);
    }

    void folderEntries()
    {
        SettingsDocument doc;
        load(doc, kThreeSettings);
        QVERIFY(doc.AddFolderEntry(QStringLiteral("A"), QStringLiteral("/home/u/Photos")));
        QVERIFY(!doc.AddFolderEntry(QStringLiteral("A"), QStringLiteral("/HOME/U/photos")));
        QVERIFY(doc.AddFolderEntry(QStringLiteral("A"), QStringLiteral("/home/u/Music")));
        QVERIFY(!doc.AddFolderEntry(QStringLiteral("Nope"), QStringLiteral("/x")));
        const pugi::xml_node folders = doc.FindSetting(QStringLiteral("A")).child("folders");
        QCOMPARE(attr(folders.first_child(), "id"), QStringLiteral("f1"));
        QCOMPARE(attr(folders.last_child(), "id"), QStringLiteral("f2"));
        doc.RemoveFolderEntry(QStringLiteral("A"), QStringLiteral("f1"));
        QCOMPARE(attr(folders.first_child(), "path"), QStringLiteral("/home/u/Music"));
        doc.RemoveAllFolderEntries(QStringLiteral("A"));
        QVERIFY(!folders.first_child());
    }

    void criteriaFlags()
    {
        SettingsDocument doc;
        load(doc, "<settings><setting name='A'><fileToBeChanged regExp='False'/></setting></settings>");
        const pugi::xml_node files = doc.FindSetting(QStringLiteral("A")).child("fileToBeChanged");
        QCOMPARE(XmlTools::ReadFlagAttribute(files, "regExpBaseNameIgnoreCase", false), false);
        QCOMPARE(attr(files, "regExpBaseNameIgnoreCase"), QStringLiteral("False"));
        doc.SetCriteriaFlag(QStringLiteral("A"), RuleKind::File, "regExpBaseNameIgnoreCase", true);
        QCOMPARE(attr(files, "regExpBaseNameIgnoreCase"), QStringLiteral("true"));
        doc.SetCriteriaFlag(QStringLiteral("A"), RuleKind::Folder, "regExp", false);
        QCOMPARE(attr(doc.FindSetting(QStringLiteral("A")).child("folderToBeChanged"), "regExp"),
                 QStringLiteral("false"));
        doc.SetSettingAttribute(QStringLiteral("A"), "folders", "subFoldersDepth", QStringLiteral("3"));
        QCOMPARE(attr(doc.FindSetting(QStringLiteral("A")).child("folders"), "subFoldersDepth"), QStringLiteral("3"));
    }

    void resetCriteria()
    {
        SettingsDocument doc;
        load(doc,
             "<settings><setting name='A'><folders><folder id='f1' path='/p'/></folders>"
             "<fileToBeChanged regExp='True' startWith='x' ext='' regExpBaseName='b' "
             "regExpBaseNameIgnoreCase='False' regExpExtIgnoreCase='1' dateModified='true' days='9'/>"
             "<folderToBeChanged regExp='0' endWith='e' regExpNameIgnoreCase='odd'/>"
             "<newNameRules><rule id='r1' type='add'/></newNameRules></setting></settings>");
        doc.resetCriteria(QStringLiteral("A"));
        const pugi::xml_node s = doc.FindSetting(QStringLiteral("A"));
        const pugi::xml_node files = s.child("fileToBeChanged");
        QCOMPARE(attr(files, "regExp"), QStringLiteral("false"));
        QCOMPARE(attr(files, "startWith"), QString());
        QCOMPARE(attr(files, "regExpBaseName"), QString());
        QCOMPARE(attr(files, "regExpBaseNameIgnoreCase"), QStringLiteral("False")); // already false: kept
        QCOMPARE(attr(files, "regExpExtIgnoreCase"), QStringLiteral("false"));
        QCOMPARE(attr(files, "dateModified"), QStringLiteral("true"));
        QCOMPARE(attr(files, "days"), QStringLiteral("9"));
        const pugi::xml_node folders = s.child("folderToBeChanged");
        QCOMPARE(attr(folders, "regExp"), QStringLiteral("0"));
        QCOMPARE(attr(folders, "endWith"), QString());
        QCOMPARE(attr(folders, "regExpNameIgnoreCase"), QStringLiteral("false"));
        QCOMPARE(attr(s.child("folders").child("folder"), "path"), QStringLiteral("/p"));
        QVERIFY(s.child("newNameRules").child("rule"));
    }

    void ruleOperations()
    {
        SettingsDocument doc;
        load(doc, kThreeSettings);
        QVERIFY(doc.SelectSetting(QStringLiteral("MP3")));
        const pugi::xml_node list = doc.RulesList(QString(), RuleKind::Folder);
        QCOMPARE(list.parent(), doc.FindSetting(QStringLiteral("MP3")));
        for (const char *type : {"add", "remove", "space"})
            doc.AddRule(QStringLiteral("MP3"), RuleKind::Folder, QString::fromUtf8(type));
        QCOMPARE(ruleIds(list), (QStringList{"r1", "r2", "r3"}));

        doc.MoveRule(QString(), RuleKind::Folder, QStringLiteral("r3"), QStringLiteral("r1"));
        QCOMPARE(ruleIds(list), (QStringList{"r3", "r1", "r2"}));
        doc.MoveRule(QString(), RuleKind::Folder, QStringLiteral("r3"), QString());
        QCOMPARE(ruleIds(list), (QStringList{"r1", "r2", "r3"}));
        doc.MoveRule(QString(), RuleKind::Folder, QStringLiteral("r1"), QStringLiteral("r1"));
        QCOMPARE(ruleIds(list), (QStringList{"r1", "r2", "r3"}));

        doc.WriteRuleAttribute(QString(), RuleKind::Folder, QStringLiteral("r2"), "text", QStringLiteral("x"));
        doc.copyRule(QString(), RuleKind::Folder, QStringLiteral("r2"), QStringLiteral("r1"));
        QCOMPARE(ruleIds(list), (QStringList{"r4", "r1", "r2", "r3"}));
        QCOMPARE(attr(list.first_child(), "type"), QStringLiteral("remove"));
        QCOMPARE(attr(list.first_child(), "text"), QStringLiteral("x"));
        doc.copyRule(QString(), RuleKind::Folder, QStringLiteral("r1"), QStringLiteral("r99"));
        QCOMPARE(ruleIds(list), (QStringList{"r4", "r1", "r2", "r3", "r5"}));

        doc.RemoveRule(QString(), RuleKind::Folder, QStringLiteral("r1"));
        QVERIFY(!doc.FindRule(list, QStringLiteral("r1")));
        doc.WriteRuleAttribute(QString(), RuleKind::Folder, QStringLiteral("r7"), "text", QStringLiteral("y"));
        QCOMPARE(attr(list.last_child(), "id"), QStringLiteral("r7"));
        const SettingsDocument::RuleIdentity rule = SettingsDocument::RuleIdAndType(list.last_child());
        QVERIFY(rule.type.isEmpty());
        QCOMPARE(rule.id, QStringLiteral("r7"));
        QCOMPARE(SettingsDocument::RuleType(list.last_child(), true), QString());
        QCOMPARE(ruleIds(list), (QStringList{"r4", "r2", "r3", "r5"}));

        doc.AddRule(QStringLiteral("MP3"), RuleKind::File, QStringLiteral("add"));
        doc.RemoveAllRules(QStringLiteral("MP3"));
        QVERIFY(!list.first_child());
        QVERIFY(!doc.RulesList(QStringLiteral("MP3"), RuleKind::File).first_child());
        QVERIFY(!doc.AddRule(QStringLiteral("Nope"), RuleKind::File, QStringLiteral("add")));
    }

    void renumberIds()
    {
        SettingsDocument doc;
        load(doc,
             "<settings>"
             "<setting name='A'><folders><folder id='f9' path='/a'/><folder path='/b'/></folders>"
             "<newFolderNameRules><rule id='x' type='add'/></newFolderNameRules>"
             "<newNameRules><rule type=''/><rule id='r1' type='remove'/><rule id='r1'/><other/></newNameRules>"
             "</setting>"
             "<setting name='B'><folders><folder id='f1' path='/c'/></folders>"
             "<newNameRules><rule id='r1' type='space'/></newNameRules></setting></settings>");
        doc.RenumberIds();
        const pugi::xml_node a = doc.FindSetting(QStringLiteral("A"));
        const pugi::xml_node b = doc.FindSetting(QStringLiteral("B"));
        QCOMPARE(attr(a.child("folders").last_child(), "id"), QStringLiteral("f2"));
        QCOMPARE(attr(b.child("folders").first_child(), "id"), QStringLiteral("f3"));
        QCOMPARE(ruleIds(a.child("newNameRules")), QStringList{"r1"});
        QVERIFY(a.child("newNameRules").child("other"));
        QCOMPARE(ruleIds(a.child("newFolderNameRules")), QStringList{"r2"});
        QCOMPARE(ruleIds(b.child("newNameRules")), QStringList{"r3"});
        // The counters go on; identifiers handed out before stay unique.
        doc.RenumberIds();
        QCOMPARE(ruleIds(b.child("newNameRules")), QStringList{"r6"});
    }

    void unknownContentSurvivesSave()
    {
        SettingsDocument doc;
        load(doc,
             "<?xml version='1.0' encoding='UTF-8'?><!-- mine -->"
             "<settings version='2.0' select='A' extra='1'><plugin x='y'><deep/></plugin>"
             "<setting name='A' colour='blue'><folders childFolders='all'><folder path='/p' note='n'/>"
             "</folders><newNameRules><rule id='r1' type='future' knob='3'/></newNameRules>"
             "<unknownPart/></setting></settings>");
        doc.RenumberIds();
        doc.AddRule(QStringLiteral("A"), RuleKind::File, QStringLiteral("add"));
        XmlTools::ensureDeclaration(doc.document());

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("Setting.xml"));
        QVERIFY(XmlTools::saveToPath(doc.document(), path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(QByteArray("\xff\xfe<\0?\0x\0m\0l\0", 12)));
        const QString saved =
            QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        QCOMPARE(saved,
                 QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><!-- mine -->"
                                "<settings version=\"2.0\" select=\"A\" extra=\"1\"><plugin x=\"y\"><deep/></plugin>"
                                "<setting name=\"A\" colour=\"blue\"><folders childFolders=\"all\">"
                                "<folder path=\"/p\" note=\"n\" id=\"f1\"/></folders><newNameRules>"
                                "<rule id=\"r1\" type=\"future\" knob=\"3\"/><rule id=\"r2\" type=\"add\"/>"
                                "</newNameRules><unknownPart/></setting></settings>"));

        SettingsDocument back;
        QVERIFY(back.loadFile(path));
        QCOMPARE(XmlTools::serialize(back.document()), bytes);
    }

    void failedLoadKeepsDocument()
    {
        SettingsDocument doc;
        load(doc, kThreeSettings);
        const Result<void> parsed = doc.loadText(QStringLiteral("<settings><setting>"));
        QVERIFY(!parsed);
        QVERIFY(!parsed.error().message.isEmpty());
        QVERIFY(!doc.loadFile(QStringLiteral("/nonexistent/Setting.xml")));
        QCOMPARE(doc.SettingCount(), 3);
    }

private:
    static QString decodeSaved(const SettingsDocument &doc)
    {
        const QByteArray bytes = XmlTools::serialize(doc.document());
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    }
};

QTEST_GUILESS_MAIN(SettingsDocumentTest)

#include "tst_settingsdocument.moc"
