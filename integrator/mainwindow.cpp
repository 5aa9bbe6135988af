#include "mainwindow.h"

#include "directorylistbox.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/qtext.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <exception>

namespace integrator {
namespace {

// The client area inside the designed outer size of 358 x 409.
constexpr QSize kClientSize(350, 375);
// Redraws of the progress during a run: one per screen refresh is all anyone sees.
constexpr qint64 kRedrawIntervalMs = 16;

// The book label and the run's progress keep their distance to the right edge.
constexpr int kBookLabelRightMargin = 350 - (110 + 219);
constexpr QRect kBookLabelRect(110, 320, 219, 41);
constexpr QRect kProgressRect(200, 272, 129, 17);

const QString kAboutTitle = QStringLiteral("העתקת קבצי Kelidor");
constexpr double kVersion = 1.0;

QFont arial(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    return font;
}

QLabel *fixedLabel(const QString &name, const QString &text, QRect geometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter); // the reading side: right
    return label;
}

// A label that sizes itself to its text; right to left, it keeps its right edge.
QLabel *autoSizedLabel(const QString &name, const QString &text, QRect designed, QWidget *parent)
{
    QLabel *label = fixedLabel(name, text, designed, parent);
    const QSize natural = label->sizeHint();
    label->setGeometry(designed.right() + 1 - natural.width(), designed.top(), natural.width(),
                       std::max(natural.height(), designed.height()));
    return label;
}

// The run's Windows form of a native folder or file. A name that the code page cannot
// hold (or one holding a backslash) would come back as another path, and the run would
// read or write somewhere the user did not choose: such a path is refused.
std::string windowsFormOf(const std::string &nativePath)
{
    std::string windowsPath = platform::toWindowsPath(nativePath);
    if (platform::toNativePath(windowsPath) != nativePath)
        throw CopyRunError("שם התיקיה מכיל תווים שהתוכנה אינה יכולה לכתוב: " + nativePath);
    return windowsPath;
}

} // namespace

Tmain::Tmain(TmainServices services, QWidget *parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_run(m_files, *this)
{
    if (!m_services.messenger) {
        m_ownMessenger = std::make_unique<platform::DesktopMessenger>(this);
        m_services.messenger = m_ownMessenger.get();
    }

    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("העתקת קבצים"));
    setLayoutDirection(Qt::RightToLeft);
    setFont(arial(15));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    resize(kClientSize);

    m_copyButton = new QPushButton(QStringLiteral("העתק"), this);
    m_copyButton->setObjectName(QStringLiteral("Button1"));
    m_copyButton->setGeometry(232, 24, 75, 25);
    connect(m_copyButton, &QPushButton::clicked, this, &Tmain::Button1Click);

    m_prefixBox = new QCheckBox(QStringLiteral("הוספת K"), this);
    m_prefixBox->setObjectName(QStringLiteral("CheckBox1"));
    m_prefixBox->setGeometry(208, 56, 120, 17);
    m_prefixBox->setChecked(true);

    m_folderList = new DirectoryListBox(this);
    m_folderList->setObjectName(QStringLiteral("DirectoryListBox1"));
    m_folderList->setGeometry(40, 40, 145, 273);

    autoSizedLabel(QStringLiteral("Label1"), QStringLiteral("מקום הספרים של אוצר החכמה"), {23, 24, 177, 17}, this);

    m_subFolderBox = new QCheckBox(QStringLiteral("העתקה בתיקיה"), this);
    m_subFolderBox->setObjectName(QStringLiteral("CheckBox2"));
    m_subFolderBox->setGeometry(208, 72, 120, 17);
    m_subFolderBox->setChecked(true);

    fixedLabel(QStringLiteral("Label2"), QStringLiteral("     נפרדת"), {208, 88, 120, 17}, this);

    m_aboutButton = new QPushButton(QStringLiteral("אודות"), this);
    m_aboutButton->setObjectName(QStringLiteral("Button2"));
    m_aboutButton->setGeometry(0, 344, 49, 25);
    connect(m_aboutButton, &QPushButton::clicked, this, &Tmain::Button2Click);

    m_bookLabel = fixedLabel(QStringLiteral("Label3"), QStringLiteral("מחכה..."), kBookLabelRect, this);
    m_bookLabel->setWordWrap(true);
    m_bookLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_bookLabel->hide();

    m_nowCopyingLabel = autoSizedLabel(QStringLiteral("Label4"), QStringLiteral("כעת מעתיק:"), {268, 296, 71, 17}, this);
    m_nowCopyingLabel->hide();

    m_driveEdit = new QLineEdit(QStringLiteral("G:\\"), this);
    m_driveEdit->setObjectName(QStringLiteral("Edit1"));
    m_driveEdit->setGeometry(200, 168, 121, 25);
    m_driveEdit->setLayoutDirection(Qt::LeftToRight);

    fixedLabel(QStringLiteral("Label5"), QString(), {335, 8, 4, 17}, this);
    autoSizedLabel(QStringLiteral("Label6"), QStringLiteral("הכונן של Kelidor"), {188, 144, 143, 17}, this);

    // How far a run is, in the free space beside the book label.
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("RunProgress"));
    m_progress->setGeometry(kProgressRect);
    m_progress->setFont(arial(11));
    m_progress->setTextVisible(true);
    m_progress->setAlignment(Qt::AlignCenter);
    m_progress->hide();

    setTabOrder(m_copyButton, m_prefixBox);
    setTabOrder(m_prefixBox, m_folderList);
    setTabOrder(m_folderList, m_subFolderBox);
    setTabOrder(m_subFolderBox, m_aboutButton);
    setTabOrder(m_aboutButton, m_driveEdit);

    const std::string defaultFolder(kDefaultHostFolder);
    if (platform::windowsFolderExists(defaultFolder))
        m_folderList->setCurrentFolder(*platform::toNativePath(defaultFolder));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Tmain::~Tmain() = default;

