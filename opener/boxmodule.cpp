// The message box module (a shared object of its own, carried inside the opener).
#include "boxmodule.h"

#include <QApplication>
#include <QMessageBox>

extern "C" __attribute__((visibility("default"))) int kelidorShowBox(const char *captionUtf8,
                                                                     const char *textUtf8, int icon)
{
    int argc = 1;
    char name[] = "book";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    const QString platformName = QGuiApplication::platformName();
    if (platformName == QLatin1String("offscreen") || platformName == QLatin1String("minimal"))
        return 0;
    QApplication::setLayoutDirection(Qt::RightToLeft);
    const auto qtIcon = icon == static_cast<int>(opener::BoxIcon::Stop) ? QMessageBox::Critical
                                                                        : QMessageBox::NoIcon;
    QMessageBox box(qtIcon, QString::fromUtf8(captionUtf8), QString::fromUtf8(textUtf8), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return 1;
}
