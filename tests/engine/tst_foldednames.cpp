// The case-insensitive name keys of the folder listing: the one-pass folding
// must give exactly what QString::toCaseFolded gives, the compact index must
// find every name of a hash, and the listing must treat names that differ in
// case only as the same name.

#include "base/HashIndex.h"
#include "base/Utf8Text.h"
#include "engine/FolderListing.h"
#include "engine/NameBlock.h"
#include "engine/NameCompare.h"
#include "engine/RuleSteps.h"

#include <QHash>
#include <QTest>
#include <random>

using namespace quillbay;

class FoldedNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCodePointFoldsAsQtFoldsIt()
    {
        int mismatches = 0;
        QString first;
        for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
            // A surrogate code point stands for a lone surrogate unit.
            const QString s = QChar::isSurrogate(cp) ? QString(QChar(char16_t(cp))) : QString::fromUcs4(&cp, 1);
            const QString expected = s.toCaseFolded();
            if (foldedName(s) != expected || foldedNameHash(s) != qHash(QStringView(expected))) {
                if (mismatches++ == 0)
                    first = QString::number(uint(cp), 16);
            }
        }
        QVERIFY2(mismatches == 0,
                 qPrintable(QStringLiteral("%1 code points differ, first U+%2").arg(mismatches).arg(first)));
    }

    void namesFoldAsQtFoldsThem_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("empty") << QString() << QString("");
        QTest::newRow("ascii case") << QString("IMG_0001.JPG") << QString("img_0001.jpg");
        QTest::newRow("ascii differs") << QString("IMG_0001.JPG") << QString("img_0002.jpg");
        QTest::newRow("latin") << QString("ÉTÉ Übersicht.TXT") << QString("été übersicht.txt");
        QTest::newRow("greek sigma") << QString("ΣΟΦΊΑ") << QString("σοφία");
        QTest::newRow("final sigma") << QString("ς") << QString("σ");
        QTest::newRow("sharp s") << QString("Straße") << QString("STRASSE");
        QTest::newRow("kelvin") << QString("\u212A") << QString("k");
        QTest::newRow("deseret") << QString::fromUtf8("\xF0\x90\x90\x80") << QString::fromUtf8("\xF0\x90\x90\xA8");
        QTest::newRow("lone surrogates") << QString(QChar(0xD800)) + "A" + QChar(0xDC00)
                                         << QString(QChar(0xD800)) + "a" + QChar(0xDC00);
        QTest::newRow("pair after a change")
            << QString::fromUtf8("A\xF0\x90\x90\x80") << QString::fromUtf8("a\xF0\x90\x90\xA8");
        QTest::newRow("high surrogate last") << QString("AB") + QChar(0xD801) << QString("ab") + QChar(0xD801);
        QTest::newRow("long") << QString(300, u'A') + "é" << QString(300, u'a') + "É";
        QTest::newRow("lengths") << QString("ab") << QString("abc");
        QTest::newRow("lone surrogate, changed before") << QString("A") + QChar(0xDC00) << QString("a") + QChar(0xDC00);
        QTest::newRow("surrogate in the head")
            << QString("ab") + QChar(0xD801) + QString("CDEFGH") << QString("ab") + QChar(0xD801) + QString("cdefgh");
        QTest::newRow("differs before a surrogate") << QString("Xa") + QChar(0xDC00) << QString("xb") + QChar(0xDC00);
    }

    void namesFoldAsQtFoldsThem()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QCOMPARE(foldedName(a), a.toCaseFolded());
        QCOMPARE(foldedName(b), b.toCaseFolded());
        QCOMPARE(foldedNameHash(a), qHash(QStringView(a.toCaseFolded())));
        QCOMPARE(sameFoldedName(a, b), a.toCaseFolded() == b.toCaseFolded());
        QCOMPARE(sameFoldedName(b, a), a.toCaseFolded() == b.toCaseFolded());
        const int expected = qBound(-1, QString::compare(a.toCaseFolded(), b.toCaseFolded()), 1);
        QCOMPARE(compareFoldedNames(a, b), expected);
        QCOMPARE(compareFoldedNames(b, a), -expected);
        for (const QString &name : {a, b}) {
            const QString folded = name.toCaseFolded();
            const auto expectedHead = [&](qsizetype from) {
                quint64 head = 0;
                for (qsizetype k = from; k < from + 4; ++k)
                    head = head << 16 | (k < folded.size() ? folded.at(k).unicode() : 0u);
                return head;
            };
            for (qsizetype from : {0, 1, 4, 16}) {
                QCOMPARE(foldedHead(name, from), expectedHead(from));
                quint64 heads[4] = {1, 2, 3, 4};
                foldedHeads(name, from, heads, 4);
                for (int i = 0; i < 4; ++i)
                    QCOMPARE(heads[i], expectedHead(from + 4 * i));
            }
        }
    }

    void blockDecodesNamesAsQtDoes()
    {
        // Listed names go into one block, decoded without Qt; every kind of
        // sequence must come out as Qt decodes it, except that a leading
        // byte order mark stays (QString::fromUtf8 would drop it).
        QList<QByteArray> names = {"",
                                   "plain.txt",
                                   "\xEF\xBB\xBF"
                                   "bom first",
                                   "mid\xEF\xBB\xBF",
                                   "\xC3\xA9t\xC3\xA9",
                                   "\xE6\x97\xA5\xE6\x9C\xAC.jpg",
                                   "\xF0\x9F\x93\xB7 photo",
                                   "\xF4\x8F\xBF\xBF",
                                   "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80"};
        std::mt19937 random(11);
        for (int i = 0; i < 500; ++i) {
            QString text;
            for (int k = int(random() % 20); k > 0; --k) {
                const char32_t cp = char32_t(random() % 0x110000);
                if (!QChar::isSurrogate(cp))
                    text += QString::fromUcs4(&cp, 1);
            }
            names << text.toUtf8();
        }
        NameBlock block;
        for (const QByteArray &name : names) {
            QVERIFY(QUtf8StringView(name).isValidUtf8());
            block.appendUtf8(QUtf8StringView(name));
        }
        block.append(u"after");
        QCOMPARE(block.size(), size_t(names.size() + 1));
        for (qsizetype i = 0; i < names.size(); ++i)
            QCOMPARE(block.at(size_t(i)).toString(), textFromUtf8(names[i]));
        QCOMPARE(block.at(2).toString(), QString(QChar(0xFEFF)) + QStringLiteral("bom first"));
        QCOMPARE(textFromUtf8(names[2]), block.at(2).toString());
        QCOMPARE(block.at(size_t(names.size())).toString(), QStringLiteral("after"));
    }

    void listingTakesFilesFromABlock()
    {
        // Folders added one by one, files as a block; after sorting every
        // item is there once, with its kind.
        NameSorter sorter;
        FolderListing listing(QStringLiteral("/x"), sorter);
        NameBlock files;
        for (const char *name : {"c.txt", "A.txt", "b.txt"})
            files.appendUtf8(QUtf8StringView(name));
        listing.addItem(u"B", true);
        listing.addFiles(std::move(files));
        listing.addItem(u"a", true);
        listing.sort();
        QStringList seen;
        for (const RenamePreviewListItem &item : listing.items())
            seen << item.name + (item.isFolder ? QStringLiteral("/") : QString());
        QCOMPARE(seen, QStringList({"a/", "A.txt", "B/", "b.txt", "c.txt"}));
        QVERIFY(listing.FindItemByName(QStringLiteral("C.TXT")));
    }

    void indexVisitsEveryReferenceOfAHash()
    {
        HashIndex index;
        // Many references under few hashes, through several growths of the table.
        for (int i = 0; i < 1000; ++i)
            index.insert(size_t(i % 7) * 0x10000, i);
        for (size_t h = 0; h < 7; ++h) {
            QList<int> seen;
            index.find(h * 0x10000, [&](int r) {
                seen.append(r);
                return false;
            });
            QCOMPARE(seen.size(), h < 1000 % 7 ? 143 : 142);
            for (int r : seen)
                QCOMPARE(size_t(r % 7), h);
        }
        int visits = 0;
        index.find(0, [&](int) { return ++visits == 3; });
        QCOMPARE(visits, 3);
        index.find(12345, [&](int) { return ++visits, false; });
        QCOMPARE(visits, 3);
        index.clear();
        index.find(0, [&](int) { return ++visits, false; });
        QCOMPARE(visits, 3);
    }

    void listingTakesNamesWithoutRegardToCase()
    {
        NameSorter sorter;
        FolderListing listing(QStringLiteral("/x"), sorter);
        QVERIFY(listing.takeNewName(QStringLiteral("Été.TXT")));
        QVERIFY(!listing.takeNewName(QStringLiteral("éTÉ.txt")));
        QVERIFY(listing.takeNewName(QStringLiteral("Ete.txt")));
        QVERIFY(!listing.takeNewName(QStringLiteral("ETE.TXT")));
    }

    void listingFindsTheExactNameBeforeOneThatDiffersInCase()
    {
        NameSorter sorter;
        FolderListing listing(QStringLiteral("/x"), sorter);
        for (const char *name : {"b.txt", "Äpfel.txt", "äpfel.txt", "a.txt", "ÄPFEL.TXT"})
            listing.addItem(QString::fromUtf8(name), false);
        listing.sort();
        const auto nameOf = [&](const QString &n) {
            const std::optional<int> i = listing.FindItemByName(n);
            return i ? listing.items()[size_t(*i)].name : QString();
        };
        for (const char *name : {"Äpfel.txt", "äpfel.txt", "ÄPFEL.TXT", "a.txt"})
            QCOMPARE(nameOf(QString::fromUtf8(name)), QString::fromUtf8(name));
        // No exact match: the first of the case variants in sorted order.
        const std::optional<int> variant = listing.FindItemByName(QString::fromUtf8("äPFEL.txt"));
        QVERIFY(variant);
        for (int i = 0; i < *variant; ++i)
            QVERIFY(!sameFoldedName(listing.items()[size_t(i)].name, QString::fromUtf8("äpfel.txt")));
        QCOMPARE(nameOf(QStringLiteral("c.txt")), QString());
    }

    void listingSortsAsTheSorterCompares()
    {
        // Names that share long beginnings, differ in case only, run shorter
        // than the compared heads, or hold accented letters.
        QStringList names = {"a",
                             "A",
                             "ab",
                             "a b",
                             "a.txt",
                             "A.TXT",
                             "ä.txt",
                             "Zebra",
                             "zebra2",
                             "IMG_0001.JPG",
                             "img_0001.jpg",
                             "IMG_00010.JPG",
                             "Meeting notes 1.txt",
                             "Meeting notes 10.txt",
                             "meeting notes 2.txt",
                             "Été",
                             "été",
                             "ete",
                             "e",
                             "日本",
                             QString::fromUtf8("A\xF0\x90\x90\x80.txt"),
                             QString::fromUtf8("a\xF0\x90\x90\xA8.txt"),
                             QString("B") + QChar(0xDC00),
                             QString("b") + QChar(0xDC00)};
        std::mt19937 random(7);
        const QString letters = QStringLiteral("aAbBéÉ _.-1");
        for (int i = 0; i < 2000; ++i) {
            QString name = QStringLiteral("Report Q1 ");
            const int length = int(random() % 12);
            for (int k = 0; k < length; ++k)
                name += letters.at(qsizetype(random() % quint32(letters.size())));
            if (!names.contains(name))
                names << name;
        }
        NameSorter sorter;
        FolderListing listing(QStringLiteral("/x"), sorter);
        for (const QString &name : names)
            listing.addItem(name, false);
        listing.sort();
        const auto &items = listing.items();
        QCOMPARE(qsizetype(items.size()), names.size());
        for (size_t i = 0; i + 1 < items.size(); ++i)
            QVERIFY2(sorter.compare(items[i].name, items[i + 1].name) < 0,
                     qPrintable(items[i].name + QStringLiteral(" before ") + items[i + 1].name));
    }

    void padDigitsKeepsItsMeaning()
    {
        // The last width characters of (width - 1 zeros followed by digits).
        for (const char *digits : {"", "7", "42", "123", "-5", "1234567"}) {
            for (int width = -2; width <= 8; ++width) {
                const QString d = QString::fromLatin1(digits);
                const QString expected = (QString(width - 1, u'0') + d).right(width);
                QCOMPARE(padDigits(d, width), expected);
            }
        }
    }
};

QTEST_GUILESS_MAIN(FoldedNamesTest)
#include "tst_foldednames.moc"
