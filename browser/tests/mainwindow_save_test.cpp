// Saving copies from the main window, its layout on resize, and the view menu, on Qt's
// offscreen platform with a temporary collection and drive table.
#include "browser/tests/recordingmessenger.h"
#include "browser/mainwindow.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace browser;
using browser::testing::RecordingMessenger;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

// Calls answer with the next modal dialog of this kind once it is on the screen.
template <typename Dialog>
void answerWhenShown(std::function<void(Dialog *)> answer, int triesLeft = 500)
{
    QTimer::singleShot(5, qApp, [answer, triesLeft] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible())
            answer(dialog);
        else if (triesLeft > 0)
            answerWhenShown<Dialog>(answer, triesLeft - 1);
    });
}

// What a save dialog showed, and the answer it got.
struct SaveDialogSeen {
    bool shown = false;
    QString folder;
    QStringList selected;
    QStringList filters;
    bool confirmsOverwrite = true;
    QString title;
};

} // namespace

class MainWindowSaveTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;
    RecordingMessenger m_messenger;
    std::unique_ptr<DataFile> m_data;
    std::unique_ptr<Tpdf> m_window;

    QString path(const QString &name) const { return m_root.path() + QLatin1Char('/') + name; }
    std::string native(const QString &name) const { return path(name).toStdString(); }
    QString outFolder() const { return path(QStringLiteral("out")); }
    QStringList outFiles() const { return QDir(outFolder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name); }
    std::string outFile(const char *name) const { return platform::readWholeFile((outFolder() + QLatin1Char('/') + u(name)).toStdString()); }

    // A collection on drive F: book k lies in F:\s<k % 2>\<100 + k>.pdf and holds "book <k>".
    // titles are Windows-1255; a null title leaves that book's PDF out.
    void openCollection(const std::vector<const char *> &titles, const std::vector<int> &missingPdfs = {})
    {
        std::string data = "F:\\\r\n";
        for (size_t k = 0; k < titles.size(); ++k) {
            const std::string sub = "s" + std::to_string(k % 2);
            const std::string id = std::to_string(100 + k);
            data += id + "\t" + titles[k] + "\t" + sub + "\tauthor " + std::to_string(k) + "\r\n";
            platform::forceDirectories(native(QStringLiteral("books/")) + sub);
            if (std::find(missingPdfs.begin(), missingPdfs.end(), static_cast<int>(k)) == missingPdfs.end())
                platform::writeFileAtomically(native(QStringLiteral("books/")) + sub + "/" + id + ".pdf",
                                              "book " + std::to_string(k));
        }
        platform::writeFileAtomically(native(QStringLiteral("data.txt")), data);
        m_data = std::make_unique<DataFile>(native(QStringLiteral("data.txt")));
        m_window = std::make_unique<Tpdf>(*m_data, BrowserServices{m_messenger, {}});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QListView *list() const { return m_window->findChild<QListView *>(u("ListBox1")); }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    // Presses the save button; the dialog answers with fileName in folder (cancels when folder is empty).
    SaveDialogSeen save(const QString &folder, const QString &fileName = QStringLiteral("all.pdf"))
    {
        SaveDialogSeen seen;
        answerWhenShown<QFileDialog>([&seen, folder, fileName](QFileDialog *dialog) {
            seen.shown = true;
            seen.folder = dialog->directory().absolutePath();
            seen.selected = dialog->selectedFiles();
            seen.filters = dialog->nameFilters();
            seen.confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            seen.title = dialog->windowTitle();
            if (folder.isEmpty()) {
                dialog->reject();
            } else {
                dialog->setDirectory(folder);
                dialog->selectFile(folder + QLatin1Char('/') + fileName);
                static_cast<QDialog *>(dialog)->accept(); // the file dialog checks the name first
            }
        });
        m_window->findChild<QPushButton *>(u("Button5"))->click();
        return seen;
    }

private Q_SLOTS:
    void init()
    {
        QDir(m_root.path()).removeRecursively();
        for (const char *folder : {"dosdevices", "books", "out", "drive_c", "home"})
            QDir().mkpath(path(u(folder)));
        QFile::link(path(u("books")), path(u("dosdevices/f:")));
        qputenv("WINEPREFIX", m_root.path().toUtf8());
        qputenv("HOME", path(u("home")).toUtf8());
        m_messenger = {};
    }

    void cleanup()
    {
        m_window.reset();
        m_data.reset();
        QCOMPARE(QApplication::overrideCursor(), nullptr); // the normal pointer is back
    }

    void oneBookIsCopiedUnderItsTitleAndTheFolderRemembered()
    {
        openCollection({"first", "Vol.2 No.3"});
        clickRow(1);
        platform::writeFileAtomically((outFolder() + u("/כרך2 מס'3.pdf")).toStdString(), "an older file");

        // At first "C:\" names no drive here: the dialog opens in the home folder.
        const SaveDialogSeen first = save(outFolder(), u("mine.pdf"));
        QVERIFY(first.shown);
        QCOMPARE(first.folder, path(u("home")));
        QCOMPARE(first.selected, QStringList{path(u("home/all.pdf"))});
        QCOMPARE(first.filters, QStringList{u("*.pdf")});
        QVERIFY(!first.confirmsOverwrite);
        QCOMPARE(outFiles(), QStringList{u("כרך2 מס'3.pdf")}); // replaced; "mine.pdf" is not used
        QCOMPARE(outFile("כרך2 מס'3.pdf"), std::string("book 1"));

        // The next dialog opens in that folder with "all.pdf"; cancelling keeps it.
        const SaveDialogSeen second = save(QString());
        QCOMPARE(second.folder, outFolder());
        QCOMPARE(second.selected, QStringList{outFolder() + u("/all.pdf")});
        QCOMPARE(save(QString()).folder, outFolder());
        QCOMPARE(m_messenger.shown, QStringList());
    }

    void dialogOpensOnDriveCWhenItExists()
    {
        QFile::link(path(u("drive_c")), path(u("dosdevices/c:")));
        openCollection({"a"});
        QCOMPARE(save(QString()).folder, path(u("drive_c")));
    }

    void cancelCopiesNothing()
    {
        openCollection({"a", "b"});
        clickRow(0);
        clickRow(1, Qt::ShiftModifier);
        QVERIFY(save(QString()).shown);
        QCOMPARE(outFiles(), QStringList());
    }

    void noSelectedRowCopiesNothingButRemembersTheFolder()
    {
        openCollection({"a", "b"});
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
        QVERIFY(save(outFolder()).shown);
        QCOMPARE(outFiles(), QStringList());
        QCOMPARE(save(QString()).folder, outFolder());
    }

    // Row 6's PDF is missing: how far the run gets shows the order of the copies.
    void blocksAreSavedFromTheCurrentRow_data()
    {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("shiftClicked");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("5 to 7, current 7: 7, 6, 5") << 5 << 7 << QStringList{u("b7.pdf")};
        QTest::newRow("7 to 5, current 5: 5, 6, 7") << 7 << 5 << QStringList{u("b5.pdf")};
        QTest::newRow("2 to 4, no missing PDF") << 2 << 4 << QStringList{u("b2.pdf"), u("b3.pdf"), u("b4.pdf")};
    }

    void blocksAreSavedFromTheCurrentRow()
    {
        QFETCH(int, clicked);
        QFETCH(int, shiftClicked);
        QFETCH(QStringList, saved);
        openCollection({"b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8", "b9"}, {6});
        clickRow(clicked);
        clickRow(shiftClicked, Qt::ShiftModifier);
        save(outFolder());
        QCOMPARE(outFiles(), saved);
        const bool runsOverRow6 = clicked > 4;
        QCOMPARE(m_messenger.shown.size(), runsOverRow6 ? 1 : 0);
        if (runsOverRow6) {
            // A stop box captioned with the program's title names the missing file.
            QVERIFY2(m_messenger.shown.front().startsWith(u("Ondarel|")), qPrintable(m_messenger.shown.front()));
            QVERIFY2(m_messenger.shown.front().contains(path(u("books/s0/106.pdf"))), qPrintable(m_messenger.shown.front()));
            QCOMPARE(m_messenger.icons.front(), platform::MessageIcon::Stop);
        }
        for (const QString &name : saved)
            QCOMPARE(outFile(name.toUtf8().constData()), "book " + name.mid(1, 1).toStdString());
    }

    void sameNameKeepsTheBookSavedLast()
    {
        // "x/y" and "x\y" both become "x,y"; the walk from row 1 upwards saves row 0 last.
        openCollection({"x/y", "x\\y"});
        clickRow(0);
        clickRow(1, Qt::ShiftModifier);
        save(outFolder());
        QCOMPARE(outFiles(), QStringList{u("x,y.pdf")});
        QCOMPARE(outFile("x,y.pdf"), std::string("book 0"));
    }

    void scatteredSelectionSavesExactlyTheSelectedRows()
    {
        openCollection({"b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8", "b9"});
        clickRow(2);
        clickRow(7, Qt::ControlModifier);
        clickRow(9, Qt::ControlModifier);
        save(outFolder());
        QCOMPARE(outFiles(), (QStringList{u("b2.pdf"), u("b7.pdf"), u("b9.pdf")}));
    }

    void searchResultsSaveTheirOwnBooks()
    {
        openCollection({"alpha", "beta", "alphabet", "gamma"});
        m_window->findChild<QLineEdit *>(u("Edit2"))->setText(u("alpha"));
        m_window->findChild<QPushButton *>(u("Button2"))->click();
        QCOMPARE(list()->model()->rowCount(), 2);
        clickRow(1);
        save(outFolder());
        QCOMPARE(outFiles(), QStringList{u("alphabet.pdf")});
        QCOMPARE(outFile("alphabet.pdf"), std::string("book 2"));
    }

    void layoutFollowsTheClientArea_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("listBox");
        QTest::addColumn<QPoint>("panel");
        QTest::addColumn<int>("titleHeading");
        QTest::addColumn<int>("authorHeading");
        QTest::addColumn<int>("tabUnits");
        QTest::addColumn<int>("saveButtonTop");
        QTest::newRow("design") << QSize(1238, 562) << QRect(80, 104, 669, 383) << QPoint(829, 36) << 581 << 247 << 167 << 492;
        QTest::newRow("wider and taller") << QSize(1600, 900) << QRect(80, 104, 1031, 721) << QPoint(1191, 205) << 853 << 337 << 257 << 830;
        QTest::newRow("narrow") << QSize(700, 500) << QRect(80, 104, 131, 321) << QPoint(291, 5) << 178 << 112 << 32 << 430;
        QTest::newRow("too small for the list") << QSize(400, 150) << QRect(80, 104, 0, 0) << QPoint(-9, -169) << 80 << 80 << 0 << 80;
    }

    void layoutFollowsTheClientArea()
    {
        QFETCH(QSize, client);
        QFETCH(QRect, listBox);
        QFETCH(QPoint, panel);
        QFETCH(int, titleHeading);
        QFETCH(int, authorHeading);
        QFETCH(int, tabUnits);
        QFETCH(int, saveButtonTop);
        openCollection({"a"});
        QWidget *panelAll = m_window->centralWidget();
        m_window->resize(m_window->size() + client - panelAll->size());
        QTRY_COMPARE(panelAll->size(), client);
        QCOMPARE(list()->geometry(), listBox);
        QCOMPARE(m_window->findChild<QWidget *>(u("Panel1"))->pos(), panel);
        QCOMPARE(m_window->findChild<QWidget *>(u("Panel1"))->size(), QSize(329, 489));
        QCOMPARE(m_window->findChild<QLabel *>(u("Label1"))->x(), titleHeading);
        QCOMPARE(m_window->findChild<QLabel *>(u("Label2"))->x(), authorHeading);
        QCOMPARE(m_window->findChild<QLabel *>(u("Label1"))->y(), 64);
        QCOMPARE(qobject_cast<BookRowDelegate *>(list()->itemDelegate())->tabUnits(), tabUnits);
        QCOMPARE(m_window->findChild<QWidget *>(u("Button5"))->pos(), QPoint(48, saveButtonTop));
        // The search controls stay where they are.
        QCOMPARE(m_window->findChild<QWidget *>(u("Edit2"))->geometry(), QRect(248, 24, 161, 23));
    }

    void maximiseAndRestoreGiveBackTheLayout()
    {
        openCollection({"a"});
        const auto places = [this] {
            QList<QRect> rects;
            for (const char *name : {"ListBox1", "Panel1", "Label1", "Label2", "Button5"})
                rects << m_window->findChild<QWidget *>(u(name))->geometry();
            return rects;
        };
        const QList<QRect> before = places();
        const QSize clientBefore = m_window->centralWidget()->size();
        m_window->showMaximized();
        QTRY_VERIFY(m_window->centralWidget()->size() != clientBefore);
        QVERIFY(places() != before);
        m_window->showNormal();
        QTRY_COMPARE(m_window->centralWidget()->size(), clientBefore);
        QCOMPARE(places(), before);
    }

    void resizingKeepsTheKeyboardFocus()
    {
        openCollection({"a"});
        auto *searchBox = m_window->findChild<QLineEdit *>(u("Edit2"));
        m_window->activateWindow();
        searchBox->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), searchBox);
        m_window->resize(m_window->size() + QSize(100, 50));
        QTRY_COMPARE(m_window->centralWidget()->width(), 1338);
        QCOMPARE(QApplication::focusWidget(), searchBox);
    }

    void fontDialogChangesOnlyTheList_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }

    void fontDialogChangesOnlyTheList()
    {
        QFETCH(bool, confirm);
        openCollection({"a", "b"});
        const QFont before = list()->font();
        const QFont others = m_window->findChild<QLineEdit *>(u("Edit2"))->font();
        QFont chosen(QStringLiteral("Courier"));
        chosen.setPointSize(22);
        chosen.setItalic(true);
        QFont offered, returned;
        answerWhenShown<QFontDialog>([&](QFontDialog *dialog) {
            offered = dialog->currentFont();
            dialog->setCurrentFont(chosen);
            confirm ? dialog->accept() : dialog->reject();
            returned = dialog->selectedFont();
        });
        m_window->findChild<QAction *>(u("N2"))->trigger();
        // The dialog starts from the list's font (as this machine's fonts render it).
        QCOMPARE(QFontInfo(offered).family(), QFontInfo(before).family());
        QCOMPARE(QFontInfo(offered).pointSize(), QFontInfo(before).pointSize());
        if (confirm) {
            QCOMPARE(list()->font(), returned);
            QCOMPARE(QFontInfo(list()->font()).pointSize(), 22);
            QVERIFY(list()->font().italic());
            // The rows take the new font's height.
            QTRY_COMPARE(list()->visualRect(list()->model()->index(0, 0)).height(), QFontMetrics(list()->font()).height() + 1);
        } else {
            QCOMPARE(list()->font(), before);
            QVERIFY(!list()->testAttribute(Qt::WA_SetFont));
        }
        QCOMPARE(m_window->findChild<QLineEdit *>(u("Edit2"))->font(), others);
        QCOMPARE(m_window->findChild<QLabel *>(u("Label1"))->font(), others);
    }

    void colourDialogChangesOnlyTheListBackground_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }

    void colourDialogChangesOnlyTheListBackground()
    {
        QFETCH(bool, confirm);
        openCollection({"a"});
        const QColor before = list()->palette().color(QPalette::Base);
        const QPalette others = m_window->findChild<QLineEdit *>(u("Edit2"))->palette();
        QColor offered;
        answerWhenShown<QColorDialog>([&](QColorDialog *dialog) {
            offered = dialog->currentColor();
            dialog->setCurrentColor(QColor(255, 255, 200));
            confirm ? dialog->accept() : dialog->reject();
        });
        m_window->findChild<QAction *>(u("N4"))->trigger();
        QCOMPARE(offered, before);
        if (confirm) {
            QCOMPARE(list()->palette().color(QPalette::Base), QColor(255, 255, 200));
            QCOMPARE(list()->viewport()->grab().toImage().pixelColor(2, list()->viewport()->height() - 2), QColor(255, 255, 200));
        } else {
            QVERIFY(!list()->testAttribute(Qt::WA_SetPalette));
            QCOMPARE(list()->palette().color(QPalette::Base), before);
        }
        QCOMPARE(m_window->findChild<QLineEdit *>(u("Edit2"))->palette(), others);
    }
};

QTEST_MAIN(MainWindowSaveTest)
#include "mainwindow_save_test.moc"
