// The main window frame: pages and tab buttons, menus, modes, resizing, the tiled background,
// and the generic binding of descriptor controls to the image.
#include "editor/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "editor/alerts_page.h"
#include "editor/controls.h"
#include "editor/dialogs/about_box.h"
#include "editor/dialogs/plan_dialog.h"
#include "editor/ledger_window.h"
#include "editor/dialogs/splash_window.h"
#include "editor/prompts_page.h"
#include "editor/russian_page.h"
#include "editor/scaling.h"
#include "image/alert_options.h"
#include "image/defaults.h"
#include "image/descriptor.h"
#include "image/memory_map.h"
#include "image/pll.h"
#include "ledger/ledger.h"
#include "platform/instrument.h"
#include "platform/parallel_port.h"
#include "transfer/ledger_recorder.h"
#include "transfer/parallel_port_link.h"
#include "transfer/table_commands.h"
#include "support/texts.h"
#include "transfer/link_texts.h"

namespace zr730 {

namespace {

// The background that every page lies on: a small picture tiled over the window's inner size.
// Moving the mouse over it takes the keyboard focus, which commits the edit of a text box.
class TabBackground : public QWidget {
public:
    explicit TabBackground(QWidget *parent) : QWidget(parent)
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::ClickFocus);
        m_tile = make_tile();
    }

    void setBoundsSource(QWidget *window) { m_window = window; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int w = m_tile.width();
        const int h = m_tile.height();
        const QSize inner = m_window ? m_window->size() : size();
        for (int i = 0; i <= inner.width() / w; ++i)
            for (int j = 0; j <= inner.height() / h; ++j)
                p.drawPixmap(w * i, h * j, m_tile);
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (!hasFocus()) setFocus(Qt::MouseFocusReason);
        QWidget::mouseMoveEvent(e);
    }

private:
    static QPixmap make_tile()
    {
        QPixmap tile(48, 48);
        tile.fill(QColor(0xD8, 0xDC, 0xE4));
        QPainter p(&tile);
        p.setPen(QColor(0xCC, 0xD1, 0xDA));
        for (int k = -48; k < 48; k += 8) p.drawLine(k, 48, k + 48, 0);
        return tile;
    }
    QPixmap m_tile;
    QWidget *m_window = nullptr;
};

} // namespace

