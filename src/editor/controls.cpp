#include "editor/controls.h"

#include <QFocusEvent>
#include <QLinearGradient>
#include <QPainter>

namespace zr730 {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, QRect r)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(r);
    return l;
}

void labelControl(QLabel *label, QWidget *control)
{
    label->setBuddy(control); // a buddy label reads "&&" as one ampersand
    control->setAccessibleName(QString(label->text()).replace(QStringLiteral("&&"), QStringLiteral("&")));
}

void show_readout(QLabel *label, const QString &caption, const QString &value)
{
    label->setText(value);
    label->setAccessibleName(caption + QStringLiteral(": ") + value);
}

QLabel *unseenCaption(QWidget *control, const QString &name, const QString &caption)
{
    QLabel *l = makeLabel(control->parentWidget(), name, caption, {});
    l->setBuddy(control);
    l->hide();
    l->setProperty("unseen", true); // no place on screen, so layout checks pass it by
    return l;
}

QCheckBox *makeCheck(QWidget *parent, const QString &name, const QString &caption, QRect r, const QString &accessible)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    c->setGeometry(r);
    c->setAccessibleName(accessible.isEmpty() ? caption.trimmed() : accessible);
    return c;
}

QComboBox *makeCombo(QWidget *parent, const QString &name, const QStringList &entries, QRect r,
                     const QString &accessible)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(entries);
    c->setGeometry(r.x(), r.y(), r.width(), layout::kListHeight);
    c->setAccessibleName(accessible);
    c->setCurrentIndex(-1);
    return c;
}

QLineEdit *makeEdit(QWidget *parent, const QString &name, QRect r, const QString &accessible, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(r);
    e->setAccessibleName(accessible);
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &caption, QRect r)
{
    auto *g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    g->setGeometry(r);
    return g;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, QRect r)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(r);
    return b;
}

QPushButton *makeDialogButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(QString(caption).remove(QStringLiteral("…")));
    button->setAutoDefault(false);
    return button;
}

QLineEdit *makeSummary(QWidget *parent, const QString &name, QRect r, const QString &accessible)
{
    QLineEdit *e = makeEdit(parent, name, r, accessible, 0);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(Qt::AlignCenter);
    return e;
}

bool is_edit_focus_change(const QEvent *event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return true;
    const auto reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void paint_dialog_background(QWidget *dialog)
{
    QPainter p(dialog);
    QLinearGradient g(0, 0, dialog->width(), dialog->height());
    g.setColorAt(0, QColor(0xE6, 0xEA, 0xF2));
    g.setColorAt(1, QColor(0xC8, 0xD0, 0xDE));
    p.fillRect(dialog->rect(), g);
}

} // namespace zr730
