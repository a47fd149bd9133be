#include "DMsales.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    // The data module comes before any window, so that every window finds it.
    TfrmDMcarsales dm;

    // The main window is not there yet: report on the database and end.
    if (dm.isConnected())
        std::printf("Database ready: %s\n", qPrintable(dm.databasePath()));
    else
        std::printf("Database not usable: %s\n", qPrintable(dm.databasePath()));
    return 0;
}
