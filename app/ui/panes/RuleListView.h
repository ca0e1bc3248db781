#pragma once
// A rule list (treNamingRulesFile, treNamingRulesFolder): one node per rule,
// keyed by the rule's id. A rule is dragged within its own list to move it
// before the rule it is dropped on, or with Ctrl held to put a copy there.
// The drag carries the rule's id as text and, in a format of this program,
// the list and the process it comes from, so that a drag from the other list
// or from another program is refused.

#include <QTreeWidget>
#include <functional>

namespace quillbay {

class RuleListView : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr int kIdRole = Qt::UserRole;

    explicit RuleListView(const QString &name, QWidget *parent = nullptr);

    void addRule(const QString &id, const QString &caption);
    QString selectedId() const;
    bool selectId(const QString &id);
    int rowOfId(const QString &id) const;
    QString idAt(int row) const;

    // Called on an accepted drop: the dragged rule, the rule dropped on, and
    // whether a copy is asked for (Ctrl held).
    void setDropHandler(std::function<void(const QString &source, const QString &target, bool copy)> handler)
    {
        m_onDrop = std::move(handler);
    }

    // The drag data of a rule of this list.
    QMimeData *ruleDragData(const QString &id) const;
    // Whether a drag carries a rule of a rule list (which nothing else takes).
    static bool isRuleDrag(const QMimeData &data);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The dragged rule's id when the drag comes from this very list, else empty.
    QString sourceIdOf(const QMimeData *mime) const;
    void highlight(QTreeWidgetItem *item);

    std::function<void(const QString &, const QString &, bool)> m_onDrop;
    QTreeWidgetItem *m_highlighted = nullptr;
};

} // namespace quillbay
