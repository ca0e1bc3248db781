#pragma once
// The font dialog of the options: a family among the fonts installed, at a
// size from 8 to 14 points (larger or smaller fonts would not fit the
// windows' fixed layouts, or would be unreadable). Its captions are Qt's own
// font-dialog texts, which Qt's translations give in the interface language.

#include <QDialog>
#include <optional>

class QComboBox;
class QFontComboBox;
class QLabel;

namespace quillbay {

class FontPicker : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kSmallestSize = 8;
    static constexpr int kLargestSize = 14;

    // Preset with the family (when known) and the size (when in range).
    FontPicker(const QString &family, int size, QWidget *parent = nullptr);

    QString family() const;
    int size() const;

    struct Choice {
        QString family;
        int size = 0;
    };
    // No value when the user cancelled.
    static std::optional<Choice> choose(QWidget *parent, const QString &family, int size);

private:
    void showSample();

    QFontComboBox *m_families;
    QComboBox *m_sizes;
    QLabel *m_sample;
};

} // namespace quillbay
