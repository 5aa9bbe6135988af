// The window's search box, locate-as-you-type, preview and opening, on Qt's offscreen
// platform, with a recording xdg-open first on PATH.
#include "jpegfixture.h"

#include "browser/tests/recordingmessenger.h"
#include "browser/mainwindow.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/winpath.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace browser;
using namespace browser::testing;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

struct Book {
    int id;
    std::string title, subfolder, author;
    QColor thumbnail; // invalid: the book has no thumbnail
};

// Sorted by title, bytes compared unsigned. Rows 5 to 64 are fillers without thumbnails,
// so that the list can scroll; the last book lies in a Hebrew subfolder.
std::vector<Book> collection()
{
    std::vector<Book> books = {
        {10, "apple pie", "s1", "Baker", QColor(255, 0, 0)},
        {11, "apple tart", "s1", "Smith", QColor(0, 255, 0)},
        {12, "banana", "s2", "Baker", QColor(0, 0, 255)},
        {13, "cherry pie", "s2", "Jones", {}},
        {14, "date", "s2", "Smith", {}},
    };
    for (int i = 0; i < 60; ++i)
        books.push_back({100 + i, "fig " + std::to_string(100 + i), "s3", "Filler", {}});
    books.push_back({7, "\xE1\xF8\xE0\xF9\xE9\xFA", "\xF1\xF4\xF8", "\xEE\xF9\xE4", QColor(255, 255, 0)});
    return books;
}

