#pragma once
// Checks a window part as a user would see it: every control inside its container, no two
// controls of one container overlapping (unless intended), and every caption fitting its control.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QtTest>

#include <functional>

namespace zr730::testing {

inline void verify_layout(QWidget *root, const std::function<bool(const QWidget *, const QWidget *)> &intended = {})
{
    QList<QWidget *> containers{root};
    containers += root->findChildren<QWidget *>();
    for (QWidget *c : containers) {
        QList<QWidget *> kids;
        for (QObject *o : c->children())
            if (auto *w = qobject_cast<QWidget *>(o); w && !w->isWindow() && !w->objectName().startsWith("qt_")
                                                      && !w->property("unseen").toBool()) // a caption for screen readers only
                kids << w;
        for (int i = 0; i < kids.size(); ++i) {
            QWidget *a = kids[i];
            QVERIFY2(c->rect().contains(a->geometry()) || c->inherits("QComboBox"), qPrintable(a->objectName()));
            for (int j = i + 1; j < kids.size(); ++j) {
                QWidget *b = kids[j];
                if (intended && intended(a, b)) continue;
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " overlaps " + b->objectName()));
            }
            if (auto *l = qobject_cast<QLabel *>(a); l && !l->text().isEmpty())
                for (const QString &line : l->text().split('\n'))
                    QVERIFY2(l->fontMetrics().horizontalAdvance(line) <= l->width(), qPrintable(l->objectName()));
            if (auto *cb = qobject_cast<QCheckBox *>(a))
                QVERIFY2(cb->sizeHint().width() <= cb->width(), qPrintable(cb->objectName()));
            if (auto *combo = qobject_cast<QComboBox *>(a))
                for (int k = 0; k < combo->count(); ++k)
                    QVERIFY2(combo->fontMetrics().horizontalAdvance(combo->itemText(k)) + 28 <= combo->width(),
                             qPrintable(combo->objectName()));
        }
    }
}

} // namespace zr730::testing