// A failure must not leave the handler: Qt leaves an exception that crosses its signal
// delivery undefined. The run's failures go to the application's general error report.
void Tmain::Button1Click()
{
    try {
        const std::string ownExecutable =
            m_services.ownExecutable.empty() ? platform::ownExecutablePath() : m_services.ownExecutable;
        CopyRunSettings settings;
        settings.ownExecutable = windowsFormOf(ownExecutable);
        settings.chosenFolder = windowsFormOf(m_folderList->currentFolder());
        settings.addStubPrefix = m_prefixBox->isChecked();
        settings.intoSubFolder = m_subFolderBox->isChecked();
        settings.collectionDrive = platform::toWin1255(m_driveEdit->text());
        m_run.run(settings);
    } catch (const std::exception &error) {
        // The run ends here; the progress shows the last stub written before the box.
        redrawProgress(m_written, m_count);
        reportError(QString::fromUtf8(error.what()));
    } catch (...) {
        redrawProgress(m_written, m_count);
        reportError(QStringLiteral("שגיאה לא ידועה"));
    }
    m_folderList->refresh(); // a new "kelidor" folder shows
}

void Tmain::Button2Click()
{
    if (m_services.showAbout)
        m_services.showAbout(platform::toWin1255(kAboutTitle), kVersion);
}

void Tmain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int right = width() - kBookLabelRightMargin;
    m_bookLabel->move(right - kBookLabelRect.width(), kBookLabelRect.top());
    m_progress->move(right - kProgressRect.width(), kProgressRect.top());
}

void Tmain::showMessage(const std::string &text)
{
    m_services.messenger->show(caption(), platform::fromUtf8(text), platform::MessageIcon::None);
}

void Tmain::stubsStarting(std::size_t count)
{
    m_written = 0;
    m_count = count;
    m_bookLabel->show();
    m_nowCopyingLabel->show();
    m_progress->show();
    m_nowCopyingLabel->repaint();
    redrawProgress(0, count);
}

void Tmain::stubWritten(std::string_view shownName, std::size_t written, std::size_t count)
{
    m_bookLabel->setText(platform::toQString(shownName));
    m_written = written;
    if (written == count || m_sinceRedraw.hasExpired(kRedrawIntervalMs))
        redrawProgress(written, count);
}

void Tmain::redrawProgress(std::size_t written, std::size_t count)
{
    if (m_progress->isHidden())
        return;
    const QLocale locale;
    m_progress->setRange(0, static_cast<int>(std::max<std::size_t>(count, 1)));
    m_progress->setValue(static_cast<int>(written));
    m_progress->setFormat(QStringLiteral("%1 מתוך %2").arg(locale.toString(static_cast<qulonglong>(written)),
                                                           locale.toString(static_cast<qulonglong>(count))));
    m_bookLabel->repaint();
    m_progress->repaint();
    m_sinceRedraw.start();
}

void Tmain::reportError(const QString &text)
{
    if (auto *application = qobject_cast<platform::Application *>(QCoreApplication::instance()))
        application->reportError(text);
    else
        m_services.messenger->show(caption(), text, platform::MessageIcon::Stop);
}

QString Tmain::caption() const
{
    return QGuiApplication::applicationDisplayName();
}

} // namespace integrator
