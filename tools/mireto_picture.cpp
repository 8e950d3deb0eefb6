// mireto_picture: draws a question-bank picture from a readable description
// and writes it as a JPEG file.
//
//   mireto_picture INPUT.pic OUTPUT.jpg
//
// The description is UTF-8 text, one command per line. Blank lines and lines
// whose first non-blank character is '#' are ignored (a '#' later in a line
// is ordinary text or a colour). Coordinates and sizes are whole pixels, the
// origin is the top-left corner.
//
//   size W H                 first command, required
//   background #RRGGBB       repaints the whole picture (default #FFFFFF);
//                            only before anything is drawn
//   font PX                  text pixel height (IPAPGothic), default 18
//   bold on|off
//   color #RRGGBB            pen and text colour, default #000000
//   fill #RRGGBB|none        fill of shapes and table body cells, default none
//   width N                  pen width, default 2
//   dash on|off              dashed lines and borders
//   text X Y TEXT...         the rest of the line is the text, top-left at X,Y
//   ctext X Y W H TEXT...    text centred in the rectangle (wrapped if needed)
//   box X Y W H [TEXT...]    rectangle, optional centred label
//   rbox X Y W H [TEXT...]   rounded rectangle
//   ellipse X Y W H [TEXT...]
//   line X1 Y1 X2 Y2
//   arrow X1 Y1 X2 Y2        line with an arrow head at the end
//   table X Y W1,W2,... RH   starts a table: column widths, row height
//   row A | B | C            a table row, cells separated by " | " (a bar with
//                            a blank on each side, so "a||b" stays one cell);
//                            the first row is the header: bold on light grey.
//                            Every cell has a border (centred on the cell's
//                            edges); its text is centred.
//   endtable
//
// Shapes are drawn inside their rectangle (the border included); table
// borders are centred on the cell edges. Anything
// that would be cut off -- a shape or text beyond the picture's edge, a label
// or cell text too big for its box -- is an error, as are unknown commands
// and bad numbers. Errors name the line ("FILE:LINE: message") and the exit
// status is then 1 (2 for wrong usage); no output file is left behind.
#include "platform/Paths.h"
#include "picture/LoadJpegBitmap.h"
#include "text/SafeFile.h"
#include "text/SameFile.h"
#include "platform/UiFont.h"
#include "text/SystemReason.h"
#include "text/Unit2.h"

#include <QColor>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const QString kFontFamily = QStringLiteral("IPAPGothic");
constexpr int kMaxCoordinate = 100000;

// A bad description. The message goes out with the line being read, or with
// `line` when the fault belongs to an earlier one.
struct DescriptionError : std::runtime_error {
    explicit DescriptionError(const QString& message, int line = 0)
        : std::runtime_error(message.toStdString()), line(line) {}
    int line;
};

[[noreturn]] void Fail(const QString& message)
{
    throw DescriptionError(message);
}

QColor ParseColour(const QString& word, const char* what)
{
    static const QString hex = QStringLiteral("0123456789abcdefABCDEF");
    bool ok = word.size() == 7 && word[0] == u'#';
    for (qsizetype i = 1; ok && i < word.size(); ++i)
        ok = hex.contains(word[i]);
    if (!ok)
        Fail(QStringLiteral("%1 must be #RRGGBB, not \"%2\"").arg(QString::fromUtf8(what), word));
    return QColor(word);
}

// Words of one command line, taken from the front; the rest of the line can
// be taken whole as text.
class Words {
public:
    explicit Words(const QString& line) : rest_(line.trimmed()) {}

    QString Next(const char* what)
    {
        if (rest_.isEmpty())
            Fail(QStringLiteral("missing %1").arg(QString::fromUtf8(what)));
        qsizetype end = 0;
        while (end < rest_.size() && !rest_[end].isSpace())
            ++end;
        const QString word = rest_.left(end);
        rest_ = rest_.mid(end).trimmed();
        return word;
    }

