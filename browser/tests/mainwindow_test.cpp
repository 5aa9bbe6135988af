// The main window on Qt's offscreen platform, with a temporary data.txt and drive table.
#include "browser/tests/recordingmessenger.h"
#include "browser/mainwindow.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace browser;
using browser::testing::RecordingMessenger;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    std::string m_data;
    RecordingMessenger m_messenger;

    std::string path(const char *name) const { return (m_root.path() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }
    void addDrive(char letter)
    {
        const std::string target = path("drive_") + letter;
        platform::forceDirectories(target + "/books");
        QFile::link(QString::fromStdString(target),
                    QString::fromStdString(path("dosdevices/") + char(letter - 'A' + 'a') + ":"));
    }
    std::unique_ptr<Tpdf> open(DataFile &data) { return std::make_unique<Tpdf>(data, BrowserServices{m_messenger, {}}); }

private Q_SLOTS:
    void init()
    {
        QDir(m_root.path()).removeRecursively();
        QDir().mkpath(m_root.path() + QStringLiteral("/dosdevices"));
        qputenv("WINEPREFIX", m_root.path().toUtf8());
        m_data = path("data.txt");
    }

    void controlsAtTheirDesignPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("visible");
        QTest::newRow("Button1") << u("Button1") << QRect(152, 512, 75, 25) << u("פתח") << false;
        QTest::newRow("Button2") << u("Button2") << QRect(168, 24, 75, 25) << u("חפש") << true;
        QTest::newRow("Button3") << u("Button3") << QRect(464, 24, 75, 25) << u("כל הספרים") << true;
        QTest::newRow("Button4") << u("Button4") << QRect(0, 480, 41, 25) << u("אודות") << false;
        QTest::newRow("Button5") << u("Button5") << QRect(48, 492, 75, 25) << u("הורדת ספר") << true;
        // Shown, the window lays out its list and preview panel for its client area of 1238 x 562.
        QTest::newRow("ListBox1") << u("ListBox1") << QRect(80, 104, 669, 383) << QString() << true;
        QTest::newRow("Edit2") << u("Edit2") << QRect(248, 24, 161, 23) << QString() << true;
        QTest::newRow("RadioButton1") << u("RadioButton1") << QRect(48, 24, 113, 17) << u("חיפוש בספרים") << true;
        QTest::newRow("RadioButton2") << u("RadioButton2") << QRect(48, 40, 113, 17) << u("חיפוש במחברים") << true;
        QTest::newRow("Panel1") << u("Panel1") << QRect(829, 36, 329, 489) << QString() << true;
        QTest::newRow("PaintBox1") << u("PaintBox1") << QRect(1, 1, 327, 425) << QString() << true;
        QTest::newRow("Edit1") << u("Edit1") << QRect(0, 460, 321, 21) << QString() << true;
    }

    void controlsAtTheirDesignPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QFETCH(bool, visible);
        platform::writeFileAtomically(m_data, "\\tmp\\\n");
        DataFile data(m_data);
        auto window = open(data);
        window->show();
        auto *control = window->findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->isVisible(), visible);
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            QCOMPARE(button->text(), caption);
    }

    void windowCaptionsMenusAndHeadings()
    {
        platform::writeFileAtomically(m_data, "\\tmp\\\n");
        DataFile data(m_data);
        auto window = open(data);
        QCOMPARE(window->windowTitle(), u("פתיחת ספרים"));
        QCOMPARE(window->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(window->centralWidget()->size(), QSize(1238, 562));
        QCOMPARE(window->findChild<QLabel *>(u("Label1"))->text(), u("שם הספר"));
        QCOMPARE(window->findChild<QLabel *>(u("Label2"))->text(), u("שם המחבר"));
        QCOMPARE(window->findChild<QLabel *>(u("Label3"))->text(), u("הספרים נמצאים בתיקיה:"));
        QStringList menu;
        for (QAction *top : window->menuBar()->actions()) {
            menu << top->text();
            if (top->menu())
                for (QAction *item : top->menu()->actions())
                    menu << QStringLiteral("  ") + item->text();
        }
        QCOMPARE(menu, (QStringList{u("תצוגה"), u("  גופן"), u("  רקע"), u("אודות")}));
        QVERIFY(window->findChild<QRadioButton *>(u("RadioButton1"))->isChecked());
        QVERIFY(!window->findChild<QRadioButton *>(u("RadioButton2"))->isChecked());
        QCOMPARE(window->findChild<QLineEdit *>(u("Edit1"))->layoutDirection(), Qt::LeftToRight);
    }

    void aboutFromTheMenuAndTheHiddenButton()
    {
        platform::writeFileAtomically(m_data, "\\tmp\\\n");
        DataFile data(m_data);
        QStringList shown;
        Tpdf window(data, BrowserServices{m_messenger, [&shown](const std::string &title, double version) {
                                              shown << QString::fromStdString(title) + QLatin1Char(' ')
                                                      + QString::number(version, 'f', 2);
                                          }});
        window.findChild<QAction *>(u("N3"))->trigger();
        window.findChild<QPushButton *>(u("Button4"))->click();
        QCOMPARE(shown, (QStringList{u("Ondarel 1.00"), u("Ondarel 1.00")}));
    }

    void tabOrderPassesOverHiddenAndUncheckedControls()
    {
        platform::writeFileAtomically(m_data, "\\tmp\\\n1\ta\ts\tb\n");
        DataFile data(m_data);
        auto window = open(data);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto *list = window->findChild<QWidget *>(u("ListBox1"));
        list->setFocus();
        QStringList order;
        for (int i = 0; i < 6; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, (QStringList{u("ListBox1"), u("Edit2"), u("Button2"), u("RadioButton1"), u("Button3"), u("Button5")}));
        QCOMPARE(QApplication::focusWidget()->objectName(), u("ListBox1"));
    }

    void listShowsEveryBookAsTitleTabAuthor()
    {
        platform::writeFileAtomically(m_data, "\\tmp\\\r\n5\t\xE0\xE1\tsub\t\xE2\xE3\r\n\r\n9\tZ\tq\tW\r\n");
        DataFile data(m_data);
        auto window = open(data);
        const auto &model = window->listModel();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(0).data().toString(), u("אב\tגד"));
        QCOMPARE(model.index(1).data().toString(), u("\t"));
        QCOMPARE(model.index(2).data().toString(), u("Z\tW"));
        QCOMPARE(model.rowEntry(), (std::vector<std::int32_t>{0, 1, 2}));
        QVERIFY(window->allBooksShown());
        auto *list = window->findChild<QListView *>(u("ListBox1"));
        QVERIFY(list->selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(list->currentIndex().row(), 0);
        QCOMPARE(window->findChild<QLineEdit *>(u("Edit1"))->text(), u("\\tmp\\"));
        QAbstractItemModelTester tester(const_cast<BookListModel *>(&model),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m_messenger.shown, QStringList());
    }

    void tooManyBooksAreToldOnceAndTheRestListed()
    {
        std::string bytes = "\\tmp\\\n";
        for (int k = 0; k < MaxEntries + 3; ++k)
            bytes += std::to_string(k) + "\tt\ts\ta\n";
        platform::writeFileAtomically(m_data, bytes);
        DataFile data(m_data);
        auto window = open(data);
        QCOMPARE(window->listModel().rowCount(), MaxEntries);
        QCOMPARE(m_messenger.shown.size(), 1);
        QVERIFY2(m_messenger.shown.front().startsWith(u("Ondarel|")), qPrintable(m_messenger.shown.front()));
        QVERIFY2(m_messenger.shown.front().contains(u(": 3 ")), qPrintable(m_messenger.shown.front()));
        m_messenger.shown.clear();
    }

    void rowsReadRightToLeft()
    {
        platform::writeFileAtomically(m_data, "\\tmp\\\n1\t\xF1\xF4\xF8 \xE1\xF8\xE0\xF9\xE9\xFA\ts\t\xEE\xF9\xE4\n");
        DataFile data(m_data);
        auto window = open(data);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto *list = window->findChild<QListView *>(u("ListBox1"));
        const QRect row = list->visualRect(list->model()->index(0, 0));
        const QImage picture = list->viewport()->grab(row).toImage();
        // The title starts at the row's right edge; the far left stays empty.
        int leftmostInk = picture.width(), rightmostInk = -1;
        for (int x = 0; x < picture.width(); ++x)
            for (int y = 0; y < picture.height(); ++y)
                if (qGray(picture.pixel(x, y)) < 128) {
                    leftmostInk = std::min(leftmostInk, x);
                    rightmostInk = std::max(rightmostInk, x);
                }
        QVERIFY2(rightmostInk > picture.width() - 15, "the title does not start at the right edge");
        QVERIFY2(leftmostInk > picture.width() / 4, "text stands at the left");
    }

    void closingWritesDataOnlyForAFolderFoundOnEFG_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::addColumn<bool>("written");
        QTest::newRow("not edited") << QString() << false;
        QTest::newRow("another existing folder") << u("D:\\books\\") << false;
        QTest::newRow("missing drive, found on F") << u("X:\\books\\") << true;
        QTest::newRow("nothing found") << u("X:\\nowhere\\") << false;
    }

    void closingWritesDataOnlyForAFolderFoundOnEFG()
    {
        QFETCH(QString, edited);
        QFETCH(bool, written);
        addDrive('D');
        addDrive('F');
        const std::string original = "D:\\books\\\n1\tt\ts\ta\n";
        platform::writeFileAtomically(m_data, original);
        DataFile data(m_data);
        auto window = open(data);
        window->show();
        if (!edited.isEmpty())
            window->findChild<QLineEdit *>(u("Edit1"))->setText(edited);
        window->close();
        QCOMPARE(QString::fromStdString(platform::readWholeFile(m_data)),
                 QString::fromStdString(written ? "F:\\books\\\r\n1\tt\ts\ta\r\n" : original));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
