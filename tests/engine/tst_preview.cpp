// Preview runs on real folder trees: which items are selected, what the rules
// make of them, and the order of the entries.

#include "EngineFixture.h"

#include "engine/NameValidation.h"
#include "engine/PreviewMessages.h"
#include "engine/RuleSteps.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <semaphore>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <utime.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

// The cleared attribute of every entry, in document order.
QStringList clearedReasons(Manager &manager)
{
    QStringList out;
    for (pugi::xml_node e = manager.preview().root().first_child(); e; e = e.next_sibling())
        out << toQString(e.attribute("cleared"));
    return out;
}

} // namespace

class PreviewTest : public QObject
{
    Q_OBJECT
    QString root;
    std::unique_ptr<QTemporaryDir> dir;

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        root = dir->path();
    }

    void chainIsOrderedSoEachRenameTargetsAFreeName()
    {
        writeFile(root + "/a.txt");
        writeFile(root + "/b.txt");
        Manager m;
        // a -> b, b -> c
        preview(m,
                settingXml(root,
                           "<rule type=\"regexpBase\" pattern=\"^b$\" replace=\"c\"/>"
                           "<rule type=\"regexpBase\" pattern=\"^a$\" replace=\"b\"/>"));
        QCOMPARE(summary(m), (QStringList{"b.txt>c.txt", "a.txt>b.txt"}));
    }

    // The sample of the first names gives what the whole preview gives for
    // them, chains, cycles, collisions and numbering included, though the
    // rules run only on as many names as it needs.
    void sampleShowsWhatThePreviewGives_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QStringList>("expected"); // the sample: "name>newName", "!" before a cleared one
        QTest::newRow("chain beyond the shown names")
            << QStringList{"a", "ax", "axx"} << "<rule type=\"add\" text=\"x\" position=\"after\"/>"
            << QStringList{"a.txt>ax.txt", "ax.txt>axx.txt"};
        QTest::newRow("cycle") << QStringList{"a", "b"}
                               << "<rule type=\"regexpBase\" pattern=\"^(a|b)$\" replace=\"x$1\"/>"
                                  "<rule type=\"regexpBase\" pattern=\"^xa$\" replace=\"b\"/>"
                                  "<rule type=\"regexpBase\" pattern=\"^xb$\" replace=\"a\"/>"
                               << QStringList{"a.txt>b.txt", "b.txt>a.txt"};
        QTest::newRow("held by a file that stays")
            << QStringList{"a", "b"} << "<rule type=\"regexpBase\" pattern=\"a\" replace=\"b\"/>"
            << QStringList{"!a.txt>b.txt"};
        QTest::newRow("two new names alike")
            << QStringList{"x1", "x2", "x3"} << "<rule type=\"regexpBase\" pattern=\"\\d\" replace=\"\"/>"
            << QStringList{"x1.txt>x.txt", "!x2.txt>x.txt"};
        QTest::newRow("invalid name") << QStringList{"a", "b"} << "<rule type=\"add\" text=\"?\"/>"
                                      << QStringList{"!a.txt>?a.txt", "!b.txt>?b.txt"};
        QTest::newRow("numbering in sorted order")
            << QStringList{"c", "a", "b"} << "<rule type=\"numbering\" position=\"after\" prefix=\"_\"/>"
            << QStringList{"a.txt>a_01.txt", "b.txt>b_02.txt"};
    }
    void sampleShowsWhatThePreviewGives()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, rules);
        QFETCH(QStringList, expected);
        for (const QString &file : files)
            writeFile(root + u'/' + file + QStringLiteral(".txt"));
        writeFile(root + QStringLiteral("/sub/inner.txt"));
        Manager m;
        preview(m,
                settingXml(root, rules, QStringLiteral("<rule type=\"add\" text=\"_\" position=\"after\"/>"), {},
                           QStringLiteral("childFolders=\"deep\" subFoldersDepth=\"1\"")));
        // Each top-level file's final name in the preview, through a temporary name if any.
        QHash<QString, QString> previewed;
        QHash<QString, QString> through;
        for (const Entry &e : entries(m)) {
            if (e.kind != QLatin1String("file") || e.folder != root)
                continue;
            const QString origin = through.take(e.name);
            if (e.newName.endsWith(QLatin1String(".TMP")))
                through.insert(e.newName, e.name);
            else
                previewed.insert(origin.isEmpty() ? e.name : origin,
                                 (e.include ? QString() : QStringLiteral("!")) + e.newName);
        }
        SettingsDocument copy;
        QVERIFY(copy.loadText(QString::fromStdString([&] {
            std::ostringstream text;
            m.settings().document().save(text);
            return text.str();
        }())));
        PreviewDocument samplePreview;
        TemporaryNameSource temporaryNames(7);
        PreviewControl control;
        SampleLimits limits;
        limits.entries = 2;
        const Result<PreviewSample> made = PreviewRun(copy, samplePreview, temporaryNames, control).buildSample(limits);
        QVERIFY(made);
        const PreviewSample &sample = *made;
        QCOMPARE(sample.status, PreviewSample::Shown);
        QStringList shown;
        for (const SampleEntry &e : sample.files) {
            const QString line =
                (e.refusal == SampleEntry::Accepted ? QString() : QStringLiteral("!")) + e.name + u'>' + e.newName;
            shown << line;
            QCOMPARE(line.mid(line.indexOf(u'>') + 1), previewed.value(e.name).remove(u'!'));
            QCOMPARE(line.startsWith(u'!'), previewed.value(e.name).startsWith(u'!'));
        }
        QCOMPARE(shown, expected);
        QCOMPARE(sample.folders.size(), 1);
        QCOMPARE(sample.folders[0].name + u'>' + sample.folders[0].newName, QStringLiteral("sub>sub_"));
    }

    // A kept listing serves the next sample as it was listed (the names one
    // sample takes do not stay taken), until the folder's entries change.
    void sampleKeepsTheListingUntilTheFolderChanges()
    {
        writeFile(root + "/b.txt");
        writeFile(root + "/c.txt");
        SettingsDocument settings;
        QVERIFY(settings.loadText(settingXml(root, "<rule type=\"add\" text=\"x\"/>")));
        SampleListingCache cache;
        auto sampleNames = [&] {
            PreviewDocument document;
            TemporaryNameSource temporaryNames(7);
            PreviewControl control;
            const Result<PreviewSample> sample =
                PreviewRun(settings, document, temporaryNames, control).buildSample(SampleLimits(), &cache);
            QStringList names;
            for (const SampleEntry &e : sample->files)
                names << e.name + u'>' + e.newName + (e.refusal == SampleEntry::Accepted ? "" : "!");
            return names;
        };
        const QStringList first = sampleNames();
        QCOMPARE(first, (QStringList{"b.txt>xb.txt", "c.txt>xc.txt"}));
        QCOMPARE(sampleNames(), first);
        writeFile(root + "/a.txt");
        QCOMPARE(sampleNames(), (QStringList{"a.txt>xa.txt", "b.txt>xb.txt", "c.txt>xc.txt"}));
    }

    void swapGoesThroughATemporaryName()
    {
        writeFile(root + "/a.txt");
        writeFile(root + "/b.txt");
        Manager m;
        preview(m,
                settingXml(root,
                           "<rule type=\"regexpBase\" pattern=\"^(a|b)$\" replace=\"x$1\"/>"
                           "<rule type=\"regexpBase\" pattern=\"^xa$\" replace=\"b\"/>"
                           "<rule type=\"regexpBase\" pattern=\"^xb$\" replace=\"a\"/>"));
        const QList<Entry> e = entries(m);
        QCOMPARE(e.size(), 3);
        static const QRegularExpression tmp(QStringLiteral("^[0-9A-F]{8}\\.TMP$"));
        QCOMPARE(e[0].name, QStringLiteral("a.txt"));
        QVERIFY(tmp.match(e[0].newName).hasMatch());
        QCOMPARE(e[1].name + ">" + e[1].newName, QStringLiteral("b.txt>a.txt"));
        QCOMPARE(e[2].name, e[0].newName);
        QCOMPARE(e[2].newName, QStringLiteral("b.txt"));
    }

    void longShiftByOneChainNeedsNoDeepRecursion()
    {
        const int n = 3000;
        for (int i = 1; i <= n; ++i)
            writeFile(root + QStringLiteral("/%1.dat").arg(i, 5, 10, QChar(u'0')));
        Manager m;
        // every file takes the number of the next one: 00001 -> 00002, ...
        preview(m, settingXml(root, "<rule type=\"numbering\" start=\"2\" column=\"5\"/>"));
        const QList<Entry> e = entries(m);
        QCOMPARE(e.size(), n);
        QCOMPARE(e.first().name + ">" + e.first().newName,
                 QStringLiteral("%1.dat>%2.dat").arg(n, 5, 10, QChar(u'0')).arg(n + 1, 5, 10, QChar(u'0')));
        QCOMPARE(e.last().name + ">" + e.last().newName, QStringLiteral("00001.dat>00002.dat"));
    }

    void collisionsAndInvalidNamesAreUncheckedAndCounted()
    {
        writeFile(root + "/a.txt");
        writeFile(root + "/b.txt"); // stays: blocks a -> b
        writeFile(root + "/c1.txt");
        writeFile(root + "/C2.txt"); // c1 and C2 both become c.txt: the second is unchecked
        writeFile(root + "/d");      // d -> "sub" is the name of a child folder: blocked
        QDir().mkpath(root + "/sub");
        Manager m;
        const Result<PreviewSummary> r =
            build(m,
                  settingXml(root,
                             "<rule type=\"regexpBase\" pattern=\"^a$\" replace=\"b\"/>"
                             "<rule type=\"regexpBase\" pattern=\"^c\\d$\" replace=\"c\"/>"
                             "<rule type=\"regexpBase\" pattern=\"^d$\" replace=\"sub\"/>"));
        QCOMPARE(summary(m), (QStringList{"!a.txt>b.txt", "c1.txt>c.txt", "!C2.txt>c.txt", "!d>sub"}));
        QCOMPARE(r->invalidCount, 3);
        // Each cleared entry says why; the checked one says nothing.
        QCOMPARE(clearedReasons(m), (QStringList{"blockedByFile", "", "taken", "blockedByFolder"}));
    }

    void clearedEntriesSayWhy()
    {
        writeFile(root + "/a.txt"); // a -> b, but b -> x:y is invalid and b stays: a is blocked by b
        writeFile(root + "/b.txt");
        QDir().mkpath(root + "/f1"); // folders f1 and f2 both become "f": the second one is taken
        QDir().mkpath(root + "/f2");
        QDir().mkpath(root + "/g"); // g -> "g?" is invalid
        Manager m;
        preview(m,
                settingXml(root,
                           "<rule type=\"regexpBase\" pattern=\"^b$\" replace=\"x:y\"/>"
                           "<rule type=\"regexpBase\" pattern=\"^a$\" replace=\"b\"/>",
                           "<rule type=\"regexp\" pattern=\"^f\\d$\" replace=\"f\"/>"
                           "<rule type=\"regexp\" pattern=\"^g$\" replace=\"g?\"/>",
                           {}, QStringLiteral("childFolders=\"deep\" subFoldersDepth=\"1\"")));
        QStringList reasons;
        for (pugi::xml_node e = m.preview().root().first_child(); e; e = e.next_sibling())
            reasons << toQString(e.attribute("name")) + u'=' + toQString(e.attribute("cleared"));
        reasons.sort();
        QCOMPARE(reasons,
                 (QStringList{"a.txt=blockedByFile", "b.txt=invalidName", "f1=", "f2=taken", "g=invalidName"}));
    }

    void collisionOfTheLastFileIsCaughtToo()
    {
        // The new name of a file is decided when the next one comes; the last
        // one of the folder has no next one.
        writeFile(root + "/x1.txt");
        writeFile(root + "/x2.txt");
        Manager m;
        const Result<PreviewSummary> r =
            build(m, settingXml(root, "<rule type=\"regexpBase\" pattern=\"\\d\" replace=\"\"/>"));
        QCOMPARE(summary(m), (QStringList{"x1.txt>x.txt", "!x2.txt>x.txt"}));
        QCOMPARE(r->invalidCount, 1);
    }

    void caseOnlyChangeIsAllowed()
    {
        writeFile(root + "/File.TXT");
        Manager m;
        preview(
            m, settingXml(root, "<rule type=\"caseBase\" option=\"lower\"/><rule type=\"caseExt\" option=\"lower\"/>"));
        QCOMPARE(summary(m), (QStringList{"File.TXT>file.txt"}));
    }

    void invalidNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("215 units") << QString(215, u'a') << true;
        QTest::newRow("216 units") << QString(216, u'a') << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("leading space") << QStringLiteral(" a") << false;
        QTest::newRow("trailing space") << QStringLiteral("a ") << true;
        QTest::newRow("leading dot") << QStringLiteral(".a") << true;
        QTest::newRow("colon") << QStringLiteral("a:b") << false;
        QTest::newRow("slash") << QStringLiteral("a/b") << false;
        QTest::newRow("quote is fine") << QStringLiteral("a\"b") << true;
        QTest::newRow("dot dot") << QStringLiteral("..") << false;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "a" << false;
        QTest::newRow("over 255 UTF-8 bytes") << QString(100, QChar(0x3042)) << false;
        QTest::newRow("85 kana fit") << QString(85, QChar(0x3042)) << true;
    }
    void invalidNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QCOMPARE(IsValidNewName(name), valid);
    }

    void invalidNamesSayWhich_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("position");
        QTest::newRow("fine") << QStringLiteral("a b") << int(NameProblem::None) << -1;
        QTest::newRow("empty") << QString() << int(NameProblem::Empty) << -1;
        QTest::newRow("216 units") << QString(216, u'a') << int(NameProblem::TooLong) << -1;
        QTest::newRow("256 bytes") << QString(86, QChar(0x3042)) << int(NameProblem::TooLong) << -1;
        QTest::newRow("leading space") << QStringLiteral(" a") << int(NameProblem::LeadingSpace) << 0;
        QTest::newRow("question mark") << QStringLiteral("ab?c") << int(NameProblem::ForbiddenChar) << 2;
        QTest::newRow("backslash") << QStringLiteral("a\\") << int(NameProblem::ForbiddenChar) << 1;
        QTest::newRow("dot dot") << QStringLiteral("..") << int(NameProblem::DotName) << -1;
        QTest::newRow("nul") << QStringLiteral("a") + QChar(0) << int(NameProblem::Unstorable) << 1;
        QTest::newRow("lone surrogate") << QStringLiteral("ab") + QChar(0xDC00) << int(NameProblem::Unstorable) << 2;
    }
    void invalidNamesSayWhich()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(int, position);
        const NameProblem problem = invalidNameProblem(name);
        QCOMPARE(int(problem.kind), kind);
        QCOMPARE(problem.position, qsizetype(position));
    }

    void depthLimitsTheWalkAndTheFolderRenames_data()
    {
        QTest::addColumn<QString>("folders");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("depth 0") << "childFolders=\"deep\" subFoldersDepth=\"0\"" << QStringList{"top.txt>top_x.txt"};
        QTest::newRow("depth 1") << "childFolders=\"deep\" subFoldersDepth=\"1\""
                                 << QStringList{"mid.txt>mid_x.txt", "sub>sub_x", "top.txt>top_x.txt"};
        QTest::newRow("all ignores depth") << "childFolders=\"all\" subFoldersDepth=\"0\""
                                           << QStringList{"low.txt>low_x.txt", "deeper>deeper_x", "mid.txt>mid_x.txt",
                                                          "sub>sub_x", "top.txt>top_x.txt"};
    }
    void depthLimitsTheWalkAndTheFolderRenames()
    {
        QFETCH(QString, folders);
        QFETCH(QStringList, expected);
        writeFile(root + "/top.txt");
        writeFile(root + "/sub/mid.txt");
        writeFile(root + "/sub/deeper/low.txt");
        Manager m;
        preview(m,
                settingXml(root, "<rule type=\"add\" text=\"_x\" position=\"after\"/>",
                           "<rule type=\"add\" text=\"_x\" position=\"after\"/>", {}, folders));
        QCOMPARE(summary(m), expected);
        // A child folder's entry stands after everything inside it.
        for (const Entry &e : entries(m))
            QVERIFY(e.kind == "folder" || QFileInfo(e.folder + "/" + e.name).exists());
    }

    void numberingFollowsSortedNamesAndRestartsPerFolder()
    {
        writeFile(root + "/b.txt");
        writeFile(root + "/A.txt");
        writeFile(root + "/c.txt");
        writeFile(root + "/sub/z.txt");
        writeFile(root + "/sub/y.txt");
        Manager m;
        preview(m, settingXml(root, "<rule type=\"numbering\"/>", {}, {}, "childFolders=\"all\""));
        QCOMPARE(summary(m),
                 (QStringList{"y.txt>01.txt", "z.txt>02.txt", "A.txt>01.txt", "b.txt>02.txt", "c.txt>03.txt"}));
        // The rule's missing options were filled in with their defaults.
        const pugi::xml_node rule = m.settings().RulesList(QString(), RuleKind::File).child("rule");
        QCOMPARE(QString::fromUtf8(rule.attribute("column").value()), QStringLiteral("2"));
        QCOMPARE(QString::fromUtf8(rule.attribute("start").value()), QStringLiteral("1"));
        QCOMPARE(QString::fromUtf8(rule.attribute("position").value()), QStringLiteral("replace"));
    }

    void numberingWithBadColumnOrStartLeavesFilesOut()
    {
        writeFile(root + "/a.txt");
        writeFile(root + "/b.txt");
        for (const char *rule : {"<rule type=\"numbering\" column=\"0\"/>", "<rule type=\"numbering\" start=\"x\"/>"}) {
            Manager m;
            const Result<PreviewSummary> r = build(m, settingXml(root, QString::fromUtf8(rule)));
            QCOMPARE(summary(m), QStringList());
            QCOMPARE(r->ruleFailures, 2);
        }
    }

    void fileRules_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("expected"); // empty: no entry
        QTest::newRow("add after") << "Photo.jpg"
                                   << "<rule type=\"add\" text=\"Cat\" position=\"after\"/>"
                                   << "PhotoCat.jpg";
        QTest::newRow("add other") << "Photo.jpg"
                                   << "<rule type=\"add\" text=\"Cat\" position=\"x\"/>"
                                   << "CatPhoto.jpg";
        QTest::newRow("remove any case") << "XabcYABC.txt"
                                         << "<rule type=\"remove\" text=\"abc\"/>"
                                         << "XY.txt";
        QTest::newRow("replace any case") << "a-A.txt"
                                          << "<rule type=\"replace\" pattern=\"a\" replaceWith=\"b\"/>"
                                          << "b-b.txt";
        QTest::newRow("extension removed") << "report.txt"
                                           << "<rule type=\"extension\" text=\"\"/>"
                                           << "report";
        QTest::newRow("no change, no entry") << "name.txt"
                                             << "<rule type=\"caseBase\" option=\"lower\"/>"
                                             << "";
        QTest::newRow("single space") << "a  b .txt"
                                      << "<rule type=\"space\"/>"
                                      << "a b.txt";
        QTest::newRow("remove all spaces") << QString("a\u3000 b .t x") << "<rule type=\"space\" option=\"removeAll\"/>"
                                           << "ab.tx";
        QTest::newRow("adjust first") << "File1.jpg"
                                      << "<rule type=\"adjustDigits\" column=\"3\"/>"
                                      << "File001.jpg";
        QTest::newRow("adjust last") << "a2b34.txt"
                                     << "<rule type=\"adjustDigits\" column=\"3\" firstLast=\"last\"/>"
                                     << "a2b034.txt";
        QTest::newRow("adjust missing group") << "a2b34.txt"
                                              << "<rule type=\"adjustDigits\" position=\"3\"/>"
                                              << "";
        QTest::newRow("adjust cuts") << "x12345.txt"
                                     << "<rule type=\"adjustDigits\" column=\"2\"/>"
                                     << "x45.txt";
        QTest::newRow("regexp base and ext")
            << "IMG.JPEG"
            << "<rule type=\"regexp\" basePattern=\"img\" baseReplace=\"pic\" extPattern=\"jpeg\" extReplace=\"jpg\"/>"
            << "pic.jpg";
        QTest::newRow("regexpBase first only") << "aaa.txt"
                                               << "<rule type=\"regexpBase\" pattern=\"a\" replace=\"b\"/>"
                                               << "baa.txt";
        QTest::newRow("regexpBase global") << "aaa.txt"
                                           << "<rule type=\"regexpBase\" pattern=\"A\" replace=\"b\" global=\"True\"/>"
                                           << "bbb.txt";
        QTest::newRow("regexpBase case")
            << "aaa.txt"
            << "<rule type=\"regexpBase\" pattern=\"A\" replace=\"b\" ignoreCase=\"false\"/>"
            << "";
        // \s in patterns is ASCII white space only.
        QTest::newRow("\\s+ keeps no-break space")
            << QString("m\u00a0n o.txt") << "<rule type=\"regexp\" basePattern=\"\\s+\" baseReplace=\"_\"/>"
            << QString("m\u00a0n_o.txt");
        QTest::newRow("\\s keeps ideographic space")
            << QString("x\u3000y z.txt") << "<rule type=\"regexp\" basePattern=\"\\s\"/>" << QString("x\u3000yz.txt");
        QTest::newRow("\\S+ spans no-break space")
            << QString("m\u00a0n.bak")
            << "<rule type=\"regexpBase\" pattern=\"\\S+\" replace=\"[$&amp;]\" global=\"True\"/>"
            << QString("[m\u00a0n].bak");
        QTest::newRow("copyright escape")
            << QString("x\u00a9.txt")
            << "<rule type=\"regexp\" basePattern=\"\\u00a9\" baseReplace=\"(C)\" extPattern=\"\" extReplace=\"\"/>"
            << "x(C).txt";
        QTest::newRow("folder name") << "a.txt"
                                     << "<rule type=\"FolderName\" position=\"after\"/>"
                                     << "aFOLDER.txt";
        QTest::newRow("dotfile") << ".profile"
                                 << "<rule type=\"caseExt\" option=\"upper\"/>"
                                 << ".PROFILE";
        QTest::newRow("sentence") << "hELLO wORLD.txt"
                                  << "<rule type=\"caseBase\" option=\"sentence\"/>"
                                  << "Hello world.txt";
        QTest::newRow("unknown type ignored")
            << "a.txt"
            << "<rule type=\"bogus\"/><rule type=\"add\" text=\"1\" position=\"after\"/>"
            << "a1.txt";
        QTest::newRow("folder-only regexp attributes unused") << "a.txt"
                                                              << "<rule type=\"regexp\" pattern=\"a\" replace=\"b\"/>"
                                                              << "";
        QTest::newRow("metadata absent") << "a.mp3"
                                         << "<rule type=\"mp3\"/><rule type=\"add\" text=\"!\" position=\"after\"/>"
                                         << "a!.mp3";
    }
    void fileRules()
    {
        QFETCH(QString, file);
        QFETCH(QString, rules);
        QFETCH(QString, expected);
        writeFile(root + "/FOLDER/" + file);
        Manager m;
        const Result<PreviewSummary> r = build(m, settingXml(root + "/FOLDER", rules));
        QVERIFY2(r, qPrintable(r.error().message));
        QCOMPARE(summary(m), expected.isEmpty() ? QStringList() : QStringList{file + ">" + expected});
    }

    // The "space" rule's class: ASCII white space, U+00A0, U+3000, U+2000 to
    // U+200B and U+202F; other Unicode spaces are left as they are.
    void spaceRuleClass_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<bool>("inClass");
        for (int unit : {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20, 0xA0, 0x3000, 0x202F})
            QTest::addRow("U+%04X", unit) << unit << true;
        for (int unit = 0x2000; unit <= 0x200B; ++unit)
            QTest::addRow("U+%04X", unit) << unit << true;
        for (int unit : {0x85, 0x1680, 0x180E, 0x200C, 0x2028, 0x2029, 0x205F, 0xFEFF})
            QTest::addRow("U+%04X", unit) << unit << false;
    }
    void spaceRuleClass()
    {
        QFETCH(int, unit);
        QFETCH(bool, inClass);
        const QString twice = QString(2, QChar(unit));
        const QString text = twice + QStringLiteral("a") + twice + QStringLiteral("b") + twice;
        QCOMPARE(applySpaceRule(text, QStringLiteral("removeAll")), inClass ? QStringLiteral("ab") : text);
        QCOMPARE(applySpaceRule(text, QStringLiteral("singleSpace")), inClass ? QStringLiteral(" a b") : text);
    }

    void folderRules_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("expected"); // empty: no entry
        QTest::newRow("add after, no extension") << "Photos.2003"
                                                 << "<rule type=\"add\" text=\"_old\" position=\"after\"/>"
                                                 << "Photos.2003_old";
        QTest::newRow("upper whole name") << "data.backup"
                                          << "<rule type=\"caseBase\" option=\"upper\"/>"
                                          << "DATA.BACKUP";
        QTest::newRow("regexp has one pattern") << "a.a"
                                                << "<rule type=\"regexp\" pattern=\"A\" replace=\"b\" global=\"true\"/>"
                                                << "b.b";
        QTest::newRow("file-only types change nothing")
            << "dir"
            << "<rule type=\"numbering\"/><rule type=\"extension\" text=\"x\"/><rule type=\"regexpBase\" pattern=\"d\" replace=\"x\"/>"
            << "";
        QTest::newRow("remove and replace")
            << "AxBx"
            << "<rule type=\"remove\" text=\"X\"/><rule type=\"replace\" pattern=\"a\" replaceWith=\"c\"/>"
            << "cB";
        QTest::newRow("adjust digits") << "Folder1"
                                       << "<rule type=\"adjustDigits\" column=\"3\"/>"
                                       << "Folder001";
    }
    void folderRules()
    {
        QFETCH(QString, folder);
        QFETCH(QString, rules);
        QFETCH(QString, expected);
        QDir().mkpath(root + "/" + folder);
        Manager m;
        preview(m, settingXml(root, {}, rules, {}, "childFolders=\"deep\" subFoldersDepth=\"1\""));
        QCOMPARE(summary(m), expected.isEmpty() ? QStringList() : QStringList{folder + ">" + expected});
    }

    void folderDateRuleUsesTheFoldersOwnTime()
    {
        QDir().mkpath(root + "/f");
        const qint64 when = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)).toSecsSinceEpoch();
        struct utimbuf times {
            time_t(when), time_t(when)
        };
        QCOMPARE(::utime(QFile::encodeName(root + "/f").constData(), &times), 0);
        Manager m;
        preview(m,
                settingXml(root, {}, "<rule type=\"date\" option=\"short date 1\" position=\"before\"/>", {},
                           "childFolders=\"deep\" subFoldersDepth=\"1\""));
        QCOMPARE(summary(m), (QStringList{"f>2001-02-03f"}));
    }

    void dateRuleUsesLastModifiedTime()
    {
        writeFile(root + "/a.txt");
        QFile f(root + "/a.txt");
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime(QDate(2004, 3, 7), QTime(5, 4, 9)), QFileDevice::FileModificationTime));
        f.close();
        Manager m;
        preview(m, settingXml(root, "<rule type=\"date\" option=\"DateTimeIso8601Short\" position=\"before\"/>"));
        QCOMPARE(summary(m), (QStringList{"a.txt>20040307T050409a.txt"}));
    }

    void fileCriteria_data()
    {
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("extensions") << "<fileToBeChanged ext=\"jpg jpeg\"/>" << QStringList{"a.JPG", "b.jpeg"};
        QTest::newRow("blank at ends admits no extension")
            << "<fileToBeChanged ext=\" jpg \"/>" << QStringList{"a.JPG", "d"};
        QTest::newRow("start with is literal") << "<fileToBeChanged startWith=\"a.b\"/>" << QStringList{"a.b1.txt"};
        QTest::newRow("no-break space is not blank") << QString("<fileToBeChanged ext=\"\u00a0\"/>") << QStringList{};
        QTest::newRow("regexp mode")
            << "<fileToBeChanged regExp=\"true\" regExpBaseName=\"^[ab]\" regExpExt=\"^jpe?g$\" regExpExtIgnoreCase=\"true\"/>"
            << QStringList{"a.JPG", "b.jpeg"};
    }
    void fileCriteria()
    {
        QFETCH(QString, criteria);
        QFETCH(QStringList, expected);
        for (const char *name : {"a.JPG", "b.jpeg", "c.jpg.bak", "d", "a.b1.txt", "axb1.txt"})
            writeFile(root + "/" + name);
        Manager m;
        preview(m, settingXml(root, "<rule type=\"add\" text=\"_\" position=\"after\"/>", {}, criteria));
        QStringList selected;
        for (const Entry &e : entries(m))
            selected << e.name;
        selected.sort();
        QCOMPARE(selected, expected);
    }

    void folderCriteria_data()
    {
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("simple") << "<folderToBeChanged startWith=\"2003\" endWith=\"x\"/>" << QStringList{"2003-box"};
        QTest::newRow("regexp ignores end")
            << "<folderToBeChanged regExp=\"true\" regExpBaseName=\"^2003\" endWith=\"x\"/>"
            << QStringList{"2003-box", "2003-boxes"};
    }
    void folderCriteria()
    {
        QFETCH(QString, criteria);
        QFETCH(QStringList, expected);
        QDir().mkpath(root + "/2003-box");
        QDir().mkpath(root + "/2003-boxes");
        QDir().mkpath(root + "/other");
        Manager m;
        preview(m,
                settingXml(root, {}, "<rule type=\"add\" text=\"_\" position=\"after\"/>", criteria,
                           "childFolders=\"deep\" subFoldersDepth=\"1\""));
        QStringList selected;
        for (const Entry &e : entries(m))
            selected << e.name;
        selected.sort();
        QCOMPARE(selected, expected);
    }

    void dateFilterSelectsRecentFilesOnly()
    {
        writeFile(root + "/old.txt");
        writeFile(root + "/new.txt");
        QFile old(root + "/old.txt");
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
        old.close();
        Manager m;
        preview(m,
                settingXml(root, "<rule type=\"add\" text=\"_\" position=\"after\"/>", {},
                           "<fileToBeChanged dateModified=\"true\" days=\"two\"/>"));
        QCOMPARE(summary(m), (QStringList{"new.txt>new_.txt"}));
    }

    void badCriteriaPatternIsReportedNotCrashed()
    {
        writeFile(root + "/a.txt");
        Manager m;
        const Result<PreviewSummary> r =
            build(m, settingXml(root, "<rule type=\"add\" text=\"_\"/>", {}, "<fileToBeChanged ext=\"a( txt\"/>"));
        QVERIFY(!r.error().message.isEmpty());
        QCOMPARE(summary(m), QStringList());
    }

    void namesThatAreNotUtf8AreLeftOut_data()
    {
        // The bytes of the name, and how the message shows them.
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a stray byte") << QByteArray("bad\xff.txt") << "bad\\xFF.txt";
        QTest::newRow("good text around") << QByteArray("caf\xc3\xa9 \xfe") << "caf\u00e9 \\xFE";
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf"
                                                      "b")
                                        << "a\\xC0\\xAFb";
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80.txt") << "\\xED\\xA0\\x80.txt";
        QTest::newRow("cut short") << QByteArray("end\xe3\x81") << "end\\xE3\\x81";
        QTest::newRow("control and backslash") << QByteArray("x\x01\\\xff") << "x\\x01\\x5C\\xFF";
    }
    void namesThatAreNotUtf8AreLeftOut()
    {
        QFETCH(QByteArray, bad);
        QFETCH(QString, shown);
        writeFile(root + "/good.txt");
        const QByteArray badPath = QFile::encodeName(root) + '/' + bad;
        FILE *f = std::fopen(badPath.constData(), "w");
        QVERIFY(f);
        std::fclose(f);
        // QTemporaryDir cannot remove a name it cannot decode; remove it here.
        const auto removeBad = qScopeGuard([&badPath] { ::unlink(badPath.constData()); });
        Manager m;
        const Result<PreviewSummary> r =
            build(m, settingXml(root, "<rule type=\"add\" text=\"_\" position=\"after\"/>"));
        QCOMPARE(summary(m), (QStringList{"good.txt>good_.txt"}));
        QCOMPARE(r->undecodableNames, 1);
        // The message names the folder and the name, its bytes escaped.
        QCOMPARE(previewNotes(r.value()),
                 QStringList{"Left out a name that is not valid UTF-8: " + root + u'/' + shown});
    }

    void symbolicLinksAreRenamedAsThemselvesNotWalked()
    {
        writeFile(root + "/target/inside.txt");
        QVERIFY(QFile::link(root + "/target", root + "/link"));
        Manager m;
        preview(m,
                settingXml(root + "", "<rule type=\"add\" text=\"_\" position=\"after\"/>", {}, {},
                           "childFolders=\"all\""));
        QStringList names;
        for (const Entry &e : entries(m))
            names << e.name;
        QCOMPARE(names, (QStringList{"inside.txt", "link"}));
    }

    void unreadableFolderIsSkippedAndTheWalkGoesOn()
    {
        if (::geteuid() == 0)
            QSKIP("root reads every folder; permissions cannot make one unreadable");
        writeFile(root + "/locked/a.txt");
        writeFile(root + "/open/b.txt");
        QFile::setPermissions(root + "/locked", QFileDevice::Permissions());
        // Given back however the test ends, or the folder could not be removed.
        const auto unlock = qScopeGuard([this] {
            QFile::setPermissions(root + "/locked",
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        });
        Manager m;
        const Result<PreviewSummary> r = build(
            m, settingXml(root, "<rule type=\"add\" text=\"_\" position=\"after\"/>", {}, {}, "childFolders=\"all\""));
        QCOMPARE(summary(m), (QStringList{"b.txt>b_.txt"}));
        QCOMPARE(r->skippedFolders.size(), 1);
    }

    // A preview is cancelled at its next poll, whether the request comes from
    // a window on another thread (which also sees the progress so far) or from
    // the event hook of a window on the preview's own thread.
    void cancelStopsTheWalk_data()
    {
        QTest::addColumn<bool>("fromAnotherThread");
        QTest::newRow("another thread") << true;
        QTest::newRow("event hook") << false;
    }
    void cancelStopsTheWalk()
    {
        QFETCH(bool, fromAnotherThread);
        for (int i = 0; i < 600; ++i) {
            writeFile(root + QStringLiteral("/f%1.txt").arg(i));
            writeFile(root + QStringLiteral("/sub/g%1.txt").arg(i));
        }
        Manager m;
        QVERIFY(m.settings().loadText(settingXml(root, "<rule type=\"add\" text=\"_\"/>", {}, {},
                                                 QStringLiteral("childFolders=\"deep\" subFoldersDepth=\"1\""))));
        PreviewControl &control = m.previewControl();
        std::binary_semaphore polled(0), answered(0);
        bool first = true;
        control.setEventHook(
            [&] {
                if (!std::exchange(first, false))
                    return;
                if (!fromAnotherThread) {
                    control.requestCancel();
                    return;
                }
                polled.release();
                answered.acquire();
            },
            0);
        Result<PreviewSummary> built = Error::withMessage(QStringLiteral("not run"));
        std::thread worker([&] { built = m.BuildPreview(); });
        PreviewProgress seen;
        if (fromAnotherThread) {
            polled.acquire();
            seen = control.progress(); // the walk is waiting in its hook
            control.requestCancel();
            answered.release();
        }
        worker.join();
        QVERIFY2(built, qPrintable(built.error().message));
        QVERIFY(built->cancelled);
        QVERIFY(m.preview().entryCount() < 1200);
        if (fromAnotherThread) {
            QCOMPARE(seen.foldersExamined, quint64(2)); // the folder and its child, listed
            QCOMPARE(seen.filesExamined, quint64(1200));
        }
        QCOMPARE(control.progress().entriesFound, quint64(m.preview().entryCount()));
    }

    void preconditionsRemoveMissingFolders()
    {
        Manager m;
        QVERIFY(m.settings().loadText(settingXml(root + "/missing", {})));
        QCOMPARE(m.CheckPreviewPreconditions(), (PreviewPreconditions{true, true, true, {root + "/missing"}}));
        QVERIFY(!m.settings().SelectedSetting().child("folders").child("folder"));
    }
};

QTEST_GUILESS_MAIN(PreviewTest)
#include "tst_preview.moc"
