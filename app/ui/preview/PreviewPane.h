#pragma once
// The preview pane (picPaneTop_1): the proposed renames of a preview run or of
// a reversal, with the buttons that start or abandon them.

#include <QWidget>

class QPushButton;

namespace quillbay {

struct ProgramContext;
class PreviewHost;

class PreviewPane : public QWidget
{
    Q_OBJECT

public:
    PreviewPane(ProgramContext &context, PreviewHost &host, QWidget *parent = nullptr);

    // The preview command: the pre-check (its findings joined in one message
    // box), then the preview run.
    void preview();
    // Back to the setting editor; the preview document is emptied.
    void ClosePreview();

private:
    ProgramContext &m_context;
    PreviewHost &m_host;
    QPushButton *m_close;
};

} // namespace quillbay
