#include "picture/LoadJpegBitmap.h"

#include "platform/Files.h"
#include "platform/Paths.h"
#include "text/EndRequest.h"
#include "text/SafeFile.h"
#include "text/SystemReason.h"
#include "text/Unit2.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <limits>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

// libjpeg reports a fatal error through error_exit, which by default prints
// and ends the process. Here it jumps back to the setjmp point instead. To
// keep that jump well defined, the functions that call setjmp own no C++
// objects with destructors and no locals that change after setjmp: every piece
// of state (the libjpeg structs, the outcome, the target bitmap) lives in the
// caller's frame and is reached through pointers that never change. The jump
// therefore skips only libjpeg's own C frames.

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

struct JpegErrors {
    jpeg_error_mgr pub; // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

// Warnings that mean picture data is missing or wrong. libjpeg would carry on
// and fill the gap with grey or garbage; a question picture shown half grey
// is worse than an error, so these end the decoding as a failure. A file cut
// short is refused wherever the cut is, even when only its end marker is
// missing: the decoder reads ahead, so "the rows happened to be complete"
// cannot be told apart reliably. Other warnings (odd metadata, stray bytes
// between markers) leave the pixels intact and are ignored.
bool WarningDamagesPicture(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:       // "Premature end of JPEG file": truncated file
    case JWRN_HIT_MARKER:     // "premature end of data segment"
    case JWRN_HUFF_BAD_CODE:  // corrupt entropy-coded data
    case JWRN_ARITH_BAD_CODE: // same for arithmetic coding
    case JWRN_MUST_RESYNC:    // lost restart markers: rows skipped or repeated
        return true;
    default:
        return false;
    }
}

// Replaces the default, which prints warnings to stderr. Trace messages
// (level >= 0) are dropped.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    cinfo->err->num_warnings++;
    if (WarningDamagesPicture(cinfo->err->msg_code))
        JumpBack(cinfo);
}

void InstallErrors(JpegErrors* errors, jpeg_error_mgr** target)
{
    *target = jpeg_std_error(&errors->pub);
    errors->pub.error_exit = JumpBack;
    errors->pub.emit_message = OnMessage;
}

enum class DecodeOutcome { Ok, Unreadable, TooLarge, TooManyScans, TooSlow, Interrupted };

struct Decoder {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    // libjpeg calls progress.progress_monitor once per row of blocks of every
    // scan: the only place where a decode that goes on too long can be
    // stopped, since a progressive file decodes all its scans inside
    // jpeg_start_decompress.
    jpeg_progress_mgr progress;
    std::chrono::steady_clock::time_point deadline;
    DecodeOutcome outcome;
};

// Decoders hand the progress monitor the jpeg struct only; it is the first
// member of Decoder, so the Decoder is reached from it.
void WatchProgress(j_common_ptr cinfo)
{
    Decoder* d = reinterpret_cast<Decoder*>(cinfo);
    if (EndRequested())
        d->outcome = DecodeOutcome::Interrupted;
    else if (d->cinfo.input_scan_number > kMaxPictureScans)
        d->outcome = DecodeOutcome::TooManyScans;
    else if (std::chrono::steady_clock::now() > d->deadline)
        d->outcome = DecodeOutcome::TooSlow;
    else
        return;
    JumpBack(cinfo);
}

bool SizeAllowed(JDIMENSION width, JDIMENSION height)
{
    return width <= static_cast<JDIMENSION>(kMaxPictureSide)
        && height <= static_cast<JDIMENSION>(kMaxPictureSide)
        && static_cast<long long>(width) * height <= kMaxPicturePixels;
}

