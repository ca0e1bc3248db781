#include "ui/preview/PreviewPane.h"

#include "engine/Manager.h"
#include "engine/PreviewMessages.h"
#include "text/UiText.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/ProgramContext.h"
#include "ui/common/WindowTexts.h"
#include "ui/preview/PreviewHost.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillbay {

PreviewPane::PreviewPane(ProgramContext &context, PreviewHost &host, QWidget *parent)
    : QWidget(parent), m_context(context), m_host(host),
      m_close(new QPushButton(QStringLiteral("&Close preview"), this))
{
    setObjectName(QStringLiteral("picPaneTop_1"));
    m_close->setObjectName(QStringLiteral("cmdClosePreview"));
    setTag(m_close, QStringLiteral("c=1280"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    layout->addLayout(buttons);
    connect(m_close, &QPushButton::clicked, this, &PreviewPane::ClosePreview);
}

void PreviewPane::preview()
{
    const PreviewPreconditions found = m_context.manager.CheckPreviewPreconditions();
    if (found.missingFolders)
        m_host.RefreshCurrentSetting();
    if (!found.met()) {
        showMessage(m_host.dialogParent(), preconditionMessage(found), kProgramTitleId);
        return;
    }
    m_host.showPreviewFace();
    m_close->setFocus();
}

void PreviewPane::ClosePreview()
{
    m_host.showEditorFace();
}

} // namespace quillbay