    int Number(const char* what, int low = -kMaxCoordinate, int high = kMaxCoordinate)
    {
        const QString word = Next(what);
        bool ok = false;
        const int value = word.toInt(&ok);
        if (!ok || value < low || value > high)
            Fail(QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"")
                     .arg(QString::fromUtf8(what)).arg(low).arg(high).arg(word));
        return value;
    }

    QColor Colour(const char* what) { return ParseColour(Next(what), what); }

    bool OnOff(const char* what)
    {
        const QString word = Next(what);
        if (word != u"on" && word != u"off")
            Fail(QStringLiteral("%1 must be on or off, not \"%2\"").arg(QString::fromUtf8(what), word));
        return word == u"on";
    }

    // The remainder of the line, blanks inside kept.
    QString Text()
    {
        QString text = rest_;
        rest_.clear();
        return text;
    }

    void End()
    {
        if (!rest_.isEmpty())
            Fail(QStringLiteral("unexpected \"%1\" at the end of the line").arg(rest_));
    }

private:
    QString rest_;
};

struct Table {
    int x = 0;
    int y = 0;
    std::vector<int> widths;
    int rowHeight = 0;
    int rows = 0;
    int line = 0; // where it started, for "endtable missing"
};

class Drawing {
public:
    // One command line; throws DescriptionError on a bad one.
    void Command(const QString& line, int lineNumber);
    // After the last line: the picture, or an error for an unfinished one.
    const QImage& Finish();

private:
    void Size(Words& w);
    void Background(Words& w);
    void Text(Words& w);
    void CentredText(Words& w);
    void Shape(Words& w, const QString& kind);
    void Line(Words& w, bool arrowHead);
    void StartTable(Words& w, int lineNumber);
    void Row(Words& w);

    QRect ReadRect(Words& w);
    QPoint ReadPoint(Words& w);
    void CheckInside(const QRect& r, const char* what) const;
    void CheckFits(const QRect& box, const QString& text, const QFont& font) const;
    QFont Font(bool bold) const;
    QPen Pen() const;
    void Label(QPainter& painter, const QRect& box, const QString& text, const QFont& font);
    void Begin(QPainter& painter);

    QImage image_;
    bool drawn_ = false;
    int fontPixels_ = 18;
    bool bold_ = false;
    QColor colour_ = Qt::black;
    QColor fill_; // invalid: no fill
    int penWidth_ = 2;
    bool dash_ = false;
    bool inTable_ = false;
    Table table_;
};

void Drawing::Command(const QString& line, int lineNumber)
{
    Words w(line);
    const QString name = w.Next("command");
    if (image_.isNull() && name != u"size")
        Fail(QStringLiteral("the first command must be \"size W H\""));
    const bool tableCommand = name == u"row" || name == u"endtable";
    const bool setting = name == u"font" || name == u"bold" || name == u"color" || name == u"fill"
        || name == u"width" || name == u"dash";
    if (inTable_ && !tableCommand && !setting)
        Fail(QStringLiteral("\"%1\" inside a table (endtable missing?)").arg(name));
    if (!inTable_ && tableCommand)
        Fail(QStringLiteral("\"%1\" outside a table").arg(name));

    if (name == u"size")
        Size(w);
    else if (name == u"background")
        Background(w);
    else if (name == u"font")
        fontPixels_ = w.Number("font size", 6, 400);
    else if (name == u"bold")
        bold_ = w.OnOff("bold");
    else if (name == u"color")
        colour_ = w.Colour("colour");
    else if (name == u"fill") {
        const QString word = w.Next("fill colour");
        fill_ = word == u"none" ? QColor() : ParseColour(word, "fill colour");
    } else if (name == u"width")
        penWidth_ = w.Number("pen width", 1, 50);
    else if (name == u"dash")
        dash_ = w.OnOff("dash");
    else if (name == u"text")
        Text(w);
    else if (name == u"ctext")
        CentredText(w);
    else if (name == u"box" || name == u"rbox" || name == u"ellipse")
        Shape(w, name);
    else if (name == u"line" || name == u"arrow")
        Line(w, name == u"arrow");
    else if (name == u"table")
        StartTable(w, lineNumber);
    else if (name == u"row")
        Row(w);
    else if (name == u"endtable") {
        if (table_.rows == 0)
            Fail(QStringLiteral("table without rows"));
        inTable_ = false;
    } else
        Fail(QStringLiteral("unknown command \"%1\"").arg(name));
    w.End();
}

