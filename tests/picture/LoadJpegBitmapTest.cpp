#include "picture/LoadJpegBitmap.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "text/EndRequest.h"
#include "support/TestEndRequests.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <vector>

#include <jpeglib.h>

namespace {

const QString kNotFound = QStringLiteral("画像ファイルが見つかりません");
const QString kUnreadable = QStringLiteral("画像ファイルを読み込めません");
const QString kTooLarge = QStringLiteral("画像が大きすぎます");

class JpegFiles : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }

    static void WriteBytes(const std::string& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }

    static std::string ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // A picture with detail everywhere, so its scan data fills the file.
    static QImage Noisy(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        std::mt19937 random(7);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb(random() % 256, (x * 5) % 256, (y * 3) % 256));
        return image;
    }

    std::string SaveNoisy(const char* name, int width, int height)
    {
        const std::string path = PathOf(name);
        std::string error;
        EXPECT_TRUE(SaveJpegFile(Noisy(width, height), path, 90, &error)) << error;
        return path;
    }

    QTemporaryDir dir;
};

// Offset of the frame header (SOF0) found by walking the marker segments.
size_t FrameHeaderOffset(const std::string& jpeg)
{
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[pos]) == 0xFF) {
        if (static_cast<unsigned char>(jpeg[pos + 1]) == 0xC0)
            return pos;
        const size_t length = static_cast<unsigned char>(jpeg[pos + 2]) * 256u
            + static_cast<unsigned char>(jpeg[pos + 3]);
        pos += 2 + length;
    }
    return std::string::npos;
}

// A progressive JPEG of a flat grey picture, written with libjpeg's standard
// progression script (a DC scan and several AC scans).
std::string ProgressiveGrey(int width, int height)
{
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr errors {};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3, 128);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

// The file with its second scan (and the Huffman tables written just before
// it) repeated `times` more times before the end marker: each repeat is a
// whole pass over the picture that libjpeg only warns about.
std::string WithRepeatedScan(const std::string& jpeg, int times)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(jpeg[i]); };
    size_t pos = 2;
    size_t tablesStart = std::string::npos;
    int scans = 0;
    while (pos + 4 <= jpeg.size() && byte(pos) == 0xFF) {
        const unsigned char marker = byte(pos + 1);
        const size_t length = byte(pos + 2) * 256u + byte(pos + 3);
        if (marker == 0xC4 && tablesStart == std::string::npos)
            tablesStart = pos;
        if (marker != 0xDA) {
            pos += 2 + length;
            continue;
        }
        // Entropy-coded data runs to the next marker that is neither a
        // stuffed zero nor a restart marker.
        size_t end = pos + 2 + length;
        while (end + 1 < jpeg.size()
               && !(byte(end) == 0xFF && byte(end + 1) != 0x00 && (byte(end + 1) < 0xD0 || byte(end + 1) > 0xD7)))
            ++end;
        if (++scans == 2) {
            const size_t start = tablesStart == std::string::npos ? pos : tablesStart;
            const std::string scan = jpeg.substr(start, end - start);
            std::string out = jpeg.substr(0, jpeg.size() - 2);
            for (int i = 0; i < times; ++i)
                out += scan;
            return out + "\xFF\xD9";
        }
        tablesStart = std::string::npos;
        pos = end;
    }
    return {};
}

bool Near(QRgb got, QRgb want, int tolerance)
{
    return std::abs(qRed(got) - qRed(want)) <= tolerance && std::abs(qGreen(got) - qGreen(want)) <= tolerance
        && std::abs(qBlue(got) - qBlue(want)) <= tolerance;
}

std::string Describe(QRgb c)
{
    return QColor(c).name().toStdString();
}

} // namespace

TEST_F(JpegFiles, DecodesSavedPicturesAtTheirOwnSize)
{
    // Odd sizes do not fill whole 8x8 blocks; 16384 is the widest side allowed.
    const QSize sizes[] = {{1, 1}, {3, 5}, {64, 48}, {17, 200}, {kMaxPictureSide, 2}};
    for (const QSize& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const std::string path = SaveNoisy("size.jpg", size.width(), size.height());
        QImage bitmap;
        QString error;
        ASSERT_TRUE(LoadJpegBitmap(path, bitmap, &error)) << error.toStdString();
        EXPECT_EQ(bitmap.size(), size);
        EXPECT_EQ(bitmap.format(), QImage::Format_RGB32);
    }
}

