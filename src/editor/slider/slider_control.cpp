#include "editor/slider/slider_control.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "editor/slider/slider_math.h"

namespace zr730 {

using slider::kTwipsPerPixel;

namespace {

int to_pixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }

void edge_ring(QPainter &p, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    p.setPen(topLeft);
    p.drawLine(r.left(), r.bottom() - 1, r.left(), r.top());
    p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    p.setPen(bottomRight);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.bottom(), r.right(), r.top());
}

// What screen readers and automation tools see: a slider with its value, bounds and step,
// whose value they can set (as a key or a click would, through changed()). The thumb is part of
// the slider, not a child of its own.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(SliderControl *slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? QString::number(slider()->value()) : QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        // A disabled slider (input held during a transfer) takes no value from outside either.
        if (slider()->isEnabled() && value.canConvert<int>()) slider()->setValue(value.toInt());
    }
    QVariant maximumValue() const override { return slider()->maximum(); }
    QVariant minimumValue() const override { return slider()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    SliderControl *slider() const { return static_cast<SliderControl *>(widget()); }
};

QAccessibleInterface *slider_accessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(SliderControl::staticMetaObject.className()) && object->isWidgetType())
        return new SliderAccessible(static_cast<SliderControl *>(object));
    return nullptr;
}

} // namespace

void draw_edge(QPainter &p, const QRect &r, int edge, const QPalette &pal)
{
    if (r.width() < 2 || r.height() < 2) return;
    if (edge & 0x1)
        edge_ring(p, r, pal.color(QPalette::Midlight), pal.color(QPalette::Shadow));
    else if (edge & 0x2)
        edge_ring(p, r, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    const QRect inner = r.adjusted(1, 1, -1, -1);
    if (inner.width() < 2 || inner.height() < 2) return;
    if (edge & 0x4)
        edge_ring(p, inner, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    else if (edge & 0x8)
        edge_ring(p, inner, pal.color(QPalette::Shadow), pal.color(QPalette::Midlight));
}

QColor ole_color(std::uint32_t value, const QPalette &pal)
{
    if ((value & 0x80000000u) == 0) return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    switch (value & 0xFF) {
    case 0x05: return pal.color(QPalette::Base);
    case 0x08: return pal.color(QPalette::Text);
    case 0x0D: return pal.color(QPalette::Highlight);
    case 0x0E: return pal.color(QPalette::HighlightedText);
    case 0x10: return pal.color(QPalette::Dark);
    case 0x12: return pal.color(QPalette::ButtonText);
    case 0x14: return pal.color(QPalette::Light);
    case 0x15: return pal.color(QPalette::Shadow);
    case 0x16: return pal.color(QPalette::Midlight);
    default: return pal.color(QPalette::Button);
    }
}

// The thumb: paints the slider colour with a raised edge and drags the slider's value while
// the left button is held. A press on it does nothing.
class SliderThumb : public QWidget {
public:
    explicit SliderThumb(SliderControl *owner) : QWidget(owner), m_owner(owner) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), ole_color(m_owner->sliderColor(), palette()));
        draw_edge(p, rect(), 4, palette());
    }
    void mousePressEvent(QMouseEvent *e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (e->buttons() & Qt::LeftButton) m_owner->dragThumb(e->position());
        e->accept();
    }

private:
    SliderControl *m_owner;
};

SliderControl::SliderControl(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(slider_accessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::StrongFocus);
    // The window's proportional resizing leaves the thumb to the slider's own layout.
    setProperty("layoutsItsChildren", true);
    picSlider = new SliderThumb(this);
    picSlider->setObjectName(QStringLiteral("picSlider"));
    layOut();
}

int SliderControl::lengthTwips() const { return (vertical() ? height() : width()) * kTwipsPerPixel; }

int SliderControl::value() const { return vertical() ? m_max + m_min - m_position : m_position; }

void SliderControl::setValue(int v)
{
    v = slider::clamp_value(v, m_min, m_max);
    m_position = vertical() ? m_max + m_min - v : v;
    positionThumb();
    propertyChanged("Value");
    notifyChanged();
}

int SliderControl::pageStep() const { return slider::page_step(m_min, m_max); }

void SliderControl::notifyChanged()
{
    emit changed();
    QAccessibleValueChangeEvent event(this, value());
    QAccessible::updateAccessibility(&event);
}

void SliderControl::setMinimum(int m)
{
    if (m > m_max) return;
    m_min = m;
    if (m_position < m) {
        m_position = m;
        propertyChanged("Value");
    }
    positionThumb();
    propertyChanged("Min");
}

void SliderControl::setMaximum(int m)
{
    if (m <= m_min) return;
    m_max = m;
    if (m < m_position) {
        m_position = m;
        propertyChanged("Value");
    }
    positionThumb();
    propertyChanged("Max");
}

void SliderControl::setSliderWidth(int w)
{
    if (w >= lengthTwips()) return;
    m_sliderWidth = w;
    const int px = std::max(1, to_pixels(w));
    if (vertical())
        picSlider->resize(width(), px);
    else
        picSlider->resize(px, height());
    picSlider->update();
    positionThumb();
    propertyChanged("SliderWidth");
}

void SliderControl::setSliderColor(std::uint32_t color)
{
    m_sliderColor = color;
    picSlider->update();
    propertyChanged("SliderColor");
}

void SliderControl::setBorderStyle(int style)
{
    m_borderStyle = style;
    update();
}

void SliderControl::setOrientation(int orientation)
{
    m_orientation = orientation;
    setSliderWidth(m_sliderWidth);
    picSlider->update();
    layOut();
}