MainWindow::MainWindow(ProgramState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_scaler(std::make_unique<Scaler>()),
      m_alerts(std::make_unique<AlertsPage>(state, *this)), m_prompts(std::make_unique<PromptsPage>(state, *this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ZR730K Pager Programmer V3.81"));
    buildMenus();
    buildWindow();
    bindDescriptorControls();
    boardWatchTimer.setInterval(3000);
    boardWatchTimer.setObjectName(QStringLiteral("Timer1"));
    connect(&boardWatchTimer, &QTimer::timeout, this, [this] { watchBoard(); });
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    m_closing = true;
    qApp->removeEventFilter(this);
    // Gone before the ledger they read.
    delete m_ledgerWindow.data();
    delete m_planDialog.data();
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    auto item = [this](QMenu *menu, const char *caption, const char *name, void (MainWindow::*slot)()) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
        return a;
    };
    mnuLBFF = item(file, "Open", "mnuLBFF", &MainWindow::openTableFile);
    mnuSBTF = item(file, "Save", "mnuSBTF", &MainWindow::saveTableFile);
    mnuSA = item(file, "Save As...", "mnuSA", &MainWindow::saveTableFileAs);
    mnuLedger = item(file, "Ledger…", "mnuLedger", &MainWindow::openLedgerWindow);
    file->addSeparator()->setObjectName(QStringLiteral("mnudash"));
    mnuExit = item(file, "Exit", "mnuExit", &MainWindow::exitProgram);

    m_mnuPager = menuBar()->addMenu(QStringLiteral("Pager"));
    m_mnuPager->setObjectName(QStringLiteral("mnuPager"));
    mnuEntire = item(m_mnuPager, "Read", "mnuEntire", &MainWindow::readPager);
    mnuEB = item(m_mnuPager, "Write", "mnuEB", &MainWindow::writePager);
    mnuEB1 = item(m_mnuPager, "Verfy", "mnuEB1", &MainWindow::verifyPager);
    m_mnuPager->addSeparator();
    mnuPlan = item(m_mnuPager, "Program from Plan…", "mnuPlan", &MainWindow::programFromPlan);

    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    mnuAbout = item(help, "About", "mnuAbout", &MainWindow::showAbout);
}

void MainWindow::buildWindow()
{
    auto *back = new TabBackground(this);
    back->setBoundsSource(back);
    picTabBack = back;
    picTabBack->setObjectName(QStringLiteral("picTabBack"));
    setCentralWidget(picTabBack);
    picTabBack->setFixedSize(layout::kDesignWidth, layout::kDesignHeight);

    const int tabW = 150;
    auto tab = [this](const char *caption, const char *buttonName, const char *labelName, int x, QPushButton *&button,
                      QLabel *&label) {
        label = makeLabel(picTabBack, labelName, caption, {x, 6, 150, 24});
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Raised);
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
        button = new QPushButton(QString::fromUtf8(caption), picTabBack);
        button->setObjectName(QString::fromUtf8(buttonName));
        button->setGeometry(x, 6, 150, 24);
        button->setFocusPolicy(Qt::TabFocus);
    };
    tab("Code and Features", "EMoptCode", "Label14", 12, EMoptCode, Label14);
    tab("Alerts and Status", "EMoptStatus", "Label15", 12 + tabW + 4, EMoptStatus, Label15);
    tab("Prompts Edit", "EMoptPrompts", "lblPEdit", 12 + 2 * (tabW + 4), EMoptPrompts, lblPEdit);
    connect(EMoptCode, &QPushButton::clicked, this, [this] { showCodePage(); });
    connect(EMoptStatus, &QPushButton::clicked, this, [this] { showAlertsPage(); });
    connect(EMoptPrompts, &QPushButton::clicked, this, [this] { showPromptsPage(); });

    ModifyOpt = new QRadioButton(QStringLiteral("Modify Mode"), picTabBack);
    ModifyOpt->setObjectName(QStringLiteral("ModifyOpt"));
    ModifyOpt->setGeometry(layout::kDesignWidth - 250, 8, 115, 22);
    ModifyOpt->setChecked(true);
    WriteOpt = new QRadioButton(QStringLiteral("Write Mode"), picTabBack);
    WriteOpt->setObjectName(QStringLiteral("WriteOpt"));
    WriteOpt->setGeometry(layout::kDesignWidth - 130, 8, 115, 22);
    // The mode follows the options however they are chosen: mouse, keyboard or a screen reader.
    connect(ModifyOpt, &QRadioButton::toggled, this, [this](bool on) { if (on) enterModifyMode(); });
    connect(WriteOpt, &QRadioButton::toggled, this, [this](bool on) { if (on) enterWriteMode(); });

    const QRect pageRect(layout::kPageLeft, layout::kPageTop, layout::kPageWidth, layout::kPageHeight);
    auto page = [&](const char *name) {
        auto *w = new QFrame(picTabBack);
        w->setObjectName(QString::fromUtf8(name));
        w->setGeometry(pageRect);
        w->setFrameShape(QFrame::Panel);
        w->setFrameShadow(QFrame::Raised);
        w->setAutoFillBackground(true);
        w->setFocusPolicy(Qt::ClickFocus);
        return w;
    };
    picSet1 = page("picSet1");
    picSet2 = page("picSet2");
    picSet5 = page("picSet5");
    picSet6 = page("picSet6");
    buildCodePage(picSet1);
    buildStatusPage(picSet2);
    buildPromptsPages();

    m_lblMsg = makeLabel(picTabBack, "lblMsg", "Message:",
                         {layout::kPageLeft, layout::kPageTop + layout::kPageHeight + 4, layout::kPageWidth, 22});
    m_lblMsg->setFrameShape(QFrame::Panel);
    m_lblMsg->setFrameShadow(QFrame::Sunken);
    m_lblMsg->setAutoFillBackground(true);

    showPage(0);
}

void MainWindow::buildPromptsPages()
{
    m_prompts->buildTextPage(picSet5);
    m_prompts->russian().build(picSet6);
    picSet6->hide();
}

void MainWindow::bindDescriptorControls()
{
    for (const MapEntry &e : memory_map()) {
        QWidget *w = picTabBack->findChild<QWidget *>(QString::fromUtf8(e.control.data(), int(e.control.size())));
        Q_ASSERT(w);
        if (!w) continue;
        w->setProperty("descriptor", QString::fromUtf8(e.descriptor.data(), int(e.descriptor.size())));
    }
    for (int i = 0; i < int(chkCtl.size()); ++i)
        if (chkCtl[i]) connect(chkCtl[i], &QCheckBox::toggled, this, [this, i] { onBoundCheckBoxToggled(i); });
    for (int i = 0; i < int(cboCtl.size()); ++i)
        if (cboCtl[i])
            connect(cboCtl[i], &QComboBox::currentIndexChanged, this, [this, i] { onBoundListChosen(i); });
}

