#include "ui/panes/LiveSample.h"

#include "engine/PreviewControl.h"
#include "engine/PreviewMessages.h"
#include "engine/PreviewRun.h"
#include "run/PreviewDocument.h"
#include "run/TemporaryName.h"
#include "settings/SettingsSchema.h"
#include "text/ErrorTexts.h"
#include "text/UiText.h"
#include "ui/common/BackgroundJob.h"
#include "ui/common/CommonEnds.h"
#include "ui/common/WindowTexts.h"
#include "ui/panes/PaneWidgets.h"
#include "ui/panes/SettingWriter.h"

#include <QEvent>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace quillbay {

namespace {

constexpr int kShownLines = 6;
constexpr int kShownColumns = 64;

// A document of one setting: the copy the worker thread reads while the
// window goes on writing into its own.
std::shared_ptr<SettingsDocument> copyOfSetting(pugi::xml_node setting)
{
    auto copy = std::make_shared<SettingsDocument>();
    pugi::xml_document &document = copy->document();
    document.reset();
    pugi::xml_node root = document.append_child(kSettings);
    root.append_attribute(kVersion).set_value("2.0");
    root.append_attribute(kSelect).set_value(setting.attribute(kName).value());
    root.append_copy(setting);
    return copy;
}

} // namespace

LiveSample::LiveSample(SettingWriter &writer, const QString &name, QWidget *parent)
    : QWidget(parent), m_writer(writer), m_text(new QTextBrowser), m_job(new BackgroundJob(this)),
      m_listing(std::make_shared<SampleListingCache>())
{
    setObjectName(name);
    m_text->setObjectName(name + QStringLiteral("Text"));
    m_text->setReadOnly(true);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setLineWrapMode(QTextEdit::WidgetWidth);
    m_caption = makeLabel(name + QStringLiteral("Caption"), QStringLiteral("c=31100;t=31101"), m_text);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_caption);
    layout->addWidget(m_text, 1);
    fitHeight();

    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &LiveSample::startIfDue);
    connect(&m_writer, &SettingWriter::edited, this, &LiveSample::restart);
}

LiveSample::~LiveSample()
{
    if (m_cancel)
        m_cancel->requestCancel();
}

void LiveSample::restart()
{
    m_stale = true;
    if (m_cancel)
        m_cancel->requestCancel();
    m_pause.start();
}

void LiveSample::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        m_pause.start();
}

void LiveSample::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitHeight();
}

void LiveSample::fitHeight()
{
    const int frame = 2 * m_text->frameWidth() + int(m_text->document()->documentMargin() * 2);
    m_text->setMinimumHeight(m_text->fontMetrics().lineSpacing() * kShownLines + frame);
    // Wide enough for an "old -> new" line of common names on one line (Latin
    // letters: a font for Japanese gives a far wider average).
    m_text->setMinimumWidth(m_text->fontMetrics().horizontalAdvance(QLatin1Char('x')) * kShownColumns + frame);
}

void LiveSample::startIfDue()
{
    if (!m_stale || !isVisible() || m_job->running())
        return; // a running job comes back here when it ends
    m_stale = false;
    const pugi::xml_node setting = m_writer.setting();
    const bool anyRules = setting.child(kFileRules).child(kRule) || setting.child(kFolderRules).child(kRule);
    auto copy = copyOfSetting(setting);
    auto cancel = std::make_shared<PreviewControl>();
    auto result = std::make_shared<Result<PreviewSample>>(PreviewSample());
    m_cancel = cancel;
    m_job->start(
        [copy, cancel, result, listing = m_listing] {
            PreviewDocument preview;
            TemporaryNameSource temporaryNames;
            PreviewRun run(*copy, preview, temporaryNames, *cancel);
            *result = run.buildSample(SampleLimits(), listing.get());
        },
        [this, result, anyRules, cancel] {
            if (m_cancel == cancel)
                m_cancel.reset();
            if (!(*result && (*result)->cancelled) && !m_stale) {
                m_text->setHtml(
                    sampleHtml(*result, anyRules, palette().color(QPalette::Disabled, QPalette::Text).name()));
                emit shown();
            }
            startIfDue();
        });
}

QString LiveSample::shownText() const
{
    return m_text->toPlainText();
}

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped().replace(u' ', QStringLiteral("&nbsp;"));
}

// "old -> new" with what was removed struck through in the old name and
// what was put in bold and underlined in the new one: the parts between the
// longest common beginning and end of the two names.
QString changeLine(const SampleEntry &entry, const QString &tail, const QString &dimColor)
{
    const QString &before = entry.name;
    const QString &after = entry.newName;
    const auto [head, end] = commonEnds(before, after);
    auto marked = [&](const QString &text, const char *open, const char *close) {
        return escaped(text.left(head)) + QLatin1String(open) + escaped(text.mid(head, text.size() - head - end))
            + QLatin1String(close) + escaped(text.right(end)) + escaped(tail);
    };
    QString line = marked(before, "<s>", "</s>") + QStringLiteral(" &rarr; ") + marked(after, "<b><u>", "</u></b>");
    if (entry.refusal != SampleEntry::Accepted) {
        const int reason = entry.refusal == SampleEntry::InvalidName ? 31109 : 31110;
        line = QStringLiteral("<span style=\"color:%1\">%2 &mdash; <i>%3</i></span>")
                   .arg(dimColor, line, UiText::LoadText(reason).toHtmlEscaped());
    }
    return line;
}

QString notice(int textId)
{
    return UiText::LoadText(textId).toHtmlEscaped();
}

QString notice(int textId, const QString &placeholder, const QString &value)
{
    return UiText::LoadTextWith(textId, {placeholder, value}).toHtmlEscaped();
}

} // namespace

QString sampleHtml(const Result<PreviewSample> &made, bool anyRules, const QString &dimColor)
{
    if (!made)
        return criteriaErrorMessage(made.error()).toHtmlEscaped();
    const PreviewSample &sample = *made;
    switch (sample.status) {
    case PreviewSample::NoFolder:
        return notice(31102);
    case PreviewSample::FolderMissing:
        return notice(31103, QStringLiteral("&path;"), sample.folder);
    case PreviewSample::FolderUnreadable:
        return UiText::LoadTextWith(31104,
                                    {QStringLiteral("&path;"), sample.folder, QStringLiteral("&reason;"),
                                     systemErrorText(sample.errorNumber)})
            .toHtmlEscaped();
    case PreviewSample::Shown:
        break;
    }
    QStringList lines;
    lines << QStringLiteral("<span style=\"color:%1\">%2</span>").arg(dimColor, escaped(sample.folder));
    if (sample.ruleFailures > 0)
        lines << QStringLiteral("<b>%1</b>").arg(notice(31108, QStringLiteral("&reason;"), sample.firstRuleError));
    for (const SampleEntry &folder : sample.folders)
        lines << changeLine(folder, QStringLiteral("/"), dimColor);
    for (const SampleEntry &file : sample.files)
        lines << changeLine(file, QString(), dimColor);
    if (sample.folders.isEmpty() && sample.files.isEmpty() && sample.ruleFailures == 0) {
        if (!anyRules)
            lines << notice(31105);
        else if (sample.examinedFiles == 0)
            lines << notice(31106);
        else
            lines << notice(31107, QStringLiteral("&num;"), QString::number(sample.examinedFiles));
    }
    return lines.join(QStringLiteral("<br>"));
}

} // namespace quillbay
