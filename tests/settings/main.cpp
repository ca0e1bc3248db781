// Runs every test class of the settings area in one executable.
#include <QCoreApplication>

int runXmlToolsTests(int argc, char **argv);
int runSettingsDocumentTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    failures += runXmlToolsTests(argc, argv);
    failures += runSettingsDocumentTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
