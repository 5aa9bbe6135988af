#include "mainwindow.h"

#include "platform/messages.h"
#include "platform/qtext.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace browser {
namespace {

// The layout's client area, below the menu bar.
constexpr int kClientWidth = 1238;
constexpr int kClientHeight = 562;

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

template <typename Control>
Control *place(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(left, top, width, height);
    return control;
}

// Labels size themselves to their caption, keeping their right edge (they read right to left).
QLabel *fitToCaption(QLabel *label)
{
    const int width = label->sizeHint().width();
    if (width > label->width())
        label->setGeometry(label->geometry().right() + 1 - width, label->y(), width, label->height());
    return label;
}

} // namespace

PreviewBox::PreviewBox(const QImage &picture, QWidget *parent) : QWidget(parent), m_picture(picture)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewBox::paintEvent(QPaintEvent *)
{
    // Only the off-screen picture is copied: a repaint never reads a file.
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picture);
}

void PreviewBox::mouseDoubleClickEvent(QMouseEvent *)
{
    Q_EMIT doubleClicked();
}

Tpdf::Tpdf(DataFile &dataFile, BrowserServices services, QWidget *parent)
    : QMainWindow(parent), m_dataFile(dataFile), m_services(std::move(services))
{
    setObjectName(QStringLiteral("pdf"));
    setWindowTitle(text("פתיחת ספרים"));
    setLayoutDirection(Qt::RightToLeft);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);

    buildControls();
    buildMenu();
    createPreviewImage();

    // The catalogue: the books folder resolved and shown, then all books listed.
    Edit1->setText(platform::toQString(m_dataFile.resolveBooksFolder(m_dataFile.line0())));
    m_model = new BookListModel(m_dataFile.catalogue(), this);
    ListBox1->setModel(m_model);
    connect(ListBox1, &QListView::clicked, this, &Tpdf::ListBox1Click);
    connect(ListBox1, &QListView::doubleClicked, this, &Tpdf::Button1Click);
    connectSearchAndPreview();
    Button3Click();
    if (const int leftOut = m_dataFile.catalogue().leftOut(); leftOut > 0)
        m_services.messenger.show(QStringLiteral("Ondarel"),
                                  text("בקובץ הנתונים יש יותר מ-%1 ספרים: %2 הספרים האחרונים לא נטענו.")
                                      .arg(MaxEntries)
                                      .arg(leftOut),
                                  platform::MessageIcon::Warning);

    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

Tpdf::~Tpdf() = default;

