// The main window's saving of copies, its layout on resize, and the view menu.
#include "mainwindow.h"

#include "bookpaths.h"
#include "layout.h"
#include "savename.h"
#include "saveorder.h"
#include "saverun.h"

#include "platform/files.h"
#include "platform/messages.h"
#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace browser {
namespace {

// The hourglass, for as long as it lives; the normal pointer returns however the run ends.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

// The native folder a save dialog opens in: the remembered one, or the home folder when
// it does not exist here (at first "C:\" on a machine without a drive C).
QString dialogFolder(const std::string &windowsFolder)
{
    const auto native = platform::toNativePath(windowsFolder);
    if (native && platform::folderExists(*native))
        return platform::fromUtf8(*native);
    return QDir::homePath();
}

} // namespace

void Tpdf::Button5Click()
{
    // A fresh dialog each time; only the folder is remembered. "all.pdf" merely opens it
    // there: whatever name is chosen, the copies are named after their titles, so there
    // is no overwrite question about that name either.
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(dialogFolder(m_defaultFolder));
    dialog.selectFile(QStringLiteral("all.pdf"));
    dialog.setNameFilter(QStringLiteral("*.pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string chosen = platform::toWindowsPath(dialog.selectedFiles().constFirst().toUtf8().toStdString());
    m_defaultFolder = std::string(platform::extractFilePath(chosen));

    std::vector<int> selectedRows;
    for (const QModelIndex &index : ListBox1->selectionModel()->selectedIndexes())
        selectedRows.push_back(index.row());
    const QModelIndex current = ListBox1->currentIndex();
    const std::string booksFolder = platform::toWin1255(Edit1->text());
    const Catalogue &catalogue = m_dataFile.catalogue();
    std::vector<SaveCopy> copies;
    for (const int row : saveOrder(current.isValid() ? current.row() : -1, std::move(selectedRows), m_model->rowCount())) {
        const int entry = m_model->entryAt(row);
        if (entry >= 0)
            copies.push_back({pdfPath(booksFolder, catalogue.subfolder(entry), catalogue.id(entry)),
                              savePath(m_defaultFolder, catalogue.title(entry))});
    }
    if (copies.empty())
        return;

    SaveResult result;
    {
        const BusyPointer busy;
        result = runSave(copies, platform::DriveTable::fromEnvironment());
    }
    if (!result.error.empty())
        m_services.messenger.show(QStringLiteral("Ondarel"), platform::fromUtf8(result.error),
                                  platform::MessageIcon::Stop);
}

void Tpdf::N2Click()
{
    if (!FontDialog1) {
        FontDialog1 = new QFontDialog(this);
        FontDialog1->setObjectName(QStringLiteral("FontDialog1"));
    }
    // The dialog lists only installed families: it is offered the one the list is drawn
    // with (Arial may be stood in for), so that OK without a change keeps the list's look.
    QFont current = ListBox1->font();
    current.setFamily(QFontInfo(current).family());
    FontDialog1->setCurrentFont(current);
    // The rows take the new font's height, and the author column moves with its
    // character width at once.
    if (FontDialog1->exec() == QDialog::Accepted)
        ListBox1->setFont(FontDialog1->selectedFont());
}

void Tpdf::N4Click()
{
    if (!ColorDialog1) {
        ColorDialog1 = new QColorDialog(this);
        ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    }
    ColorDialog1->setCurrentColor(ListBox1->palette().color(QPalette::Base));
    if (ColorDialog1->exec() == QDialog::Accepted) {
        QPalette colours = ListBox1->palette();
        colours.setColor(QPalette::Base, ColorDialog1->selectedColor());
        ListBox1->setPalette(colours);
    }
}

void Tpdf::FormResize()
{
    FixedLayout fixed;
    fixed.listLeft = ListBox1->x();
    fixed.listTop = ListBox1->y();
    fixed.panelWidth = Panel1->width();
    fixed.panelHeight = Panel1->height();
    fixed.saveButtonHeight = Button5->height();
    const WindowLayout layout = layoutForClientSize(Panelall->width(), Panelall->height(), fixed);

    // Drawn once, after all the moves. (Hiding the panel instead would take the keyboard
    // focus away from the list or the search box.)
    Panelall->setUpdatesEnabled(false);
    Panel1->move(layout.panelLeft, layout.panelTop);
    ListBox1->resize(layout.listWidth, layout.listHeight);
    Label1->move(layout.titleHeadingLeft, Label1->y());
    Label2->move(layout.authorHeadingLeft, Label2->y());
    m_rowDelegate->setTabUnits(layout.tabUnits);
    Button5->move(Button5->x(), layout.saveButtonTop);
    Panelall->setUpdatesEnabled(true);
    ListBox1->viewport()->update();
}

} // namespace browser
