#include "ui/preview/PreviewEntryDelegate.h"

#include "ui/common/CommonEnds.h"
#include "ui/preview/PreviewListModel.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace quillbay {

namespace {

// Longer middles are marked whole: comparing them costs more than it tells.
constexpr qsizetype kLongestCompared = 160;
// Shorter common runs inside a change are chance agreements, not kept text.
constexpr qsizetype kShortestKept = 3;

// Which code units of b (from, to) lie in a common subsequence with a's, in
// runs of at least kShortestKept.
std::vector<bool> keptUnits(QStringView a, QStringView b)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    std::vector<quint16> lcs(size_t((n + 1) * (m + 1)), 0);
    const auto at = [m](qsizetype i, qsizetype j) { return size_t(i * (m + 1) + j); };
    for (qsizetype i = n - 1; i >= 0; --i)
        for (qsizetype j = m - 1; j >= 0; --j)
            lcs[at(i, j)] =
                a[i] == b[j] ? quint16(lcs[at(i + 1, j + 1)] + 1) : std::max(lcs[at(i + 1, j)], lcs[at(i, j + 1)]);
    std::vector<bool> kept(size_t(m), false);
    qsizetype i = 0, j = 0, runStart = -1;
    const auto endRun = [&](qsizetype runEnd) {
        if (runStart >= 0 && runEnd - runStart >= kShortestKept)
            std::fill(kept.begin() + runStart, kept.begin() + runEnd, true);
        runStart = -1;
    };
    while (i < n && j < m) {
        if (a[i] == b[j] && lcs[at(i, j)] == lcs[at(i + 1, j + 1)] + 1) {
            if (runStart < 0)
                runStart = j;
            ++i;
            ++j;
            continue;
        }
        endRun(j);
        if (lcs[at(i + 1, j)] >= lcs[at(i, j + 1)])
            ++i;
        else
            ++j;
    }
    endRun(j);
    return kept;
}

} // namespace

QList<ChangedPart> changedParts(const QString &name, const QString &newName)
{
    const auto [prefix, suffix] = commonEnds(name, newName);
    const QStringView oldMiddle = QStringView(name).mid(prefix, name.size() - prefix - suffix);
    const QStringView newMiddle = QStringView(newName).mid(prefix, newName.size() - prefix - suffix);
    if (newMiddle.isEmpty())
        return {};
    if (oldMiddle.isEmpty() || oldMiddle.size() > kLongestCompared || newMiddle.size() > kLongestCompared)
        return {{prefix, newMiddle.size()}};
    const std::vector<bool> kept = keptUnits(oldMiddle, newMiddle);
    QList<ChangedPart> parts;
    for (qsizetype j = 0; j < newMiddle.size(); ++j) {
        if (kept[size_t(j)])
            continue;
        if (!parts.isEmpty() && parts.last().start + parts.last().length == prefix + j)
            ++parts.last().length;
        else
            parts.append({prefix + j, 1});
    }
    return parts;
}

namespace {

// One run of text drawn in one way.
struct Piece {
    enum Kind { Quiet, Normal, Marked, Note };
    QString text;
    Kind kind = Normal;
};

// The pieces of a line, shortened to fit width: the folder gives way first,
// then the current name, then the unchanged parts of the new name, the
// changed parts, and last the message of a failure.
QList<Piece> fitLine(const PreviewListModel::Line &line, const QFontMetrics &normal, const QFontMetrics &marked,
                     int width)
{
    const QString mark = line.isFolder ? QStringLiteral("\\") : QString();
    QList<Piece> pieces{{line.name + mark, Piece::Quiet}, {QStringLiteral(" -> "), Piece::Quiet}};
    const qsizetype firstOfNewName = pieces.size();
    qsizetype at = 0;
    for (const ChangedPart &part : changedParts(line.fullName, line.newName)) {
        pieces.append({line.newName.mid(at, part.start - at), Piece::Normal});
        pieces.append({line.newName.mid(part.start, part.length), Piece::Marked});
        at = part.start + part.length;
    }
    pieces.append({line.newName.mid(at) + mark, Piece::Normal});
    const qsizetype lastOfNewName = pieces.size() - 1;
    pieces.append({QStringLiteral(" (in "), Piece::Quiet});
    const qsizetype folder = pieces.size();
    pieces.append({line.folder, Piece::Quiet});
    pieces.append({QStringLiteral(")"), Piece::Quiet});
    if (!line.note.isEmpty())
        pieces.append({QStringLiteral("   ") + line.note, Piece::Note});

    const auto metricsOf = [&](const Piece &p) -> const QFontMetrics & {
        return p.kind == Piece::Marked ? marked : normal;
    };
    const auto total = [&] {
        int sum = 0;
        for (const Piece &p : pieces)
            sum += metricsOf(p).horizontalAdvance(p.text);
        return sum;
    };
    // Shortens a piece by what the line is too wide, down to keep pixels.
    const auto shorten = [&](qsizetype index, Qt::TextElideMode mode, int keep) {
        Piece &p = pieces[index];
        const int excess = total() - width;
        if (excess <= 0 || p.text.isEmpty())
            return;
        const QFontMetrics &metrics = metricsOf(p);
        p.text = metrics.elidedText(p.text, mode, std::max(keep, metrics.horizontalAdvance(p.text) - excess));
    };
    const int least = normal.horizontalAdvance(QStringLiteral("MMMM"));
    shorten(folder, Qt::ElideMiddle, least);
    shorten(0, Qt::ElideMiddle, least);
    for (qsizetype i = firstOfNewName; i <= lastOfNewName; ++i) {
        if (pieces[i].kind != Piece::Normal)
            continue;
        const Qt::TextElideMode mode = i == firstOfNewName ? Qt::ElideLeft
            : i == lastOfNewName                           ? Qt::ElideRight
                                                           : Qt::ElideMiddle;
        shorten(i, mode, least / 2);
    }
    for (qsizetype i = firstOfNewName; i <= lastOfNewName; ++i)
        if (pieces[i].kind == Piece::Marked)
            shorten(i, Qt::ElideMiddle, least);
    shorten(folder, Qt::ElideMiddle, 0);
    if (pieces.last().kind == Piece::Note)
        shorten(pieces.size() - 1, Qt::ElideRight, least);
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
    const QPalette::ColorGroup group =
        opt.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
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
