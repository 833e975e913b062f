#include <QtTest>

#include "image/defaults.h"
#include "image/descriptor.h"
#include "image/image.h"
#include "image/memory_map.h"

using namespace zr730;

class TestImage : public QObject {
    Q_OBJECT
private slots:
    void fieldSetKeepsBitsOutsideTheField();
};

void TestImage::fieldSetKeepsBitsOutsideTheField()
{
    PagerImage img;
    img[0x3C] = 0x0F;
    img.field_set(0x3C, 6, 3, 2);
    QCOMPARE(int(img[0x3C]), 0xCF);
    QCOMPARE(int(img.field_get(0x3C, 6, 2)), 3);
}

QTEST_GUILESS_MAIN(TestImage)
#include "test_image.moc"
