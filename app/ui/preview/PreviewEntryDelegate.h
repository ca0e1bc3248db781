#pragma once
// Draws an entry of the preview list as its line "name -> new name (in
// folder)", so that it reads at a glance: the part of the new name that
// changes is marked, the current name and the folder are quieter, and an
// entry that will not be renamed is dimmed as a whole. A line too long for the
// list is shortened in the middle of its parts (the whole line is the
// tooltip). After a run, a failed entry's message follows its line.

#include <QStyledItemDelegate>

namespace quillbay {

// Where the new name differs from the current one: runs of code units of
// newName, in order. What both names share (their common beginning and end,
// and runs of three or more characters they have in common in between) is
// not part of them.
struct ChangedPart {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const ChangedPart &) const = default;
};
QList<ChangedPart> changedParts(const QString &name, const QString &newName);

class PreviewEntryDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace quillbay
