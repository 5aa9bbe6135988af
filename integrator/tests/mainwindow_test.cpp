// The copy tool's window on Qt's offscreen platform: its controls as designed, the
// folder tree list, runs started from the copy button, the error report, the about box.
#include "integrator/directorylistbox.h"
#include "integrator/mainwindow.h"

#include "platform/application.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/qtext.h"
#include "shared/aboutbox.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <filesystem>

#include <sys/stat.h>

using namespace integrator;
namespace fs = std::filesystem;

namespace {

struct Shown {
    QString caption;
    QString text;
    platform::MessageIcon icon;
};

class RecordingMessenger final : public platform::Messenger {
public:
    void show(const QString &caption, const QString &text, platform::MessageIcon icon) override
    {
        shown.push_back({caption, text, icon});
    }
    std::vector<Shown> shown;
};

void writeFile(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    platform::writeFileAtomically(path.string(), bytes);
}

template <typename T>
T *control(QWidget &window, const char *name)
{
    auto *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

std::string canonicalText(const fs::path &path)
{
    return fs::canonical(path).string();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;
    fs::path m_kit;
    fs::path m_host;
    RecordingMessenger m_messages;
    RecordingMessenger m_errors;
    std::string m_stub = std::string(3000, 's');

    platform::Application *application() { return qobject_cast<platform::Application *>(QCoreApplication::instance()); }

    std::unique_ptr<Tmain> newWindow(std::function<void(std::string_view, double)> showAbout = {})
    {
        TmainServices services;
        services.ownExecutable = (m_kit / "parvolin").string();
        services.messenger = &m_messages;
        services.showAbout = std::move(showAbout);
        auto window = std::make_unique<Tmain>(std::move(services));
        control<DirectoryListBox>(*window, "DirectoryListBox1")->setCurrentFolder(m_host.string());
        return window;
    }

    void writeList(const std::string &bytes) { writeFile(m_kit / "K נתונים.txt", bytes); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        const fs::path root = m_temp.path().toStdString();
        // No host library drive unless a test sets one up.
        qputenv("WINEPREFIX", QByteArray::fromStdString((root / "no-wine").string()));
        m_kit = root / "kit";
        m_host = root / "host";
        fs::create_directories(m_host);
        application()->setErrorMessenger(&m_errors);
    }

    void init()
    {
        fs::remove_all(m_host);
        fs::create_directories(m_host);
        writeList("G:\\\r\nA\t1\tx\r\nB\t2\ty\r\n");
        writeFile(m_kit / "K הפעלה.exe", "opener");
        writeFile(m_kit / "tessum.exe", m_stub);
        m_messages.shown.clear();
        m_errors.shown.clear();
    }

    void controlsAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("geometry"); // width 0: sized to its text, right edge kept
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("visible");

        const auto row = [](const char *name, const char *kind, QRect geometry, const QString &text, bool visible) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << geometry << text << visible;
        };
        row("Button1", "QPushButton", {232, 24, 75, 25}, QStringLiteral("העתק"), true);
        row("CheckBox1", "QCheckBox", {208, 56, 120, 17}, QStringLiteral("הוספת K"), true);
        row("DirectoryListBox1", "integrator::DirectoryListBox", {40, 40, 145, 273}, QString(), true);
        row("Label1", "QLabel", {200, 24, 0, 17}, QStringLiteral("מקום הספרים של אוצר החכמה"), true);
        row("CheckBox2", "QCheckBox", {208, 72, 120, 17}, QStringLiteral("העתקה בתיקיה"), true);
        row("Label2", "QLabel", {208, 88, 120, 17}, QStringLiteral("     נפרדת"), true);
        row("Button2", "QPushButton", {0, 344, 49, 25}, QStringLiteral("אודות"), true);
        row("Label3", "QLabel", {110, 320, 219, 41}, QStringLiteral("מחכה..."), false);
        row("Label4", "QLabel", {339, 296, 0, 17}, QStringLiteral("כעת מעתיק:"), false);
        row("Edit1", "QLineEdit", {200, 168, 121, 25}, QStringLiteral("G:\\"), true);
        row("Label5", "QLabel", {335, 8, 4, 17}, QString(), true);
        row("Label6", "QLabel", {331, 144, 0, 17}, QStringLiteral("הכונן של Kelidor"), true);
    }

    void controlsAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(bool, visible);