void Tpdf::buildControls()
{
    Panelall = place(new QWidget(this), "Panelall", 0, 0, kClientWidth, kClientHeight);
    setCentralWidget(Panelall);

    Label1 = fitToCaption(place(new QLabel(text("שם הספר"), Panelall), "Label1", 744, 64, 45, 15));
    Label2 = fitToCaption(place(new QLabel(text("שם המחבר"), Panelall), "Label2", 304, 64, 52, 15));

    Button1 = place(new QPushButton(text("פתח"), Panelall), "Button1", 152, 512, 75, 25);
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, &Tpdf::Button1Click);

    ListBox1 = place(new QListView(Panelall), "ListBox1", 80, 104, 737, 393);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true); // 40000 rows are laid out without asking each one
    ListBox1->setLayoutDirection(Qt::RightToLeft);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowDelegate = new BookRowDelegate(ListBox1);
    ListBox1->setItemDelegate(m_rowDelegate);
    ListBox1->installEventFilter(this);

    Edit2 = place(new QLineEdit(Panelall), "Edit2", 248, 24, 161, 23);
    Edit2->setLayoutDirection(Qt::RightToLeft);
    Edit2->installEventFilter(this);

    Button2 = place(new QPushButton(text("חפש"), Panelall), "Button2", 168, 24, 75, 25);
    connect(Button2, &QPushButton::clicked, this, &Tpdf::Button2Click);

    RadioButton1 = place(new QRadioButton(text("חיפוש בספרים"), Panelall), "RadioButton1", 48, 24, 113, 17);
    RadioButton2 = place(new QRadioButton(text("חיפוש במחברים"), Panelall), "RadioButton2", 48, 40, 113, 17);
    RadioButton1->setChecked(true);
    auto *searchField = new QButtonGroup(this);
    searchField->addButton(RadioButton1);
    searchField->addButton(RadioButton2);

    Button3 = place(new QPushButton(text("כל הספרים"), Panelall), "Button3", 464, 24, 75, 25);
    connect(Button3, &QPushButton::clicked, this, &Tpdf::Button3Click);

    Button4 = place(new QPushButton(text("אודות"), Panelall), "Button4", 0, 480, 41, 25);
    Button4->hide();
    connect(Button4, &QPushButton::clicked, this, &Tpdf::Button4Click);

    Button5 = place(new QPushButton(text("הורדת ספר"), Panelall), "Button5", 48, 492, 75, 25);
    connect(Button5, &QPushButton::clicked, this, &Tpdf::Button5Click);

    Panel1 = place(new QFrame(Panelall), "Panel1", 861, 64, 329, 489);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    PaintBox1 = place(new PreviewBox(m_previewImage, Panel1), "PaintBox1", 1, 1, 327, 425);
    connect(PaintBox1, &PreviewBox::doubleClicked, this, &Tpdf::Button1Click);

    Label3 = fitToCaption(place(new QLabel(text("הספרים נמצאים בתיקיה:"), Panel1), "Label3", 110, 440, 115, 15));

    Edit1 = place(new QLineEdit(text("F:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\"), Panel1), "Edit1", 0, 460, 321, 21);
    Edit1->setLayoutDirection(Qt::LeftToRight);
    Edit1->setFrame(false);
    Edit1->setFocusPolicy(Qt::ClickFocus); // skipped by Tab, still editable
    QPalette panelColours = Edit1->palette();
    panelColours.setColor(QPalette::Base, Panel1->palette().color(QPalette::Window));
    Edit1->setPalette(panelColours);

    // Tab order: the list, the search box, its button, the checked radio button, all books, save.
    setTabOrder(ListBox1, Edit2);
    setTabOrder(Edit2, Button2);
    setTabOrder(Button2, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, Button3);
    setTabOrder(Button3, Button5);
    ListBox1->setFocus();
}

void Tpdf::buildMenu()
{
    N1 = menuBar()->addMenu(text("תצוגה"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = N1->addAction(text("גופן"), this, &Tpdf::N2Click);
    N2->setObjectName(QStringLiteral("N2"));
    N4 = N1->addAction(text("רקע"), this, &Tpdf::N4Click);
    N4->setObjectName(QStringLiteral("N4"));
    N3 = menuBar()->addAction(text("אודות"), this, &Tpdf::Button4Click);
    N3->setObjectName(QStringLiteral("N3"));
}

void Tpdf::createPreviewImage()
{
    // White, the size of the preview area; the notice font is red, 18 points.
    m_previewImage = QImage(PaintBox1->size(), QImage::Format_RGB32);
    m_previewImage.fill(Qt::white);
}

void Tpdf::Button3Click()
{
    m_model->showAllEntries();
    ListBox1->clearSelection();
    if (m_model->rowCount() > 0)
        ListBox1->selectionModel()->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::NoUpdate);
    m_allBooksShown = true;
}

void Tpdf::Button4Click()
{
    if (m_services.showAbout)
        m_services.showAbout("Ondarel", 1.0);
}

void Tpdf::FormClose()
{
    // An edited books folder is checked once more; a variant found on drive E, F or G
    // is written back to data.txt.
    const std::string folder = platform::toWin1255(Edit1->text());
    if (folder != m_dataFile.line0())
        m_dataFile.resolveBooksFolder(folder);
}

bool Tpdf::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool pressed = event->type() == QEvent::KeyPress;
        if (watched == ListBox1 && pressed)
            ListBox1KeyDown(key->key());
        else if (watched == Edit2)
            pressed ? Edit2KeyDown(key->key()) : Edit2KeyUp(key->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tpdf::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void Tpdf::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_centredOnce) {
        m_centredOnce = true;
        if (const QScreen *screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
}

void Tpdf::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

} // namespace browser
