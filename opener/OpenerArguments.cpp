#include "OpenerArguments.h"

#include "base/Arguments.h"
#include "base/StringAdder.h"

#include <QDir>

namespace quillbay {

QString joinCommandLine(const QStringList &arguments)
{
    StringAdder line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (i > 0)
            line.appendChar(u' ');
        if (argument.isEmpty() || argument.contains(u' '))
            line.append3(QStringLiteral("\""), argument, QStringLiteral("\""));
        else
            line.append(argument);
    }
    return line.toString();
}

QStringList argumentsFromArgv(const QStringList &argv)
{
    const QStringList split = SplitArguments(joinCommandLine(argv));
    return split == argv ? split : argv;
}

QStringList openerPaths(const QStringList &arguments, const QString &workingFolder)
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
