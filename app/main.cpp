// MP3 Tunestead: catalogues MP3 albums described by descript.ion files and hands songs,
// albums and playlists to an external player.
#include "app/Main.h"
#include "app/CommandLine.h"
#include "app/PrintTree.h"
#include "app/Startup.h"
#include "platform/Console.h"
#include "playback/Playlist.h"
#include "toolkit/Application.h"

#include <iostream>

int main(int argc, char** argv) {
    const TCommandLine line = ParseCommandLine({argv + 1, argv + argc});
    // A run that prints writes to the console it was started from.
    if (line.Mode != TRunMode::rmWindows)
        platform::UseParentConsole();
    switch (line.Mode) {
    case TRunMode::rmHelp:
        std::cout << HelpText();
        return 0;
    case TRunMode::rmVersion:
        std::cout << VersionText();
        return 0;
    case TRunMode::rmUsageError:
        return ReportUsageError(line.Rejected, argc, argv);
    case TRunMode::rmPrintTree:
        return RunPrintTree(argc, argv);
    case TRunMode::rmWindows:
        break;
    }

    TApplication application(argc, argv);
    SetUpApplication(application);
    if (!CreateForms())
        return 1;
    QObject::connect(MainFrm, &QDialog::finished, &application, &QApplication::quit);
    MainFrm->show();
    if (!line.PlaylistFile.empty())
        OpenNamedPlaylist(line.PlaylistFile);
    application.exec();
    DestroyForms();
    return 0;
}
