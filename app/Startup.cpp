#include "app/Startup.h"

#include "app/About.h"
#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/Main.h"
#include "app/Status.h"
#include "catalogue/Detail.h"
#include "platform/Registry.h"
#include "playback/Playlist.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/MessageDlg.h"

#include <QFont>
#include <QIcon>
#include <QStyleFactory>

#include <algorithm>
#include <iostream>

namespace {
const char* const DesktopId = "io.github.mp3tunestead.MP3Tunestead";
} // namespace

void SetUpApplication(TApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    // Arial, which every Windows has, and Liberation Sans are drawn to the same widths, so the
    // windows' fixed layout fits on both systems.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    application.setFont(font);
    // An installed program takes its icon from the icon theme, as its desktop entry does, and
    // names that entry so the desktop shows the two as one application.
    application.setWindowIcon(QIcon::fromTheme(QString::fromLatin1(DesktopId), ApplicationIcon()));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopId));
    application.SetTitle("MP3 Tunestead");
    InstallRegistryWarningBox();
}

void InstallRegistryWarningBox() {
    platform::SetRegistryWarningHandler(
        [](const std::string& text) { MessageDlg(text, mtWarning, mbOK); });
}

bool CreateForms() {
    try {
        MainFrm = new TMainFrm;
        Application()->SetMainForm(MainFrm);
        AboutFrm = new TAboutFrm(MainFrm);
        PlaylistFrm = new TPlaylistFrm(MainFrm);
        DetailFrm = new TDetailFrm(MainFrm);
        PrefsFrm = new TPrefsFrm(MainFrm);
        StatusFrm = new TStatusFrm(MainFrm);
    } catch (const std::exception& error) {
        ShowMessageBox({"Application Error", std::string(error.what()) + ".", miError, mbOK});
        DestroyForms();
        return false;
    }
    return true;
}

namespace {
template <typename Form>
void Destroy(Form*& form) {
    delete form;
    form = nullptr;
}
} // namespace

void DestroyForms() {
    Destroy(StatusFrm);
    Destroy(PrefsFrm);
    Destroy(DetailFrm);
    Destroy(PlaylistFrm);
    Destroy(AboutFrm);
    if (Application() != nullptr)
        Application()->SetMainForm(nullptr);
    Destroy(MainFrm);
}

void ShowUsageErrorBox(const std::string& rejected) {
    std::string text = UsageErrorText(rejected);
    text.pop_back();
    std::replace(text.begin(), text.end(), '\n', '\r');
    ShowMessageBox({"MP3 Tunestead", text, miError, mbOK});
}

int ReportUsageError(const std::string& rejected, [[maybe_unused]] int& argc,
                     [[maybe_unused]] char** argv) {
#ifdef _WIN32
    TApplication application(argc, argv);
    SetUpApplication(application);
    ShowUsageErrorBox(rejected);
#else
    std::cerr << UsageErrorText(rejected);
#endif
    return UsageExitCode;
}