        auto window = newWindow();
        window->show();
        auto *widget = control<QWidget>(*window, name.toLatin1().constData());
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
        if (geometry.width() == 0) {
            QCOMPARE(widget->x() + widget->width(), geometry.left());
            QCOMPARE(widget->y(), geometry.top());
            QVERIFY(widget->width() >= widget->sizeHint().width());
        } else {
            QCOMPARE(widget->geometry(), geometry);
        }
        QString shownText;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            shownText = button->text();
        else if (auto *label = qobject_cast<QLabel *>(widget))
            shownText = label->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            shownText = edit->text();
        QCOMPARE(shownText, text);
        QCOMPARE(widget->isVisible(), visible);
        QCOMPARE(widget->layoutDirection(), name == QLatin1String("Edit1") ? Qt::LeftToRight : Qt::RightToLeft);
        if (auto *box = qobject_cast<QCheckBox *>(widget))
            QVERIFY(box->isChecked());
        if (qobject_cast<QLabel *>(widget))
            QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    }

    void windowAndTabOrder()
    {
        auto window = newWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("העתקת קבצים"));
        QCOMPARE(window->size(), QSize(350, 375));
        QCOMPARE(window->font().family(), QStringLiteral("Arial"));
        QCOMPARE(window->font().pixelSize(), 15);
        QVERIFY(control<QLabel>(*window, "Label3")->wordWrap());

        QStringList order;
        QWidget *widget = control<QWidget>(*window, "Button1");
        for (int i = 0; i < 6; ++i) {
            order << widget->objectName();
            do
                widget = widget->nextInFocusChain();
            while (!(widget->focusPolicy() & Qt::TabFocus));
        }
        QCOMPARE(order, (QStringList{QStringLiteral("Button1"), QStringLiteral("CheckBox1"),
                                     QStringLiteral("DirectoryListBox1"), QStringLiteral("CheckBox2"),
                                     QStringLiteral("Button2"), QStringLiteral("Edit1")}));
    }

    void label3KeepsItsDistanceToTheRightEdge()
    {
        auto window = newWindow();
        window->show();
        window->resize(500, 420);
        QCOMPARE(control<QLabel>(*window, "Label3")->geometry(), QRect(260, 320, 219, 41));
        QCOMPARE(control<QPushButton>(*window, "Button1")->pos(), QPoint(232, 24));
        QCOMPARE(control<QLineEdit>(*window, "Edit1")->pos(), QPoint(200, 168));
    }

    void folderListStartsAtTheHostLibraryWhenItExists()
    {
        const fs::path wine = fs::path(m_temp.path().toStdString()) / "wine";
        const fs::path library = fs::path(m_temp.path().toStdString()) / "drive_c/OTZAR/pdf";
        fs::create_directories(wine / "dosdevices");
        fs::create_directories(library);
        fs::create_directory_symlink("../../drive_c", wine / "dosdevices/c:");
        const QByteArray oldPrefix = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", QByteArray::fromStdString(wine.string()));

        Tmain atLibrary;
        QCOMPARE(control<DirectoryListBox>(atLibrary, "DirectoryListBox1")->currentFolder(), canonicalText(library));

        fs::remove_all(library);
        Tmain atWorkingFolder;
        QCOMPARE(control<DirectoryListBox>(atWorkingFolder, "DirectoryListBox1")->currentFolder(),
                 canonicalText(fs::current_path()));
        qputenv("WINEPREFIX", oldPrefix);
    }

    void folderListSingleClickHighlightsDoubleClickOpens()
    {
        for (const char *name : {"gamma", "Beta", "alpha", ".hidden", "item10", "item9"})
            fs::create_directories(m_host / name);
        writeFile(m_host / "a file", "x");

        DirectoryListBox list;
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.resize(145, 600);
        list.show();
        QVERIFY(list.setCurrentFolder(m_host.string()));
        const std::string host = canonicalText(m_host);

        QStringList names;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            names << list.model()->index(row, 0).data().toString();
        const QString hostName = QString::fromStdString(fs::path(host).filename().string());
        QCOMPARE(names.first(), QStringLiteral("/"));
        QCOMPARE(names.mid(names.indexOf(hostName) + 1),
                 (QStringList{QStringLiteral("alpha"), QStringLiteral("Beta"), QStringLiteral("gamma"),
                              QStringLiteral("item9"), QStringLiteral("item10")}));
        const int hostRow = static_cast<int>(names.indexOf(hostName));
        QCOMPARE(list.currentIndex().row(), hostRow);
        QCOMPARE(list.model()->index(hostRow + 1, 0).data(FolderTreeModel::DepthRole).toInt(),
                 list.model()->index(hostRow, 0).data(FolderTreeModel::DepthRole).toInt() + 1);

        const QModelIndex beta = list.model()->index(hostRow + 2, 0);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(beta).center());
        QCOMPARE(list.currentIndex(), beta);
        QCOMPARE(list.currentFolder(), host);

        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(beta).center());
        QCOMPARE(list.currentFolder(), host + "/Beta");
        QCOMPARE(list.model()->rowCount(), hostRow + 2);
        QCOMPARE(list.currentIndex().row(), hostRow + 1);

        // Up to the host folder with the keyboard: arrow to highlight, Enter to open.
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(list.currentFolder(), host + "/Beta");
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.currentFolder(), host);
        QCOMPARE(list.model()->rowCount(), hostRow + 6);
    }

    void copyButtonRunsIntoTheOpenedFolderNotTheHighlightedOne()
    {
        fs::create_directories(m_host / "highlighted");
        auto window = newWindow();
        window->show();
        auto *list = control<DirectoryListBox>(*window, "DirectoryListBox1");
        const QModelIndex sub = list->model()->index(list->model()->rowCount() - 1, 0);
        QCOMPARE(sub.data().toString(), QStringLiteral("highlighted"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(sub).center());

        QTest::mouseClick(control<QPushButton>(*window, "Button1"), Qt::LeftButton);

        QCOMPARE(platform::readWholeFile((m_host / "kelidor/K B.exe").string()), m_stub);
        QCOMPARE(platform::readWholeFile((m_host / "kelidor/K נתונים.txt").string()),
                 std::string("G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\\r\nA\t1\tx\r\nB\t2\ty\r\n"));
        QVERIFY(!fs::exists(m_host / "highlighted/kelidor"));
        QCOMPARE(list->model()->index(list->model()->rowCount() - 1, 0).data().toString(), QStringLiteral("kelidor"));
        QCOMPARE(list->currentFolder(), canonicalText(m_host));
        auto *book = control<QLabel>(*window, "Label3");
        QVERIFY(book->isVisible());
        QCOMPARE(book->text(), QStringLiteral("B"));
        QVERIFY(control<QLabel>(*window, "Label4")->isVisible());
        QCOMPARE(control<QProgressBar>(*window, "RunProgress")->text(), QStringLiteral("2 מתוך 2"));
        QVERIFY(m_messages.shown.empty());
        QVERIFY(m_errors.shown.empty());
    }

    void optionsAndDriveTextReachTheRun()
    {
        auto window = newWindow();
        control<QCheckBox>(*window, "CheckBox1")->setChecked(false);
        control<QCheckBox>(*window, "CheckBox2")->setChecked(false);
        auto *drive = control<QLineEdit>(*window, "Edit1");
        drive->clear();
        QTest::keyClicks(drive, QStringLiteral("H:"));
        QTest::mouseClick(control<QPushButton>(*window, "Button1"), Qt::LeftButton);
        QCOMPARE(platform::readWholeFile((m_host / "A.exe").string()), m_stub);
        QCOMPARE(platform::readWholeFile((m_host / "K נתונים.txt").string()).substr(0, 8), std::string("H:kdapp\\"));
        QVERIFY(!fs::exists(m_host / "kelidor"));
        // A run resets nothing.
        QVERIFY(!control<QCheckBox>(*window, "CheckBox1")->isChecked());
        QCOMPARE(drive->text(), QStringLiteral("H:"));
    }

    void bookLabelWaitsUntilTheFirstStubAndKeepsTheLastName()
    {
        auto window = newWindow();
        auto *button = control<QPushButton>(*window, "Button1");
        auto *book = control<QLabel>(*window, "Label3");
        writeList("G:\\\r\n");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(book->isVisibleTo(window.get()));
        QCOMPARE(book->text(), QStringLiteral("מחכה..."));
        QCOMPARE(control<QProgressBar>(*window, "RunProgress")->text(), QStringLiteral("0 מתוך 0"));

        writeList("G:\\\r\nsub\\\xE1\xF8\xE0\xF9\xE9\xFA\t1\r\n"); // sub\בראשית
        fs::create_directories(m_host / "kelidor/K sub");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(book->text(), QStringLiteral("בראשית"));

        writeList("G:\\\r\n");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(book->text(), QStringLiteral("בראשית"));
    }

    void failuresAreReportedAndTheWindowStaysUsable()
    {
        auto window = newWindow();
        auto *button = control<QPushButton>(*window, "Button1");

        fs::remove(m_kit / "K הפעלה.exe");
        fs::remove(m_kit / "tessum.exe");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_messages.shown.size(), size_t{1});
        QVERIFY(m_messages.shown[0].text.startsWith(QStringLiteral("אין אפשרות להעתיק את ")));
        QVERIFY(m_messages.shown[0].text.endsWith(QStringLiteral("\nהעתק אותו ידנית")));
        QCOMPARE(m_messages.shown[0].caption, QGuiApplication::applicationDisplayName());
        QCOMPARE(m_errors.shown.size(), size_t{1});
        QVERIFY(m_errors.shown[0].text.contains(QString::fromStdString((m_kit / "tessum.exe").string())));
        QVERIFY(fs::exists(m_host / "kelidor/K נתונים.txt"));
        QVERIFY(!fs::exists(m_host / "kelidor/K A.exe"));

        // The next press runs again, in full.
        writeFile(m_kit / "tessum.exe", m_stub);
        writeList("G:\\\r\nA\t1\r\n..\\out\t2\r\nC\t3\r\n");
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_errors.shown.size(), size_t{2});
        QVERIFY(m_errors.shown[1].text.contains(QStringLiteral("\"..\\out\"")));
        QCOMPARE(m_errors.shown[1].icon, platform::MessageIcon::Stop);
        QCOMPARE(control<QLabel>(*window, "Label3")->text(), QStringLiteral("A"));
        QCOMPARE(control<QProgressBar>(*window, "RunProgress")->text(), QStringLiteral("1 מתוך 3"));
        QVERIFY(!fs::exists(m_host / "out.exe"));
        QVERIFY(!fs::exists(m_host / "kelidor/K C.exe"));
    }

    // A folder name the code page cannot hold would send the run to a "?" folder.
    void foldersTheCodePageCannotNameAreRefused()
    {
        const fs::path russian = m_host / "книги";
        fs::create_directories(russian);
        auto window = newWindow();
        control<DirectoryListBox>(*window, "DirectoryListBox1")->setCurrentFolder(russian.string());
        QTest::mouseClick(control<QPushButton>(*window, "Button1"), Qt::LeftButton);
        QCOMPARE(m_errors.shown.size(), size_t{1});
        QVERIFY(m_errors.shown[0].text.contains(QString::fromStdString(canonicalText(russian))));
        QCOMPARE(std::distance(fs::directory_iterator(m_host), fs::directory_iterator()), 1);
        QVERIFY(fs::is_empty(russian));
    }

    void aboutButtonShowsTheBoxWithTheToolsTitle()
    {
        about::TFodot *box = nullptr;
        auto window = newWindow([&box](std::string_view title, double version) { box->ShowAbout(title, version); });
        about::TFodot aboutBox(window.get());
        box = &aboutBox;
        control<QCheckBox>(*window, "CheckBox2")->setChecked(false);
        control<QLineEdit>(*window, "Edit1")->setText(QStringLiteral("F:\\"));

        QStringList lines;
        QTimer::singleShot(0, &aboutBox, [&] {
            lines = aboutBox.findChild<QTextEdit *>(QStringLiteral("Memo1"))->toPlainText().split(QLatin1Char('\n'));
            aboutBox.close();
        });
        QTest::mouseClick(control<QPushButton>(*window, "Button2"), Qt::LeftButton);
        QCOMPARE(lines.value(0), QStringLiteral("העתקת קבצי Kelidor"));
        QCOMPARE(lines.value(2), QStringLiteral("גירסא 1.00"));
        QVERIFY(!control<QCheckBox>(*window, "CheckBox2")->isChecked());
        QVERIFY(control<QCheckBox>(*window, "CheckBox1")->isChecked());
        QCOMPARE(control<QLineEdit>(*window, "Edit1")->text(), QStringLiteral("F:\\"));
        QVERIFY(!control<QLabel>(*window, "Label3")->isVisibleTo(window.get()));
    }
};

int main(int argc, char *argv[])
{
    platform::Application application(argc, argv);
    application.setTitle(QStringLiteral("parvolin"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mainwindow_test.moc"