TEST_F(JpegFiles, DecodesColoursInPlace)
{
    // Four flat quadrants: colours survive JPEG closely away from the edges,
    // and their places show the picture is neither mirrored nor turned.
    const QRgb colours[4] = {qRgb(220, 30, 30), qRgb(30, 200, 40), qRgb(30, 40, 210), qRgb(250, 250, 250)};
    QImage image(128, 96, QImage::Format_RGB32);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 128; ++x)
            image.setPixel(x, y, colours[(y >= 48) * 2 + (x >= 64)]);
    const std::string path = PathOf("colours.jpg");
    ASSERT_TRUE(SaveJpegFile(image, path, 95));

    QImage bitmap;
    ASSERT_TRUE(LoadJpegBitmap(path, bitmap));
    ASSERT_EQ(bitmap.size(), QSize(128, 96));
    const QPoint centres[4] = {{32, 24}, {96, 24}, {32, 72}, {96, 72}};
    for (int i = 0; i < 4; ++i) {
        const QRgb got = bitmap.pixel(centres[i]);
        EXPECT_TRUE(Near(got, colours[i], 10)) << "quadrant " << i << ": " << Describe(got) << " instead of "
                                               << Describe(colours[i]);
    }
}

TEST_F(JpegFiles, GreyscaleFileDecodesToColourBitmap)
{
    QImage grey(60, 40, QImage::Format_Grayscale8);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            grey.scanLine(y)[x] = static_cast<uchar>(x < 30 ? 40 : 200);
    const std::string path = PathOf("grey.jpg");
    ASSERT_TRUE(SaveJpegFile(grey, path));
    // The file really is one-channel: its frame header names one component.
    const std::string bytes = ReadBytes(path);
    const size_t sof = FrameHeaderOffset(bytes);
    ASSERT_NE(sof, std::string::npos);
    EXPECT_EQ(bytes[sof + 9], 1);

    QImage bitmap;
    ASSERT_TRUE(LoadJpegBitmap(path, bitmap));
    EXPECT_EQ(bitmap.format(), QImage::Format_RGB32);
    EXPECT_EQ(bitmap.size(), QSize(60, 40));
    EXPECT_TRUE(Near(bitmap.pixel(10, 20), qRgb(40, 40, 40), 6)) << Describe(bitmap.pixel(10, 20));
    EXPECT_TRUE(Near(bitmap.pixel(50, 20), qRgb(200, 200, 200), 6)) << Describe(bitmap.pixel(50, 20));
}

TEST_F(JpegFiles, BadFilesFailWithReasonAndLeaveBitmapEmpty)
{
    const std::string real = ReadBytes(SaveNoisy("real.jpg", 200, 150));
    ASSERT_GT(real.size(), 1000u);
    std::string random(4096, '\0');
    std::mt19937 engine(42);
    for (char& c : random)
        c = static_cast<char>(engine());
    random[0] = '\x12'; // not by chance a JPEG start
    QImage png(20, 20, QImage::Format_RGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(dir.filePath(QStringLiteral("png.jpg")), "PNG"));
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));

    const struct {
        const char* name;
        const char* bytes; // nullptr: not written by the table
        std::string content;
        QString reason;
    } cases[] = {
        {"missing.jpg", nullptr, {}, kNotFound},
        {"empty.jpg", "", {}, kUnreadable},
        {"random.jpg", "", random, kUnreadable},
        {"half.jpg", "", real.substr(0, real.size() / 2), kUnreadable},
        {"noend.jpg", "", real.substr(0, real.size() - 2), kUnreadable}, // only the end marker cut off
        {"headeronly.jpg", "", real.substr(0, FrameHeaderOffset(real) + 19), kUnreadable},
        {"soi.jpg", "", std::string("\xFF\xD8", 2), kUnreadable},
        {"png.jpg", nullptr, {}, kUnreadable},
        {"folder.jpg", nullptr, {}, kUnreadable},
        // A FIFO would block the open, and the window with it, for good.
        {"fifo.jpg", nullptr, {}, kUnreadable},
    };
    // Windows has no FIFOs.
    const bool fifos = ::mkfifo(PathOf("fifo.jpg").c_str(), 0600) == 0;
    ASSERT_TRUE(fifos || errno == ENOSYS);
    for (const auto& c : cases) {
        if (!fifos && std::string(c.name) == "fifo.jpg")
            continue;
        SCOPED_TRACE(c.name);
        const std::string path = PathOf(c.name);
        if (c.bytes)
            WriteBytes(path, c.content);
        QImage bitmap(5, 5, QImage::Format_RGB32); // a previous picture must not survive
        QString error;
        EXPECT_FALSE(LoadJpegBitmap(path, bitmap, &error));
        EXPECT_TRUE(bitmap.isNull());
        EXPECT_TRUE(error.startsWith(c.reason)) << error.toStdString();
        EXPECT_TRUE(error.endsWith(QString::fromStdString(path))) << error.toStdString();
        QImage again;
        EXPECT_FALSE(LoadJpegBitmap(path, again)); // no error text wanted
    }
    QImage bitmap;
    QString error;
    EXPECT_FALSE(LoadJpegBitmap("", bitmap, &error));
    EXPECT_TRUE(error.startsWith(kNotFound)) << error.toStdString();
}

