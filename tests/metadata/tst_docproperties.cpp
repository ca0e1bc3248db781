#include "CompoundFileBuilder.h"
#include "TestFiles.h"
#include "metadata/DocProperties.h"
#include "metadata/PropertySet.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

using namespace quillbay;
using namespace quillbay::test;

namespace {

// 2004-02-29 12:34:56 UTC as a file time.
constexpr quint64 SampleFileTime = (1078058096ull + 11644473600ull) * 10000000ull;

QByteArray summary(const SectionBuilder &section)
{
    return propertySetStream({{SummaryFormatId, section.build()}});
}

QByteArray englishSummary()
{
    SectionBuilder s;
    s.codePage(1252)
        .lpstr(2, "Annual Report")
        .lpstr(3, "Finance")
        .lpstr(4, "Jos\xe9 Smith")
        .lpstr(5, "money; year")
        .lpstr(6, "Draft")
        .lpstr(9, "7")
        .fileTime(12, SampleFileTime)
        .i4(14, 12)
        .lpstr(18, "Writer 97");
    return summary(s);
}

QByteArray documentSummary()
{
    SectionBuilder doc;
    doc.codePage(1252).lpstr(2, "Reports").lpstr(15, "Quillbay Ltd").lpstrVector(13, {"Intro", "Body"}, false);
    SectionBuilder user;
    user.codePage(1252).dictionary({{2, "Project"}, {3, "Owner"}}).lpstr(2, "Apollo").lpwstr(3, u"Ōtani"_qs);
    return propertySetStream({{DocumentSummaryFormatId, doc.build()}, {UserDefinedFormatId, user.build()}});
}

QString makeDocument(const QTemporaryDir &dir, const QString &name, const QByteArray &summaryStream,
                     const QByteArray &documentStream = {})
{
    QList<QPair<QByteArray, QByteArray>> streams{{"WordDocument", QByteArray(600, 'w')}};
    if (!summaryStream.isNull())
        streams.append({"\005SummaryInformation", summaryStream});
    if (!documentStream.isNull())
        streams.append({"\005DocumentSummaryInformation", documentStream});
    const QString path = dir.filePath(name);
    return writeCompoundFile(path, streams) ? path : QString();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString officeSuite()
{
    for (const char *name : {"libreoffice", "soffice"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// Converts source to format (its file name extension) with the office suite,
// into the folder of source. Returns the converted file, or an empty string
// with why set to what went wrong.
QString convertWithOfficeSuite(const QString &suite, const QString &profile, const QString &source,
                               const QString &format, QString *why)
{
    const QFileInfo info(source);
    QProcess process;
    process.start(suite,
                  {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                   QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"), format,
                   QStringLiteral("--outdir"), info.absolutePath(), source});
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        *why = QStringLiteral("%1 did not finish within 3 minutes").arg(suite);
        return {};
    }
    const QString converted = info.absolutePath() + u'/' + info.completeBaseName() + u'.' + format;
    if (QFile::exists(converted))
        return converted;
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError()).simplified();
    *why = QStringLiteral("%1 ended with exit status %2 and wrote nothing: %3")
               .arg(suite)
               .arg(process.exitCode())
               .arg(errors.isEmpty() ? QStringLiteral("(no message)") : errors);
    return {};
}

// A flat OpenDocument file (text or spreadsheet) with the given properties.
QByteArray flatOpenDocument(bool spreadsheet, const QString &title, const QString &subject, const QString &author)
{
    const QString escapedTitle = title.toHtmlEscaped();
    const QString body = spreadsheet
        ? QStringLiteral("<office:spreadsheet><table:table table:name=\"Sheet1\"><table:table-row>"
                         "<table:table-cell office:value-type=\"string\"><text:p>%1</text:p></table:table-cell>"
                         "</table:table-row></table:table></office:spreadsheet>")
              .arg(escapedTitle)
        : QStringLiteral("<office:text><text:p>%1</text:p></office:text>").arg(escapedTitle);
    const QString mime = spreadsheet ? QStringLiteral("application/vnd.oasis.opendocument.spreadsheet")
                                     : QStringLiteral("application/vnd.oasis.opendocument.text");
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                          "xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\" "
                          "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
                          "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                          "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                          "office:version=\"1.2\" office:mimetype=\"%1\">"
                          "<office:meta><dc:title>%2</dc:title><dc:subject>%3</dc:subject>"
                          "<meta:initial-creator>%4</meta:initial-creator><dc:creator>%4</dc:creator></office:meta>"
                          "<office:body>%5</office:body></office:document>\n")
        .arg(mime, escapedTitle, subject.toHtmlEscaped(), author.toHtmlEscaped(), body)
        .toUtf8();
}

} // namespace

class TestDocProperties : public QObject
{
    Q_OBJECT

