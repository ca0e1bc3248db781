#include "ui/dialogs/FontPicker.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace quillbay {

namespace {

QString fontDialogText(const char *text)
{
    return QCoreApplication::translate("QFontDialog", text);
}

} // namespace

FontPicker::FontPicker(const QString &family, int size, QWidget *parent)
    : QDialog(parent), m_families(new QFontComboBox(this)), m_sizes(new QComboBox(this)), m_sample(new QLabel(this))
{
    setObjectName(QStringLiteral("dlgFont"));
    setWindowTitle(fontDialogText("Select Font"));
    m_families->setObjectName(QStringLiteral("cboFontFamily"));
    m_sizes->setObjectName(QStringLiteral("cboFontSize"));
    for (int points = kSmallestSize; points <= kLargestSize; ++points)
        m_sizes->addItem(QString::number(points), points);
    if (!family.isEmpty())
        m_families->setCurrentFont(QFont(family));
    m_sizes->setCurrentIndex(size >= kSmallestSize && size <= kLargestSize ? size - kSmallestSize
                                                                           : m_sizes->count() - 1);
    m_sample->setObjectName(QStringLiteral("lblFontSample"));
    m_sample->setText(QStringLiteral("AaBbYyZz 0123 あア亜"));
    m_sample->setMinimumHeight(m_sample->fontMetrics().height() * 3);
    m_sample->setAlignment(Qt::AlignCenter);

    auto *form = new QFormLayout;
    form->addRow(fontDialogText("&Font"), m_families);
    form->addRow(fontDialogText("&Size"), m_sizes);
    auto *sampleBox = new QGroupBox(fontDialogText("Sample"), this);
    auto *sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(m_sample);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(sampleBox);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_families, &QFontComboBox::currentFontChanged, this, &FontPicker::showSample);
    connect(m_sizes, &QComboBox::currentIndexChanged, this, &FontPicker::showSample);
    showSample();
}

QString FontPicker::family() const
{
    return m_families->currentFont().family();
}

int FontPicker::size() const
{
    return m_sizes->currentData().toInt();
}

void FontPicker::showSample()
{
    QFont font = m_families->currentFont();
    font.setPointSize(size());
    m_sample->setFont(font);
}

std::optional<FontPicker::Choice> FontPicker::choose(QWidget *parent, const QString &family, int size)
{
    FontPicker picker(family, size, parent);
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return Choice{picker.family(), picker.size()};
}

} // namespace quillbay