// Decodes the file's bytes into *bitmap. Only plain C state here (see the top).
void Decode(const std::string* bytes, Decoder* d, QImage* bitmap)
{
    d->outcome = DecodeOutcome::Unreadable;
    d->deadline = std::chrono::steady_clock::now() + kMaxPictureDecodeTime;
    InstallErrors(&d->errors, &d->cinfo.err);
    // Set before creating the decoder, which can itself fail; destroying a
    // decoder that was never created (zeroed struct) does nothing.
    if (setjmp(d->errors.jump) != 0) {
        jpeg_destroy_decompress(&d->cinfo);
        return; // d->outcome says why
    }
    jpeg_create_decompress(&d->cinfo);
    d->progress.progress_monitor = WatchProgress;
    d->cinfo.progress = &d->progress;
    jpeg_mem_src(&d->cinfo, reinterpret_cast<const unsigned char*>(bytes->data()),
                 static_cast<unsigned long>(bytes->size()));
    jpeg_read_header(&d->cinfo, TRUE);

    // The header alone gives the size: refuse before any pixel memory is taken.
    if (!SizeAllowed(d->cinfo.image_width, d->cinfo.image_height)) {
        d->outcome = DecodeOutcome::TooLarge;
        jpeg_destroy_decompress(&d->cinfo);
        return;
    }

    // Best quality, 24-bit colour even for greyscale files.
    d->cinfo.dct_method = JDCT_ISLOW;
    d->cinfo.do_fancy_upsampling = TRUE;
    d->cinfo.out_color_space = JCS_RGB;
    d->cinfo.scale_num = 1;
    d->cinfo.scale_denom = 1;
    jpeg_start_decompress(&d->cinfo);
    if (d->cinfo.output_components != 3) {
        jpeg_destroy_decompress(&d->cinfo);
        return;
    }

    // The temporary QImage is gone before the next libjpeg call, so no live
    // C++ object is ever jumped over.
    *bitmap = QImage(static_cast<int>(d->cinfo.output_width),
                     static_cast<int>(d->cinfo.output_height), QImage::Format_RGB32);
    if (bitmap->isNull()) { // no memory for it: too large for this machine
        d->outcome = DecodeOutcome::TooLarge;
        jpeg_destroy_decompress(&d->cinfo);
        return;
    }

    // The row buffer belongs to libjpeg's pool and goes with the decoder.
    JSAMPARRAY row = (*d->cinfo.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&d->cinfo), JPOOL_IMAGE, d->cinfo.output_width * 3, 1);
    while (d->cinfo.output_scanline < d->cinfo.output_height) {
        const int y = static_cast<int>(d->cinfo.output_scanline);
        if (jpeg_read_scanlines(&d->cinfo, row, 1) != 1)
            break; // suspension cannot happen with a file source; guard anyway
        QRgb* out = reinterpret_cast<QRgb*>(bitmap->scanLine(y));
        const JSAMPLE* in = row[0];
        for (JDIMENSION x = 0; x < d->cinfo.output_width; ++x, in += 3)
            out[x] = qRgb(in[0], in[1], in[2]);
    }
    if (d->cinfo.output_scanline != d->cinfo.output_height) {
        jpeg_destroy_decompress(&d->cinfo);
        return;
    }
    jpeg_finish_decompress(&d->cinfo);
    jpeg_destroy_decompress(&d->cinfo);
    d->outcome = DecodeOutcome::Ok;
}

struct Encoder {
    jpeg_compress_struct cinfo;
    JpegErrors errors;
    bool ok;
};

// Encodes rows of packed pixels (3 bytes RGB or 1 byte grey) into `file`.
void Encode(std::FILE* file, Encoder* e, const QImage* pixels, int quality)
{
    e->ok = false;
    InstallErrors(&e->errors, &e->cinfo.err);
    if (setjmp(e->errors.jump) != 0) {
        jpeg_destroy_compress(&e->cinfo);
        return;
    }
    jpeg_create_compress(&e->cinfo);
    jpeg_stdio_dest(&e->cinfo, file);
    const bool grey = pixels->format() == QImage::Format_Grayscale8;
    e->cinfo.image_width = static_cast<JDIMENSION>(pixels->width());
    e->cinfo.image_height = static_cast<JDIMENSION>(pixels->height());
    e->cinfo.input_components = grey ? 1 : 3;
    e->cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&e->cinfo);
    e->cinfo.dct_method = JDCT_ISLOW;
    jpeg_set_quality(&e->cinfo, quality, TRUE);
    // Full colour resolution: the pictures are diagrams and text, where
    // halving the colour planes smears thin coloured lines.
    e->cinfo.comp_info[0].h_samp_factor = 1;
    e->cinfo.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&e->cinfo, TRUE);
    while (e->cinfo.next_scanline < e->cinfo.image_height) {
        // libjpeg wants a non-const row pointer but does not write through it.
        JSAMPROW row = const_cast<JSAMPROW>(pixels->constScanLine(static_cast<int>(e->cinfo.next_scanline)));
        jpeg_write_scanlines(&e->cinfo, &row, 1);
    }
    jpeg_finish_compress(&e->cinfo);
    jpeg_destroy_compress(&e->cinfo);
    e->ok = true;
}

