#include "shared/aboutbox.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

using about::TFodot;

namespace {

QStringList memoLines(const TFodot &box)
{
    return box.findChild<QTextEdit *>(QStringLiteral("Memo1"))->toPlainText().split(QLatin1Char('\n'));
}

// Shows the box and runs `whileShown` inside its modal loop, then closes it.
void showAndInspect(TFodot &box, std::string_view title, double version, std::function<void()> whileShown)
{
    QTimer::singleShot(0, &box, [&box, whileShown] {
        whileShown();
        box.close();
    });
    box.ShowAbout(title, version);
}

} // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void linesAreReplacedOnEveryShow()
    {
        TFodot box;
        QCOMPARE(box.windowTitle(), QStringLiteral("אודות"));
        QCOMPARE(box.size(), QSize(233, 236));
        QCOMPARE(box.layoutDirection(), Qt::RightToLeft);
        QVERIFY(!box.isVisible());

        bool wasModal = false;
        showAndInspect(box, "\xE4\xF2\xFA\xF7\xFA \xF7\xE1\xF6\xE9 Kelidor", 1.0, [&] {
            wasModal = QApplication::activeModalWidget() == &box;
        });
        QVERIFY(wasModal);
        QVERIFY(!box.isVisible());
        const QStringList first = memoLines(box);
        QCOMPARE(first.size(), 8);
        QCOMPARE(first[0], QStringLiteral("העתקת קבצי Kelidor"));
        QCOMPARE(first[1], QString());
        QCOMPARE(first[2], QStringLiteral("גירסא 1.00"));
        QCOMPARE(first[3], QString());
        QVERIFY(first[4].startsWith(QStringLiteral("תוכנת ע\"י ")));
        QVERIFY(first[6].startsWith(QStringLiteral("טל'")));

        showAndInspect(box, "Ondarel", 1234.5, [] {});
        const QStringList second = memoLines(box);
        QCOMPARE(second.size(), 8);
        QCOMPARE(second[0], QStringLiteral("Ondarel"));
        QCOMPARE(second[2], QStringLiteral("גירסא 1,234.50"));
        QCOMPARE(second.mid(3), first.mid(3));

        showAndInspect(box, "Ondarel", 1234.5, [] {});
        QCOMPARE(memoLines(box), second);
    }

    void versionFollowsTheUserLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(TFodot::versionLine(1234.5), QStringLiteral("גירסא 1.234,50"));
        QLocale::setDefault(QLocale(QLocale::Hebrew, QLocale::Israel));
        QCOMPARE(TFodot::versionLine(1.0), QStringLiteral("גירסא 1.00"));
    }

    // The default opener hands "http://" + the link's caption to xdg-open; the box stays open.
    void linkOpensThroughXdgOpen()
    {
        QTemporaryDir bin;
        QVERIFY(bin.isValid());
        const QString record = bin.filePath(QStringLiteral("opened"));
        QFile script(bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$1\" > \"" + record.toUtf8() + ".tmp\" && mv \""
                     + record.toUtf8() + ".tmp\" \"" + record.toUtf8() + "\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ':' + oldPath);

        TFodot box;
        auto *link = box.findChild<QLabel *>(QStringLiteral("Label1"));
        QVERIFY(link);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(link->font().underline());
        bool stayedOpen = false;
        showAndInspect(box, "Ondarel", 1.0, [&] {
            QTest::mouseClick(link, Qt::LeftButton);
            stayedOpen = box.isVisible();
        });
        qputenv("PATH", oldPath);
        QVERIFY(stayedOpen);
        QTRY_VERIFY(QFile::exists(record));
        QFile opened(record);
        QVERIFY(opened.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(opened.readAll()), QStringLiteral("http://") + link->text());
        QVERIFY(link->text().startsWith(QStringLiteral("www.")));
    }

    void linkTakesOnlyTheLeftButton()
    {
        std::vector<std::string> opened;
        TFodot box(nullptr, [&](const std::string &address) { opened.push_back(address); });
        auto *link = box.findChild<QLabel *>(QStringLiteral("Label1"));
        showAndInspect(box, "Ondarel", 1.0, [&] {
            QTest::mouseClick(link, Qt::RightButton);
            QTest::mouseClick(link, Qt::LeftButton);
        });
        QCOMPARE(opened.size(), size_t{1});
        QCOMPARE(QString::fromStdString(opened[0]), QStringLiteral("http://www.kelidor.example/"));
    }
};

QTEST_MAIN(AboutBoxTest)
#include "aboutbox_test.moc"
