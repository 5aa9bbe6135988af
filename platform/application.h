#pragma once
// The application object of the window programs, with the general error report: an
// error that escapes an event handler is shown in a message box captioned with the
// application's title, and the program goes on with the state the handler left.
#include <QApplication>

#include <functional>

namespace platform {

class Messenger;

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    ~Application() override;

    bool notify(QObject *receiver, QEvent *event) override;

    // The title names the program in the task bar and captions its error reports.
    void setTitle(const QString &title);
    const QString &title() const { return m_title; }

    // Shows an error's text the way an escaped error is shown.
    void reportError(const QString &text);

    // Tests route the report elsewhere; null restores the message box.
    void setErrorMessenger(Messenger *messenger) { m_errorMessenger = messenger; }

private:
    QString m_title;
    Messenger *m_errorMessenger = nullptr;
};

} // namespace platform
