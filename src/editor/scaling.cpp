#include "editor/scaling.h"

#include <QComboBox>

namespace zr730 {

bool keeps_height(const QString &objectName)
{
    return objectName.startsWith(QLatin1String("cbo")) || objectName.startsWith(QLatin1String("coN"))
        || objectName.startsWith(QLatin1String("Com"));
}

QRect scaled_rect(const QRect &design, double sx, double sy, bool keepHeight, int currentHeight)
{
    const int l = qRound(sx * design.left());
    const int t = qRound(sy * design.top());
    const int w = qRound(sx * design.width());
    const int h = keepHeight ? currentHeight : qRound(sy * design.height());
    return QRect(l, t, w, h);
}

void Scaler::record(QWidget *root, QSize designSize)
{
    m_design = designSize;
    m_records.clear();
    for (QWidget *w : root->findChildren<QWidget *>())
        recordOne(w);
}

void Scaler::recordOne(QWidget *w)
{
    if (w->isWindow()) return;
    // Widgets inside Qt's own composite controls (list views of combo boxes …) are not ours.
    if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) return;
    // Parts of a control that lays out its own parts (the slider's thumb) follow their control.
    if (w->parentWidget() && w->parentWidget()->property("layoutsItsChildren").toBool()) return;
    m_records.append({w, w->geometry(), w->font().pointSizeF()});
}

void Scaler::apply(QSize currentSize)
{
    if (m_design.isEmpty()) return;
    m_sx = double(currentSize.width()) / m_design.width();
    m_sy = double(currentSize.height()) / m_design.height();
    const double ff = font_factor(m_sx, m_sy);
    for (const Record &r : std::as_const(m_records)) {
        QWidget *w = r.widget;
        if (!w) continue;
        const bool visible = w->isVisibleTo(w->parentWidget());
        w->setUpdatesEnabled(false);
        if (r.fontSize > 0) {
            QFont f = w->font();
            f.setPointSizeF(r.fontSize * ff);
            w->setFont(f);
        }
        w->setGeometry(scaled_rect(r.geometry, m_sx, m_sy, keeps_height(w->objectName()), w->height()));
        w->setVisible(visible);
        w->setUpdatesEnabled(true);
    }
}

} // namespace zr730
