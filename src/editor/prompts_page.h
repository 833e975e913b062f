#pragma once
// The prompt editor: the logo box, logo font and prompt language in the "Prompts" frame of
// "Alerts and Status", and the thirty prompt boxes of "Prompts Edit" with their alignment and
// load-default buttons. Russian prompts are edited on the Russian page, which this page owns.
#include <QObject>
#include <QString>
#include <array>
#include <memory>

#include "image/prompts.h"
#include "support/program_state.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zr730 {

class MainWindow;
class RussianPage;

class PromptsPage : public QObject {
    Q_OBJECT
public:
    PromptsPage(ProgramState &state, MainWindow &main);
    ~PromptsPage() override;

    // The logo box, its alignment buttons and the language list, in the "Prompts" frame;
    // cboLogo is the window's descriptor-bound list.
    void buildLogoControls(QWidget *frame, QComboBox *logoFontList);
    void buildTextPage(QWidget *page);
    RussianPage &russian() { return *m_russian; }

    // init_ctl: the language list from the image (with controls_loading raised), then the
    // box formatting.
    void show_language();
    void read_prompt();
    void Set_PromptEd_Width();
    // Start-up: the installation's logo text, centred and stored.
    void show_startup_logo(const QString &text);
    bool russian_selected() const;

    // Handlers
    void onLanguageChosen();
    void onLogoFontChosen();
    void alignLeft(int i) { alignCurrent(i, Align::Left); }
    void alignCenter(int i) { alignCurrent(i, Align::Center); }
    void alignRight(int i) { alignCurrent(i, Align::Right); }
    void restoreDefaultPrompt();
    // Stores box i when its text differs from what the image shows; false when refused.
    bool store_box(int i);
    int current_prompt() const { return m_current; }

    std::array<QLineEdit *, kPromptCount> txtPrompt{};
    std::array<QLabel *, kPromptCount> lblPrompt{}; // the labels of the boxes; 0 is "Power Up Logo"
    QComboBox *cboLng = nullptr;
    QComboBox *cboLogo = nullptr;
    std::array<QPushButton *, 2> optLeft{}, optCenter{}, optRight{};
    QPushButton *optDefault = nullptr;
    QLabel *lblEdLen = nullptr; // measures the boxes' widths

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void alignCurrent(int buttonIndex, Align align);
    void formatBox(int i, bool large);
    int languageIndex() const;

    ProgramState &m_state;
    MainWindow &m_main;
    std::unique_ptr<RussianPage> m_russian;
    std::array<QString, kPromptCount> m_shown; // each box's text as the image shows it
    int m_current = 0;
};

} // namespace zr730
