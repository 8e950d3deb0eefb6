#include "picture/LoadJpegBitmap.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString errors;
};

class PictureTool : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Writes the description and runs the built tool on it.
    ToolRun Draw(const QByteArray& description, const QString& output)
    {
        QFile file(PathOf("in.pic"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(description);
        file.close();
        return Run({PathOf("in.pic"), output});
    }

    static ToolRun Run(const QStringList& arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral(MIRETO_PICTURE_TOOL), arguments);
        EXPECT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
    }

    QImage DrawAndLoad(const QByteArray& description)
    {
        const ToolRun run = Draw(description, PathOf("out.jpg"));
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        QImage bitmap;
        QString error;
        EXPECT_TRUE(LoadJpegBitmap(PathOf("out.jpg").toStdString(), bitmap, &error)) << error.toStdString();
        return bitmap;
    }

    QTemporaryDir dir;
};

int Darkest(const QImage& image, const QRect& area)
{
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

bool Near(QRgb got, QRgb want)
{
    return std::abs(qRed(got) - qRed(want)) <= 12 && std::abs(qGreen(got) - qGreen(want)) <= 12
        && std::abs(qBlue(got) - qBlue(want)) <= 12;
}

} // namespace

TEST_F(PictureTool, DrawsTextAndShapesWhereDescribed)
{
    const QImage picture = DrawAndLoad("# a comment\n"
                                       "size 300 160\r\n"
                                       "\n"
                                       "font 24\n"
                                       "text 10 10 漢字の問題\n"
                                       "fill #FF0000\n"
                                       "box 200 10 80 60\n"
                                       "fill none\n"
                                       "table 10 80 100,100 36\n"
                                       "row 列A | 列B\n"
                                       "row 1 | 2\n"
                                       "endtable\n");
    ASSERT_EQ(picture.size(), QSize(300, 160));
    EXPECT_LT(Darkest(picture, QRect(10, 10, 120, 26)), 80) << "no text drawn";
    EXPECT_GT(Darkest(picture, QRect(140, 10, 50, 60)), 230) << "ink where nothing was drawn";
    EXPECT_TRUE(Near(picture.pixel(240, 40), qRgb(255, 0, 0))) << "box not filled";
    EXPECT_LT(qGray(picture.pixel(200, 40)), 80) << "box has no border";
    // Header cells are grey, body cells keep the background.
    EXPECT_TRUE(Near(picture.pixel(16, 86), qRgb(0xE0, 0xE0, 0xE0)));
    EXPECT_TRUE(Near(picture.pixel(16, 122), qRgb(255, 255, 255)));
    EXPECT_LT(Darkest(picture, QRect(10, 116, 200, 2)), 80) << "no border between rows";
}

TEST_F(PictureTool, BackgroundAndDefaults)
{
    const QImage picture = DrawAndLoad("size 40 30\nbackground #0000FF\n");
    ASSERT_EQ(picture.size(), QSize(40, 30));
    EXPECT_TRUE(Near(picture.pixel(20, 15), qRgb(0, 0, 255)));
    EXPECT_TRUE(Near(DrawAndLoad("size 40 30\n").pixel(20, 15), qRgb(255, 255, 255)));
}