void SliderControl::readProperties(const PropertyBag &bag)
{
    m_min = int(bag.readProperty("Min", kDefaultMin));
    m_max = std::max(m_min, int(bag.readProperty("Max", kDefaultMax)));
    m_position = slider::clamp_value(int(bag.readProperty("Value", kDefaultValue)), m_min, m_max);
    m_sliderWidth = int(bag.readProperty("SliderWidth", kDefaultSliderWidth));
    m_sliderColor = std::uint32_t(bag.readProperty("SliderColor", kDefaultSliderColor));
    setBorderStyle(int(bag.readProperty("BorderStyle", kDefaultBorderStyle)));
    setOrientation(int(bag.readProperty("Orientation", kDefaultOrientation)));
    positionThumb();
}

void SliderControl::writeProperties(PropertyBag &bag) const
{
    bag.writeProperty("Min", m_min, kDefaultMin);
    bag.writeProperty("Max", m_max, kDefaultMax);
    bag.writeProperty("Value", m_position, kDefaultValue);
    bag.writeProperty("SliderWidth", m_sliderWidth, kDefaultSliderWidth);
    bag.writeProperty("SliderColor", m_sliderColor, kDefaultSliderColor);
    bag.writeProperty("BorderStyle", m_borderStyle, kDefaultBorderStyle);
    bag.writeProperty("Orientation", m_orientation, kDefaultOrientation);
}

void SliderControl::positionThumb()
{
    const auto offset = slider::thumb_offset(m_position, m_min, m_max, lengthTwips(), m_sliderWidth);
    if (!offset) return;
    if (vertical())
        picSlider->move(picSlider->x(), to_pixels(*offset));
    else
        picSlider->move(to_pixels(*offset), picSlider->y());
}

void SliderControl::layOut()
{
    const int h = std::max(1, height() - 1);
    const int w = std::max(1, width() - 1);
    const int thumb = std::max(1, to_pixels(m_sliderWidth));
    if (vertical())
        picSlider->setGeometry(0, picSlider->y(), w, thumb);
    else
        picSlider->setGeometry(picSlider->x(), 0, thumb, h);
    positionThumb();
    update();
}

void SliderControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void SliderControl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    draw_edge(p, rect(), m_borderStyle, palette());
    // The groove: a two-pixel shadow line with a one-pixel highlight along its lower edge.
    const int w = width() - 1, h = height() - 1;
    const QColor shadow = ole_color(0x80000010, palette());
    const QColor highlight = ole_color(0x80000014, palette());
    if (vertical()) {
        const int x = w / 2;
        p.fillRect(QRect(QPoint(x - 1, 1), QPoint(x, h - 1)), shadow);
        p.fillRect(QRect(QPoint(x + 1, 1), QPoint(x + 1, h - 1)), highlight);
    } else {
        const int y = h / 2;
        p.fillRect(QRect(QPoint(1, y - 1), QPoint(w - 1, y)), shadow);
        p.fillRect(QRect(QPoint(1, y + 1), QPoint(w - 1, y + 1)), highlight);
    }
    // Reached with the keyboard: a focus frame inside the control's own bounds, around the
    // groove (a click shows none, as before).
    if (hasFocus() && m_keyboardFocus) {
        p.setPen(palette().color(QPalette::Highlight));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void SliderControl::moveThumbTo(double at, int thumbLength)
{
    const int length = lengthTwips();
    // No room to move: the value has nowhere to go.
    if (m_max <= m_min || length <= m_sliderWidth) return;
    const int t = slider::thumb_position_at(at, m_sliderWidth, length);
    const auto p = slider::position_at(t, m_min, m_max, length, thumbLength);
    if (!p) return;
    if (vertical())
        picSlider->move(picSlider->x(), to_pixels(t));
    else
        picSlider->move(to_pixels(t), picSlider->y());
    m_position = *p;
    notifyChanged();
}

void SliderControl::mousePressEvent(QMouseEvent *event)
{
    if (m_keyboardFocus) {
        m_keyboardFocus = false;
        update();
    }
    const QPointF at = event->position() * kTwipsPerPixel;
    if (vertical())
        moveThumbTo(at.y(), m_sliderWidth);
    else
        moveThumbTo(at.x(), picSlider->width() * kTwipsPerPixel);
    event->accept();
}

void SliderControl::keyPressEvent(QKeyEvent *event)
{
    // Right and Up raise the value, Left and Down lower it, whichever way the slider lies; each
    // step sets the value as a program would, so changed() follows as for a click.
    const int v = value();
    int to = v;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up: to = v + 1; break;
    case Qt::Key_Left:
    case Qt::Key_Down: to = v - 1; break;
    case Qt::Key_PageUp: to = v + pageStep(); break;
    case Qt::Key_PageDown: to = v - pageStep(); break;
    case Qt::Key_Home: to = m_min; break;
    case Qt::Key_End: to = m_max; break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
    if (!m_keyboardFocus) {
        m_keyboardFocus = true;
        update();
    }
    to = slider::clamp_value(to, m_min, m_max);
    if (to != v) setValue(to);
}

void SliderControl::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason r = event->reason();
    m_keyboardFocus = r == Qt::TabFocusReason || r == Qt::BacktabFocusReason || r == Qt::ShortcutFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void SliderControl::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus = false;
    update();
    QWidget::focusOutEvent(event);
}

void SliderControl::dragThumb(QPointF posInThumb)
{
    const double at = vertical() ? (picSlider->y() + posInThumb.y()) * kTwipsPerPixel
                                 : (picSlider->x() + posInThumb.x()) * kTwipsPerPixel;
    moveThumbTo(at, m_sliderWidth);
}

} // namespace zr730
