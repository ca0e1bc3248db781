#include "settings/XmlTools.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <string>

using namespace quillbay;

namespace {

pugi::xml_document parse(const char *xml)
{
    pugi::xml_document doc;
    const Result<void> parsed = XmlTools::loadText(doc, QString::fromUtf8(xml));
    if (!parsed)
        qFatal("test document does not parse: %s", qPrintable(parsed.error().message));
    return doc;
}

QString attr(pugi::xml_node e, const char *name)
{
    const pugi::xml_attribute a = e.attribute(name);
    return a ? toQString(a) : QStringLiteral("<missing>");
}

// The text of serialized bytes: checks the byte-order mark and decodes UTF-16 LE.
QString decodeUtf16Le(const QByteArray &bytes)
{
    if (bytes.size() < 2 || uchar(bytes[0]) != 0xff || uchar(bytes[1]) != 0xfe || bytes.size() % 2 != 0)
        return QStringLiteral("<no UTF-16 LE byte-order mark>");
    QString text;
    for (qsizetype i = 2; i < bytes.size(); i += 2)
        text.append(QChar(char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8))));
    return text;
}

const QString kDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>");

} // namespace

class XmlToolsTest : public QObject
{
    Q_OBJECT
private slots:
    void parseFlag_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1 = not a flag
        QTest::newRow("True") << "True" << 1;
        QTest::newRow("lower false") << "false" << 0;
        QTest::newRow("mixed case") << "fAlSe" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("zero fraction") << "0.0" << 0;
        QTest::newRow("minus one") << "-1" << 1;
        QTest::newRow("fraction") << "2.5" << 1;
        QTest::newRow("blanks") << " true " << 1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("yes") << "yes" << -1;
        QTest::newRow("inf") << "inf" << -1;
        QTest::newRow("nan") << "nan" << -1;
        QTest::newRow("bad exponent") << "1e" << -1;
        QTest::newRow("trailing text") << "1x" << -1;
    }
    void parseFlag()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<bool> flag = quillbay::parseFlag(text);
        QCOMPARE(flag.has_value() ? int(*flag) : -1, expected);
    }

    void readFlagAttribute_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<bool>("defaultValue");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("written");
        QTest::newRow("missing, default false") << "<e/>" << false << false << "False";
        QTest::newRow("missing, default true") << "<e/>" << true << true << "True";
        QTest::newRow("lower case kept") << "<e f='true'/>" << false << true << "true";
        QTest::newRow("number kept") << "<e f='0'/>" << true << false << "0";
        QTest::newRow("garbage replaced") << "<e f='maybe'/>" << true << true << "True";
        QTest::newRow("empty replaced") << "<e f=''/>" << false << false << "False";
    }
    void readFlagAttribute()
    {
        QFETCH(QString, xml);
        QFETCH(bool, defaultValue);
        QFETCH(bool, expected);
        QFETCH(QString, written);
        pugi::xml_document doc = parse(xml.toUtf8().constData());
        const pugi::xml_node e = doc.document_element();
        QCOMPARE(XmlTools::ReadFlagAttribute(e, "f", defaultValue), expected);
        QCOMPARE(attr(e, "f"), written);
    }

    void readNumbers_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<bool>(
            "intWithMinimum"); // ReadIntAttribute(default 2, minimum 1) or readWholeNumberAttribute(default 2, fillIn)
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("written");
        QTest::newRow("whole: valid") << "<e n='12'/>" << false << 12 << "12";
        QTest::newRow("whole: zero") << "<e n='0'/>" << false << 0 << "0";
        QTest::newRow("whole: missing") << "<e/>" << false << 2 << "2";
        QTest::newRow("whole: fraction") << "<e n='1.5'/>" << false << 2 << "2";
        QTest::newRow("whole: negative") << "<e n='-1'/>" << false << 2 << "2";
        QTest::newRow("whole: too long") << "<e n='99999999999'/>" << false << 2 << "2";
        QTest::newRow("int: valid") << "<e n='5'/>" << true << 5 << "5";
        QTest::newRow("int: below minimum") << "<e n='0'/>" << true << 1 << "1";
        QTest::newRow("int: missing") << "<e/>" << true << 2 << "2";
        QTest::newRow("int: not numeric") << "<e n='abc'/>" << true << 2 << "2";
        QTest::newRow("int: huge") << "<e n='1e30'/>" << true << 2 << "2";
        QTest::newRow("int: huge negative") << "<e n='-1e30'/>" << true << 2 << "2";
        QTest::newRow("int: fraction rounds to even") << "<e n='2.5'/>" << true << 2 << "2.5";
    }
    void readNumbers()
    {
        QFETCH(QString, xml);
        QFETCH(bool, intWithMinimum);
        QFETCH(int, expected);
        QFETCH(QString, written);
        pugi::xml_document doc = parse(xml.toUtf8().constData());
        const pugi::xml_node e = doc.document_element();
        const int value = intWithMinimum ? XmlTools::ReadIntAttribute(e, "n", 2, 1)
                                         : XmlTools::readWholeNumberAttribute(e, "n", 2, true);
        QCOMPARE(value, expected);
        QCOMPARE(attr(e, "n"), written);
    }

    void readWithoutFillInLeavesElement()
    {
        pugi::xml_document doc = parse("<e/>");
        const pugi::xml_node e = doc.document_element();
        QCOMPARE(XmlTools::ReadAttribute(e, "a", QStringLiteral("d"), false), QStringLiteral("d"));
        QCOMPARE(XmlTools::readWholeNumberAttribute(e, "n", 3, false), 3);
        QVERIFY(!e.first_attribute());
        QCOMPARE(XmlTools::ReadAttribute(e, "a", QStringLiteral("d"), true), QStringLiteral("d"));
        QCOMPARE(attr(e, "a"), QStringLiteral("d"));
    }

    void childAndKeyedChild()
    {
        pugi::xml_document doc = parse("<r><x/><k id='a'/><k/><k id='q&quot;&apos;]'/><x n='2'/></r>");
        const pugi::xml_node r = doc.document_element();
        QCOMPARE(XmlTools::childElement(r, "x", false), r.first_child());
        QVERIFY(!XmlTools::childElement(r, "y", false));
        const pugi::xml_node y = XmlTools::childElement(r, "y", true);
        QCOMPARE(r.last_child(), y);

        // A child without the key attribute is not the child whose key is empty.
        QVERIFY(!XmlTools::keyedChild(r, "k", "id", QString(), false));
        QCOMPARE(attr(XmlTools::keyedChild(r, "k", "id", QStringLiteral("q\"']"), false), "id"),
                 QStringLiteral("q\"']"));
        const pugi::xml_node created = XmlTools::keyedChild(r, "k", "id", QStringLiteral("new"), true);
        QCOMPARE(r.last_child(), created);
        QCOMPARE(attr(created, "id"), QStringLiteral("new"));
        QCOMPARE(XmlTools::keyedChild(r, "k", "id", QStringLiteral("new"), true), created);
    }

    void rootOfEmptyDocument()
    {
        pugi::xml_document doc;
        const pugi::xml_node root = XmlTools::root(doc, "settings");
        QCOMPARE(QString::fromUtf8(root.name()), QStringLiteral("settings"));
        QCOMPARE(XmlTools::root(doc, "other"), root);
    }

    void ensureDeclarationReplacesOrInserts()
    {
        pugi::xml_document withOld = parse("<?xml version='1.0' encoding='UTF-8' standalone='yes'?><a/>");
        XmlTools::ensureDeclaration(withOld);
        pugi::xml_document without = parse("<!--c--><a/>");
        XmlTools::ensureDeclaration(without);
        for (pugi::xml_document *doc : {&withOld, &without}) {
            const pugi::xml_node decl = doc->first_child();
            QCOMPARE(decl.type(), pugi::node_declaration);
            QCOMPARE(attr(decl, "encoding"), QStringLiteral("UTF-16"));
            QCOMPARE(attr(decl, "version"), QStringLiteral("1.0"));
            QVERIFY(!decl.attribute("standalone"));
            QVERIFY(decl.next_sibling().type() != pugi::node_declaration);
        }
    }

    void serializeIsUtf16WithFixedDeclaration_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::newRow("declaration naming UTF-8")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a x=\"1\">\n  <b/>\n</a>";
        QTest::newRow("no declaration") << "<a x=\"1\">\n  <b/>\n</a>";
    }
    void serializeIsUtf16WithFixedDeclaration()
    {
        QFETCH(QString, xml);
        pugi::xml_document doc = parse(xml.toUtf8().constData());
        const QString text = decodeUtf16Le(XmlTools::serialize(doc));
        QCOMPARE(text, kDeclaration + QStringLiteral("<a x=\"1\"><b/></a>"));
    }

    void serializeKeepsCharactersAndPrologue()
    {
        // A character outside the basic plane, markup characters and a comment.
        pugi::xml_document doc = parse("<a t=\"&lt;&amp;&quot;\xF0\x9F\x98\x80\"><!--c--></a>");
        const QString text = decodeUtf16Le(XmlTools::serialize(doc));
        QCOMPARE(text, kDeclaration + QStringLiteral("<a t=\"&lt;&amp;&quot;\U0001F600\"><!--c--></a>"));
        const QString withPrologue = decodeUtf16Le(XmlTools::serialize(doc, QStringLiteral("<?p?>")));
        QVERIFY(withPrologue.startsWith(QStringLiteral("<?p?><a ")));
    }

    void saveToPathRoundTrip()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("doc.xml"));
        pugi::xml_document doc = parse("<a unknown=\"\xC3\xA9\"><?pi x?><zz q=\"1\"><y/></zz></a>");
        const Result<void> saved = XmlTools::saveToPath(doc, path);
        QVERIFY2(saved, qPrintable(saved.error().message));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(decodeUtf16Le(bytes).startsWith(kDeclaration + QStringLiteral("<a unknown=\"\u00e9\">")));

        pugi::xml_document back;
        QVERIFY(XmlTools::loadFile(back, path));
        QCOMPARE(decodeUtf16Le(XmlTools::serialize(back)), decodeUtf16Le(bytes));
    }

    void serializeToFileWritesTheSameBytes()
    {
        // Large enough for several buffers of the file writer, with one
        // attribute longer than a buffer.
        pugi::xml_document doc = parse("<files version=\"1.0\"/>");
        pugi::xml_node root = doc.document_element();
        for (int i = 0; i < 20000; ++i) {
            pugi::xml_node e = root.append_child("file");
            e.append_attribute("name").set_value(("n\xC3\xA9 <" + std::to_string(i) + ">").c_str());
            e.append_attribute("id").set_value(i);
        }
        root.append_child("big").append_attribute("v").set_value(std::string(300000, 'x').c_str());
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString &prologue : {QString(), QStringLiteral("<?xml version='1.0'?><?p?>")}) {
            QFile file(dir.filePath(QStringLiteral("out.xml")));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(XmlTools::serializeToFile(doc, prologue, file.handle()));
            file.close();
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll() == XmlTools::serialize(doc, prologue));
        }
    }

    void serializeToFileReportsAFailedWrite()
    {
        QFile full(QStringLiteral("/dev/full"));
        if (!full.open(QIODevice::WriteOnly))
            QSKIP("no /dev/full here");
        pugi::xml_document doc = parse("<a/>");
        errno = 0;
        QVERIFY(!XmlTools::serializeToFile(doc, QString(), full.handle()));
        QCOMPARE(errno, ENOSPC);
    }

    void saveFailureIsReported()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("missing/doc.xml"));
        pugi::xml_document doc = parse("<a/>");
        const Result<void> saved = XmlTools::saveToPath(doc, path);
        QVERIFY(!saved);
        QCOMPARE(saved.error().errorNumber, ENOENT);
        QVERIFY(!saved.error().message.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void loadFileReadsEveryEncodingAsPugixmlDoes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const auto utf16 = [](const QString &text, bool bom) {
            QByteArray out = bom ? QByteArray("\xFF\xFE", 2) : QByteArray();
            for (const QChar c : text) {
                out.append(char(c.unicode() & 0xFF));
                out.append(char(c.unicode() >> 8));
            }
            return out;
        };
        // Long enough that a surrogate pair straddles the pieces the file is
        // read in, and everything the converter writes in one, two, three
        // and four bytes.
        QString big = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><files>");
        for (int i = 0; big.size() < 300000; ++i)
            big += QStringLiteral("<file name=\"a\u00e9\u65e5%1\U0001F4F7\" id=\"f%1\"/>").arg(i);
        big += QStringLiteral("</files>");
        QTest::newRow("utf-16 le, large") << utf16(big, true);
        QTest::newRow("utf-16 le, empty element") << utf16(QStringLiteral("<a/>"), true);
        QTest::newRow("utf-16 le, unpaired surrogate")
            << utf16(QStringLiteral("<a n=\"x") + QChar(0xD800) + QStringLiteral("y\"/>"), true);
        QTest::newRow("utf-16 le, high surrogate last") << utf16(QStringLiteral("<a/>") + QChar(0xD801), true);
        QTest::newRow("utf-16 le, odd size") << utf16(QStringLiteral("<a/>"), true) + "x";
        QTest::newRow("utf-16 le without mark") << utf16(QStringLiteral("<a n=\"\u00e9\"/>"), false);
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF<a n=\"\xC3\xA9\"/>");
        QTest::newRow("utf-8") << QByteArray("<?xml version=\"1.0\"?><a n=\"\xE6\x97\xA5\"/>");
        QTest::newRow("not xml") << QByteArray("\xFF\xFE<\x00");
        QTest::newRow("empty file") << QByteArray();
    }

    void loadFileReadsEveryEncodingAsPugixmlDoes()
    {
        // Files this program wrote are converted while read; the outcome must
        // be what pugixml makes of the same bytes on its own.
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();

        pugi::xml_document expected;
        const bool expectedOk = expected.load_buffer(bytes.constData(), size_t(bytes.size()), XmlTools::parseOptions());
        pugi::xml_document loaded;
        const Result<void> read = XmlTools::loadFile(loaded, path);
        QCOMPARE(read.ok(), expectedOk);
        QCOMPARE(read.error().message.isEmpty(), expectedOk);
        if (expectedOk)
            QCOMPARE(XmlTools::serialize(loaded), XmlTools::serialize(expected));
    }

    void loadFileReportsAFileThatCannotBeRead()
    {
        pugi::xml_document doc = parse("<a/>");
        const Result<void> missing = XmlTools::loadFile(doc, QStringLiteral("/nonexistent/doc.xml"));
        QVERIFY(!missing);
        QVERIFY(!missing.error().message.isEmpty());
        QVERIFY(!doc.first_child());
        QTemporaryDir dir;
        const Result<void> folder = XmlTools::loadFile(doc, dir.path()); // a folder
        QVERIFY(!folder);
        QVERIFY(!folder.error().message.isEmpty());
    }

    void loadFailureLeavesDocumentEmpty()
    {
        pugi::xml_document doc = parse("<a/>");
        const Result<void> parsed = XmlTools::loadText(doc, QStringLiteral("<a><b></a>"));
        QVERIFY(!parsed);
        QVERIFY(!parsed.error().message.isEmpty());
        QVERIFY(!doc.first_child());
    }
};

QTEST_GUILESS_MAIN(XmlToolsTest)

#include "tst_xmltools.moc"
