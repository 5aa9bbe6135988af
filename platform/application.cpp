#include "application.h"

#include "messages.h"
#include "translations.h"

#include <exception>

namespace platform {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setLayoutDirection(Qt::RightToLeft);
    // Without the translation Qt's dialogs stay English; the program works all the same.
    installQtHebrewTranslation(*this);
}

Application::~Application() = default;

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        reportError(QString::fromUtf8(error.what()));
    } catch (...) {
        reportError(QStringLiteral("שגיאה לא ידועה"));
    }
    return false;
}

void Application::setTitle(const QString &title)
{
    m_title = title;
    setApplicationDisplayName(title);
    setApplicationName(title);
}

void Application::reportError(const QString &text)
{
    if (m_errorMessenger) {
        m_errorMessenger->show(m_title, text, MessageIcon::Stop);
        return;
    }
    DesktopMessenger(activeWindow()).show(m_title, text, MessageIcon::Stop);
}

} // namespace platform
