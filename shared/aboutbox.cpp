#include "aboutbox.h"

#include "numberstyle.h"
#include "platform/process.h"
#include "platform/qtext.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <utility>

namespace about {
namespace {

// The maker's credit and contact lines (lines 4 to 7 of the memo), link and e-mail.
const QString kCreditLine = QStringLiteral("תוכנת ע\"י צוות Kelidor");
const QString kStreetLine = QStringLiteral("רחוב הגוויל 7, עיר הספרים");
const QString kPhoneLine = QStringLiteral("טל' 02-000-0000");
const QString kSecondPhoneLine = QStringLiteral("050-000-0000");
const QString kWebAddress = QStringLiteral("www.kelidor.example/");
const QString kMailAddress = QStringLiteral("info@kelidor.example");

constexpr int kTitleLine = 0;
constexpr int kVersionLine = 2;

// A label that acts on a click of the left mouse button.
class ClickableLabel : public QLabel {
public:
    ClickableLabel(const QString &text, QWidget *parent, std::function<void()> onClick)
        : QLabel(text, parent), m_onClick(std::move(onClick))
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_onClick();
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

QFont arial(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

TFodot::TFodot(QWidget *parent, AddressOpener openAddress)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_openAddress(std::move(openAddress))
{
    if (!m_openAddress)
        m_openAddress = [](const std::string &address) { platform::openWithShell(address); };

    setObjectName(QStringLiteral("Fodot"));
    setWindowTitle(QStringLiteral("אודות"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(arial(12));
    setFixedSize(233, 236);

    m_memo = new QTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setGeometry(24, 8, 185, 137);
    m_memo->setReadOnly(true);
    m_memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_memo->setFrameShape(QFrame::NoFrame);
    m_memo->setFocusPolicy(Qt::ClickFocus); // not on the tab key's way
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette memoColours = m_memo->palette();
    memoColours.setColor(QPalette::Base, palette().color(QPalette::Window));
    m_memo->setPalette(memoColours);

    m_link = new ClickableLabel(kWebAddress, this, [this] { Label1Click(); });
    m_link->setObjectName(QStringLiteral("Label1"));
    m_link->setGeometry(24, 144, 173, 14);
    m_link->setAlignment(Qt::AlignCenter);
    QFont linkFont = arial(11);
    linkFont.setUnderline(true);
    m_link->setFont(linkFont);
    QPalette linkColours = m_link->palette();
    linkColours.setColor(QPalette::WindowText, Qt::blue);
    m_link->setPalette(linkColours);
    m_link->setCursor(Qt::PointingHandCursor);

    // Sized to the address, centred where the layout puts it.
    m_mail = new QLabel(kMailAddress, this);
    m_mail->setObjectName(QStringLiteral("Label2"));
    const QRect mailRect(54, 160, 106, 15);
    const int mailWidth = std::max(mailRect.width(), m_mail->sizeHint().width());
    m_mail->setGeometry(mailRect.center().x() + 1 - mailWidth / 2, mailRect.top(), mailWidth, mailRect.height());
    m_mail->setAlignment(Qt::AlignCenter);

    m_lines = {QString(), QString(), QStringLiteral("גירסא 2.00"), QString(),
               kCreditLine, kStreetLine, kPhoneLine, kSecondPhoneLine};
    fillMemo();
}

QString TFodot::versionLine(double version)
{
    const QLocale locale;
    const NumberSeparators separators{locale.decimalPoint().toStdString(),
                                      locale.groupSeparator().toStdString()};
    return QStringLiteral("גירסא ") + QString::fromStdString(numberStyle(version, separators));
}

void TFodot::ShowAbout(std::string_view titleWin1255, double version)
{
    m_lines[kTitleLine] = platform::toQString(titleWin1255);
    m_lines[kVersionLine] = versionLine(version);
    fillMemo();

    if (const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}

void TFodot::Label1Click()
{
    // Whether the browser could be started is not examined: a failure passes silently.
    m_openAddress((QStringLiteral("http://") + m_link->text()).toStdString());
}

void TFodot::fillMemo()
{
    m_memo->clear();
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setLayoutDirection(Qt::RightToLeft);
    QTextCursor cursor(m_memo->document());
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(centred);
        else
            cursor.setBlockFormat(centred);
        cursor.insertText(m_lines[i]);
    }
}

} // namespace about
