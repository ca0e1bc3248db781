#pragma once
// The working message area of the preview pane (picPreviewWorking): "Please
// wait.", what the work has done so far, and the Cancel button of a preview.
// A preview shows the folders and files examined and the entries found; a
// rename run shows a bar of the entries done out of those checked.

#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quillbay {

class PreviewWorkingArea : public QFrame
{
    Q_OBJECT

public:
    explicit PreviewWorkingArea(QWidget *parent = nullptr);

    QPushButton *cancelButton() const { return m_cancel; }

    // A preview: counts and Cancel.
    void showPreviewProgress(quint64 folders, quint64 files, quint64 entries);
    // A rename run: the bar, no Cancel.
    void showRunProgress(int done, int total);
    // Only the message (a report being read).
    void showMessageOnly();

private:
    QLabel *m_message;
    QLabel *m_counts;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
};

} // namespace quillbay
