// The prompt editor through the main window: boxes, buttons, language, start-up logo, the
// Russian page and its keyboard.
#include <QtTest>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "editor/keyboard/russian_keyboard.h"
#include "editor/prompts_page.h"
#include "editor/russian_page.h"
#include "image/defaults.h"
#include "support/started_window.h"

using namespace zr730;
using Window = zr730::testing::StartedWindow;

namespace {
// Types any characters, as a keyboard layout that has them would.
void typeText(QWidget *box, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &press);
        QCoreApplication::sendEvent(box, &release);
    }
}
} // namespace

class TestPromptsPage : public QObject {
    Q_OBJECT
private slots:
    void startupLogoIsCentredStoredAndBold();
    void tabbingThroughEveryBoxChangesNoByte();
    void typingStoresOnLeavingAndRefusesTooLongLines();
    void buttonsActOnTheCurrentBox();
    void swedishMakesEveryBoxSmallFont();
    void keyboardTypesAtTheCursorInModifyModeOnly();
    void loadedLanguageDecidesThePromptPage();
    void rowLabelsShowADoubledAmpersandAsOne_data();
    void rowLabelsShowADoubledAmpersandAsOne();
};

void TestPromptsPage::startupLogoIsCentredStoredAndBold()
{
    InstallationSettings settings;
    settings.logoText = QStringLiteral("ACME");
    Window w(settings);
    PromptsPage &p = w.window->prompts();
    QCOMPARE(p.txtPrompt[0]->text(), QString("      ACME"));
    QVERIFY(p.txtPrompt[0]->font().bold());
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&w.state.image.bytes()[0x100]), 6), QByteArray("\x06\x04" "ACME"));
    QCOMPARE(p.cboLng->currentText(), QString("English"));
    QVERIFY(p.txtPrompt[1]->font().bold() && !p.txtPrompt[2]->font().bold());
}

void TestPromptsPage::tabbingThroughEveryBoxChangesNoByte()
{
    for (int language : {0, 3}) { // the German logo has trailing blanks in its length
        Window w;
        PromptsPage &p = w.window->prompts();
        p.cboLng->setCurrentIndex(language);
        w.window->showPromptsPage();
        const PagerImage before = w.state.image;
        for (QLineEdit *box : p.txtPrompt) w.focus(box);
        w.leave();
        QVERIFY(w.state.image == before);
    }
}

void TestPromptsPage::typingStoresOnLeavingAndRefusesTooLongLines()
{
    Window w;
    PromptsPage &p = w.window->prompts();
    w.window->showPromptsPage();
    QLineEdit *box = p.txtPrompt[3]; // small font, limit 21
    w.focus(box);
    box->selectAll();
    typeText(box, QString::fromUtf8("  Grüße Ж")); // Ж has no byte: not typed
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&w.state.image.bytes()[0x13C]), 7), QByteArray("\x42\x05Gr\xFC\xDF" "e"));
    QCOMPARE(box->text(), QString::fromUtf8("  Grüße"));

    w.focus(box);
    QTest::keyClicks(box, QString(30, 'W')); // typing stops at 21
    QCOMPARE(box->text().size(), 21);
    const PagerImage before = w.state.image;
    w.leave();
    QCOMPARE(w.messages.texts(), QStringList{"Can not exceed 18 characters exclude left space!"});
    QVERIFY(w.state.image == before);
    QTRY_VERIFY(box->hasFocus());

    // A stored record longer than the box's limit still shows whole.
    w.state.image[0x150] = 0x0F;
    w.state.image[0x151] = 18;
    w.window->init_ctl();
    QCOMPARE(p.txtPrompt[4]->text().size(), 33);
}

void TestPromptsPage::buttonsActOnTheCurrentBox()
{
    Window w;
    PromptsPage &p = w.window->prompts();
    w.window->showPromptsPage();
    QLineEdit *box = p.txtPrompt[13]; // large font, "TONE ONLY"
    w.focus(box);
    QTest::mouseClick(p.optRight[0], Qt::LeftButton);
    QCOMPARE(box->text(), QString("       TONE ONLY"));
    w.leave();
    QCOMPARE(int(w.state.image[0x204] & 0x0F), 7);
    w.focus(p.txtPrompt[30]);
    p.txtPrompt[30]->setText("XX");
    QTest::mouseClick(p.optDefault, Qt::LeftButton);
    QCOMPARE(p.txtPrompt[30]->text(), QString("      CHIRP OFF"));
    // The logo's buttons take the logo box.
    p.optLeft[1]->click();
    QCOMPARE(p.current_prompt(), 0);
    QCOMPARE(p.txtPrompt[0]->text(), QString("VORTEK"));
}

