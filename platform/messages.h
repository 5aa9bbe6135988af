#pragma once
// Message boxes: modal, right to left, with the caption the program gives them.
// Every message is also written to standard error, so that it can be read in a
// terminal and in logs. Without a display (no DISPLAY nor WAYLAND_DISPLAY, or Qt's
// offscreen platform) the text goes to standard error only and the program goes on
// as if the user had closed the box.
#include <QString>

class QWidget;

namespace platform {

enum class MessageIcon { None, Information, Warning, Stop };

// Where a window's messages go; tests pass their own to see them.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void show(const QString &caption, const QString &text, MessageIcon icon) = 0;
};

// The real thing: a message box over parent (may be null) and standard error.
class DesktopMessenger final : public Messenger {
public:
    explicit DesktopMessenger(QWidget *parent = nullptr) : m_parent(parent) {}
    void show(const QString &caption, const QString &text, MessageIcon icon) override;

private:
    QWidget *m_parent;
};

bool displayAvailable();

void echoToStandardError(const QString &caption, const QString &text);

// For a program without a running application object (the opener): a box is shown
// through a short-lived application object only when a display can be opened.
void showStandaloneMessage(const QString &caption, const QString &text, MessageIcon icon);

} // namespace platform