TEST_F(PictureTool, BadLineFailsWithItsNumber)
{
    const struct {
        const char* description;
        int line;
    } cases[] = {
        {"# only a comment\n\nbox 1 1 5 5\n", 3},                     // size must come first
        {"size 100 100\nbox 10 10 20\n", 2},                          // missing height
        {"size 100 100\nbox 10 10 20 x\n", 2},
        {"size 100 100\ncolor red\n", 2},
        {"size 100 100\nfill #12345\n", 2},
        {"size 100 100\nbold yes\n", 2},
        {"size 100 100\nwidth 0\n", 2},
        {"size 100 100\nsquiggle 1 2\n", 2},
        {"size 100 100\nline 1 1 20 20 30\n", 2},                     // extra word
        {"size 100 100\nline 5 5 5 5\n", 2},                          // no length
        {"size 100 100\nsize 50 50\n", 2},
        {"size 70000 10\n", 1},
        {"size 10000 10000\n", 1},                                    // too many pixels
        {"size 100 100\nbox 50 50 60 60\n", 2},                       // beyond the picture
        {"size 100 100\narrow 10 10 120 10\n", 2},
        {"size 100 100\ntext 60 10 長い文章です\n", 2},               // runs off the right
        {"size 100 100\nbox 0 0 60 30 とても長いラベルの文字列です\n", 2}, // label too big
        {"size 100 100\nbox 1 1 10 10\nbackground #000000\n", 3},
        {"size 100 100\nrow a | b\n", 2},                             // outside a table
        {"size 100 100\ntable 0 0 50,50 30\nrow a\nendtable\n", 3},  // cell count
        {"size 100 100\ntable 0 0 50,x 20\n", 2},
        {"size 100 100\ntable 0 0 50,50 30\nbox 1 1 9 9\n", 3},      // endtable missing
        {"size 100 100\ntable 0 0 50,50 30\nendtable\n", 3},          // no rows
        {"size 100 100\n\ntable 0 0 50,50 30\nrow a | b\n", 3},       // never ended
        {"size 100 100\ntable 0 0 50,50 40\nrow a | b\nrow c | d\nrow e | f\n", 5}, // rows run off
        {"size 100 100\ntext 1 1 \xFF\xFE\n", 2},                     // not UTF-8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        QFile::remove(PathOf("bad.jpg"));
        const ToolRun run = Draw(c.description, PathOf("bad.jpg"));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errors.contains(QStringLiteral("in.pic:%1: ").arg(c.line))) << run.errors.toStdString();
        EXPECT_FALSE(QFile::exists(PathOf("bad.jpg")));
    }
}

TEST_F(PictureTool, FileLevelFaultsAreReported)
{
    ToolRun run = Draw("# nothing but a comment\n", PathOf("none.jpg"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("size"))) << run.errors.toStdString();

    run = Run({PathOf("missing.pic"), PathOf("out.jpg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("missing.pic"))) << run.errors.toStdString();

    run = Draw("size 10 10\n", PathOf("no/such/folder/out.jpg"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.errors.isEmpty());

    run = Run({PathOf("in.pic")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("usage"))) << run.errors.toStdString();
}

// Column widths whose sum passes the largest int would wrap around into
// range and let a table far wider than the picture pass as inside it.
TEST_F(PictureTool, TableWidthsThatOverflowAreRefused)
{
    // 67 446 + 42 949 x 100 000 = 2^32 + 150: wrapped, a table 150 wide.
    QByteArray widths = "67446";
    for (int i = 0; i < 42949; ++i)
        widths += ",100000";
    const ToolRun run = Draw("size 200 100\ntable 0 0 " + widths + " 20\nrow " + QByteArray("a | ").repeated(42949)
                                 + "b\nendtable\n",
                             PathOf("wide.jpg"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QStringLiteral("in.pic:2: "))) << run.errors.left(300).toStdString();
    EXPECT_FALSE(QFile::exists(PathOf("wide.jpg")));
}

// The output is never written over the description, whatever the names.
TEST_F(PictureTool, NeverWritesOverItsOwnInput)
{
    const QByteArray description = "size 20 20\nbox 2 2 10 10\n";
    QFile file(PathOf("same.pic"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(description);
    file.close();
    // A second name of the file, and a symbolic link where the system lets
    // a user make one (not on Windows).
    QStringList outputs {PathOf("same.pic"), dir.path() + QStringLiteral("/./same.pic"), PathOf("second.jpg")};
    std::error_code error;
    std::filesystem::create_hard_link(PathOf("same.pic").toStdWString(), PathOf("second.jpg").toStdWString(), error);
    ASSERT_FALSE(error) << error.message();
    std::filesystem::create_symlink(PathOf("same.pic").toStdWString(), PathOf("link.jpg").toStdWString(), error);
    if (!error)
        outputs << PathOf("link.jpg");
    for (const QString& output : outputs) {
        SCOPED_TRACE(output.toStdString());
        const ToolRun run = Run({PathOf("same.pic"), output});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errors.contains(QStringLiteral("own description"))) << run.errors.toStdString();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), description);
        file.close();
    }
}
