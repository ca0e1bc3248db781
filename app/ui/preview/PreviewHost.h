#pragma once
// What the preview pane needs from the main window: switching between the
// two faces, the refresh after the pre-check removed missing folders, and the
// owner of its message boxes.

class QWidget;

namespace quillbay {

class PreviewHost
{
public:
    virtual ~PreviewHost() = default;
    // The preview pane in place of the setting editor; the setting and
    // rename menus disabled.
    virtual void showPreviewFace() = 0;
    // The setting editor again, on the tab page it showed before.
    virtual void showEditorFace() = 0;
    virtual void RefreshCurrentSetting() = 0;
    virtual QWidget *dialogParent() = 0;
};

} // namespace quillbay
