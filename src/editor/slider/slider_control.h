#pragma once
// SliderControl: the program's own slider control. A sunken groove, a raised thumb that snaps to
// whole pixels, and an integer value between minimum and maximum. Sizes along the groove are in twips
// (15 to a pixel). changed() is raised whenever value is set or the thumb is moved. It takes the
// keyboard focus (Tab) and moves with the arrow keys, Page Up/Down, Home and End; screen readers
// see it as a slider with a value they can read and set.
#include <QWidget>
#include <cstdint>
#include <set>
#include <string>

#include "editor/slider/property_bag.h"

class QPainter;

namespace zr730 {

// Draws a Windows-style edge (BDR_* bits: 1 raised outer, 2 sunken outer, 4 raised inner,
// 8 sunken inner) around r with the palette's 3-D colours; edge 0 draws nothing.
void draw_edge(QPainter &p, const QRect &r, int edge, const QPalette &palette);

// A colour in the OLE form: 0x00BBGGRR, or 0x800000nn for system colour nn.
QColor ole_color(std::uint32_t value, const QPalette &palette);

class SliderControl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultMin = 0;
    static constexpr int kDefaultMax = 100;
    static constexpr int kDefaultValue = 50;
    static constexpr int kDefaultSliderWidth = 315;
    static constexpr std::uint32_t kDefaultSliderColor = 0x8000000F; // button face
    static constexpr int kDefaultBorderStyle = 0;
    static constexpr int kDefaultOrientation = 0; // 0 horizontal, 1 vertical

    explicit SliderControl(QWidget *parent = nullptr);

    int minimum() const { return m_min; }
    // Ignored when m > maximum; pulls the value up to m. Raises no changed().
    void setMinimum(int m);
    int maximum() const { return m_max; }
    // Ignored when m <= minimum; pulls the value down to m. Raises no changed().
    void setMaximum(int m);
    int value() const;
    // Clamped to minimum … maximum; raises changed() even when the value stays the same.
    void setValue(int v);
    int sliderWidth() const { return m_sliderWidth; }
    // Accepted only when shorter than the control along the groove.
    void setSliderWidth(int w);
    std::uint32_t sliderColor() const { return m_sliderColor; }
    void setSliderColor(std::uint32_t color);
    int borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    int orientation() const { return m_orientation; }
    void setOrientation(int orientation);

    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;
    // Properties marked changed through their setters.
    const std::set<std::string> &changedProperties() const { return m_changed; }

    // The value Page Up / Page Down move by: a quarter of the range, at least 1.
    int pageStep() const;

    QWidget *picSlider = nullptr; // the thumb

signals:
    void changed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    friend class SliderThumb;
    bool vertical() const { return m_orientation == 1; }
    int lengthTwips() const; // along the groove
    void positionThumb();
    void layOut();
    // Moves the thumb so its leading edge sits at a whole pixel near `at` (twips along the
    // groove) and takes the value it stands for.
    void moveThumbTo(double at, int thumbLength);
    void dragThumb(QPointF posInThumb);
    void propertyChanged(const char *name) { m_changed.insert(name); }
    // Raises changed() and tells assistive tools the new value.
    void notifyChanged();

    int m_min = kDefaultMin;
    int m_max = kDefaultMax;
    int m_position = kDefaultValue; // grows from the left, or from the top when vertical
    int m_sliderWidth = kDefaultSliderWidth;
    std::uint32_t m_sliderColor = kDefaultSliderColor;
    int m_borderStyle = kDefaultBorderStyle;
    int m_orientation = kDefaultOrientation;
    std::set<std::string> m_changed;
    bool m_keyboardFocus = false; // focus frame shown: the focus came from the keyboard
};

} // namespace zr730
