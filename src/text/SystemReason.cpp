#include "text/SystemReason.h"

#include "platform/Errno.h"
#include "text/FileLimits.h"

#include <cerrno>

namespace {

// A file limit as a learner reads it: "64 MB", "64 KB" (whole units, as
// text/FileLimits.h sets them), else bytes.
std::string SizeText(std::uint64_t bytes)
{
    if (bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MB";
    if (bytes % kKiB == 0)
        return std::to_string(bytes / kKiB) + " KB";
    return std::to_string(bytes) + " バイト";
}

} // namespace

std::string SystemReason(int errorNumber, FileUse use)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT: return "ディスクがいっぱいです";
    // Writing makes the file, so only its folder can be missing.
    case ENOENT: return use == FileUse::Read ? "ファイルがありません" : "保存先のフォルダがありません";
    case ENOTDIR: return "フォルダがありません";
    case EISDIR: return "フォルダです";
    case ENOTEMPTY: return "フォルダが空ではありません";
    case EACCES:
    case EPERM: return use == FileUse::Read ? "読み取りの権限がありません" : "書き込みの権限がありません";
    case EROFS: return "書き込みのできない場所です";
    case EIO: return "ディスクの読み書きに失敗しました";
    case EFBIG: return "ファイルが大きすぎます";
    case ENAMETOOLONG: return "ファイル名が長すぎます";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENOMEM: return "メモリが足りません";
    case EBUSY:
    case ETXTBSY: return "ほかのプログラムが使用中です";
    case ELOOP: return "リンクが循環しています";
    case EXDEV: return "別のディスクへは置き換えられません";
    case EINTR: return "中断されました";
    case EAGAIN: return "一時的に使えません";
    default: break;
    }
    return "システムのエラーです（番号 " + std::to_string(errorNumber) + "）";
}

std::string FileReason(const FileError& error)
{
    switch (error.step) {
    case FileStep::NotRegular:
        return error.number == EISDIR ? SystemReason(EISDIR, FileUse::Read) : "通常のファイルではありません";
    case FileStep::TooLarge:
        return error.limit == 0 ? SystemReason(EFBIG, FileUse::Read)
                                : SystemReason(EFBIG, FileUse::Read) + "（" + SizeText(error.limit) + " まで）";
    case FileStep::NotWritable: return "書き込みの権限がありません";
    case FileStep::LinkOutside: return "フォルダの外を指すリンクです";
    case FileStep::OthersFolder: return "持ち主が置き換えられないファイルになるため、ほかのユーザーのフォルダには書きません";
    case FileStep::Open:
    case FileStep::Read:
        return error.number != 0 ? SystemReason(error.number, FileUse::Read) : "読み込めません";
    case FileStep::Create:
    case FileStep::Write:
    case FileStep::Sync:
    case FileStep::Rename: break;
    }
    return error.number != 0 ? SystemReason(error.number, FileUse::Write) : "書き込めません";
}
