#include "DMsales.h"
#include "Fonts.h"
#include "Guard.h"
#include "Startup.h"
#include "Umain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Startup::installChineseTranslations();
    Fonts::installSubstitutes();

    // The data module comes before any window, so that every window finds it.
    TfrmDMcarsales frmDMcarsales;
    installScreenSeams(&frmDMcarsales);
    if (!Startup::announceDatabase(frmDMcarsales))
        return 1; // the file is left as it was

    // The splash and the login follow when the main window is first shown.
    Tfrmmain frmmain;
    frmmain.show();
    return app.exec();
}