    // One profile for every conversion: the office suite fills a new profile
    // at its first start, which is what makes that start slow.
    QTemporaryDir m_profile;
    QString m_suite;
    std::optional<QString> m_suiteUnavailable;

    // Why documents cannot be made with an office suite here, or an empty
    // string when they can. Installed is not enough: a suite that cannot start
    // (no writable profile, a broken installation) is found out by converting
    // a small document once, so that a later failure is the test's own.
    QString officeSuiteUnavailable()
    {
        if (m_suiteUnavailable)
            return *m_suiteUnavailable;
        m_suite = officeSuite();
        QString why;
        if (m_suite.isEmpty()) {
            why = QStringLiteral("LibreOffice is not installed");
        } else {
            QTemporaryDir dir;
            const QString probe = dir.filePath(QStringLiteral("probe.fodt"));
            writeFile(probe, flatOpenDocument(false, QStringLiteral("Probe"), {}, {}));
            if (convertWithOfficeSuite(m_suite, m_profile.path(), probe, QStringLiteral("doc"), &why).isEmpty())
                why = QStringLiteral("LibreOffice is installed but cannot start: ") + why;
        }
        m_suiteUnavailable = why;
        return why;
    }

private slots:
    void readsSummaryInformation()
    {
        QTemporaryDir dir;
        const QString path = makeDocument(dir, QStringLiteral("report.doc"), englishSummary(), documentSummary());
        QVERIFY(!path.isEmpty());
        DocProperties doc;
        QVERIFY(doc.open(path));
        QCOMPARE(doc.title(), QStringLiteral("Annual Report"));
        QCOMPARE(doc.subject(), QStringLiteral("Finance"));
        QCOMPARE(doc.author(), u"José Smith"_qs);
        QCOMPARE(doc.keywords(), QStringLiteral("money; year"));
        QCOMPARE(doc.comments(), QStringLiteral("Draft"));
        QCOMPARE(doc.revisionNumber(), QStringLiteral("7"));
        QCOMPARE(doc.applicationName(), QStringLiteral("Writer 97"));
        QCOMPARE(doc.category(), QStringLiteral("Reports"));
        QCOMPARE(doc.company(), QStringLiteral("Quillbay Ltd"));
        const QVariant created = doc.getProperty(DocProperties::SummaryInformation, 12);
        QCOMPARE(created.typeId(), int(QMetaType::QDateTime));
        QCOMPARE(created.toDateTime(), QDateTime(QDate(2004, 2, 29), QTime(12, 34, 56), Qt::UTC).toLocalTime());
        QCOMPARE(created.toDateTime().timeSpec(), Qt::LocalTime);
        QCOMPARE(doc.getProperty(DocProperties::SummaryInformation, 14).toInt(), 12);
        QCOMPARE(doc.getProperty(DocProperties::SummaryInformation, QStringLiteral("3")).toString(),
                 QStringLiteral("Finance"));
        QCOMPARE(doc.getProperty(DocProperties::DocumentSummaryInformation, 13).toStringList(),
                 QStringList({QStringLiteral("Intro"), QStringLiteral("Body")}));
        QCOMPARE(doc.getProperty(DocProperties::UserDefinedProperties, QStringLiteral("project")).toString(),
                 QStringLiteral("Apollo"));
        QCOMPARE(doc.getProperty(DocProperties::UserDefinedProperties, QStringLiteral("Owner")).toString(),
                 u"Ōtani"_qs);
        QVERIFY(!doc.getProperty(DocProperties::UserDefinedProperties, QStringLiteral("Nobody")).isValid());
        QVERIFY(!doc.getProperty(3, 2).isValid());
        doc.close();
        QVERIFY(!doc.isOpen());
        QCOMPARE(doc.title(), QString());
    }

