#pragma once
// The live sample under a rule list's option pane: what the whole setting on
// show does to the first names of its first "Look in" folder, "old -> new"
// with the changed part marked and a cleared check mark's reason. The engine
// makes it on a worker thread from a copy of the setting, with the preview's
// own code, so each line is what the preview will show; every edit restarts
// it (after a short pause), and typing never waits for it.

#include "base/Result.h"
#include "engine/PreviewSample.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QLabel;
class QTextBrowser;

namespace quillbay {

class BackgroundJob;
class PreviewControl;
class SettingWriter;

class LiveSample : public QWidget
{
    Q_OBJECT

public:
    LiveSample(SettingWriter &writer, const QString &name, QWidget *parent = nullptr);
    ~LiveSample() override;

    // The setting changed: a new sample is made shortly (when the sample is
    // in sight; otherwise when it comes into sight).
    void restart();
    // The shown text, as plain text (for tests and the benchmark).
    QString shownText() const;

    static constexpr int kPauseMs = 40;

signals:
    // A sample has been shown.
    void shown();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void startIfDue();
    void fitHeight();

    SettingWriter &m_writer;
    QLabel *m_caption;
    QTextBrowser *m_text;
    QTimer m_pause;
    BackgroundJob *m_job;
    std::shared_ptr<PreviewControl> m_cancel;
    // The folder's listing from one sample to the next (one job at a time uses it).
    std::shared_ptr<SampleListingCache> m_listing;
    bool m_stale = true;
};

// The sample (or why there is none) as the rich text the sample box shows.
QString sampleHtml(const Result<PreviewSample> &sample, bool anyRules, const QString &dimColor);

} // namespace quillbay
