#pragma once
// The preview list's model: one row per entry of the preview document, read
// straight from the document when the view asks for a row, so that nothing is
// built per entry. A check box writes the entry's include mark at once.
//
// While a job works on the document (a run renames and removes entries), the
// model holds no rows: the view must not read what another thread changes.

#include "ui/preview/PreviewEntries.h"

#include <QAbstractListModel>
#include <functional>

namespace quillbay {

class PreviewListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // The parts of an entry's line, for the delegate that draws it.
    struct Line {
        QString name; // the current name as the line shows it (cut after 90 characters)
        QString newName;
        QString folder;
        bool isFolder = false;
        bool checked = true;
        QString note; // after a run: the entry's message
        bool failed = false;
        QString fullName; // the whole current name, to find what changed
    };

    // setInclude writes the include mark of the entry with that id (the
    // engine's SetEntryInclude).
    explicit PreviewListModel(std::function<bool(const QString &id, bool include)> setInclude,
                              QObject *parent = nullptr);

    void setEntries(PreviewEntries entries);
    void clear();
    const PreviewEntries &entries() const { return m_entries; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    Line line(int row) const;
    bool checked(int row) const;
    void setChecked(int row, bool checked);
    // Every check mark to the opposite state.
    void invertAll();
    int checkedCount() const { return m_entries.checked; }

signals:
    // The counts of the summary line changed.
    void countsChanged();

private:
    bool writeInclude(int row, bool include);

    std::function<bool(const QString &, bool)> m_setInclude;
    PreviewEntries m_entries;
};

} // namespace quillbay