    void stringEncodings_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("author");
        QTest::newRow("Shift-JIS section")
            << summary(SectionBuilder().codePage(932).lpstr(2, "\x93\xfa\x96\x7b\x8c\xea").lpstr(4, "\x8e\x52\x93\x63"))
            << u"日本語"_qs << u"山田"_qs;
        QTest::newRow("Unicode section") << summary(
            SectionBuilder().codePage(1200).lpstrUnicode(2, u"報告書"_qs).lpstrUnicode(4, u"Zoë"_qs))
                                         << u"報告書"_qs << u"Zoë"_qs;
        QTest::newRow("UTF-16 strings") << summary(
            SectionBuilder().codePage(1252).lpwstr(2, u"議事録"_qs).lpwstr(4, u"Ålesund"_qs))
                                        << u"議事録"_qs << u"Ålesund"_qs;
        QTest::newRow("UTF-8 section, stored as -535")
            << summary(SectionBuilder().codePage(65001).lpstr(2, "\xe6\x97\xa5").lpstr(4, "A")) << u"日"_qs << "A";
        QTest::newRow("Cyrillic") << summary(SectionBuilder().codePage(1251).lpstr(2, "\xcf\xf0\xe8").lpstr(4, "B"))
                                  << u"При"_qs << "B";
        QTest::newRow("no code page: the user's")
            << summary(SectionBuilder().lpstr(2, "\x93\xfa").lpstr(4, "C")) << u"日"_qs << "C";
        QTest::newRow("text ends at the first zero")
            << summary(SectionBuilder().codePage(1252).lpstr(2, QByteArray("Cut\0rest", 8)).lpstr(4, "")) << "Cut"
            << "";
        QTest::newRow("no title") << summary(SectionBuilder().codePage(1252).lpstr(4, "Only Author")) << ""
                                  << "Only Author";
    }

    void stringEncodings()
    {
        QFETCH(QByteArray, stream);
        // The stream as found in a file, read with Shift-JIS as the user's code page.
        const std::optional<PropertySetStream> set = PropertySetStream::parse(stream, "CP932");
        QVERIFY(set.has_value());
        const std::optional<PropertySection> section = set->section(SummaryFormatId);
        QVERIFY(section.has_value());
        QTEST(propertyText(section->value(2)), "title");
        QTEST(propertyText(section->value(4)), "author");
    }

