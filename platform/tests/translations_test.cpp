// Qt's standard dialogs in Hebrew, through the application object the window programs use.
#include "platform/application.h"
#include "platform/translations.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString buttonText(QDialogButtonBox::StandardButton which)
{
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save
                         | QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Close);
    return box.button(which)->text().remove(QLatin1Char('&'));
}

// Every text of a dialog's labels and buttons, joined, to look for a word in.
QString dialogTexts(const QWidget &dialog)
{
    QStringList texts{dialog.windowTitle()};
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        texts << label->text();
    for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
        texts << button->text();
    return texts.join(QLatin1Char('\n')).remove(QLatin1Char('&'));
}

} // namespace

class TranslationsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void standardButtonsAreHebrew_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("ok") << int(QDialogButtonBox::Ok) << QStringLiteral("אישור");
        QTest::newRow("cancel") << int(QDialogButtonBox::Cancel) << QStringLiteral("ביטול");
        QTest::newRow("yes") << int(QDialogButtonBox::Yes) << QStringLiteral("כן");
        QTest::newRow("no") << int(QDialogButtonBox::No) << QStringLiteral("לא");
    }
    void standardButtonsAreHebrew()
    {
        QFETCH(int, button);
        QFETCH(QString, text);
        QCOMPARE(buttonText(QDialogButtonBox::StandardButton(button)), text);
    }

    void messageBoxButtonIsHebrew()
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Ondarel"), QStringLiteral("טקסט"), QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text().remove(QLatin1Char('&')), QStringLiteral("אישור"));
    }

    void standardDialogsAreHebrew_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("english");
        QTest::newRow("save") << QStringLiteral("file") << QStringLiteral("File name:");
        QTest::newRow("font") << QStringLiteral("font") << QStringLiteral("Font style");
        QTest::newRow("colour") << QStringLiteral("colour") << QStringLiteral("Basic colors");
    }
    // The dialogs use Qt's own widgets here, so their English texts must be gone.
    void standardDialogsAreHebrew()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, english);
        std::unique_ptr<QDialog> shown;
        if (dialog == QLatin1String("file")) {
            auto file = std::make_unique<QFileDialog>();
            file->setOption(QFileDialog::DontUseNativeDialog);
            file->setAcceptMode(QFileDialog::AcceptSave);
            shown = std::move(file);
        } else if (dialog == QLatin1String("font")) {
            shown = std::make_unique<QFontDialog>();
        } else {
            shown = std::make_unique<QColorDialog>();
        }
        const QString texts = dialogTexts(*shown);
        QVERIFY2(!texts.contains(english), qPrintable(texts));
        QVERIFY2(texts.contains(QStringLiteral("ביטול")), qPrintable(texts));
    }

    void aFolderWithoutHebrewInstallsNothing()
    {
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        const QList<QObject *> before = qApp->children();
        QVERIFY(!platform::installQtHebrewTranslation(*qApp, empty.path()));
        QCOMPARE(qApp->children(), before);
        QCOMPARE(buttonText(QDialogButtonBox::Ok), QStringLiteral("אישור"));
    }
};

int main(int argc, char **argv)
{
    platform::Application application(argc, argv);
    TranslationsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "translations_test.moc"