void TestPromptsPage::swedishMakesEveryBoxSmallFont()
{
    Window w;
    PromptsPage &p = w.window->prompts();
    p.cboLng->setCurrentIndex(4);
    QCOMPARE(int(w.state.image[0x3A] & 15), 15);
    QCOMPARE(int(w.state.image[0x3E] & 15), 15);
    for (int i = 1; i < kPromptCount; ++i) QVERIFY(!p.txtPrompt[std::size_t(i)]->font().bold());
    QCOMPARE(p.txtPrompt[1]->width(), p.txtPrompt[2]->width());
    QCOMPARE(p.txtPrompt[1]->text(), QString("    NO PAGES"));
}

void TestPromptsPage::keyboardTypesAtTheCursorInModifyModeOnly()
{
    Window w;
    RussianPage &r = w.window->prompts().russian();
    w.window->prompts().cboLng->setCurrentIndex(5);
    w.window->showPromptsPage();
    RussianKeyboard *kb = r.keyboard();
    QVERIFY(kb && kb->isVisible() && w.window->picSet6->isVisible());
    QVERIFY(kb->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(r.cursor(), 0);

    QTest::mouseClick(r.Image1[17], Qt::LeftButton);
    kb->Command1[97]->click(); // Б on the last column: the cursor stays
    QCOMPARE(int(w.state.image[0x127]), 97);
    QCOMPARE(r.cursor(), 17);
    QCOMPARE(r.Image1[17]->objectName(), QString("Image1(17)"));
    r.selectCell(580);
    kb->Command1[32]->click();
    kb->Command1[0]->click();
    QCOMPARE(int(w.state.image[0x3C6]), 32);
    QCOMPARE(int(w.state.image[0x3C7]), 0);
    QCOMPARE(r.cursor(), 582);

    w.window->WriteOpt->click();
    const PagerImage before = w.state.image;
    kb->Command1[98]->click();
    QVERIFY(w.state.image == before);
    QCOMPARE(r.cursor(), 582);

    w.window->showCodePage(); // another page closes the keyboard
    QVERIFY(!r.keyboard());
}

void TestPromptsPage::loadedLanguageDecidesThePromptPage()
{
    Window w;
    w.window->showPromptsPage();
    QVERIFY(w.window->picSet5->isVisible());
    PagerImage russian = default_image();
    select_language(russian, 5);
    w.state.image = russian;
    w.window->select_band_from_image(); // as File ▸ Open and Pager ▸ Read finish
    QVERIFY(w.window->picSet6->isVisible() && !w.window->picSet5->isVisible());
    QVERIFY(w.window->prompts().russian().keyboard());
    w.window->close(); // ends the program with the keyboard open
    QVERIFY(!w.window->prompts().russian().keyboard() || !w.window->prompts().russian().keyboard()->isVisible());
}

void TestPromptsPage::rowLabelsShowADoubledAmpersandAsOne_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown");
    QTest::newRow("text page") << "lblPrompt(26)" << "txtPrompt(26)" << "SILENT & BEEP -->";
    QTest::newRow("Russian page") << "lblRus(25)" << "Picture1(25)" << "SLIENT & BEEP -";
}

void TestPromptsPage::rowLabelsShowADoubledAmpersandAsOne()
{
    QFETCH(QString, label);
    QFETCH(QString, control);
    QFETCH(QString, shown);
    Window w;
    auto *l = w.window->findChild<QLabel *>(label);
    auto *c = w.window->findChild<QWidget *>(control);
    QVERIFY(l && c);
    QCOMPARE(QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name), shown);
    QCOMPARE(c->accessibleName(), shown);
}

QTEST_MAIN(TestPromptsPage)
#include "test_prompts_page.moc"
