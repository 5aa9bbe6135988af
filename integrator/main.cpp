// parvolin: installs the collection into the book folder of the host library.
#include "mainwindow.h"

#include "platform/application.h"
#include "platform/messages.h"
#include "shared/aboutbox.h"

#include <exception>

int main(int argc, char *argv[])
{
    try {
        platform::Application application(argc, argv);
        // No title of its own: the program's name captions its message boxes.
        application.setTitle(QCoreApplication::applicationName());

        // The main window comes first, the about box after it.
        about::TFodot *aboutBox = nullptr;
        integrator::TmainServices services;
        services.showAbout = [&aboutBox](std::string_view title, double version) {
            if (aboutBox)
                aboutBox->ShowAbout(title, version);
        };
        integrator::Tmain window(std::move(services));
        about::TFodot box(&window);
        aboutBox = &box;

        window.show();
        application.exec();
    } catch (const std::exception &error) {
        platform::showStandaloneMessage(QStringLiteral("parvolin"), QString::fromUtf8(error.what()),
                                        platform::MessageIcon::Stop);
    }
    return 0;
}
