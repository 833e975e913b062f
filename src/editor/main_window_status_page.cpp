// Page "Alerts and Status": the option boxes and lists bound to the image, the "Manual Write"
// frame and the "Prompts" frame; the page's other options are built by the alerts page.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "editor/alerts_page.h"
#include "editor/controls.h"
#include "editor/main_window.h"
#include "editor/prompts_page.h"
#include "image/memory_map.h"

namespace zr730 {

namespace {
QString s(std::string_view v) { return QString::fromUtf8(v.data(), int(v.size())); }
QStringList entries_of(const char *control)
{
    QStringList l;
    for (auto e : map_entry(control)->entries) l << s(e);
    return l;
}
} // namespace

void MainWindow::buildStatusPage(QWidget *page)
{
    using namespace layout;
    const int w = kPageWidth - 16;
    auto check = [&](QWidget *parent, int index, int x, int y, int width) {
        const QString name = indexed("chkCtl", index);
        const MapEntry *e = map_entry(name.toStdString());
        chkCtl[index] = makeCheck(parent, name, s(e->caption), {x, y, width, kRow});
    };
    auto list = [&](QWidget *parent, int index, const char *labelName, int x, int y, int labelWidth, int listWidth) {
        const QString name = indexed("cboCtl", index);
        const MapEntry *e = map_entry(name.toStdString());
        QLabel *l = makeLabel(parent, QString::fromLatin1(labelName), s(e->label), {x, y, labelWidth, kRow});
        cboCtl[index] = makeCombo(parent, name, entries_of(name.toLatin1().constData()),
                                  {x + labelWidth, y + 1, listWidth, kListHeight}, s(e->label));
        l->setBuddy(cboCtl[index]);
    };

    QGroupBox *alerts = makeFrame(page, "fraAlerts", "Alerts and Status", {8, 6, w, 246});
    const int c1 = 16, c2 = 250, c3 = 490, r0 = 24;
    check(alerts, 22, c1, r0, 220);
    check(alerts, 21, c1, r0 + kRow, 220);
    check(alerts, 6, c1, r0 + 2 * kRow, 220);
    check(alerts, 1, c1, r0 + 3 * kRow, 220);
    check(alerts, 0, c1, r0 + 4 * kRow, 220);
    check(alerts, 17, c2, r0, 220);
    check(alerts, 2, c2, r0 + kRow, 220);
    check(alerts, 19, c2, r0 + 2 * kRow, 220);
    check(alerts, 18, c2, r0 + 3 * kRow, 220);
    check(alerts, 20, c2, r0 + 4 * kRow, 220);
    list(alerts, 3, "Label5", c3, r0, 190, 140);
    list(alerts, 4, "Label6", c3, r0 + kRow + 6, 190, 140);
    list(alerts, 5, "Label7", c3, r0 + 2 * kRow + 12, 190, 140);

    QGroupBox *menu = makeFrame(page, "fraMenu", "Menu Of Pager", {8, 258, w, 92});

    QGroupBox *manual = makeFrame(page, "fraManual", "Manual Write", {8, 356, w, 80});
    check(manual, 7, c1, 22, 260);
    check(manual, 4, c1, 22 + kRow, 260);
    check(manual, 5, c2 + 40, 22, 260);
    check(manual, 16, c2 + 40, 22 + kRow, 260);

    m_alerts->buildStatusControls(alerts, menu, manual);

    QGroupBox *prompts = makeFrame(page, "fraPrompts", "Prompts", {8, 442, w, 90});
    list(prompts, 6, "Label8", c1, 56, 150, 120);
    prompts->findChild<QLabel *>("Label8")->setToolTip(
        QStringLiteral("If DD/MM is selected,the date format is day and month. If MM/DD is selected,the date format "
                       "is month and day."));
    const MapEntry *logo = map_entry("cboLogo");
    QLabel *logoLabel = makeLabel(prompts, "Label9", s(logo->label), {650, 24, 80, kRow});
    cboLogo = makeCombo(prompts, "cboLogo", entries_of("cboLogo"), {730, 25, 120, kListHeight}, s(logo->label));
    logoLabel->setBuddy(cboLogo);
    m_prompts->buildLogoControls(prompts, cboLogo);
}

} // namespace zr730
