#pragma once
// The copy tool's window: the host library folder to install into (a folder tree
// list), whether stubs are named with "K ", whether to install into a separate
// sub-folder, the collection drive, the copy button, the about button, and the
// progress of a run.
#include "copyrun.h"
#include "nativefiles.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace platform {
class Messenger;
}

namespace integrator {

class DirectoryListBox;

// The host library's default books folder, used when it exists.
inline constexpr std::string_view kDefaultHostFolder = "C:\\OTZAR\\pdf";

struct TmainServices {
    // The tool's own native path, whose folder holds the sources; empty: the running program's.
    std::string ownExecutable;
    // Where the run's messages go; null: message boxes over the window.
    platform::Messenger *messenger = nullptr;
    // Shows the about box with a title (Windows-1255) and a version.
    std::function<void(std::string_view title, double version)> showAbout;
};

class Tmain final : public QWidget, private CopyRunObserver {
    Q_OBJECT
public:
    explicit Tmain(TmainServices services = {}, QWidget *parent = nullptr);
    ~Tmain() override;

    void Button1Click();
    void Button2Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showMessage(const std::string &text) override;
    void stubsStarting(std::size_t count) override;
    void stubWritten(std::string_view shownName, std::size_t written, std::size_t count) override;

    void redrawProgress(std::size_t written, std::size_t count);
    void reportError(const QString &text);
    QString caption() const;

    TmainServices m_services;
    std::unique_ptr<platform::Messenger> m_ownMessenger;
    NativeCopyRunFiles m_files;
    CopyRun m_run;

    QPushButton *m_copyButton;
    QCheckBox *m_prefixBox;
    DirectoryListBox *m_folderList;
    QCheckBox *m_subFolderBox;
    QPushButton *m_aboutButton;
    QLabel *m_bookLabel;
    QLabel *m_nowCopyingLabel;
    QLineEdit *m_driveEdit;
    QProgressBar *m_progress;

    QElapsedTimer m_sinceRedraw;
    std::size_t m_written = 0;
    std::size_t m_count = 0;
};

} // namespace integrator
