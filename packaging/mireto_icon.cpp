// Renders the program's icon from its SVG source into one PNG per size:
//   mireto_icon SOURCE.svg OUTPUT_FOLDER SIZE...
// writes OUTPUT_FOLDER/<size>x<size>.png. Needs no display.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: mireto_icon SOURCE.svg OUTPUT_FOLDER SIZE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "mireto_icon: %s is not a valid SVG picture\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool number = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&number);
        if (!number || size < 1 || size > 4096) {
            std::fprintf(stderr, "mireto_icon: %s is not an icon size\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        const QString file = folder + QStringLiteral("/%1x%1.png").arg(size);
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "mireto_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
