#pragma once
// A stand-in for the main window as the automation sees it: its state is set
// by the test, and a delivered request "opens the dialog" (the program is busy)
// until the test closes it.

#include "automation/FolderRequestTarget.h"

#include <QList>
#include <QString>
#include <functional>

class FakeFolderTarget : public quillbay::FolderRequestTarget
{
public:
    struct Delivery {
        QString path;
        int mode = 0;
        bool operator==(const Delivery &other) const = default;
    };

    bool hasWindow = true;
    bool isBusy = false;
    bool isReady = true;
    bool isRenaming = false;
    // Close each dialog as soon as it is opened.
    bool closeAtOnce = false;
    // Called with each delivery, before its dialog is closed.
    std::function<void(const Delivery &)> onDelivery;

    int raised = 0;
    QList<Delivery> deliveries;

    bool windowExists() const override { return hasWindow; }
    void raiseWindow() override { ++raised; }
    bool busy() const override { return isBusy || !m_openDialogs.isEmpty(); }
    bool ready() const override { return isReady; }
    bool renaming() const override { return isRenaming; }
    void DeliverRequest(const QString &path, int mode, Completion done) override;

    int openDialogs() const { return int(m_openDialogs.size()); }
    // Closes the dialog of the oldest delivery that is still open; false when none is.
    bool closeDialog();

private:
    QList<Completion> m_openDialogs;
};
