#pragma once
// JPEG pictures of questions and explanations, decoded with libjpeg itself.
#include <QImage>
#include <QSize>
#include <QString>

#include "text/FileLimits.h"

#include <chrono>
#include <cstdint>
#include <string>

// Pictures larger than this are refused before decoding: no question needs
// them and they would take an absurd amount of memory.
constexpr int kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 40LL * 1000 * 1000;
// A file larger than any such picture could need is not read at all
// (kMaxPictureFileBytes).
// Decoding is bounded in time too, since the size alone does not bound it: a
// progressive file may repeat a scan thousands of times (each pass redoes the
// whole picture). Real pictures have one scan, or about ten when progressive;
// libjpeg-turbo's own advice for untrusted files is such a cap. The time
// bound catches what the cap does not (many large scans of a huge picture).
constexpr int kMaxPictureScans = 100;
constexpr std::chrono::milliseconds kMaxPictureDecodeTime{3000};

// Decodes the file at best quality into 24-bit colour and draws it, unscaled,
// into a 32-bit bitmap. On a missing, truncated, corrupt or oversized file
// returns false with a short Japanese reason; the bitmap is then left empty.
// A file that is not a regular file, one that takes too many scans or too
// long, and a decode during which the program was asked to end fail too.
bool LoadJpegBitmap(const std::string& fileName, QImage& bitmap, QString* error = nullptr);

// Encodes a bitmap as a JPEG file with libjpeg (used by the picture tool and
// by tests that need pictures).
bool SaveJpegFile(const QImage& image, const std::string& fileName, int quality = 90,
                  std::string* error = nullptr);

// The reason given for a picture that decodes but cannot be shown, naming
// the file as the reasons of LoadJpegBitmap do.
QString PictureNotShowableText(const std::string& fileName);
