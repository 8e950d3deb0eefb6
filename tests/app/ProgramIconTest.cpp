// The window's icon comes from the PNG sizes beside the program.
#include "app/LearnerFolder.h"
#include "app/Program.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace {

void WritePng(const QString& file, int size)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(file, "PNG")) << file.toStdString();
}

TEST(ProgramIcon, InstalledOrBuiltSizesAndNoneElsewhere)
{
    QTemporaryDir root;
    const QString id = QString::fromLatin1(LearnerFolder::kAppId);
    // An installation: <prefix>/bin beside <prefix>/share/icons/hicolor.
    for (int size : {16, 48, 256})
        WritePng(root.filePath(QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id)), size);
    ASSERT_TRUE(QDir().mkpath(root.filePath(QStringLiteral("usr/bin"))));
    const QIcon installed = ProgramIcon(root.filePath(QStringLiteral("usr/bin")));
    EXPECT_EQ(installed.availableSizes(), (QList<QSize> {{16, 16}, {48, 48}, {256, 256}}));

    // A build folder: <build>/bin beside <build>/packaging/icons.
    WritePng(root.filePath(QStringLiteral("build/packaging/icons/32x32.png")), 32);
    ASSERT_TRUE(QDir().mkpath(root.filePath(QStringLiteral("build/bin"))));
    const QIcon built = ProgramIcon(root.filePath(QStringLiteral("build/bin")));
    EXPECT_EQ(built.availableSizes(), (QList<QSize> {{32, 32}}));

    // A file that is no picture is passed over.
    QFile broken(root.filePath(QStringLiteral("other/packaging/icons/64x64.png")));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(broken).path()));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a png");
    broken.close();
    ASSERT_TRUE(QDir().mkpath(root.filePath(QStringLiteral("other/bin"))));
    EXPECT_TRUE(ProgramIcon(root.filePath(QStringLiteral("other/bin"))).isNull());
    EXPECT_TRUE(ProgramIcon(root.filePath(QStringLiteral("nowhere/bin"))).isNull());
}

} // namespace
