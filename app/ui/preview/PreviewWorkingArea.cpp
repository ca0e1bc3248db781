#include "ui/preview/PreviewWorkingArea.h"

#include "text/UiText.h"
#include "ui/common/WindowTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillbay {

namespace {

constexpr int kCountsId = 31303;
constexpr int kRunProgressId = 31304;

QString number(quint64 value)
{
    return QLocale().toString(value);
}

} // namespace

PreviewWorkingArea::PreviewWorkingArea(QWidget *parent)
    : QFrame(parent), m_message(new QLabel(QStringLiteral("Please wait."), this)), m_counts(new QLabel(this)),
      m_bar(new QProgressBar(this)), m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("picPreviewWorking"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_message->setObjectName(QStringLiteral("lblPreviewWorkingMessage"));
    setTag(m_message, QStringLiteral("c=1310"));
    m_counts->setObjectName(QStringLiteral("lblPreviewWorkingCounts"));
    m_counts->setAlignment(Qt::AlignCenter);
    m_bar->setObjectName(QStringLiteral("prgPreviewWorking"));
    m_cancel->setObjectName(QStringLiteral("cmdCancelPreview"));
    setTag(m_cancel, QStringLiteral("c=1312"));
    // The Cancel button stays clickable-looking under the window's hourglass.
    m_cancel->setCursor(Qt::ArrowCursor);

    m_message->setAlignment(Qt::AlignCenter);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(m_message);
    layout->addWidget(m_counts);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    layout->addStretch(2);
    showMessageOnly();
}

void PreviewWorkingArea::showPreviewProgress(quint64 folders, quint64 files, quint64 entries)
{
    m_counts->setText(UiText::LoadTextWith(kCountsId,
                                           {QStringLiteral("&folders;"), number(folders), QStringLiteral("&files;"),
                                            number(files), QStringLiteral("&entries;"), number(entries)}));
    m_counts->show();
    m_bar->hide();
    m_cancel->show();
}

void PreviewWorkingArea::showRunProgress(int done, int total)
{
    m_bar->setRange(0, std::max(total, 1));
    m_bar->setValue(std::min(done, std::max(total, 1)));
    m_bar->setFormat(UiText::LoadTextWith(
        kRunProgressId,
        {QStringLiteral("&done;"), number(quint64(done)), QStringLiteral("&total;"), number(quint64(total))}));
    m_counts->hide();
    m_bar->show();
    m_cancel->hide();
}

void PreviewWorkingArea::showMessageOnly()
{
    m_counts->hide();
    m_bar->hide();
    m_cancel->hide();
}

} // namespace quillbay