const QColor magenta(255, 0, 255);

} // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    RecordingMessenger m_messenger;
    std::unique_ptr<DataFile> m_data;
    std::unique_ptr<Tpdf> m_window;
    QByteArray m_originalPath = qgetenv("PATH");

    std::string native(const QString &relative) const { return (m_root.path() + QLatin1Char('/') + relative).toStdString(); }
    std::string booksFolder() const { return platform::toWindowsPath(native(QStringLiteral("books"))) + '\\'; }
    std::string pdfOf(const Book &book) const
    {
        return native(QStringLiteral("books/") + QString::fromStdString(platform::toNativePath(book.subfolder).value())
                      + QLatin1Char('/') + QString::number(book.id) + QStringLiteral(".pdf"));
    }
    std::string thumbnailOf(const Book &book) const
    {
        return native(QStringLiteral("books/") + QString::fromStdString(platform::toNativePath(book.subfolder).value())
                      + QStringLiteral("/thumbs/") + QString::number(book.id) + QStringLiteral(".jpg"));
    }
    void writeThumbnail(const Book &book, const QColor &colour)
    {
        QImage picture(200, 300, QImage::Format_RGB32);
        picture.fill(colour);
        const std::string path = thumbnailOf(book);
        platform::forceDirectories(path.substr(0, path.rfind('/')));
        platform::writeFileAtomically(path, encodeJpeg(picture, JpegKind::Baseline));
    }

    static void writePdf(const std::string &path)
    {
        platform::forceDirectories(path.substr(0, path.rfind('/')));
        platform::writeFileAtomically(path, "%PDF-1.4\n%%EOF\n");
    }

    void openWindow(const std::vector<Book> &books)
    {
        std::string bytes = booksFolder() + "\r\n";
        for (const Book &book : books) {
            bytes += std::to_string(book.id) + '\t' + book.title + '\t' + book.subfolder + '\t' + book.author + "\r\n";
            writePdf(pdfOf(book));
            if (book.thumbnail.isValid())
                writeThumbnail(book, book.thumbnail);
        }
        platform::forceDirectories(native(QStringLiteral("books")));
        platform::writeFileAtomically(native(QStringLiteral("data.txt")), bytes);
        m_data = std::make_unique<DataFile>(native(QStringLiteral("data.txt")));
        m_window = std::make_unique<Tpdf>(*m_data, BrowserServices{m_messenger, {}});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    template <typename Control>
    Control *control(const char *name) const
    {
        auto *found = m_window->findChild<Control *>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }
    QListView *list() const { return control<QListView>("ListBox1"); }
    QLineEdit *searchBox() const { return control<QLineEdit>("Edit2"); }
    QWidget *previewBox() const { return control<QWidget>("PaintBox1"); }
    int currentRow() const { return list()->currentIndex().row(); }
    int topRow() const { return list()->indexAt(QPoint(list()->viewport()->width() / 2, 1)).row(); }
    QPoint rowCentre(int row) const { return list()->visualRect(list()->model()->index(row, 0)).center(); }
    // Mouse input through the window system, as a real mouse gives it: press and release,
    // and for a double click the second press turned into a double click.
    QPoint inWindow(QWidget *widget, QPoint point) const { return widget->mapTo(m_window.get(), point); }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, modifiers, inWindow(list()->viewport(), rowCentre(row)));
    }
    void doubleClick(QWidget *widget, QPoint point)
    {
        QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {}, inWindow(widget, point));
    }

    // What the preview area shows, painted the way a repaint paints it.
    QColor previewColour() const { return previewBox()->grab().toImage().pixelColor(163, 212); }
    bool previewShows(const QColor &colour) const
    {
        const QImage shown = previewBox()->grab().toImage();
        for (const QPoint point : {QPoint(2, 2), QPoint(163, 212), QPoint(324, 422)}) {
            const QColor seen = shown.pixelColor(point);
            if (std::abs(seen.red() - colour.red()) > 30 || std::abs(seen.green() - colour.green()) > 30
                || std::abs(seen.blue() - colour.blue()) > 30)
                return false;
        }
        return shown.size() == QSize(327, 425);
    }
    bool previewShowsNotice() const
    {
        const QImage shown = previewBox()->grab().toImage();
        int red = 0;
        for (int x = 0; x < shown.width(); ++x)
            for (int y = shown.height() / 2 - 20; y < shown.height() / 2 + 20; ++y)
                red += shown.pixelColor(x, y) == QColor(255, 0, 0);
        return shown.pixelColor(2, 2) == QColor(Qt::white) && shown.pixelColor(324, 422) == QColor(Qt::white) && red > 50;
    }
    bool previewIsWhite() const
    {
        const QImage shown = previewBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return true;
    }

    QString openedFile() const { return m_root.path() + QStringLiteral("/opened.txt"); }
    QStringList opened() const
    {
        QFile file(openedFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // xdg-open runs on its own: wait for the first file, then a little for any further one.
    QStringList waitForOpened(int expected)
    {
        QDeadlineTimer deadline(5000);
        while (opened().size() < expected && !deadline.hasExpired())
            QTest::qWait(20);
        QTest::qWait(300);
        return opened();
    }
    static QString utf8(const std::string &text) { return QString::fromStdString(text); }

private Q_SLOTS:
    void init()
    {
        QDir(m_root.path()).removeRecursively();
        QDir().mkpath(m_root.path() + QStringLiteral("/dosdevices"));
        QDir().mkpath(m_root.path() + QStringLiteral("/bin"));
        qputenv("WINEPREFIX", m_root.path().toUtf8());
        const QString recorder = m_root.path() + QStringLiteral("/bin/xdg-open");
        platform::writeFileAtomically(recorder.toStdString(),
                                      "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + openedFile().toStdString() + "'\n");
        QFile::setPermissions(recorder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_root.path() + QStringLiteral("/bin:")) + m_originalPath);
        m_messenger.shown.clear();
    }

    void cleanup()
    {
        m_window.reset();
        m_data.reset();
        qputenv("PATH", m_originalPath);
    }

    void enterInTheSearchBoxShowsTheMatches_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    }

    void enterInTheSearchBoxShowsTheMatches()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        const auto books = collection();
        openWindow(books);
        QTest::keyClicks(searchBox(), QStringLiteral("pie"));
        QTest::keyClick(searchBox(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_window->listModel().rowEntry(), (std::vector<std::int32_t>{0, 3}));
        QCOMPARE(m_window->listModel().index(1).data().toString(), u("cherry pie\tJones"));
        QVERIFY(!m_window->allBooksShown());
        QCOMPARE(currentRow(), 0);
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
        QVERIFY(previewShows(books[0].thumbnail));
        QCOMPARE(m_messenger.shown, QStringList());
    }

    void searchButtonSearchesTheChosenField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("inAuthors");
        QTest::addColumn<std::vector<std::int32_t>>("rows");
        QTest::addColumn<QColor>("preview"); // of the first result
        QTest::newRow("titles") << u("apple") << false << std::vector<std::int32_t>{0, 1} << QColor(255, 0, 0);
        QTest::newRow("authors") << u("Smith") << true << std::vector<std::int32_t>{1, 4} << QColor(0, 255, 0);
        QTest::newRow("Hebrew author, Hebrew subfolder") << u("משה") << true << std::vector<std::int32_t>{65}
                                                         << QColor(255, 255, 0);
        QTest::newRow("words in either order") << u("pie cherry") << false << std::vector<std::int32_t>{3}
                                               << QColor();
    }

    void searchButtonSearchesTheChosenField()
    {
        QFETCH(QString, text);
        QFETCH(bool, inAuthors);
        QFETCH(std::vector<std::int32_t>, rows);
        QFETCH(QColor, preview);
        openWindow(collection());
        if (inAuthors)
            QTest::mouseClick(control<QRadioButton>("RadioButton2"), Qt::LeftButton);
        searchBox()->setText(text);
        QTest::mouseClick(control<QPushButton>("Button2"), Qt::LeftButton);
        QCOMPARE(m_window->listModel().rowEntry(), rows);
        QCOMPARE(currentRow(), 0);
        QVERIFY(preview.isValid() ? previewShows(preview) : previewShowsNotice());
    }

    void anEmptySearchChangesNothing()
    {
        openWindow(collection());
        QTest::mouseClick(control<QPushButton>("Button2"), Qt::LeftButton);
        QTest::keyClick(searchBox(), Qt::Key_Return);
        QCOMPARE(m_window->listModel().rowCount(), 66);
        QVERIFY(m_window->allBooksShown());
        QCOMPARE(m_messenger.shown, QStringList());
        QVERIFY(previewIsWhite());
    }

    void aSearchWithoutResultRestoresAllBooksAtTheNearestTitle()
    {
        const auto books = collection();
        openWindow(books);
        QTest::mouseClick(control<QRadioButton>("RadioButton2"), Qt::LeftButton);
        searchBox()->setText(u("cherry"));  // a title, not an author
        QTest::keyClick(searchBox(), Qt::Key_Return);
        QCOMPARE(m_messenger.shown, QStringList{u("Ondarel|לא נמצאה כל תוצאה")});
        QCOMPARE(m_window->listModel().rowCount(), 66);
        QVERIFY(m_window->allBooksShown());
        QCOMPARE(currentRow(), 3); // "cherry pie"
        QCOMPARE(topRow(), 3);
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
        QVERIFY(previewShowsNotice()); // the book has no thumbnail

        // The list follows typing again.
        searchBox()->clear();
        QTest::keyClicks(searchBox(), QStringLiteral("b"));
        QCOMPARE(currentRow(), 2);
        QVERIFY(previewShows(books[2].thumbnail));
    }

    void keysInTheSearchBoxLocateTheNearestTitle()
    {
        const auto books = collection();
        openWindow(books);
        // Keys that do not change the text locate all the same.
        searchBox()->setText(u("ban"));
        QTest::keyClick(searchBox(), Qt::Key_Left);
        QCOMPARE(currentRow(), 2);
        QCOMPARE(topRow(), 2);
        QVERIFY(previewShows(books[2].thumbnail));
        searchBox()->setText(u("apple t"));
        QTest::keyClick(searchBox(), Qt::Key_Shift);
        QCOMPARE(currentRow(), 1);
        QVERIFY(previewShows(books[1].thumbnail));
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());

        // After every title: the last book, the list scrolled to its end.
        searchBox()->setText(u("ת"));
        QTest::keyClick(searchBox(), Qt::Key_End);
        QCOMPARE(currentRow(), 65);
        const QRect lastRow = list()->visualRect(list()->model()->index(65, 0));
        QVERIFY(lastRow.top() >= 0 && lastRow.bottom() <= list()->viewport()->height());
        QCOMPARE(list()->verticalScrollBar()->value(), list()->verticalScrollBar()->maximum());
        QVERIFY(list()->verticalScrollBar()->maximum() > 0);
        QVERIFY(previewShows(books[65].thumbnail));

        // Erased: row 0 at the top.
        searchBox()->selectAll();
        QTest::keyClick(searchBox(), Qt::Key_Delete);
        QCOMPARE(searchBox()->text(), QString());
        QCOMPARE(currentRow(), 0);
        QCOMPARE(topRow(), 0);
        QVERIFY(previewShows(books[0].thumbnail));
    }

    void keysInTheSearchBoxDoNothingWhileResultsAreShown()
    {
        const auto books = collection();
        openWindow(books);
        searchBox()->setText(u("a"));
        QTest::keyClick(searchBox(), Qt::Key_Return);
        const auto results = m_window->listModel().rowEntry();
        QVERIFY(results.size() > 3);
        list()->selectionModel()->setCurrentIndex(list()->model()->index(2, 0), QItemSelectionModel::NoUpdate);
        QTest::keyClicks(searchBox(), QStringLiteral("pp"));
        QTest::keyClick(searchBox(), Qt::Key_Left);
        QCOMPARE(m_window->listModel().rowEntry(), results);
        QCOMPARE(currentRow(), 2);
        QVERIFY(!m_window->allBooksShown());
    }

    void clickingOrMovingToARowShowsItsThumbnail()
    {
        const auto books = collection();
        openWindow(books);
        QVERIFY(previewIsWhite());
        clickRow(1);
        QVERIFY(previewShows(books[1].thumbnail));
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(currentRow(), 2);
        QVERIFY(previewShows(books[2].thumbnail));
        QTest::keyClick(list(), Qt::Key_Down); // no thumbnail
        QVERIFY(previewShowsNotice());
        QTest::keyClick(list(), Qt::Key_Up); // a picture fills the area again
        QVERIFY(previewShows(books[2].thumbnail));
        QTest::keyClick(list(), Qt::Key_Home);
        QVERIFY(previewShows(books[0].thumbnail));
    }

    void ctrlClickThatUnselectsTheCurrentRowStillShowsIt()
    {
        const auto books = collection();
        openWindow(books);
        clickRow(0);
        clickRow(2, Qt::ControlModifier);
        QVERIFY(previewShows(books[2].thumbnail));
        // The same row again is read again: a changed file shows.
        writeThumbnail(books[2], magenta);
        clickRow(2, Qt::ControlModifier);
        QCOMPARE(currentRow(), 2);
        QVERIFY(!list()->selectionModel()->isRowSelected(2, {}));
        QVERIFY(previewShows(magenta));
    }

    void repaintsNeverReadTheFile()
    {
        const auto books = collection();
        openWindow(books);
        clickRow(0);
        QVERIFY(previewShows(books[0].thumbnail));
        QVERIFY(QFile::remove(QString::fromStdString(thumbnailOf(books[0]))));
        m_window->hide();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        previewBox()->repaint();
        QVERIFY(previewShows(books[0].thumbnail));
        QCOMPARE(m_window->previewImage().pixelColor(163, 212), previewColour());
    }

    void doubleClickOnARowOpensItsBook()
    {
        const auto books = collection();
        openWindow(books);
        doubleClick(list()->viewport(), rowCentre(2));
        QCOMPARE(waitForOpened(1), QStringList{utf8(pdfOf(books[2]))});
        QCOMPARE(currentRow(), 2);
        QVERIFY(previewShows(books[2].thumbnail));
    }

    void enterInTheListOpensOnlyTheCurrentRow()
    {
        const auto books = collection();
        openWindow(books);
        auto *selection = list()->selectionModel();
        for (const int row : {0, 2, 4})
            selection->select(list()->model()->index(row, 0), QItemSelectionModel::Select);
        selection->setCurrentIndex(list()->model()->index(2, 0), QItemSelectionModel::NoUpdate);
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(waitForOpened(1), QStringList{utf8(pdfOf(books[2]))});
    }

    void aSearchResultOpensItsOwnBook()
    {
        // Row 0 of the results is entry 65, in a Hebrew subfolder.
        const auto books = collection();
        openWindow(books);
        QTest::mouseClick(control<QRadioButton>("RadioButton2"), Qt::LeftButton);
        searchBox()->setText(u("משה"));
        QTest::keyClick(searchBox(), Qt::Key_Return);
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Return);
        const QStringList seen = waitForOpened(1);
        QCOMPARE(seen, QStringList{utf8(pdfOf(books[65]))});
        QVERIFY2(seen.front().endsWith(u("/books/ספר/7.pdf")), qPrintable(seen.front()));
    }

    void doubleClickOnThePreviewOpensTheCurrentRow()
    {
        const auto books = collection();
        openWindow(books);
        clickRow(2);
        QVERIFY(previewShows(books[2].thumbnail));
        // All books listed again: row 0 is current, the preview still shows the book before.
        QTest::mouseClick(control<QPushButton>("Button3"), Qt::LeftButton);
        QCOMPARE(currentRow(), 0);
        QVERIFY(previewShows(books[2].thumbnail));
        doubleClick(previewBox(), QPoint(100, 100));
        QCOMPARE(waitForOpened(1), QStringList{utf8(pdfOf(books[0]))});
    }

    void theBooksFolderIsReadWhenABookIsOpened()
    {
        const auto books = collection();
        openWindow(books);
        auto *folder = control<QLineEdit>("Edit1");
        writePdf(native(QStringLiteral("other/s1/10.pdf")));
        folder->setText(QString::fromStdString(platform::toWindowsPath(native(QStringLiteral("other")))) + u("\\"));
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(waitForOpened(1), QStringList{utf8(native(QStringLiteral("other/s1/10.pdf")))});
        // The thumbnail is looked for there too.
        clickRow(0);
        QVERIFY(previewShowsNotice());

        // A drive that does not exist holds nothing to open.
        QFile::remove(openedFile());
        folder->setText(u("Q:\\books\\"));
        m_messenger.shown.clear();
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(waitForOpened(0), QStringList());
        QCOMPARE(m_messenger.shown.size(), 1);
        QVERIFY2(m_messenger.shown.front().startsWith(u("Ondarel|הספר לא נמצא:\n")), qPrintable(m_messenger.shown.front()));
    }

    void aMissingBookIsToldNotOpened()
    {
        const auto books = collection();
        openWindow(books);
        QFile::remove(QString::fromStdString(pdfOf(books[0])));
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(waitForOpened(0), QStringList());
        QCOMPARE(m_messenger.shown.size(), 1);
        QVERIFY2(m_messenger.shown.front().contains(QString::number(books[0].id) + u(".pdf")),
                 qPrintable(m_messenger.shown.front()));
    }

    void anEmptyCatalogueOpensAndLocatesNothing()
    {
        openWindow({});
        QCOMPARE(m_window->listModel().rowCount(), 0);
        QTest::keyClicks(searchBox(), QStringLiteral("ab"));
        QTest::keyClick(searchBox(), Qt::Key_Left);
        QVERIFY(previewIsWhite());
        QCOMPARE(currentRow(), -1);
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Return);
        doubleClick(previewBox(), QPoint(100, 100));
        QCOMPARE(waitForOpened(0), QStringList());
        // A search finds nothing; the list stays empty.
        QTest::keyClick(searchBox(), Qt::Key_Return);
        QCOMPARE(m_messenger.shown, QStringList{u("Ondarel|לא נמצאה כל תוצאה")});
        QCOMPARE(m_window->listModel().rowCount(), 0);
        // A preview asked for without a row shows the notice.
        m_window->ListBox1Click();
        QVERIFY(previewShowsNotice());
    }
};

QTEST_MAIN(SearchWindowTest)
#include "search_window_test.moc"
