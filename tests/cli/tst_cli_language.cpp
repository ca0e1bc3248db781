// quillbay-cli speaks the user's language throughout: its usage, its option
// errors, the reasons of failures of the system, of the XML parser and of the
// expression engine, and its own wording where the window's would be false
// (no check boxes, no settings file that was changed). Each case runs once
// under LANG=C and once under a Japanese locale.

#include "ProgramRun.h"
#include "TemporaryHome.h"
#include "TestFiles.h"

#include <QRegularExpression>
#include <QTest>

using namespace quillbay::test;

namespace {

struct Case {
    const char *name;
    QStringList args; // "@" stands for the temporary folder
    int exitCode;
    QStringList english; // what the output holds, in this order
    QStringList japanese;
};

const Case kCases[] = {
    {"missing settings file",
     {"preview", "--settings", "@/none.xml"},
     2,
     {"Cannot read the settings file: @/none.xml (No such file or directory)"},
     {"設定ファイルを読み込めません: @/none.xml (ファイルまたはフォルダが見つかりません)"}},
    {"settings file is a folder",
     {"preview", "--settings", "@/files"},
     2,
     {"Cannot read the settings file: @/files (Is a directory)"},
     {"設定ファイルを読み込めません: @/files (ファイルではなくフォルダです)"}},
    {"malformed settings file",
     {"preview", "--settings", "@/junk.xml"},
     2,
     {"Cannot read the settings file: @/junk.xml (", " at offset "},
     {"設定ファイルを読み込めません: @/junk.xml (XML の形式が正しくありません、位置 "}},
    {"settings of another version",
     {"preview", "--settings", "@/future.xml"},
     2,
     {"The settings file is not of a version this program can use: @/future.xml"},
     {"このプログラムで使用できるバージョンの設定ファイルではありません: @/future.xml"}},
    {"missing report",
     {"undo", "@/none.xml"},
     2,
     {"Cannot read the report file: @/none.xml (No such file or directory)"},
     {"レポート ファイルを読み込めません: @/none.xml (ファイルまたはフォルダが見つかりません)"}},
    {"corrupted report",
     {"undo", "@/junk.xml"},
     2,
     {"Cannot read the report file: @/junk.xml (The content seems corrupted)"},
     {"レポート ファイルを読み込めません: @/junk.xml (内容が壊れている可能性があります)"}},
    {"bad pattern",
     {"preview", "--settings", "@/pattern.xml"},
     1,
     {"Files Criteria: Base name pattern \"a(\": missing closing parenthesis at offset 2"},
     {"ファイルの条件: ベース名のパターン「a(」: 正規表現として正しくありません (位置 2)"}},
    {"bad rule pattern",
     {"preview", "--settings", "@/rule.xml"},
     0,
     {"Left out 1 items whose rules could not be applied: ", " at offset 0"},
     {"ルールを適用できなかった 1 件を対象から外しました: 正規表現として正しくありません (位置 0)"}},
    {"unknown option",
     {"run", "--what"},
     2,
     {"Unknown option: --what", "Usage: quillbay-cli run [--settings FILE]"},
     {"不明なオプションです: --what", "使い方: quillbay-cli run [--settings ファイル]"}},
    {"option without value",
     {"preview", "--settings"},
     2,
     {"The option --settings needs a value.", "Usage: quillbay-cli preview"},
     {"オプション --settings には値が必要です。", "使い方: quillbay-cli preview"}},
    {"unknown command",
     {"rename"},
     2,
     {"Unknown command: rename", "Usage:"},
     {"不明なコマンドです: rename", "使い方:"}},
    {"undo without report",
     {"undo"},
     2,
     {"The report file is not given.", "Usage: quillbay-cli undo REPORT"},
     {"レポート ファイルが指定されていません。", "使い方: quillbay-cli undo レポート"}},
    {"help",
     {"--help"},
     0,
     {"Usage:", "quillbay-cli preview", "quillbay-cli run", "quillbay-cli undo", "Exit status:"},
     {"使い方:", "quillbay-cli preview", "quillbay-cli run", "quillbay-cli undo", "終了コード:"}},
    {"help of a command",
     {"undo", "--help"},
     0,
     {"Usage: quillbay-cli undo REPORT", "with --run, carries them out."},
     {"使い方: quillbay-cli undo レポート", "--run を付けると、それを実行します。"}},
    {"missing folder",
     {"preview", "--settings", "@/missing.xml"},
     0,
     {"Skipped a folder in \"Look in\" that does not exist: @/gone\n"},
     {"「このフォルダの中を探す」の存在しないフォルダをスキップしました: @/gone\n"}},
    {"invalid new names",
     {"preview", "--settings", "@/invalid.xml"},
     0,
     {"Left out 1 entry because its new name is not valid."},
     {"新しい名前が無効なため、1 件を対象から外しました。"}},
};

QString settings(const QString &folders, const QString &criteria, const QString &rules)
{
    return QStringLiteral("<settings version=\"2.0\" select=\"S\"><setting name=\"S\"><folders>%1</folders>%2"
                          "<newNameRules>%3</newNameRules></setting></settings>")
        .arg(folders, criteria, rules);
}

QString folder(const QString &path)
{
    return QStringLiteral("<folder path=\"%1\"/>").arg(path);
}

// What is left of the output when the paths in folder (none has a blank), the names that read
// the same in every language and the arguments of the run (options, commands)
// are taken out: under Japanese, no English word may remain.
QStringList englishWordsIn(QString text, const QString &folder, const QStringList &args)
{
    static const QRegularExpression sameInEveryLanguage(
        QStringLiteral("quillbay-cli( \\w+)?|--[a-z-]+|Quillbay|XML|UTF-8|\\b[A-Z]{2,}\\b|<[^>]*>"));
    const QRegularExpression pathsInFolder(QRegularExpression::escape(folder) + QStringLiteral("\\S*"));
    text.remove(pathsInFolder).remove(sameInEveryLanguage);
    for (const QString &arg : args)
        text.remove(arg);
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    QStringList words;
    for (const QRegularExpressionMatch &match : word.globalMatch(text))
        words << match.captured();
    return words;
}

} // namespace

