#pragma once
// The about box that both window programs carry: a title line of the program's own,
// its version, the maker's credit and contact lines, and the maker's web address as
// a link that opens in the user's web browser.
//
// Each program creates one box at start, after its main window, and shows it on
// demand with ShowAbout, which returns when the user closes the box.
#include <QDialog>

#include <functional>
#include <string>
#include <string_view>

class QLabel;
class QTextEdit;

namespace about {

class TFodot : public QDialog {
    Q_OBJECT
public:
    // Opens a web address; the default hands it to the desktop (xdg-open).
    using AddressOpener = std::function<void(const std::string &address)>;

    explicit TFodot(QWidget *parent = nullptr, AddressOpener openAddress = {});

    // Replaces the title line (a Windows-1255 byte string) and the version line, then
    // shows the box modally until the user closes it.
    void ShowAbout(std::string_view titleWin1255, double version);

    // The version line's text for a version: "גירסא " and the number in the number
    // style of the user's locale ("גירסא 1.00").
    static QString versionLine(double version);

private:
    void Label1Click();
    void fillMemo();

    QTextEdit *m_memo;
    QLabel *m_link;
    QLabel *m_mail;
    QStringList m_lines;
    AddressOpener m_openAddress;
};

} // namespace about
