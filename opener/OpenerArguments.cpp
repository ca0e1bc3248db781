#include "OpenerArguments.h"

#include "base/Arguments.h"
#include "base/StringAdder.h"

#include <QDir>

namespace quillbay {

QString JoinCommandLine(const QStringList &arguments)
{
    StringAdder line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (i > 0)
            line.AppendChar(u' ');
        if (argument.isEmpty() || argument.contains(u' '))
            line.Append3(QStringLiteral("\""), argument, QStringLiteral("\""));
        else
            line.Append(argument);
    }
    return line.ToString();
}

QStringList ArgumentsFromArgv(const QStringList &argv)
{
    const QStringList split = SplitArguments(JoinCommandLine(argv));
    return split == argv ? split : argv;
}

QStringList OpenerPaths(const QStringList &arguments, const QString &workingFolder)
{
    QStringList paths;
    for (const QString &argument : arguments) {
        if (argument.startsWith(u'-'))
            continue;
        if (argument.isEmpty() || QDir::isAbsolutePath(argument))
            paths.append(argument);
        else
            paths.append(QDir::cleanPath(QDir(workingFolder).absoluteFilePath(argument)));
    }
    return paths;
}

} // namespace quillbay
