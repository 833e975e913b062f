#include "editor/prompts_page.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QValidator>

#include "editor/controls.h"
#include "editor/main_window.h"
#include "editor/russian_page.h"
#include "image/cp1252.h"
#include "support/texts.h"

namespace zr730 {

namespace {

QString s(std::string_view v) { return QString::fromUtf8(v.data(), int(v.size())); }

QString to_text(const PromptLine &line)
{
    QString t;
    t.reserve(int(line.size()));
    for (std::uint8_t b : line) t.append(QChar(char16_t(cp1252_to_unicode(b))));
    return t;
}

// Characters without a byte in the code page become '?' (only text that did not come from the
// keyboard can hold them).
PromptLine to_line(const QString &text)
{
    PromptLine line;
    for (char32_t c : text.toUcs4()) line.push_back(unicode_to_cp1252(c).value_or('?'));
    return line;
}

// Typing in a prompt box: only characters of the code page, and no more than the box's length
// limit. A longer text set by the program (a stored record) may still be edited down.
class PromptValidator : public QValidator {
public:
    explicit PromptValidator(QLineEdit *box) : QValidator(box)
    {
        connect(box, &QLineEdit::textChanged, this, [this](const QString &t) { m_length = int(t.size()); });
    }
    void setLimit(int limit) { m_limit = limit; }
    int limit() const { return m_limit; }
    // Called before the program sets a text, so that text counts as accepted.
    void accept(const QString &text) { m_length = int(text.size()); }