const QImage& Drawing::Finish()
{
    if (image_.isNull())
        Fail(QStringLiteral("no \"size W H\" command"));
    if (inTable_)
        throw DescriptionError(QStringLiteral("table has no endtable"), table_.line);
    return image_;
}

void Drawing::Size(Words& w)
{
    if (!image_.isNull())
        Fail(QStringLiteral("size given twice"));
    const int width = w.Number("width", 1, kMaxPictureSide);
    const int height = w.Number("height", 1, kMaxPictureSide);
    if (static_cast<long long>(width) * height > kMaxPicturePixels)
        Fail(QStringLiteral("picture too large (at most %1 pixels in all)").arg(kMaxPicturePixels));
    image_ = QImage(width, height, QImage::Format_RGB32);
    if (image_.isNull())
        Fail(QStringLiteral("not enough memory for the picture"));
    image_.fill(Qt::white);
}

void Drawing::Background(Words& w)
{
    const QColor colour = w.Colour("background colour");
    if (drawn_)
        Fail(QStringLiteral("background must come before anything is drawn"));
    image_.fill(colour);
}

QRect Drawing::ReadRect(Words& w)
{
    const int x = w.Number("x");
    const int y = w.Number("y");
    const int width = w.Number("width", 1);
    const int height = w.Number("height", 1);
    return QRect(x, y, width, height);
}

QPoint Drawing::ReadPoint(Words& w)
{
    const int x = w.Number("x");
    const int y = w.Number("y");
    return QPoint(x, y);
}

void Drawing::CheckInside(const QRect& r, const char* what) const
{
    if (!image_.rect().contains(r))
        Fail(QStringLiteral("%1 (%2,%3 %4x%5) goes beyond the picture (%6x%7)")
                 .arg(QString::fromUtf8(what))
                 .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                 .arg(image_.width()).arg(image_.height()));
}

void Drawing::CheckFits(const QRect& box, const QString& text, const QFont& font) const
{
    const QRect need = QFontMetrics(font).boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, text);
    if (need.width() > box.width() || need.height() > box.height())
        Fail(QStringLiteral("text \"%1\" needs %2x%3 but has only %4x%5")
                 .arg(text).arg(need.width()).arg(need.height()).arg(box.width()).arg(box.height()));
}

QFont Drawing::Font(bool bold) const
{
    QFont font(kFontFamily);
    font.setPixelSize(fontPixels_);
    font.setBold(bold);
    return font;
}

