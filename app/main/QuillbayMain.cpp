// Quillbay: the main program.

#include "main/Startup.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    using quillbay::Startup;
    using quillbay::StartupEnvironment;
    Startup startup(StartupEnvironment::ForThisProcess(app.arguments().mid(1), QCoreApplication::applicationDirPath()));
    return startup.Run();
}
