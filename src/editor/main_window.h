#pragma once
// The main window: three pages of editors bound to the pager memory image, the menus,
// Modify Mode / Write Mode and proportional resizing.
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "support/program_state.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zr730 {

class AlertsPage;
class SplashWindow;
class InstrumentLayer;
class Ledger;
class LedgerWindow;
class PlanDialog;
struct LedgerEntry;
class LedgerRecorder;
class ParallelPortLink;
class PortIo;
class PromptsPage;
class PagerLink;
class Scaler;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ProgramState &state, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up, in its fixed order. Call once after construction.
    void startUp();
    // The splash whose closing timer the load starts.
    void setSplash(SplashWindow *splash);
    // Help ▸ About.
    void showAbout();

    // Applies the whole image to the window.
    void init_ctl();

    // Band list set from a loaded or read image, without writing band defaults
    // (0x3F8 = 0xAA → GP band; else by the first frequency digit), then the redraw with
    // loaded_image_refresh raised.
    void select_band_from_image(bool fromTableFile = true);
    // "… - [path]" in the window title.
    void show_path_in_title(const QString &path);

    // Menu commands. File commands live in main_window_file.cpp, Pager commands in main_window_pager.cpp.
    void openTableFile();
    void saveTableFile();
    void saveTableFileAs();
    void readPager();
    void writePager();
    void verifyPager();
    void exitProgram();
    // Opens the current table path silently (start-up's "default.tbl").
    void open_default_table();
    // File ▸ "Ledger…": the ledger window (raised when it is open already).
    void openLedgerWindow();
    LedgerWindow *ledgerWindow() const;
    // An entry's image (with its image) replaces the screen's as File ▸ Open does; the title
    // names the entry.
    void openLedgerImage(const LedgerEntry &entry);

    // Pager ▸ "Program from Plan…": chooses, checks and opens a capcode plan in its window.
    // Plan commands live in main_window_plan.cpp.
    void programFromPlan();
    // Writes the plan's next row (Space in Write Mode, or the plan window's button): the row's
    // capcodes on screen, then Pager ▸ Write's own path, recorded with the plan's name and row.
    void writePlanRow();
    // The plan window's "Labels…": the label sheet of the selected rows (of all when none).
    void savePlanLabels();
    PlanDialog *planDialog() const;

    // Board watch and start-up probe (serial edition).
    void probe_board_at_startup();
    void watchBoard();
    void setPagerLink(PagerLink *link) { m_link = link; }
    PagerLink *pagerLink() const { return m_link; }

    // Page switching and modes.
    void showCodePage();
    void showAlertsPage();
    void showPromptsPage();
    void enterModifyMode();
    void enterWriteMode();
    bool writeMode() const;

    // The page in front: 0 Code, 1 Alerts, 2 Prompts.
    int currentPage() const { return m_page; }

    // Handlers of the generic controls.
    void onBoundCheckBoxToggled(int index);
    void onBoundListChosen(int index);

    // Capcodes
    void read_capcode();
    void read_Type();
    void read_Disp();
    void read_Pri();
    void read_FunEn();
    void refresh_enable_note(int set);
    void refresh_enable_notes();
    void editFunctionBits(int set);

    // Frequency and band
    void read_freq();
    void read_pll();
    void onBandChosen();
    void onChannelSpacingChosen(int i);
    void onGpSpacingChosen(int i);
    // Validation and write on leaving the frequency box; false when rejected.
    bool commitFrequency();
    int band() const;

    // Scale factors of the last resize (for tests).
    double scaleX() const;
    double scaleY() const;

    // The board status line and Pager menu.
    void showBoardState(bool connected);

    // Holds the window's input off while an operation that sends to the hardware keeps the
    // event loop running (a test-page run, a transfer, the start-up probe), whatever the route
    // of the input (mouse, keys, a screen reader's actions): the page controls and every menu
    // command are disabled, and come back exactly as they were (the Write Mode lock, the
    // board watch's Pager menu). Holds nest.
    class InputHold {
    public:
        explicit InputHold(MainWindow &window) : m_window(window) { m_window.holdInput(true); }
        ~InputHold() { m_window.holdInput(false); }
        InputHold(const InputHold &) = delete;
        InputHold &operator=(const InputHold &) = delete;

    private:
        MainWindow &m_window;
    };
    bool inputHeld() const { return m_inputHolds > 0; }
    QLabel *statusLabel() const { return m_lblMsg; }
    QMenu *pagerMenu() const { return m_mnuPager; }

    ProgramState &state() { return m_state; }
    // The alert, battery, menu, contrast and password options (and the alert-length summary).
    AlertsPage &alerts() { return *m_alerts; }
    // The logo, the prompt language and both prompt pages, with the Russian keyboard.
    PromptsPage &prompts() { return *m_prompts; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildMenus();
    void buildCodePage(QWidget *page);
    void buildStatusPage(QWidget *page);
    void buildPromptsPages();
    void bindDescriptorControls();
    void showPage(int page);
    void setEditingEnabled(bool enabled);
    void holdInput(bool held);
    void commitFocus();
    void applyDescriptorControl(QWidget *w);
    // Got-focus, key and lost-focus handlers of the text boxes.
    bool editorEventFilter(QObject *watched, QEvent *event);
    bool m_inFrequencyCheck = false;

    // Capcode box handlers
    void onCapcodeFocused(int i);
    void onCapcodeKeyUp(int i);
    void commitCapcode(int i);
    void onMessageTypeChosen(int k);

    // Frequency box handlers
    void onFrequencyFocused();
    void onFrequencyKeyUp();
    void setChannelLists(int listBand);
    void reapplyChannelSpacing(int i);

    ProgramState &m_state;
    PagerLink *m_link = nullptr;
    std::unique_ptr<Scaler> m_scaler;
    // Destroyed before the controls it filters and handles.
    std::unique_ptr<AlertsPage> m_alerts;
    std::unique_ptr<PromptsPage> m_prompts;
    // Raised while init_ctl sets the bound controls from the image.
    bool m_applyingImage = false;
    int m_page = 0;
    bool m_closing = false;
    int m_deferredCommand = -1; // a Pager command waiting for the link to be free
    bool m_pagerCommandRunning = false; // one Pager command at a time
    int m_inputHolds = 0;
    QHash<QAction *, bool> m_heldActions; // each menu command's enabled state before the hold

public:
    // Controls, by their names. Arrays keep the indexes of the window's design; gaps are null.
    QWidget *picTabBack = nullptr;
    QPushButton *EMoptCode = nullptr, *EMoptStatus = nullptr, *EMoptPrompts = nullptr;
    QLabel *Label14 = nullptr, *Label15 = nullptr, *lblPEdit = nullptr;
    QWidget *picSet1 = nullptr, *picSet2 = nullptr, *picSet5 = nullptr, *picSet6 = nullptr;
    QRadioButton *ModifyOpt = nullptr, *WriteOpt = nullptr;
    QLabel *m_lblMsg = nullptr;
    QMenu *m_mnuPager = nullptr;
    QAction *mnuLBFF = nullptr, *mnuSBTF = nullptr, *mnuSA = nullptr, *mnuExit = nullptr;
    QAction *mnuEntire = nullptr, *mnuEB = nullptr, *mnuEB1 = nullptr, *mnuAbout = nullptr;
    QAction *mnuLedger = nullptr, *mnuPlan = nullptr;
    QTimer boardWatchTimer;

    std::array<QCheckBox *, 23> chkCtl{};
    std::array<QComboBox *, 10> cboCtl{};
    QComboBox *cboLogo = nullptr;

    // Capcode frame
    std::array<QLineEdit *, 6> txtAddr{};
    std::array<QLabel *, 6> Label10{};
    std::array<QPushButton *, 4> cmdFunc{};
    std::array<QLineEdit *, 4> tlblType{}, tlblDisp{}, tlblPri{}, tlblFunEn{};
    std::array<QLabel *, 4> EnToolTip{};
    std::array<QComboBox *, 2> cboType{};
    QCheckBox *optAuto1 = nullptr, *optAuto2 = nullptr;

    // Frequency frame and PLL panel
    QComboBox *cboDft = nullptr;
    QLineEdit *txtFreq = nullptr;
    QWidget *Picture2 = nullptr;
    QWidget *picPLL = nullptr;
    std::array<QComboBox *, 2> cboChannel{}, Combo1{};
    std::array<QLabel *, 2> lblCHANNEL{}, Label21{};
    QLabel *lblPLLR = nullptr, *lblPLLN = nullptr, *lblMUTL = nullptr;

    // Test page through the GPIB signal generator
    QLineEdit *txtGPIB = nullptr;
    QComboBox *coNum = nullptr;
    QPushButton *Command1 = nullptr;
    // "Send 8648A": pages capcode #1, or every enabled capcode, with a pause between pages.
    void sendTestPage();
    // The pause between two pages (the window paints but takes no input); tests replace it.
    void setTestPagePause(std::function<void(int ms)> pause) { m_testPagePause = std::move(pause); }

    // Table files / transfer
    // A Pager menu command: mode 0 Read, 1 Write, 2 Verify; opens the transfer dialog modally.
    void run_pager_command(int mode);
    // The link the transfer dialog uses: the one set, else the serial link.
    PagerLink *transferLink();

    // Board link
public:
    // The serial link to the programmer board (registry view, serial ports, board watch),
    // made on first use; the window owns it.
    class SerialLink *serialLink();
    // The parallel-port board (parallel-port edition), made at start-up from the settings.
    ParallelPortLink *lptLink();
    PortIo *portIo() const { return m_portIo.get(); }
    // Where writes and reads are recorded: the programming ledger of the settings, opened on
    // the first transfer.
    LedgerRecorder *ledgerRecorder();
    // That ledger, opened on first use.
    Ledger &ledger();

private:
    class BoardLink;
    BoardLink *m_boardLink = nullptr; // a child object of the window
    QPointer<SplashWindow> m_splash;
    std::unique_ptr<PortIo> m_portIo;  // parallel-port edition: the port and the board on it
    std::unique_ptr<ParallelPortLink> m_lpt;
    std::unique_ptr<InstrumentLayer> m_instrument; // made on the first test page
    std::unique_ptr<Ledger> m_ledger;
    std::unique_ptr<LedgerRecorder> m_recorder;
    std::function<void(int ms)> m_testPagePause;

    // The capcode plan being programmed, and the screen's capcode records from before it.
    void refreshPlan();
    void closePlan();
    void placePlanDialog(QWidget *dialog);
    // A configuration loaded while a plan is open is the plan's base from then on.
    void planBaseReplaced();
    QPointer<PlanDialog> m_planDialog;
    PagerImage m_planBase;
    bool m_planWriteDeferred = false;
    QPointer<LedgerWindow> m_ledgerWindow;
};

} // namespace zr730