QPen Drawing::Pen() const
{
    QPen pen(colour_, penWidth_, dash_ ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

void Drawing::Begin(QPainter& painter)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    drawn_ = true;
}

void Drawing::Label(QPainter& painter, const QRect& box, const QString& text, const QFont& font)
{
    CheckFits(box, text, font);
    painter.setFont(font);
    painter.setPen(colour_);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

void Drawing::Text(Words& w)
{
    const QPoint at = ReadPoint(w);
    const QString text = w.Text();
    if (text.isEmpty())
        Fail(QStringLiteral("missing text"));
    const QFont font = Font(bold_);
    const QRect need = QFontMetrics(font).boundingRect(QRect(at, QSize(kMaxCoordinate, kMaxCoordinate)),
                                                       Qt::AlignLeft | Qt::AlignTop, text);
    CheckInside(need, "text");
    QPainter painter(&image_);
    Begin(painter);
    painter.setFont(font);
    painter.setPen(colour_);
    painter.drawText(need, Qt::AlignLeft | Qt::AlignTop, text);
}

void Drawing::CentredText(Words& w)
{
    const QRect box = ReadRect(w);
    const QString text = w.Text();
    if (text.isEmpty())
        Fail(QStringLiteral("missing text"));
    CheckInside(box, "text box");
    QPainter painter(&image_);
    Begin(painter);
    Label(painter, box, text, Font(bold_));
}

void Drawing::Shape(Words& w, const QString& kind)
{
    const QRect box = ReadRect(w);
    const QString label = w.Text();
    CheckInside(box, "shape");
    if (box.width() <= 2 * penWidth_ || box.height() <= 2 * penWidth_)
        Fail(QStringLiteral("shape too small for its pen width"));
    // The border lies inside the rectangle: half the pen width in from it.
    const qreal half = penWidth_ / 2.0;
    const QRectF inner = QRectF(box).adjusted(half, half, -half, -half);
    QPainter painter(&image_);
    Begin(painter);
    painter.setPen(Pen());
    painter.setBrush(fill_.isValid() ? QBrush(fill_) : QBrush(Qt::NoBrush));
    if (kind == u"box")
        painter.drawRect(inner);
    else if (kind == u"rbox") {
        const qreal radius = std::min<qreal>(12, std::min(inner.width(), inner.height()) / 4);
        painter.drawRoundedRect(inner, radius, radius);
    } else
        painter.drawEllipse(inner);
    if (!label.isEmpty()) {
        // An ellipse's label keeps to the rectangle inside the curve.
        // Glyph boxes carry their own leading, so less room is kept above
        // and below than at the sides.
        const int margin = penWidth_ + 6;
        QRect area = box.adjusted(margin, penWidth_, -margin, -penWidth_);
        if (kind == u"ellipse")
            area = box.adjusted(box.width() * 3 / 20, box.height() * 3 / 20, -box.width() * 3 / 20,
                                -box.height() * 3 / 20);
        Label(painter, area, label, Font(bold_));
    }
}

void Drawing::Line(Words& w, bool arrowHead)
{
    const QPoint from = ReadPoint(w);
    const QPoint to = ReadPoint(w);
    CheckInside(QRect(from, to).normalized(), "line");
    const QLineF line(from, to);
    if (line.length() < 1)
        Fail(QStringLiteral("line has no length"));
    QPainter painter(&image_);
    Begin(painter);
    painter.setPen(Pen());
    if (!arrowHead) {
        painter.drawLine(line);
        return;
    }
    // The head is solid even on a dashed line; the line stops at its base so
    // a thick pen does not poke through the tip.
    const qreal length = std::min<qreal>(8 + 3 * penWidth_, line.length());
    const QPointF unit = (line.p2() - line.p1()) / line.length();
    const QPointF base = line.p2() - unit * length;
    const QPointF across(-unit.y() * length * 0.45, unit.x() * length * 0.45);
    if (line.length() > length)
        painter.drawLine(QLineF(line.p1(), base));
    painter.setPen(QPen(colour_, 1));
    painter.setBrush(colour_);
    painter.drawPolygon(QPolygonF({line.p2(), base + across, base - across}));
}

// The sum of the column widths, checked: widths that add up past any picture
// would otherwise wrap around and pass the inside-the-picture test.
int TableWidth(const Table& table)
{
    long long total = 0;
    for (int width : table.widths) {
        total += width;
        if (total > kMaxPictureSide)
            Fail(QStringLiteral("table is wider than any picture (%1 columns)").arg(table.widths.size()));
    }
    return static_cast<int>(total);
}

void Drawing::StartTable(Words& w, int lineNumber)
{
    Table table;
    table.x = w.Number("x");
    table.y = w.Number("y");
    const QString widths = w.Next("column widths");
    for (const QString& part : widths.split(u',')) {
        bool ok = false;
        const int width = part.toInt(&ok);
        if (!ok || width < 1 || width > kMaxCoordinate)
            Fail(QStringLiteral("column widths must be whole numbers from 1, joined by commas, not \"%1\"").arg(widths));
        table.widths.push_back(width);
    }
    table.rowHeight = w.Number("row height", 1);
    table.line = lineNumber;
    CheckInside(QRect(table.x, table.y, TableWidth(table), table.rowHeight), "table");
    table_ = table;
    inTable_ = true;
}

void Drawing::Row(Words& w)
{
    // The line came trimmed: give an empty first or last cell back its blank.
    QString text = w.Text();
    if (text.startsWith(QStringLiteral("| ")))
        text.prepend(u' ');
    if (text.endsWith(QStringLiteral(" |")))
        text.append(u' ');
    const QStringList cells = text.split(QStringLiteral(" | "));
    if (cells.size() != static_cast<qsizetype>(table_.widths.size()))
        Fail(QStringLiteral("row has %1 cells but the table has %2 columns")
                 .arg(cells.size()).arg(table_.widths.size()));
    const bool header = table_.rows == 0;
    const long long rowTop = table_.y + static_cast<long long>(table_.rows) * table_.rowHeight;
    if (rowTop > kMaxPictureSide)
        Fail(QStringLiteral("table row lies outside the picture"));
    const int y = static_cast<int>(rowTop);
    CheckInside(QRect(table_.x, y, TableWidth(table_), table_.rowHeight), "table row");

    QPainter painter(&image_);
    Begin(painter);
    const QFont font = Font(header || bold_);
    // Cell borders are centred on the cell edges, so neighbouring cells share
    // them; an odd pen width is shifted half a pixel to stay sharp.
    const qreal shift = penWidth_ % 2 ? 0.5 : 0.0;
    int x = table_.x;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const int width = table_.widths[static_cast<size_t>(i)];
        const QRect cell(x, y, width, table_.rowHeight);
        const QColor fill = header ? QColor(0xE0, 0xE0, 0xE0) : fill_;
        painter.setPen(Pen());
        painter.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
        painter.drawRect(QRectF(cell).translated(shift, shift));
        const QString cellText = cells[i].trimmed();
        if (!cellText.isEmpty()) {
            const int margin = penWidth_ + 4;
            Label(painter, cell.adjusted(margin, 0, -margin, 0), cellText, font);
        }
        x += width;
    }
    ++table_.rows;
}

int Run(const char* inputName, const char* outputName)
{
    if (SameFile(inputName, outputName)) {
        std::fprintf(stderr, "%s: the picture would be written over its own description\n", outputName);
        return 1;
    }
    std::string bytes;
    FileError readError;
    if (!ReadRegularFile(inputName, bytes, &readError, kMaxPictureDescriptionBytes)) {
        std::fprintf(stderr, "%s: cannot read: %s\n", inputName, FileReason(readError).c_str());
        return 1;
    }
    std::size_t start = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;

    if (!QFontDatabase::families().contains(kFontFamily)) {
        std::fprintf(stderr, "font %s is not installed (Debian package fonts-ipafont-gothic)\n",
                     kFontFamily.toUtf8().constData());
        return 1;
    }

    Drawing drawing;
    int lineNumber = 0;
    try {
        // A line at a time: splitting the whole file first would hold every
        // line twice over.
        while (start <= bytes.size()) {
            std::size_t end = bytes.find('\n', start);
            if (end == std::string::npos)
                end = bytes.size();
            const QByteArrayView raw(bytes.data() + start, static_cast<qsizetype>(end - start));
            start = end + 1;
            ++lineNumber;
            QStringDecoder decode(QStringDecoder::Utf8);
            const QString line = decode(raw);
            if (decode.hasError())
                Fail(QStringLiteral("not UTF-8 text"));
            const QString trimmed = line.trimmed();
            if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
                continue;
            drawing.Command(trimmed, lineNumber);
        }
        lineNumber = 0; // errors from here on belong to the whole file
        const QImage& picture = drawing.Finish();
        std::string error;
        if (!SaveJpegFile(picture, outputName, 95, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    } catch (const DescriptionError& e) {
        if (e.line > 0)
            lineNumber = e.line;
        if (lineNumber > 0)
            std::fprintf(stderr, "%s:%d: %s\n", inputName, lineNumber, e.what());
        else
            std::fprintf(stderr, "%s: %s\n", inputName, e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mireto_picture INPUT.pic OUTPUT.jpg\n");
        return 2;
    }
    // No display is needed or wanted: pictures are made during the build,
    // where there may be no desktop session (and no runtime folder either,
    // which Qt would warn about on every picture).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    Platform::PrepareOffscreenFonts();
    QGuiApplication app(argc, argv);
    // The file names as UTF-8, also where the command line is not.
    const std::vector<std::string> names = Platform::Utf8Arguments(argc, argv);
    return Run(names.at(1).c_str(), names.at(2).c_str());
}