class CliLanguageTest : public QObject
{
    Q_OBJECT

    TemporaryHome m_home;

private slots:
    void initTestCase()
    {
        const QString root = m_home.root();
        writeFile(root + QStringLiteral("/files/a.txt"));
        writeFile(root + QStringLiteral("/files/b.txt"));
        writeFile(root + QStringLiteral("/files/b_.txt"));
        const QString add = QStringLiteral("<rule type=\"add\" text=\"x_\"/>");
        const QString files = folder(root + QStringLiteral("/files"));
        writeFile(root + QStringLiteral("/junk.xml"), "<settings><unclosed>");
        writeFile(root + QStringLiteral("/future.xml"), "<settings version=\"3.0\"><setting name=\"S\"/></settings>");
        writeFile(root + QStringLiteral("/missing.xml"),
                  settings(files + folder(root + QStringLiteral("/gone")), {}, add).toUtf8());
        writeFile(
            root + QStringLiteral("/pattern.xml"),
            settings(files, QStringLiteral("<fileToBeChanged regExp=\"True\" regExpBaseName=\"a(\"/>"), add).toUtf8());
        writeFile(root + QStringLiteral("/rule.xml"),
                  settings(folder(root + QStringLiteral("/files/only")), {},
                           QStringLiteral("<rule type=\"regexpBase\" pattern=\"*\" replace=\"x\"/>"))
                      .toUtf8());
        writeFile(root + QStringLiteral("/files/only/one.txt"));
        // b.txt -> b_.txt is blocked by the b_.txt that is there.
        writeFile(root + QStringLiteral("/invalid.xml"),
                  settings(files, {}, QStringLiteral("<rule type=\"regexpBase\" pattern=\"^(a|b)$\" replace=\"$1_\"/>"))
                      .toUtf8());
    }

    void messagesInTheUsersLanguage_data()
    {
        QTest::addColumn<bool>("japanese");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("expected");
        for (const Case &c : kCases) {
            QTest::newRow(qPrintable(QStringLiteral("C: %1").arg(QLatin1String(c.name))))
                << false << c.args << c.exitCode << c.english;
            QTest::newRow(qPrintable(QStringLiteral("ja: %1").arg(QLatin1String(c.name))))
                << true << c.args << c.exitCode << c.japanese;
        }
    }
    void messagesInTheUsersLanguage()
    {
        QFETCH(bool, japanese);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, expected);
        for (QString &arg : args)
            arg.replace(u'@', m_home.root());
        QProcessEnvironment environment = m_home.environment();
        environment.insert(QStringLiteral("LANG"), japanese ? QStringLiteral("ja_JP.UTF-8") : QStringLiteral("C"));
        const ProgramRun r = runProgram(QStringLiteral(QUILLBAY_CLI), args, environment);
        QCOMPARE(r.exitCode, exitCode);

        // A preview prints its XML; what is said to the user is everything else.
        const QString said = r.err + (r.out.startsWith(QLatin1String("<?xml")) ? QString() : r.out);
        qsizetype at = 0;
        for (QString text : expected) {
            text.replace(u'@', m_home.root());
            at = said.indexOf(text, at);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("%1\nnot in\n%2").arg(text, said)));
        }
        static const QRegularExpression japaneseScript(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"));
        if (japanese) {
            const QStringList english = englishWordsIn(said, m_home.root(), args);
            QVERIFY2(english.isEmpty(), qPrintable(english.join(u' ') + QStringLiteral("\nin\n") + said));
        } else
            QVERIFY2(!said.contains(japaneseScript), qPrintable(said));
        // Without the window there are no check boxes, and the settings file is never changed.
        for (const char *windowWords : {"check box", "チェック", "removed", "try again", "もう一度"})
            QVERIFY2(!said.contains(QString::fromUtf8(windowWords)), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(CliLanguageTest)
#include "tst_cli_language.moc"