TEST_F(JpegFiles, OversizedHeaderIsRefusedBeforeDecoding)
{
    const std::string small = ReadBytes(SaveNoisy("small.jpg", 16, 16));
    const size_t sof = FrameHeaderOffset(small);
    ASSERT_NE(sof, std::string::npos);
    // Each within libjpeg's own limit of 65500, so only our check stops them.
    const struct {
        int width;
        int height;
    } sizes[] = {{60000, 60000}, {kMaxPictureSide + 1, 8}, {8, kMaxPictureSide + 1}, {8000, 6000}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
        std::string patched = small;
        patched[sof + 5] = static_cast<char>(size.height >> 8);
        patched[sof + 6] = static_cast<char>(size.height & 0xFF);
        patched[sof + 7] = static_cast<char>(size.width >> 8);
        patched[sof + 8] = static_cast<char>(size.width & 0xFF);
        const std::string path = PathOf("huge.jpg");
        WriteBytes(path, patched);
        QImage bitmap;
        QString error;
        EXPECT_FALSE(LoadJpegBitmap(path, bitmap, &error));
        EXPECT_TRUE(bitmap.isNull());
        EXPECT_TRUE(error.startsWith(kTooLarge)) << error.toStdString();
    }
}

TEST_F(JpegFiles, SaveRefusesWhatItCannotWrite)
{
    std::string error;
    EXPECT_FALSE(SaveJpegFile(QImage(), PathOf("null.jpg"), 90, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("null.jpg"))));

    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    error.clear();
    EXPECT_FALSE(SaveJpegFile(image, PathOf("no/such/folder.jpg"), 90, &error));
    EXPECT_NE(error.find("no/such/folder.jpg"), std::string::npos) << error;
}

// A reason names its file, but a name made of a huge key is cut.
TEST_F(JpegFiles, ReasonsNameTheFileButNotAtAnyLength)
{
    QImage bitmap;
    QString error;
    EXPECT_FALSE(LoadJpegBitmap("NONEmK1.jpg", bitmap, &error));
    EXPECT_EQ(error, kNotFound + QStringLiteral("：NONEmK1.jpg"));
    EXPECT_EQ(PictureNotShowableText("NONEmK1.jpg"),
              QStringLiteral("画像の縦横の比率が極端なため表示できません：NONEmK1.jpg"));

    const std::string longName = "NONEm" + std::string(1000000, 'x') + ".jpg";
    EXPECT_FALSE(LoadJpegBitmap(longName, bitmap, &error));
    // Too long a name for Linux; on Windows, a name no file can have.
    EXPECT_TRUE(error.startsWith(kUnreadable) || error.startsWith(kNotFound)) << error.left(100).toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("：NONEmxxx"))) << error.left(100).toStdString();
    EXPECT_TRUE(error.endsWith(QStringLiteral("…")));
    EXPECT_LE(error.size(), 120);
    EXPECT_LE(PictureNotShowableText(longName).size(), 120);
}

// Decoding time is bounded, not only the size: a progressive file whose scan
// is repeated is refused once it passes the scan cap; the same
// file with a few repeats still decodes (libjpeg only warns).
TEST_F(JpegFiles, RepeatedScansAreRefusedQuickly)
{
    const std::string plain = ProgressiveGrey(256, 256);
    const struct {
        const char* name;
        int repeats;
        bool decodes;
    } cases[] = {
        {"plain.jpg", 0, true},
        {"few.jpg", 5, true},
        {"many.jpg", kMaxPictureScans + 50, false},
        {"thousands.jpg", 5000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = c.repeats == 0 ? plain : WithRepeatedScan(plain, c.repeats);
        ASSERT_FALSE(bytes.empty());
        WriteBytes(PathOf(c.name), bytes);
        QImage bitmap;
        QString error;
        EXPECT_EQ(LoadJpegBitmap(PathOf(c.name), bitmap, &error), c.decodes) << error.toStdString();
        EXPECT_EQ(bitmap.isNull(), !c.decodes);
        if (!c.decodes) {
            EXPECT_TRUE(error.startsWith(QStringLiteral("画像の読み込みに時間がかかりすぎる"))) << error.toStdString();
        }
    }
}

// A request to end the program stops a decode at its next row of blocks.
TEST_F(JpegFiles, EndRequestStopsDecoding)
{
    WriteBytes(PathOf("progressive.jpg"), ProgressiveGrey(64, 64));
    RequestEndNow();
    QImage bitmap;
    QString error;
    const bool decoded = LoadJpegBitmap(PathOf("progressive.jpg"), bitmap, &error);
    TestEndRequests::Clear();
    EXPECT_FALSE(decoded);
    EXPECT_TRUE(error.startsWith(QStringLiteral("画像の読み込みを中断しました"))) << error.toStdString();
    EXPECT_TRUE(LoadJpegBitmap(PathOf("progressive.jpg"), bitmap, &error)) << error.toStdString();
}
