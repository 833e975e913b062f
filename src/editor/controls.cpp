#include "editor/controls.h"

namespace zr730 {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, QRect r)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(r);
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

QLineEdit *makeSummary(QWidget *parent, const QString &name, QRect r, const QString &accessible)
{
    QLineEdit *e = makeEdit(parent, name, r, accessible, 0);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(Qt::AlignCenter);
    return e;
}

} // namespace zr730