// The file name part of a reason is cut: a name made of a long key would
// otherwise carry the whole key into the note under the question.
constexpr qsizetype kMaxNamedChars = 80;

QString ErrorText(const char* reason, const std::string& fileName)
{
    QString name = QString::fromLocal8Bit(fileName.data(),
                                          static_cast<qsizetype>(std::min<std::size_t>(fileName.size(), 4 * kMaxNamedChars)));
    if (name.size() > kMaxNamedChars || fileName.size() > 4 * kMaxNamedChars)
        name = name.left(kMaxNamedChars) + QStringLiteral("…");
    return QString::fromUtf8(reason) + QStringLiteral("：") + name;
}

} // namespace

bool LoadJpegBitmap(const std::string& fileName, QImage& bitmap, QString* error)
{
    bitmap = QImage();
    auto fail = [&](const char* reason) {
        if (error)
            *error = ErrorText(reason, fileName);
        return false;
    };

    Platform::FileKind kind;
    if (fileName.empty() || (!Platform::Inspect(fileName, kind) && errno == ENOENT))
        return fail("画像ファイルが見つかりません");
    // Read whole, bounded and without blocking: a FIFO or a device of that
    // name is refused instead of holding the window (and a termination
    // signal) for good.
    std::string bytes;
    FileError readError;
    if (!ReadRegularFile(fileName, bytes, &readError, kMaxPictureFileBytes)) {
        const std::string reason = "画像ファイルを読み込めません（" + FileReason(readError) + "）";
        return fail(reason.c_str());
    }

    Decoder decoder{};
    QImage decoded;
    Decode(&bytes, &decoder, &decoded);
    switch (decoder.outcome) {
    case DecodeOutcome::Ok:
        bitmap = decoded;
        return true;
    case DecodeOutcome::TooLarge:
        return fail("画像が大きすぎます");
    case DecodeOutcome::TooManyScans:
    case DecodeOutcome::TooSlow:
        return fail("画像の読み込みに時間がかかりすぎるため表示できません");
    case DecodeOutcome::Interrupted:
        return fail("画像の読み込みを中断しました");
    case DecodeOutcome::Unreadable:
        break;
    }
    return fail("画像ファイルを読み込めません");
}

bool SaveJpegFile(const QImage& image, const std::string& fileName, int quality, std::string* error)
{
    auto fail = [&](const std::string& reason) {
        if (error)
            *error = reason + ": " + fileName;
        return false;
    };
    if (image.isNull())
        return fail("no picture to save");
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return fail("picture too large for a question picture");

    // Grey pictures stay one-channel; everything else is stored as RGB
    // (an alpha channel is dropped).
    const bool grey = image.format() == QImage::Format_Grayscale8
        || image.format() == QImage::Format_Grayscale16;
    const QImage pixels = image.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (pixels.isNull())
        return fail("out of memory");

    FilePtr file(Platform::OpenFile(fileName, "wb"), std::fclose);
    if (!file)
        return fail("cannot open for writing");
    Encoder encoder{};
    Encode(file.get(), &encoder, &pixels, quality < 1 ? 1 : (quality > 100 ? 100 : quality));
    const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());
    const bool closed = std::fclose(file.release()) == 0;
    if (!encoder.ok || !flushed || !closed) {
        std::remove(fileName.c_str()); // never leave half a picture behind
        return fail("cannot write the JPEG file");
    }
    return true;
}

QString PictureNotShowableText(const std::string& fileName)
{
    return ErrorText("画像の縦横の比率が極端なため表示できません", fileName);
}
