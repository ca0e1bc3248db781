#include "base/Arguments.h"

namespace quillbay {

QStringList SplitArguments(const QString &text)
{
    QStringList arguments;
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length) {
        if (text[i] == u' ') {
            ++i;
            continue;
        }
        if (text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? length : close;
            arguments.append(text.mid(i + 1, end - i - 1));
            i = close < 0 ? length : close + 1;
            continue;
        }
        qsizetype end = text.indexOf(u' ', i);
        if (end < 0)
            end = length;
        arguments.append(text.mid(i, end - i));
        i = end;
    }
    return arguments;
}

CommandLineRequest readCommandLine(const QStringList &arguments)
{
    CommandLineRequest request;
    if (arguments.isEmpty())
        return request;
    const QString &first = arguments.first();
    if (first == QLatin1String("-exec") || first == QLatin1String("/exec")) {
        request.immediateRun = true;
        return request;
    }
    // Every absolute path begins with "/" here, so only "/exec" itself is a
    // switch in that form; other switches begin with "-" and are ignored.
    if (first.startsWith(u'-'))
        return request;
    request.openPath = first;
    return request;
}

} // namespace quillbay
