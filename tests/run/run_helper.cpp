// Test helper: carries out a preview document saved as a file, and stops
// (without ending) after a given number of entries, so that a test can kill it
// at a known point of the run.
//   test_run_helper PREVIEW.xml REPORT_FOLDER PAUSE_AFTER

#include "run/RenameExecutor.h"
#include "settings/XmlTools.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

using namespace quillbay;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    PreviewDocument preview;
    if (!XmlTools::loadFile(preview.document(), args[1]))
        return 2;
    const int pauseAfter = args[3].toInt();
    RenameExecutor executor(ReportFolders::forReportFolder(args[2]));
    executor.setEntryObserver([pauseAfter](int attempted) {
        if (attempted != pauseAfter)
            return;
        std::fputs("paused\n", stdout);
        std::fflush(stdout);
        for (;;)
            ::pause();
    });
    const Result<ExecutionSummary> result = executor.ExecuteRenameList(preview);
    std::printf("%s\n", result->report.valueOr({}).toUtf8().constData());
    return result->allSucceeded ? 0 : 3;
}
