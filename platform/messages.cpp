#include "messages.h"

#include "boxtext.h"

#include "translations.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

bool environmentNames(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

void showBox(QWidget *parent, const QString &caption, const QString &text, MessageIcon icon)
{
    QMessageBox box(toQtIcon(icon), caption, boxText(text), QMessageBox::Ok, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

bool displayAvailable()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QGuiApplication::platformName() != QLatin1String("offscreen")
            && QGuiApplication::platformName() != QLatin1String("minimal");
    const char *platformName = std::getenv("QT_QPA_PLATFORM");
    if (platformName && (std::strcmp(platformName, "offscreen") == 0 || std::strcmp(platformName, "minimal") == 0))
        return false;
    return environmentNames("DISPLAY") || environmentNames("WAYLAND_DISPLAY");
}

void echoToStandardError(const QString &caption, const QString &text)
{
    const QByteArray line = (caption + QStringLiteral(": ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

void DesktopMessenger::show(const QString &caption, const QString &text, MessageIcon icon)
{
    echoToStandardError(caption, text);
    if (displayAvailable() && qobject_cast<QApplication *>(QCoreApplication::instance()))
        showBox(m_parent, caption, text, icon);
}

void showStandaloneMessage(const QString &caption, const QString &text, MessageIcon icon)
{
    echoToStandardError(caption, text);
    if (!displayAvailable())
        return;
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        showBox(nullptr, caption, text, icon);
        return;
    }
    if (QCoreApplication::instance())
        return; // a non-widget application object is running: standard error it is
    static int argc = 1;
    static char name[] = "kelidor";
    static char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    installQtHebrewTranslation(application);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    showBox(nullptr, caption, text, icon);
}

} // namespace platform
