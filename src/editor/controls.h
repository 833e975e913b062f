#pragma once
// Small builders for the window's controls: each gets its name, design geometry, caption and
// an accessible name taken from its caption or label.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QStringList>

namespace zr730 {

namespace layout {
// Inner size of the main window at design time, and the place every page shares.
inline constexpr int kDesignWidth = 952;
inline constexpr int kDesignHeight = 700;
inline constexpr int kPageLeft = 12;
inline constexpr int kPageTop = 34;
inline constexpr int kPageWidth = 928;
inline constexpr int kPageHeight = 632;
inline constexpr int kRow = 24;     // height of one control row
inline constexpr int kListHeight = 22;
} // namespace layout

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, QRect r);
// Makes `label` the caption of `control`: the label shows a doubled ampersand ("SLIENT && BEEP -")
// as one, and the control is announced by the caption as shown.
void labelControl(QLabel *label, QWidget *control);
// A caption for a list that has none on screen: an unseen label, named `name`, whose buddy is the
// list. Screen readers on Linux announce a list by its entry and take its caption from such a
// label relation; nothing changes on screen.
QLabel *unseenCaption(QWidget *control, const QString &name, const QString &caption);
QCheckBox *makeCheck(QWidget *parent, const QString &name, const QString &caption, QRect r,
                     const QString &accessible = QString());
QComboBox *makeCombo(QWidget *parent, const QString &name, const QStringList &entries, QRect r,
                     const QString &accessible);
QLineEdit *makeEdit(QWidget *parent, const QString &name, QRect r, const QString &accessible, int maxLength);
QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &caption, QRect r);
QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, QRect r);
// A button for a dialog's layout: announced by its caption without a trailing "…", and never
// the default button, so Enter or Space in a list or box does not press it.
QPushButton *makeDialogButton(QWidget *parent, const char *name, const QString &caption);

// A read-out label: shows `value` and is announced as "caption: value" ("P: 08", "MUTL: 5"), so a
// screen reader reads the value with what it is, and hears it change.
void show_readout(QLabel *label, const QString &caption, const QString &value);

// Read-only four-letter summary box.
QLineEdit *makeSummary(QWidget *parent, const QString &name, QRect r, const QString &accessible);

// False for a focus change that only lends the focus for a moment (a message box or a menu
// opening): it neither starts nor ends an edit. True for every other focus event.
bool is_edit_focus_change(const QEvent *event);

// The dialogs' background picture, stretched over the whole dialog.
void paint_dialog_background(QWidget *dialog);

// "name(i)"
inline QString indexed(const char *name, int i) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i); }

} // namespace zr730