// ---- start-up ---------------------------------------------------------------------------

void MainWindow::startUp()
{
    m_state.window_ready = false;
    // The parallel-port board's delay loop (the serial edition has no bus timing to calibrate).
    if (ParallelPortLink *lpt = lptLink()) lpt->calibrate_delay();
    // The splash closes five seconds from now.
    if (m_splash) {
        m_splash->closeTimer.start();
        m_splash->raise(); // the main window loads under the splash
    }
    // The design size and every control's layout record.
    picTabBack->setMinimumSize(0, 0);
    picTabBack->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_scaler->record(picTabBack, QSize(layout::kDesignWidth, layout::kDesignHeight));

    // The registry accessor, with the board link that reads the adapters through it.
    serialLink();

    // Factory defaults, the window title, and the default band.
    m_state.image = default_image();
    if (m_state.link == LinkSelector::Usb) {
        setWindowTitle(QString::fromUtf8(text::kTitleUsb));
        m_lblMsg->show();
    } else {
        setWindowTitle(QString::fromUtf8(text::kTitleLpt));
        m_lblMsg->hide();
    }
    if (cboDft->currentIndex() == 2)
        onBandChosen();
    else
        cboDft->setCurrentIndex(2);

    probe_board_at_startup();
    if (m_closing) return; // the window was closed while the probe waited
    coNum->setCurrentIndex(0);

    // The installation's logo, centred and stored before the window counts as ready.
    m_prompts->show_startup_logo(m_state.settings.logoText);
    if (m_state.current_table_path.isEmpty())
        m_state.current_table_path = default_table_path(m_state);
    m_state.window_ready = true;
    open_default_table();

    showPage(0);
    ModifyOpt->setChecked(true);
}

// ---- applying the image -----------------------------------------------------------------

void MainWindow::applyDescriptorControl(QWidget *w)
{
    const auto d = parse_descriptor(w->property("descriptor").toString().toStdString());
    if (!d) return;
    const int v = m_state.image.field_get(d->address, d->bit, d->width);
    switch (d->kind) {
    case FieldKind::Chk:
        static_cast<QCheckBox *>(w)->setChecked(v != 0);
        break;
    case FieldKind::ChkN:
        static_cast<QCheckBox *>(w)->setChecked(v == 0);
        break;
    case FieldKind::Cbo:
        static_cast<QComboBox *>(w)->setCurrentIndex(v < static_cast<QComboBox *>(w)->count() ? v : -1);
        break;
    case FieldKind::CboBaud:
        static_cast<QComboBox *>(w)->setCurrentIndex(v - 1 < static_cast<QComboBox *>(w)->count() ? v - 1 : -1);
        break;
    default:
        break;
    }
}

void MainWindow::init_ctl()
{
    PagerImage &img = m_state.image;
    AlertsPage &alerts = *m_alerts;
    read_capcode();
    m_applyingImage = true;
    for (const MapEntry &e : memory_map())
        if (QWidget *w = picTabBack->findChild<QWidget *>(QString::fromUtf8(e.control.data(), int(e.control.size()))))
            applyDescriptorControl(w);
    m_applyingImage = false;
    alerts.show_lockout();
    alerts.show_out_of_range();

    // Logo font: 0/1 large, 2 small, anything else leaves the list.
    const int logo = img.field_get(0x3F, 0, 4);
    if (logo <= 1)
        cboLogo->setCurrentIndex(0);
    else if (logo == 2)
        cboLogo->setCurrentIndex(1);

    alerts.show_contrast();
    m_prompts->show_language();

    // Message types of capcodes #5 and #6.
    for (int k = 0; k < 2; ++k) {
        const int t = img[0x3AC + k];
        const int idx = t != 0 ? t - 2 : 0;
        cboType[k]->setCurrentIndex(idx >= 0 && idx < cboType[k]->count() ? idx : -1);
    }

    alerts.show_menu_and_tone();

    read_freq();
    m_prompts->read_prompt();
    read_Disp();
    read_Type();
    read_FunEn();
    read_Pri();
    alerts.read_pass();
    alerts.read_BatLev();
    alerts.read_Alert();
}

// ---- generic handlers -------------------------------------------------------------------

