#pragma once
// The browser's main window "פתיחת ספרים": the controls at their design places, and
// the handlers each event calls.
#include "booklistmodel.h"
#include "datafile.h"

#include <QImage>
#include <QMainWindow>

#include <functional>
#include <string>

class QAction;
class QColorDialog;
class QFontDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QRadioButton;

namespace platform {
class Messenger;
}

namespace browser {

// The preview area: paints the off-screen preview picture and nothing else.
class PreviewBox final : public QWidget {
    Q_OBJECT
public:
    PreviewBox(const QImage &picture, QWidget *parent);

Q_SIGNALS:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    const QImage &m_picture;
};

// What the window needs from outside; tests pass their own.
struct BrowserServices {
    platform::Messenger &messenger;
    // Shows the about box with a title and a version.
    std::function<void(const std::string &title, double version)> showAbout;
};

class Tpdf final : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and loads the catalogue from dataFile (already read).
    Tpdf(DataFile &dataFile, BrowserServices services, QWidget *parent = nullptr);
    ~Tpdf() override;

    const BookListModel &listModel() const { return *m_model; }
    const QImage &previewImage() const { return m_previewImage; }
    bool allBooksShown() const { return m_allBooksShown; }
    // The about box is made after the window; this is how the window reaches it.
    void setAboutBox(std::function<void(const std::string &title, double version)> showAbout)
    {
        m_services.showAbout = std::move(showAbout);
    }

public Q_SLOTS:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void ListBox1Click();
    void N2Click();
    void N4Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenu();
    void createPreviewImage();
    void FormClose();
    void FormResize();
    void ListBox1KeyDown(int key);
    void Edit2KeyDown(int key);
    void Edit2KeyUp(int key);

    DataFile &m_dataFile;
    BrowserServices m_services;
    bool m_centredOnce = false;

    // Controls, named as in the window's design.
    QWidget *Panelall = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr;
    QListView *ListBox1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QPushButton *Button2 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;
    QFrame *Panel1 = nullptr;
    PreviewBox *PaintBox1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QMenu *N1 = nullptr;
    QAction *N2 = nullptr;
    QAction *N4 = nullptr;
    QAction *N3 = nullptr;

    QImage m_previewImage;
    BookListModel *m_model = nullptr;
    BookRowDelegate *m_rowDelegate = nullptr;
    bool m_allBooksShown = false;

    // --- search, locate, preview and opening (mainwindow_search.cpp) ---
    void connectSearchAndPreview();
    // Brings the title nearest to the search text to the top, makes it current, shows its preview.
    void LocateTitle();
    // Loads the current row's thumbnail into the preview picture (or the notice) and paints it.
    void ShowPreview();
    void makeRowCurrent(int row);
    void listCurrentRowChanged(const QModelIndex &current, const QModelIndex &previous);
    QFont m_noticeFont;
    bool m_movingCurrentRow = false; // the program, not the user, moves the current row
    int m_rowShownOnPress = -1;      // shown when a mouse press reached it; its click needs no second decode

    // --- saving copies, layout and view menu (mainwindow_save.cpp) ---
    // The folder the last save went into, in Windows form with its trailing "\" (or ":");
    // kept for the run only.
    std::string m_defaultFolder = "C:\\";
    QFontDialog *FontDialog1 = nullptr;
    QColorDialog *ColorDialog1 = nullptr;
};

} // namespace browser
