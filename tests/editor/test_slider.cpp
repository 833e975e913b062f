// The slider control: its setter rules, mouse arithmetic in twips, and persistence.
#include <QtTest>

#include "editor/slider/slider_control.h"

using namespace zr730;

namespace {

// A contrast slider as the main window has it: 1 … 8, thumb 150 twips, 1800 twips (120 px) long.
struct Contrast {
    explicit Contrast(int orientation = 0, QSize size = {120, 24})
    {
        s.resize(size);
        PropertyBag bag;
        bag.writeProperty("Min", 1, 0);
        bag.writeProperty("Max", 8, 100);
        bag.writeProperty("Value", 8, 50);
        bag.writeProperty("SliderWidth", 150, 315);
        bag.writeProperty("Orientation", orientation, 0);
        s.readProperties(bag);
        QObject::connect(&s, &SliderControl::changed, [this] { ++changed; });
    }
    SliderControl s;
    int changed = 0;
};

} // namespace

class TestSlider : public QObject {
    Q_OBJECT
private slots:
    void pressPutsTheThumbOnAWholePixelAndTakesTheNearestValue_data();
    void pressPutsTheThumbOnAWholePixelAndTakesTheNearestValue();
    void settersClampIgnoreAndRaiseChangedAsStated();
    void verticalTopEndMeansMax();
    void noRoomToMoveDoesNothing();
    void propertiesSurviveABagRoundTrip();
};

void TestSlider::pressPutsTheThumbOnAWholePixelAndTakesTheNearestValue_data()
{
    QTest::addColumn<int>("width"); // pixels; twips = 15 × pixels
    QTest::addColumn<int>("max");
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("thumbLeft");
    QTest::addColumn<int>("value");
    // 1800 twips, 1 … 8: r = 1650 / 7.
    QTest::newRow("x=60 twips: before the start") << 120 << 8 << 4.0 << 0 << 1;
    QTest::newRow("x=450 twips") << 120 << 8 << 30.0 << 25 << 3; // t = 375: 1 + 1.59
    QTest::newRow("x=1790 twips: past the end") << 120 << 8 << 119.33 << 110 << 8;
    QTest::newRow("between pixels snaps down") << 120 << 8 << 57.9 << 52 << 4; // a = 793.5 → 794 → 52 px
    // 1650 twips, 1 … 11: r = 150 exactly, so halves are real ties.
    QTest::newRow("tie 2.5 goes to 2") << 110 << 11 << 20.0 << 15 << 2;
    QTest::newRow("tie 3.5 goes to 4") << 110 << 11 << 30.0 << 25 << 4;
    QTest::newRow("tie 4.5 goes to 4") << 110 << 11 << 40.0 << 35 << 4;
}

void TestSlider::pressPutsTheThumbOnAWholePixelAndTakesTheNearestValue()
{
    QFETCH(int, width);
    QFETCH(int, max);
    QFETCH(double, x);
    QFETCH(int, thumbLeft);
    QFETCH(int, value);
    Contrast c(0, {width, 24});
    c.s.setMaximum(max);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, 12), c.s.mapToGlobal(QPointF(x, 12)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&c.s, &press);
    QCOMPARE(c.s.picSlider->x(), thumbLeft);
    QCOMPARE(c.s.value(), value);
    QCOMPARE(c.changed, 1);

    // Dragging the thumb with the left button held moves it as a press there would.
    const QPointF inThumb(5, 5);
    QMouseEvent drag(QEvent::MouseMove, inThumb, c.s.picSlider->mapToGlobal(inThumb), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(c.s.picSlider, &drag);
    QCOMPARE(c.s.picSlider->x(), thumbLeft);
    QCOMPARE(c.s.value(), value);
    QCOMPARE(c.changed, 2);
}

void TestSlider::settersClampIgnoreAndRaiseChangedAsStated()
{
    Contrast c;
    c.s.setValue(0);
    QCOMPARE(c.s.value(), 1);
    c.s.setValue(9);
    QCOMPARE(c.s.value(), 8);
    c.s.setValue(8); // unchanged, still announced
    QCOMPARE(c.changed, 3);
    QCOMPARE(c.s.picSlider->x(), 110);

    c.s.setMaximum(1); // not above minimum: ignored
    QCOMPARE(c.s.maximum(), 8);
    c.s.setMinimum(9); // above maximum: ignored
    QCOMPARE(c.s.minimum(), 1);
    c.s.setMaximum(5); // below the value: pulls it down, silently
    QCOMPARE(c.s.value(), 5);
    c.s.setMinimum(5); // minimum may reach maximum
    QCOMPARE(c.s.minimum(), 5);
    QCOMPARE(c.changed, 3);

    c.s.setSliderWidth(1800); // as long as the control: ignored
    QCOMPARE(c.s.sliderWidth(), 150);
    c.s.setSliderWidth(300);
    QCOMPARE(c.s.picSlider->width(), 20);
}

void TestSlider::verticalTopEndMeansMax()
{
    Contrast c(1, {24, 120});
    c.s.setValue(8);
    QCOMPARE(c.s.picSlider->y(), 0);
    c.s.setValue(1);
    QCOMPARE(c.s.picSlider->y(), 110);
    QTest::mousePress(&c.s, Qt::LeftButton, {}, QPoint(12, 2));
    QCOMPARE(c.s.value(), 8);
    QTest::mousePress(&c.s, Qt::LeftButton, {}, QPoint(12, 118));
    QCOMPARE(c.s.value(), 1);
}

void TestSlider::noRoomToMoveDoesNothing()
{
    Contrast equal;
    equal.s.setMinimum(8); // minimum = maximum = 8
    QTest::mousePress(&equal.s, Qt::LeftButton, {}, QPoint(60, 12));
    QCOMPARE(equal.s.value(), 8);
    QCOMPARE(equal.changed, 0);

    Contrast narrow;
    narrow.s.resize(8, 24); // now shorter than the 10-pixel thumb
    QTest::mousePress(&narrow.s, Qt::LeftButton, {}, QPoint(4, 12));
    QCOMPARE(narrow.changed, 0);
}

void TestSlider::propertiesSurviveABagRoundTrip()
{
    Contrast c;
    c.s.setValue(3);
    c.s.setSliderColor(0x0000FF);
    c.s.setBorderStyle(10);
    // Loading re-applies the orientation, which sets sliderWidth again; borderStyle marks nothing.
    QVERIFY((c.s.changedProperties() == std::set<std::string>{"SliderWidth", "Value", "SliderColor"}));
    PropertyBag bag;
    c.s.writeProperties(bag);
    SliderControl copy;
    copy.resize(120, 24);
    copy.readProperties(bag);
    QCOMPARE(copy.minimum(), 1);
    QCOMPARE(copy.maximum(), 8);
    QCOMPARE(copy.value(), 3);
    QCOMPARE(copy.sliderWidth(), 150);
    QCOMPARE(copy.sliderColor(), 0x0000FFu);
    QCOMPARE(copy.borderStyle(), 10);

    SliderControl fresh; // defaults, nothing stored for them
    PropertyBag empty;
    fresh.writeProperties(empty);
    QVERIFY(empty.values().empty());
    QCOMPARE(fresh.value(), 50);
}

QTEST_MAIN(TestSlider)
#include "test_slider.moc"
