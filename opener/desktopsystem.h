#pragma once
// The opener's system on the desktop: files and folders through the platform layer
// (drive letters through the drive table), the PDF to xdg-open, messages to standard
// error and, with a display, to right-to-left message boxes.
#include "opener.h"

#include "platform/winpath.h"

#include <string>

namespace opener {

class DesktopSystem final : public OpenerSystem {
public:
    // title (UTF-8) captions the error report, as the program's name does on a desktop.
    DesktopSystem(platform::DriveTable drives, std::string title);

    std::unique_ptr<FileBytes> readFile(const std::string &nativePath) override;
    void replaceFile(const std::string &nativePath, std::string_view bytes) override;
    bool folderExists(std::string_view windowsPath) override;
    void openDocument(std::string_view windowsPath) override;
    void showMessage(std::string_view caption, std::string_view text) override;
    void reportError(std::string_view text) override;

private:
    platform::DriveTable m_drives;
    std::string m_title;
};

// The program's title for a native executable path: its file name less the extension
// ("/kit/K הפעלה.exe" -> "K הפעלה").
std::string applicationTitle(std::string_view ownNativePath);

// The native path of the book list file beside the executable.
std::string bookListPathBeside(std::string_view ownNativePath);

} // namespace opener
