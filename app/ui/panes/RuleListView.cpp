#include "ui/panes/RuleListView.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>

namespace quillbay {

namespace {

const QString kRuleFormat = QStringLiteral("application/x-quillbay-rule");

Qt::DropAction actionFor(Qt::KeyboardModifiers modifiers)
{
    return modifiers.testFlag(Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
}

} // namespace

RuleListView::RuleListView(const QString &name, QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(name);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void RuleListView::addRule(const QString &id, const QString &caption)
{
    auto *item = new QTreeWidgetItem(this, QStringList{caption});
    item->setData(0, kIdRole, id);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
}

QString RuleListView::selectedId() const
{
    const QTreeWidgetItem *item = currentItem();
    return item && item->isSelected() ? item->data(0, kIdRole).toString() : QString();
}

int RuleListView::rowOfId(const QString &id) const
{
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->data(0, kIdRole).toString() == id)
            return row;
    }
    return -1;
}

QString RuleListView::idAt(int row) const
{
    const QTreeWidgetItem *item = topLevelItem(row);
    return item ? item->data(0, kIdRole).toString() : QString();
}

bool RuleListView::selectId(const QString &id)
{
    const int row = rowOfId(id);
    if (row < 0)
        return false;
    setCurrentItem(topLevelItem(row));
    return true;
}

QMimeData *RuleListView::ruleDragData(const QString &id) const
{
    auto *mime = new QMimeData;
    mime->setText(id);
    mime->setData(kRuleFormat,
                  QStringLiteral("%1\n%2\n%3").arg(QCoreApplication::applicationPid()).arg(objectName(), id).toUtf8());
    return mime;
}

bool RuleListView::isRuleDrag(const QMimeData &data)
{
    return data.hasFormat(kRuleFormat);
}

QString RuleListView::sourceIdOf(const QMimeData *mime) const
{
    if (!mime || !mime->hasFormat(kRuleFormat))
        return {};
    const QStringList parts = QString::fromUtf8(mime->data(kRuleFormat)).split(u'\n');
    if (parts.size() != 3 || parts[0] != QString::number(QCoreApplication::applicationPid())
        || parts[1] != objectName())
        return {};
    return parts[2];
}

void RuleListView::startDrag(Qt::DropActions)
{
    const QString id = selectedId();
    if (id.isEmpty())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(ruleDragData(id));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    highlight(nullptr);
}

void RuleListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (sourceIdOf(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(actionFor(event->modifiers()));
    event->accept();
}

void RuleListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (sourceIdOf(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    highlight(itemAt(event->position().toPoint()));
    event->setDropAction(actionFor(event->modifiers()));
    event->accept();
}

void RuleListView::dragLeaveEvent(QDragLeaveEvent *event)
{
    highlight(nullptr);
    event->accept();
}

// Accepted only on a node, from this list, and not on the dragged rule itself.
void RuleListView::dropEvent(QDropEvent *event)
{
    highlight(nullptr);
    const QString source = sourceIdOf(event->mimeData());
    const QTreeWidgetItem *target = itemAt(event->position().toPoint());
    const QString targetId = target ? target->data(0, kIdRole).toString() : QString();
    if (source.isEmpty() || targetId.isEmpty() || targetId == source) {
        event->ignore();
        return;
    }
    const bool copy = actionFor(event->modifiers()) == Qt::CopyAction;
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    if (m_onDrop)
        m_onDrop(source, targetId, copy);
}

void RuleListView::highlight(QTreeWidgetItem *item)
{
    if (item == m_highlighted)
        return;
    if (m_highlighted && indexOfTopLevelItem(m_highlighted) >= 0)
        m_highlighted->setBackground(0, QBrush());
    m_highlighted = item;
    if (m_highlighted)
        m_highlighted->setBackground(0, palette().brush(QPalette::Highlight).color().lighter(170));
}

} // namespace quillbay
