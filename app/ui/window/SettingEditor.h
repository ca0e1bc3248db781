#pragma once
// The setting editor (picPaneTop_0): the setting selector and the five tab
// pages that edit the selected setting. The selector lists the names in
// ascending order without regard to letter case; picking one selects that
// setting in the document and loads the pages.

#include "ui/window/SettingHost.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QTabWidget;

namespace quillbay {

class SettingEditor : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPageCount = 5;

    // pages: the five tab pages in tab order; the editor takes them over.
    SettingEditor(SettingHost &host, const QList<SettingPage *> &pages, QWidget *parent = nullptr);

    // Clears the selector and inserts every setting name of the document so
    // that the list stays in ascending order without regard to letter case
    // (binary search; a name equal to names present goes before them).
    void FillSettingList();
    // Selects the setting that the document marks as selected (which loads the pages).
    void selectDocumentSelection();
    QString CurrentSettingName() const;
    const QStringList &settingNames() const { return m_names; }

    // Tab page index (0 to 4) visible and enabled, the others hidden and disabled.
    void ShowTabPage(int index);
    int currentPage() const;
    void showNextPage(int step); // Ctrl+Tab (1) and Ctrl+Shift+Tab (-1), wrapping around
    SettingPage *page(int index) const { return m_pages.value(index); }

    void LoadSettingIntoPanes();

signals:
    // After a setting was picked and selected in the document.
    void settingSelected();
    // The tab page on show changed (by the user or by ShowTabPage).
    void pageShown(int index);

private:
    void onSettingPicked(int index);

    SettingHost &m_host;
    QLabel *m_label;
    QComboBox *m_selector;
    QTabWidget *m_tabs;
    QList<SettingPage *> m_pages;
    QStringList m_names;
    bool m_filling = false;
};

} // namespace quillbay