void MainWindow::onBoundCheckBoxToggled(int index)
{
    QCheckBox *box = chkCtl[index];
    if (!box) return;
    const bool checked = box->isChecked();
    if (const auto d = parse_descriptor(box->property("descriptor").toString().toStdString())) {
        const int v = checked ? 1 : 0;
        m_state.image.field_set(d->address, d->bit, d->kind == FieldKind::ChkN ? 1 - v : v, d->width);
        // "Manual Alert Override" ties the personal alert length to the box when the user
        // clicks it; applying an image must keep the stored length (16 s stays 16 s).
        if (index == 17 && !m_applyingImage) {
            m_state.image[kAddrPersonalAlert] = checked ? 255 : 8;
            m_alerts->read_Alert();
        }
        if (index == 18) {
            m_state.image[0x376] = checked ? 31 : 24;
            m_state.image.field_set(0x375, 2, checked ? 1 : 3, 2);
        }
    }
    if (index >= 10 && index <= 13) refresh_enable_note(index == 10 ? 3 : index - 11);
}

void MainWindow::onBoundListChosen(int index)
{
    QComboBox *list = cboCtl[index];
    if (!list) return;
    const int sel = list->currentIndex();
    const auto d = parse_descriptor(list->property("descriptor").toString().toStdString());
    if (d && sel >= 0) {
        if (d->kind == FieldKind::Cbo) {
            m_state.image.field_set(d->address, d->bit, sel, d->width);
        } else if (d->kind == FieldKind::CboBaud) {
            m_state.image.field_set(d->address, d->bit, sel + 1, d->width);
            static constexpr std::uint8_t kBaud[3][2] = {{5, 31}, {1, 7}, {2, 17}};
            if (sel < 3) {
                m_state.image[0x372] = kBaud[sel][0];
                m_state.image[0x373] = kBaud[sel][1];
            }
        }
    }
    if (index == 3 && chkCtl[20]) chkCtl[20]->setVisible(sel != 0);
}

// ---- pages and modes --------------------------------------------------------------------

void MainWindow::showPage(int page)
{
    m_page = page;
    EMoptCode->setVisible(page != 0);
    EMoptStatus->setVisible(page != 1);
    EMoptPrompts->setVisible(page != 2);
    // "Prompts Edit" shows the Russian page, with its keyboard, while the language is Russian.
    const bool russian = page == 2 && m_prompts->russian_selected();
    QWidget *front = page == 0 ? picSet1 : page == 1 ? picSet2 : russian ? picSet6 : picSet5;
    picSet1->setVisible(page == 0);
    picSet2->setVisible(page == 1);
    picSet5->setVisible(page == 2 && !russian);
    picSet6->setVisible(russian);
    front->raise();
    if (isVisible()) front->setFocus(Qt::OtherFocusReason);
    if (russian)
        m_prompts->russian().open_keyboard();
    else
        m_prompts->russian().close_keyboard();
}

void MainWindow::showCodePage() { showPage(0); }
void MainWindow::showAlertsPage() { showPage(1); }
void MainWindow::showPromptsPage() { showPage(2); }

bool MainWindow::writeMode() const { return WriteOpt->isChecked(); }

void MainWindow::setEditingEnabled(bool enabled)
{
    static const QStringList prefixes{"txt", "opt", "cbo", "chk", "cmd"};
    for (QWidget *w : picTabBack->findChildren<QWidget *>()) {
        const QString n = w->objectName();
        for (const QString &p : prefixes)
            if (n.startsWith(p)) {
                w->setEnabled(enabled);
                break;
            }
    }
}

void MainWindow::holdInput(bool held)
{
    if (held) {
        if (m_inputHolds++ > 0) return;
        // The page background holds every control: disabled, it disables them all, and each
        // keeps its own state for afterwards.
        picTabBack->setEnabled(false);
        QList<QAction *> commands = menuBar()->actions();
        for (QAction *top : menuBar()->actions())
            if (QMenu *menu = top->menu()) commands += menu->actions();
        for (QAction *a : commands) {
            m_heldActions.insert(a, a->isEnabled());
            a->setEnabled(false);
        }
        // The plan and ledger windows act on the image and the ledger too.
        for (QWidget *w : {static_cast<QWidget *>(m_planDialog.data()), static_cast<QWidget *>(m_ledgerWindow.data())})
            if (w) w->setEnabled(false);
        return;
    }
    if (m_inputHolds == 0 || --m_inputHolds > 0) return;
    for (auto it = m_heldActions.cbegin(); it != m_heldActions.cend(); ++it) it.key()->setEnabled(it.value());
    m_heldActions.clear();
    picTabBack->setEnabled(true);
    for (QWidget *w : {static_cast<QWidget *>(m_planDialog.data()), static_cast<QWidget *>(m_ledgerWindow.data())})
        if (w) w->setEnabled(true);
}

