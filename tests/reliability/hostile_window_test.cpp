// The browser's window over hostile catalogues: built, painted, searched, clicked and
// closed, each step timed and printed. A step that hangs holds up the test until its
// time limit; one that crashes ends it.
#include "hostilefiles.h"

#include "browser/mainwindow.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/qtext.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>

using namespace browser;
using namespace reliability;

namespace {

class RecordingMessenger final : public platform::Messenger {
public:
    void show(const QString &, const QString &text, platform::MessageIcon) override { shown << text.left(200); }
    QStringList shown;
};

// A catalogue whose one entry line is 50 MB: a title and an author of 25 MB each.
std::string fiftyMegabyteEntry()
{
    std::string title(25u << 20, 'a'), author(25u << 20, '\xE0');
    for (size_t i = 0; i < title.size(); i += 7)
        title[i] = ' ';
    return hostileBooksFolder + "\r\n1\t" + title + "\ts\t" + author + "\r\n2\tb\ts\tc\r\n";
}

} // namespace

class HostileWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A row converts and lays out only what a row can show: a field of megabytes cost
    // half a minute per repaint when it was converted whole.
    void listShowsTheBeginningOfHugeFields()
    {
        const Catalogue catalogue(fiftyMegabyteEntry());
        BookListModel model(catalogue);
        model.showAllEntries();
        const QString title = model.data(model.index(0, 0), BookListModel::TitleRole).toString();
        const QString author = model.data(model.index(0, 0), BookListModel::AuthorRole).toString();
        QCOMPARE(title.size(), 4096);
        QCOMPARE(title, platform::toQString(catalogue.title(0).substr(0, 4096)));
        QCOMPARE(author, platform::toQString(catalogue.author(0).substr(0, 4096)));
        QCOMPARE(model.data(model.index(0, 0), Qt::DisplayRole).toString(), title + QLatin1Char('\t') + author);
        // Short fields are shown whole.
        QCOMPARE(model.data(model.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("b\tc"));
    }

    void windowSurvivesHostileCatalogue_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("messages");
        const auto row = [](const HostileFile &file, int entries, int messages) {
            QTest::newRow(file.name.c_str()) << QByteArray::fromStdString(file.bytes) << entries << messages;
        };
        row(onlyLineBreaks(), 40000, 1); // the lines past 40000 are told about once
        row(fiftyMegabyteLine(), 0, 0);
        row({"50 MB entry line", fiftyMegabyteEntry(), true}, 2, 0);
        row(twoHundredThousandLines(), 40000, 1);
        row(nulInTheMiddle(), 2, 0);
        row(undefinedWin1255Bytes(), 4, 0);
    }

    void windowSurvivesHostileCatalogue()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, entries);
        QFETCH(int, messages);
        QTemporaryDir root;
        qputenv("WINEPREFIX", root.filePath(QStringLiteral("wine")).toUtf8());
        const std::string dataPath = root.filePath(QStringLiteral("data.txt")).toStdString();
        platform::writeFileAtomically(dataPath, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        bytes.clear();

        QElapsedTimer clock;
        QStringList steps;
        const auto step = [&](const char *name) {
            steps << QStringLiteral("%1 %2 ms").arg(QLatin1String(name)).arg(clock.restart());
        };
        clock.start();
        DataFile dataFile(dataPath);
        RecordingMessenger messenger;
        auto window = std::make_unique<Tpdf>(dataFile, BrowserServices{messenger, {}});
        step("built");
        QCOMPARE(window->listModel().rowCount(), entries);
        QCOMPARE(messenger.shown.size(), messages);

        window->show();
        QCoreApplication::processEvents();
        auto *list = window->findChild<QListView *>(QStringLiteral("ListBox1"));
        auto *search = window->findChild<QLineEdit *>(QStringLiteral("Edit2"));
        QVERIFY(list && search);
        QVERIFY(!window->grab().isNull()); // every visible row painted
        step("painted");

        // Typing locates, a search lists its results, a click previews, Enter opens.
        QTest::keyClicks(search, QStringLiteral("a b"));
        step("typed");
        QTest::keyClick(search, Qt::Key_Return);
        QVERIFY(!window->grab().isNull());
        step("searched");
        if (list->model()->rowCount() > 0) {
            list->setCurrentIndex(list->model()->index(0, 0));
            window->ListBox1Click();
            QVERIFY(!window->previewImage().isNull());
        }
        step("previewed");
        window->Button3Click();
        QVERIFY(!window->grab().isNull());
        step("all books");
        window->close();
        step("closed");
        std::printf("  %s: %s\n", QTest::currentDataTag(), steps.join(QStringLiteral(", ")).toUtf8().constData());
    }
};

QTEST_MAIN(HostileWindowTest)
#include "hostile_window_test.moc"
