#include "ui/window/SettingPages.h"

#include "ui/window/SettingEditor.h"
#include "ui/window/SettingHost.h"

namespace quillbay {

QList<SettingPage *> createSettingPages(SettingHost &, WindowCommands &)
{
    QList<SettingPage *> pages;
    for (int i = 0; i < SettingEditor::kPageCount; ++i)
        pages << new SettingPage;
    return pages;
}

} // namespace quillbay
