// The style the program runs with draws every group box exactly as the
// platform style does, pixel for pixel.
#include "window/GroupBoxStyle.h"
#include "window/Unit1.h"
#include "support/FormHarness.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QStyleFactory>

#include <memory>

namespace {

// The box drawn by `style` alone, its children as they are.
QImage Drawn(QGroupBox& box, QStyle& style)
{
    box.setStyle(&style);
    QImage image = box.grab().toImage();
    box.setStyle(nullptr);
    return image;
}

void ExpectSameLook(const char* baseName)
{
    SCOPED_TRACE(baseName);
    std::unique_ptr<QStyle> base(QStyleFactory::create(QString::fromLatin1(baseName)));
    ASSERT_TRUE(base);
    GroupBoxStyle program(QStyleFactory::create(QString::fromLatin1(baseName)));

    WorkFolder folder;
    WriteBank(folder, TypedBank(3));
    auto form = OpenForm();
    QList<QGroupBox*> boxes = form->findChildren<QGroupBox*>();
    ASSERT_GE(boxes.size(), 7) << "the start screen's group boxes";

    // Besides the window's own: a box without a title, and a checkable one.
    QGroupBox untitled(form.get());
    QGroupBox checkable(QStringLiteral("オプション"), form.get());
    checkable.setCheckable(true);
    for (QGroupBox* box : {&untitled, &checkable}) {
        box->setGeometry(0, 0, 200, 80);
        boxes << box;
    }
    for (QGroupBox* box : boxes) {
        const QImage expected = Drawn(*box, *base);
        ASSERT_FALSE(expected.isNull()) << box->objectName().toStdString();
        EXPECT_EQ(Drawn(*box, program), expected) << box->objectName().toStdString() << " "
                                                  << box->title().toStdString();
    }
}

TEST(GroupBoxStyle, GroupBoxesLookAsFusionDrawsThem)
{
    ExpectSameLook("fusion");
}

TEST(GroupBoxStyle, OtherStylesAreLeftAlone)
{
    ExpectSameLook("windows");
}

} // namespace
