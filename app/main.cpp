// MP3 Tunestead: catalogues MP3 albums described by descript.ion files and hands songs,
// albums and playlists to an external player.
#include "app/Main.h"
#include "app/Startup.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    SetUpApplication(application);
    if (!CreateForms())
        return 1;
    QObject::connect(MainFrm, &QDialog::finished, &application, &QApplication::quit);
    MainFrm->show();
    application.exec();
    DestroyForms();
    return 0;
}