    void englishAndJapaneseThroughLibgsf_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("author");
        QTest::newRow("English") << "Quarterly Plan"
                                 << "Sales"
                                 << "Mary Jones";
        QTest::newRow("Japanese") << u"四半期計画"_qs << u"営業"_qs << u"山田太郎"_qs;
    }

    // Summary information written by another implementation (libgsf's own
    // writer) must read back the same.
    void englishAndJapaneseThroughLibgsf()
    {
        QFETCH(QString, title);
        QFETCH(QString, subject);
        QFETCH(QString, author);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plan.doc"));
        QVERIFY(writeCompoundFileWithGsfMetadata(path, title, subject, author));
        DocProperties doc;
        QVERIFY(doc.open(path));
        QCOMPARE(doc.title(), title);
        QCOMPARE(doc.subject(), subject);
        QCOMPARE(doc.author(), author);
    }

    void vectors()
    {
        SectionBuilder s;
        s.codePage(1252)
            .lpstrVector(20, {"one", "three", "four"}, true)
            .lpstrVector(21, {"one", "three", "four"}, false)
            .lpwstrVector(22, {u"α"_qs, u"βγ"_qs, QString()})
            .raw(23, le16(0x101E) + le16(0) + le32(0xFFFFFFFF) + le32(3) + QByteArray("ab\0\0", 4));
        const std::optional<PropertySetStream> set = PropertySetStream::parse(summary(s), "CP1252");
        QVERIFY(set);
        const std::optional<PropertySection> section = set->section(SummaryFormatId);
        QVERIFY(section);
        const QStringList expected{QStringLiteral("one"), QStringLiteral("three"), QStringLiteral("four")};
        QCOMPARE(section->value(20).toStringList(), expected);
        QCOMPARE(section->value(21).toStringList(), expected);
        QCOMPARE(section->value(22).toStringList(), QStringList({u"α"_qs, u"βγ"_qs, QString()}));
        QCOMPARE(propertyText(section->value(22)), u"α; βγ; "_qs);
        // A count far beyond the data gives no value, and no long loop.
        QVERIFY(!section->value(23).isValid());
    }

    void damagedPropertySets_data()
    {
        QTest::addColumn<QByteArray>("stream");
        const QByteArray good = englishSummary();
        QByteArray wrongOrder = good;
        wrongOrder[0] = 0x00;
        QTest::newRow("wrong byte order mark") << wrongOrder;
        QTest::newRow("header only") << good.left(28);
        QByteArray farSection = good;
        farSection.replace(44, 4, le32(0x7FFFFFF0));
        QTest::newRow("section offset past the end") << farSection;
        QTest::newRow("cut inside the values") << good.left(good.size() - 40);
        QTest::newRow("string longer than the section")
            << summary(SectionBuilder().codePage(1252).raw(2, le16(30) + le16(0) + le32(0x7FFFFFFF) + "abcd"));
        QTest::newRow("huge property count")
            << propertySetStream({{SummaryFormatId, le32(16) + le32(0xFFFFFFFF) + le32(2) + le32(0x7FFFFFFF)}});
        QTest::newRow("unknown type") << summary(SectionBuilder().raw(2, le16(0x0FFF) + le16(0) + "abcd"));
        QTest::newRow("empty") << QByteArray();
    }

    void damagedPropertySets()
    {
        QFETCH(QByteArray, stream);
        QTemporaryDir dir;
        const QString path = makeDocument(dir, QStringLiteral("damaged.doc"), stream);
        DocProperties doc;
        QVERIFY(doc.open(path));
        const QString title = doc.title();
        QVERIFY2(title.isEmpty() || title == QLatin1String("Annual Report"), qPrintable(title));
        QCOMPARE(doc.subject().isEmpty(), title.isEmpty());
    }

    void notACompoundDocument()
    {
        QTemporaryDir dir;
        const QString text = dir.filePath(QStringLiteral("notes.doc"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("Just some text that is not a compound document.\n").repeated(40));
        file.close();
        DocProperties doc;
        QVERIFY(!doc.open(text));
        QVERIFY(!doc.isOpen());
        QVERIFY(!doc.open(dir.filePath(QStringLiteral("missing.doc"))));
        QVERIFY(!doc.open(dir.path()));
        QVERIFY(!doc.openBytes(QByteArray()));
        const QString fifo = dir.filePath(QStringLiteral("pipe.doc"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!doc.open(fifo));
    }

    void truncatedAndDamagedContainers()
    {
        QTemporaryDir dir;
        const QString path = makeDocument(dir, QStringLiteral("full.doc"), englishSummary(), documentSummary());
        const QByteArray whole = fileBytes(path);
        QVERIFY(whole.size() > 1024);
        DocProperties doc;
        for (qsizetype length : {qsizetype(0), qsizetype(8), qsizetype(511), qsizetype(512), qsizetype(1000),
                                 whole.size() / 2, whole.size() - 1}) {
            if (doc.openBytes(whole.left(length))) {
                const QString title = doc.title();
                QVERIFY2(title.isEmpty() || title == QLatin1String("Annual Report"), qPrintable(title));
            }
        }
        QRandomGenerator random(1997);
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes = whole;
            for (int i = 0; i < 1 + int(random.bounded(6)); ++i)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            if (doc.openBytes(bytes)) {
                doc.title();
                doc.author();
                doc.company();
                doc.getProperty(DocProperties::UserDefinedProperties, QStringLiteral("Project"));
            }
        }
        QVERIFY(doc.openBytes(whole));
        QCOMPARE(doc.title(), QStringLiteral("Annual Report"));
    }

    void officeSuiteDocuments_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("author");
        QTest::newRow("doc, English") << "doc"
                                      << "Minutes of May"
                                      << "Board meeting"
                                      << "Ann Lee";
        QTest::newRow("doc, Japanese") << "doc" << u"五月の議事録"_qs << u"取締役会"_qs << u"鈴木花子"_qs;
        QTest::newRow("xls, English") << "xls"
                                      << "Budget 2004"
                                      << "Planning"
                                      << "Tom Ray";
        QTest::newRow("xls, Japanese") << "xls" << u"予算表"_qs << u"計画"_qs << u"佐藤一郎"_qs;
    }

    // Documents saved by a real office suite: written as flat OpenDocument
    // files with the properties, then converted to the old binary formats.
    void officeSuiteDocuments()
    {
        const QString why = officeSuiteUnavailable();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        QFETCH(QString, format);
        QFETCH(QString, title);
        QFETCH(QString, subject);
        QFETCH(QString, author);
        QTemporaryDir dir;
        const bool spreadsheet = format == QLatin1String("xls");
        const QString source =
            dir.filePath(spreadsheet ? QStringLiteral("source.fods") : QStringLiteral("source.fodt"));
        writeFile(source, flatOpenDocument(spreadsheet, title, subject, author));
        QString failure;
        const QString converted = convertWithOfficeSuite(m_suite, m_profile.path(), source, format, &failure);
        QVERIFY2(!converted.isEmpty(), qPrintable(failure));
        DocProperties doc;
        QVERIFY(doc.open(converted));
        QCOMPARE(doc.title(), title);
        QCOMPARE(doc.subject(), subject);
        QCOMPARE(doc.author(), author);
    }

    void fileStaysUnchanged()
    {
        QTemporaryDir dir;
        const QString path = makeDocument(dir, QStringLiteral("keep.doc"), englishSummary(), documentSummary());
        const QByteArray name = QFile::encodeName(path);
        // An old modification time, so that any write would show.
        const struct timespec times[2] = {{1000000000, 123456789}, {1000000000, 123456789}};
        QCOMPARE(::utimensat(AT_FDCWD, name.constData(), times, 0), 0);
        const QByteArray before = QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256);
        {
            DocProperties doc;
            QVERIFY(doc.open(path));
            QCOMPARE(doc.title(), QStringLiteral("Annual Report"));
            doc.company();
            doc.getProperty(DocProperties::UserDefinedProperties, QStringLiteral("Owner"));
        }
        struct stat st {};
        QCOMPARE(::stat(name.constData(), &st), 0);
        QCOMPARE(qint64(st.st_mtim.tv_sec), qint64(1000000000));
        QCOMPARE(qint64(st.st_mtim.tv_nsec), qint64(123456789));
        QCOMPARE(QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256), before);
    }
};

QTEST_GUILESS_MAIN(TestDocProperties)
#include "tst_docproperties.moc"
