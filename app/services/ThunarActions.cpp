#include "services/ThunarActions.h"

#include <QList>
#include <QXmlStreamReader>

namespace quillbay {

namespace {

struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// Where the parts of an actions file are, as offsets into its text.
struct ActionsLayout {
    Span rootStart;         // the root's start tag
    qsizetype rootEnd = 0;  // where the root's end tag begins
    QList<Span> ownActions; // the actions with the wanted unique-id
};

QString elementText(QXmlStreamReader &reader)
{
    return reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
}

// Reads one "action" element whose start tag has just been read; true when
// its unique-id is uniqueId.
bool readAction(QXmlStreamReader &reader, const QString &uniqueId)
{
    bool own = false;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("unique-id"))
            own = elementText(reader) == uniqueId || own;
        else
            reader.skipCurrentElement();
    }
    return own;
}

Result<ActionsLayout> readLayout(const QString &file, const QString &uniqueId)
{
    QXmlStreamReader reader(file);
    ActionsLayout layout;
    bool inRoot = false;
    while (!reader.atEnd()) {
        reader.readNext();
        // The reader's offset is exact right after a tag's ">"; a tag holds no
        // "<", so the tag begins at the last "<" before it.
        const qsizetype tagEnd = reader.characterOffset();
        const qsizetype tagBegin = file.lastIndexOf(u'<', tagEnd - 1);
        if (reader.isStartElement() && !inRoot) {
            if (reader.name() != QLatin1String("actions")) {
                reader.raiseError(QStringLiteral("the root element is not \"actions\""));
                break;
            }
            inRoot = true;
            layout.rootStart = {tagBegin, tagEnd};
        } else if (reader.isStartElement() && reader.name() == QLatin1String("action")) {
            if (readAction(reader, uniqueId))
                layout.ownActions.append({tagBegin, reader.characterOffset()});
        } else if (reader.isStartElement()) {
            reader.skipCurrentElement();
        } else if (reader.isEndElement()) {
            layout.rootEnd = tagBegin;
        }
    }
    if (!reader.hasError() && !inRoot)
        reader.raiseError(QStringLiteral("there is no \"actions\" element"));
    if (reader.hasError())
        return Error::withMessage(QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString()));
    return layout;
}

// Takes out the spans, each with the line break right after it.
QString withoutSpans(QString file, const QList<Span> &spans)
{
    for (qsizetype i = spans.size() - 1; i >= 0; --i) {
        qsizetype end = spans[i].end;
        if (end < file.size() && file[end] == u'\n')
            ++end;
        file.remove(spans[i].begin, end - spans[i].begin);
    }
    return file;
}

} // namespace

QString ThunarActions::emptyFile()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n");
}

Result<QString> ThunarActions::withAction(const QString &file, const QString &uniqueId, const QString &action)
{
    const Result<ActionsLayout> layout = readLayout(file, uniqueId);
    if (!layout)
        return layout.error();
    if (!layout->ownActions.isEmpty()) {
        // The first of ours is rewritten in its place; any more of them go.
        const Span first = layout->ownActions.first();
        QString changed = withoutSpans(file, layout->ownActions.mid(1));
        return QString(changed.replace(first.begin, first.end - first.begin, action));
    }
    const Span root = layout->rootStart;
    if (file.mid(root.begin, root.end - root.begin).endsWith(QLatin1String("/>"))) {
        // "<actions/>" has no inside to add to: it is opened up.
        QString changed = file;
        return QString(changed.replace(root.begin, root.end - root.begin,
                                       QStringLiteral("<actions>\n") + action + QStringLiteral("\n</actions>")));
    }
    QString changed = file;
    return QString(changed.insert(layout->rootEnd, action + u'\n'));
}

Result<QString> ThunarActions::withoutAction(const QString &file, const QString &uniqueId)
{
    const Result<ActionsLayout> layout = readLayout(file, uniqueId);
    if (!layout)
        return layout.error();
    return withoutSpans(file, layout->ownActions);
}

} // namespace quillbay