    State validate(QString &input, int &) const override
    {
        for (char32_t c : input.toUcs4())
            if (c < 32 || !unicode_to_cp1252(c)) return Invalid;
        const int n = int(input.size());
        return n > m_limit && n > m_length ? Invalid : Acceptable;
    }

private:
    int m_limit = kSmallWidth;
    int m_length = 0;
};

PromptValidator *validator_of(QLineEdit *box) { return static_cast<PromptValidator *>(const_cast<QValidator *>(box->validator())); }

void set_box_text(QLineEdit *box, const QString &text)
{
    validator_of(box)->accept(text);
    box->setText(text);
}

QFont prompt_font()
{
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSizeF(QFont().pointSizeF());
    return f;
}

} // namespace

PromptsPage::PromptsPage(ProgramState &state, MainWindow &main)
    : QObject(nullptr), m_state(state), m_main(main), m_russian(std::make_unique<RussianPage>(state, main))
{}

PromptsPage::~PromptsPage() = default;

// ---- building ---------------------------------------------------------------------------

void PromptsPage::buildLogoControls(QWidget *frame, QComboBox *logoFontList)
{
    using namespace layout;
    const QString tip = QStringLiteral("Power up prompt.");
    lblPrompt[0] = makeLabel(frame, "lblLogo", s(prompt_table()[0].label), {16, 24, 110, kRow});
    lblPrompt[0]->setToolTip(tip);
    QLineEdit *logo = makeEdit(frame, indexed("txtPrompt", 0), {126, 24, 190, kRow}, lblPrompt[0]->text(), 0);
    lblPrompt[0]->setBuddy(logo);
    txtPrompt[0] = logo;
    const int bx = 340;
    const char *captions[3] = {"Align Left", "Align Center", "Align Right"};
    std::array<QPushButton *, 2> *targets[3] = {&optLeft, &optCenter, &optRight};
    for (int b = 0; b < 3; ++b) {
        QPushButton *btn = makeButton(frame, indexed(b == 0 ? "optLeft" : b == 1 ? "optCenter" : "optRight", 1),
                                      QString::fromLatin1(captions[b]), {bx + 96 * b, 22, 92, 26});
        btn->setFocusPolicy(Qt::TabFocus); // Tab reaches it; a click leaves the focus in the box
        btn->setAccessibleName(QStringLiteral("Logo ") + btn->text());
        (*targets[b])[1] = btn;
    }
    connect(optLeft[1], &QPushButton::clicked, this, [this] { alignLeft(1); });
    connect(optCenter[1], &QPushButton::clicked, this, [this] { alignCenter(1); });
    connect(optRight[1], &QPushButton::clicked, this, [this] { alignRight(1); });

    QLabel *lngLabel = makeLabel(frame, "lblLng", "Prompt Language Type", {bx, 56, 170, kRow});
    lngLabel->setToolTip(tip);
    QStringList languages;
    for (const PromptLanguage &l : kPromptLanguages) languages << s(l.entry);
    cboLng = makeCombo(frame, "cboLng", languages, {bx + 170, 57, 120, kListHeight}, lngLabel->text());
    lngLabel->setBuddy(cboLng);
    connect(cboLng, &QComboBox::currentIndexChanged, this, [this] { onLanguageChosen(); });

    cboLogo = logoFontList;
    connect(cboLogo, &QComboBox::currentIndexChanged, this, [this] { onLogoFontChosen(); });

    lblEdLen = makeLabel(frame, "lblEdLen", QString(), {0, 0, 0, 0});
    lblEdLen->hide();
}

void PromptsPage::buildTextPage(QWidget *page)
{
    using namespace layout;
    for (int i = 1; i < kPromptCount; ++i) {
        const int x = i <= 15 ? 12 : 470, y = 14 + 30 * ((i - 1) % 15);
        const PromptInfo &info = prompt_table()[std::size_t(i)];
        QLineEdit *box = makeEdit(page, indexed("txtPrompt", i), {x + 142, y, 190, kRow}, QString(), 0);
        lblPrompt[std::size_t(i)] = makeLabel(page, indexed("lblPrompt", i), s(info.label), {x, y, 140, kRow});
        labelControl(lblPrompt[std::size_t(i)], box);
        txtPrompt[std::size_t(i)] = box;
    }
    const int by = 14 + 30 * 15 + 12;
    const char *captions[3] = {"Align Left", "Align Center", "Align Right"};
    std::array<QPushButton *, 2> *targets[3] = {&optLeft, &optCenter, &optRight};
    for (int b = 0; b < 3; ++b) {
        QPushButton *btn = makeButton(page, indexed(b == 0 ? "optLeft" : b == 1 ? "optCenter" : "optRight", 0),
                                      QString::fromLatin1(captions[b]), {12 + 128 * b, by, 120, 28});
        btn->setFocusPolicy(Qt::TabFocus); // Tab reaches it; a click leaves the focus in the box
        (*targets[b])[0] = btn;
    }
    optDefault = makeButton(page, "optDefault", "Load Default", {12 + 128 * 3, by, 120, 28});
    optDefault->setFocusPolicy(Qt::TabFocus);
    connect(optLeft[0], &QPushButton::clicked, this, [this] { alignLeft(0); });
    connect(optCenter[0], &QPushButton::clicked, this, [this] { alignCenter(0); });
    connect(optRight[0], &QPushButton::clicked, this, [this] { alignRight(0); });
    connect(optDefault, &QPushButton::clicked, this, [this] { restoreDefaultPrompt(); });

    const QFont mono = prompt_font();
    for (int i = 0; i < kPromptCount; ++i) {
        QLineEdit *box = txtPrompt[std::size_t(i)];
        const PromptInfo &info = prompt_table()[std::size_t(i)];
        box->setProperty("descriptor", QStringLiteral("&H%1,%2").arg(info.address, 0, 16).arg(info.large ? 1 : 0).toUpper());
        box->setFont(mono);
        box->setValidator(new PromptValidator(box));
        box->installEventFilter(this);
    }
}

// ---- showing ----------------------------------------------------------------------------

int PromptsPage::languageIndex() const { return cboLng->currentIndex() < 0 ? kEnglishIndex : cboLng->currentIndex(); }

bool PromptsPage::russian_selected() const { return cboLng->currentIndex() == kRussianIndex; }

void PromptsPage::show_language()
{
    m_state.controls_loading = true;
    if (const auto i = language_index(m_state.image)) cboLng->setCurrentIndex(*i);
    m_state.controls_loading = false;
    Set_PromptEd_Width();
}

void PromptsPage::read_prompt()
{
    const int last = russian_selected() ? 0 : kPromptCount - 1;
    for (int i = 0; i <= last; ++i) {
        m_shown[std::size_t(i)] = to_text(prompt_shown(m_state.image, i));
        set_box_text(txtPrompt[std::size_t(i)], m_shown[std::size_t(i)]);
    }
    if (russian_selected()) m_russian->read_rows();
}

void PromptsPage::formatBox(int i, bool large)
{
    QLineEdit *box = txtPrompt[std::size_t(i)];
    QFont f = box->font();
    f.setBold(large);
    box->setFont(f);
    lblEdLen->setFont(f);
    const QString blanks(large ? kLargeWidth + 1 : kSmallWidth + 1, QLatin1Char(' '));
    lblEdLen->setText(blanks);
    lblEdLen->resize(QFontMetrics(f).horizontalAdvance(blanks) + 6, lblEdLen->height());
    box->resize(lblEdLen->width(), box->height());
    validator_of(box)->setLimit(large ? kLargeWidth : kSmallWidth);
}

void PromptsPage::Set_PromptEd_Width()
{
    const bool english = languageIndex() == kEnglishIndex;
    for (int i = 1; i < kPromptCount; ++i) {
        const bool large = english && prompt_table()[std::size_t(i)].large;
        formatBox(i, large);
        lblPrompt[std::size_t(i)]->setToolTip(large ? QStringLiteral(" Large Font ( Less than 17 characters ) ")
                                                    : QStringLiteral(" Small Font ( Less than 19 characters ) "));
    }
    onLogoFontChosen();
}

void PromptsPage::show_startup_logo(const QString &text)
{
    set_box_text(txtPrompt[0], to_text(to_line(text)));
    alignCenter(1);
    m_shown[0].clear(); // stored as the installation's logo even when it looks the same
    store_box(0);
}

// ---- handlers ---------------------------------------------------------------------------

void PromptsPage::onLanguageChosen()
{
    if (m_state.controls_loading) {
        m_state.controls_loading = false;
        return;
    }
    if (cboLng->currentIndex() < 0) return;
    select_language(m_state.image, cboLng->currentIndex());
    Set_PromptEd_Width();
    read_prompt();
}

void PromptsPage::onLogoFontChosen()
{
    const int sel = cboLogo->currentIndex();
    if (sel >= 0) m_state.image.field_set(kLogoFontAddress, 0, sel == 0 ? 0 : 2, 4);
    formatBox(0, sel <= 0);
}

void PromptsPage::alignCurrent(int buttonIndex, Align align)
{
    if (buttonIndex == 1) m_current = 0;
    QLineEdit *box = txtPrompt[std::size_t(m_current)];
    set_box_text(box, to_text(align_line(to_line(box->text()), validator_of(box)->limit(), align)));
    // The start-up centres the logo before the window is shown; it must not take the focus then.
    if (align != Align::Center || m_state.window_ready) box->setFocus(Qt::OtherFocusReason);
}

void PromptsPage::restoreDefaultPrompt()
{
    load_default_prompt(m_state.image, m_current, languageIndex());
    read_prompt();
    txtPrompt[std::size_t(m_current)]->setFocus(Qt::OtherFocusReason);
}

bool PromptsPage::store_box(int i)
{
    QLineEdit *box = txtPrompt[std::size_t(i)];
    // Looking is not editing: a box whose text is still the image's stores nothing.
    if (box->text() == m_shown[std::size_t(i)]) return true;
    if (store_prompt(m_state.image, i, to_line(box->text())) == StoreResult::TooLong) {
        m_state.messages.show(QString::fromUtf8(text::kPromptTooLong), MsgIcon::None);
        // Back into the box once the focus change that ended the entry is complete.
        QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
        return false;
    }
    read_prompt();
    return true;
}

bool PromptsPage::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::FocusOut && type != QEvent::KeyPress) return false;
    int i = 0;
    while (i < kPromptCount && txtPrompt[std::size_t(i)] != watched) ++i;
    if (i == kPromptCount || !is_edit_focus_change(event)) return false;
    if (type == QEvent::FocusIn) {
        m_current = i;
    } else if (type == QEvent::FocusOut) {
        store_box(i);
    } else {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        m_main.picTabBack->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

} // namespace zr730
