// kelidor: the catalogue browser.
#include "browser/datafile.h"
#include "browser/mainwindow.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "shared/aboutbox.h"

#include <filesystem>

int main(int argc, char *argv[])
{
    platform::Application application(argc, argv);
    application.setTitle(QStringLiteral("Ondarel"));
    platform::DesktopMessenger messenger;
    try {
        // data.txt lies beside the program.
        const auto dataPath = std::filesystem::path(platform::ownExecutablePath()).parent_path() / "data.txt";
        browser::DataFile dataFile(dataPath.string());
        browser::BrowserServices services{messenger, {}};
        browser::Tpdf pdf(dataFile, services);
        // The about box, created after the main window and hidden until asked for.
        about::TFodot Fodot(&pdf);
        pdf.setAboutBox([&Fodot](const std::string &title, double version) { Fodot.ShowAbout(title, version); });
        pdf.show();
        application.exec();
    } catch (const std::exception &error) {
        messenger.show(application.title(), QString::fromUtf8(error.what()), platform::MessageIcon::Stop);
    }
    return 0;
}
