#pragma once
// Proportional resizing: every control keeps its design position, size and font size and is
// scaled by the window's size relative to its design size.
#include <QHash>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace zr730 {

// Font factor: the smaller of the two.
inline double font_factor(double sx, double sy) { return sx >= sy ? sy : sx; }

// Lists ("cbo"), the test-page count list ("coN") and "Com…" lists keep their own height.
bool keeps_height(const QString &objectName);

// Geometry of a control scaled by sx, sy from its design rectangle.
QRect scaled_rect(const QRect &design, double sx, double sy, bool keepHeight, int currentHeight);

class Scaler {
public:
    // Records the design size and every descendant's layout record (left, top, width, height,
    // font size).
    void record(QWidget *root, QSize designSize);
    // Adds one control created after the first record.
    void recordOne(QWidget *w);
    void apply(QSize currentSize);
    double sx() const { return m_sx; }
    double sy() const { return m_sy; }
    QSize designSize() const { return m_design; }

private:
    struct Record {
        QPointer<QWidget> widget;
        QRect geometry;
        double fontSize;
    };
    QList<Record> m_records;
    QSize m_design;
    double m_sx = 1.0, m_sy = 1.0;
};

} // namespace zr730
