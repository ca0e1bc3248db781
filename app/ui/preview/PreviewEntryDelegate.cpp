#include "ui/preview/PreviewEntryDelegate.h"

#include "ui/preview/PreviewListModel.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

namespace quillbay {

ChangedPart changedPart(const QString &name, const QString &newName)
{
    const qsizetype shorter = std::min(name.size(), newName.size());
    qsizetype prefix = 0;
    while (prefix < shorter && name.at(prefix) == newName.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && name.at(name.size() - 1 - suffix) == newName.at(newName.size() - 1 - suffix))
        ++suffix;
    return {prefix, newName.size() - prefix - suffix};
}

namespace {

// One run of text drawn in one way.
struct Piece {
    QString text;
    enum Kind { Quiet, Normal, Marked, Note } kind = Normal;
};

// The pieces of a line, shortened to fit width: the folder gives way first,
// then the current name, then the unchanged ends of the new name, and the
// changed part last.
QList<Piece> fitLine(const PreviewListModel::Line &line, const QFontMetrics &normal, const QFontMetrics &marked,
                     int width)
{
    const QString mark = line.isFolder ? QStringLiteral("\\") : QString();
    const ChangedPart changed = changedPart(line.fullName, line.newName);
    QString name = line.name + mark;
    QString before = line.newName.left(changed.start);
    QString middle = line.newName.mid(changed.start, changed.length);
    QString after = line.newName.mid(changed.start + changed.length) + mark;
    QString folder = line.folder;
    const QString arrow = QStringLiteral(" -> ");
    const QString in = QStringLiteral(" (in ");
    const QString close = QStringLiteral(")");
    const QString note = line.note.isEmpty() ? QString() : QStringLiteral("   ") + line.note;

    const auto total = [&] {
        return normal.horizontalAdvance(name + arrow + before + after + in + folder + close + note)
            + marked.horizontalAdvance(middle);
    };
    // Shortens text in place (from where the mode says) by what the line is too wide.
    const auto shorten = [&](QString &text, Qt::TextElideMode mode, int keep, const QFontMetrics &metrics) {
        const int excess = total() - width;
        if (excess <= 0 || text.isEmpty())
            return;
        const int room = std::max(keep, metrics.horizontalAdvance(text) - excess);
        text = metrics.elidedText(text, mode, room);
    };
    const int least = normal.horizontalAdvance(QStringLiteral("MMMM"));
    shorten(folder, Qt::ElideMiddle, least, normal);
    shorten(name, Qt::ElideMiddle, least, normal);
    shorten(before, Qt::ElideLeft, least / 2, normal);
    shorten(after, Qt::ElideRight, least / 2, normal);
    shorten(middle, Qt::ElideMiddle, least, marked);
    shorten(folder, Qt::ElideMiddle, 0, normal);

    QList<Piece> pieces{{name, Piece::Quiet},  {arrow, Piece::Quiet}, {before, Piece::Normal},
                        {middle, Piece::Marked}, {after, Piece::Normal}, {in + folder + close, Piece::Quiet}};
    if (!note.isEmpty())
        pieces.append({note, Piece::Note});
    return pieces;
}

QColor mixed(const QColor &a, const QColor &b, qreal share)
{
    return QColor::fromRgbF(a.redF() * (1 - share) + b.redF() * share, a.greenF() * (1 - share) + b.greenF() * share,
                            a.blueF() * (1 - share) + b.blueF() * share);
}

} // namespace

void PreviewEntryDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const PreviewListModel *>(index.model());
    if (!model) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const PreviewListModel::Line line = model->line(index.row());
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(2, 0, -2, 0);
    QFont markedFont = opt.font;
    markedFont.setBold(true);
    const QFontMetrics normalMetrics(opt.font);
    const QFontMetrics markedMetrics(markedFont);

    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group = opt.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    const QColor text = opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor base = opt.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
    const QColor quiet = mixed(text, base, 0.4);
    const QColor dimmed = mixed(text, base, 0.55);
    const QColor failure = selected ? text : QColor(0xb0, 0x1e, 0x1e);
    const QColor markBackground = mixed(base, opt.palette.color(group, QPalette::Highlight), 0.22);

    painter->save();
    painter->setClipRect(textRect);
    int x = textRect.left();
    const int baseline = textRect.top() + (textRect.height() - normalMetrics.height()) / 2 + normalMetrics.ascent();
    for (const Piece &piece : fitLine(line, normalMetrics, markedMetrics, textRect.width())) {
        if (piece.text.isEmpty())
            continue;
        const bool isMarked = piece.kind == Piece::Marked;
        const QFontMetrics &metrics = isMarked ? markedMetrics : normalMetrics;
        const int advance = metrics.horizontalAdvance(piece.text);
        QColor color = piece.kind == Piece::Quiet ? quiet : text;
        if (piece.kind == Piece::Note)
            color = failure;
        else if (!line.checked && !model->entries().afterRun)
            color = dimmed;
        if (isMarked && !selected && line.checked)
            painter->fillRect(QRect(x, textRect.top() + 1, advance, textRect.height() - 2), markBackground);
        painter->setFont(isMarked ? markedFont : opt.font);
        painter->setPen(color);
        painter->drawText(x, baseline, piece.text);
        x += advance;
    }
    painter->restore();
}

} // namespace quillbay