void MainWindow::enterModifyMode()
{
    ModifyOpt->setChecked(true);
    setEditingEnabled(true);
}

void MainWindow::enterWriteMode()
{
    commitFocus();
    WriteOpt->setChecked(true);
    setEditingEnabled(false);
    // The option clicked keeps the focus, unless a rejected frequency took it back.
    if (!m_state.frequency_rejected) WriteOpt->setFocus(Qt::OtherFocusReason);
}

void MainWindow::commitFocus()
{
    // Moving the focus to the background runs the store-on-leave action of the box in edit.
    picTabBack->setFocus(Qt::OtherFocusReason);
}

void MainWindow::exitProgram() { close(); }

void MainWindow::setSplash(SplashWindow *splash) { m_splash = splash; }

void MainWindow::showAbout()
{
    AboutBox about(m_state.settings.companyText, m_state.link, this);
    about.exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_closing = true;
    m_state.program_ending = true;
    boardWatchTimer.stop();
    QMainWindow::closeEvent(event);
    // Ending the main window ends the program at once, closing every other window, even when
    // it is closed in the middle of its start-up.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_closing) return false;
    if (event->type() == QEvent::KeyPress) {
        auto *w = qobject_cast<QWidget *>(watched);
        auto *ke = static_cast<QKeyEvent *>(event);
        // Write Mode: Space anywhere in the window starts Pager ▸ Write; while a capcode plan is
        // open, Space there or in the plan's window writes the plan's next row.
        const bool inPlan = w && m_planDialog && w->window() == m_planDialog;
        if (w && (w->window() == this || inPlan) && writeMode() && ke->key() == Qt::Key_Space && !ke->isAutoRepeat()) {
            if (inputHeld()) return true;
            const bool onWriteOption = watched == WriteOpt;
            if (m_planDialog)
                writePlanRow();
            else
                writePager();
            // Pressed on the "Write Mode" option, the focus stays there for the next pager.
            if (onWriteOption && !m_closing) WriteOpt->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return editorEventFilter(watched, event);
}

// ---- resizing ---------------------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!m_scaler->designSize().isEmpty()) {
        m_scaler->apply(picTabBack->size());
        m_prompts->Set_PromptEd_Width();
    }
}

double MainWindow::scaleX() const { return m_scaler->sx(); }
double MainWindow::scaleY() const { return m_scaler->sy(); }

// ---- board status -----------------------------------------------------------------------

void MainWindow::showBoardState(bool connected)
{
    QPalette pal = m_lblMsg->palette();
    pal.setColor(QPalette::WindowText, connected ? QColor(0, 0, 0) : QColor(255, 0, 0));
    m_lblMsg->setPalette(pal);
    m_lblMsg->setText(QString::fromUtf8(connected ? text::kBoardConnect : text::kBoardDisconnect));
    m_mnuPager->setEnabled(connected);
    // While input is held the menu shows the board's state when the hold ends.
    if (inputHeld())
        m_heldActions[m_mnuPager->menuAction()] = connected;
    else
        m_mnuPager->menuAction()->setEnabled(connected);
}

// ---- loaders ----------------------------------------------------------------------------

void MainWindow::select_band_from_image(bool fromTableFile)
{
    PagerImage &img = m_state.image;
    const int target = band_of_image(img).value_or(-1);
    if (target != kBandGp) {
        // Opening a table file shows "Frequency Modification Enable"; a pager read does not.
        if (fromTableFile) chkCtl[4]->setVisible(true);
        if (target >= 0) m_state.MUTL = kBandMutl[std::size_t(target)];
    }
    if (target >= 0 && target != cboDft->currentIndex()) {
        m_state.controls_loading = true;
        cboDft->setCurrentIndex(target); // its handler lowers the flag
    }
    m_state.controls_loading = false;
    m_state.loaded_image_refresh = true;
    init_ctl();
    m_state.loaded_image_refresh = false;
    // The loaded language decides which prompt page "Prompts Edit" shows.
    if (m_page == 2) showPage(2);
}

void MainWindow::show_path_in_title(const QString &path)
{
    const QString title = windowTitle();
    const int bracket = title.indexOf(QLatin1Char('['));
    if (bracket >= 0)
        setWindowTitle(title.left(bracket + 1) + path + QLatin1Char(']'));
    else
        setWindowTitle(title + QStringLiteral(" - [") + path + QLatin1Char(']'));
}

} // namespace zr730
