// Runs every test class of the text transforms in one executable.
#include <QCoreApplication>

int runCaseTransformsTests(int argc, char **argv);
int runWidthTransformsTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    failures += runCaseTransformsTests(argc, argv);
    failures += runWidthTransformsTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
