#include "text/SystemReason.h"

#include "platform/Errno.h"

#include <cerrno>
#include <cstring>

std::string SystemReason(int errorNumber, FileUse use)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT: return "ディスクがいっぱいです";
    // Writing makes the file, so only its folder can be missing.
    case ENOENT: return use == FileUse::Read ? "ファイルがありません" : "保存先のフォルダがありません";
    case ENOTDIR: return "フォルダがありません";
    case EISDIR: return "フォルダです";
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

namespace {

// The error number whose system text is `text` (the reader and writer put
// strerror after the step that failed), or 0.
int ErrorNumberOfText(const std::string& text)
{
    for (int number = 1; number < 200; ++number) {
        if (text == std::strerror(number))
            return number;
    }
    return 0;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

std::string FileReason(const std::string& reason, FileUse use)
{
    if (reason == "is a folder")
        return SystemReason(EISDIR, use);
    if (reason == "not a regular file")
        return "通常のファイルではありません";
    if (reason == "not writable")
        return "書き込みの権限がありません";
    if (StartsWith(reason, "larger than"))
        return SystemReason(EFBIG, use);
    const auto colon = reason.find(": ");
    const int number = colon == std::string::npos ? 0 : ErrorNumberOfText(reason.substr(colon + 2));
    if (number != 0)
        return SystemReason(number, use);
    return use == FileUse::Read ? "読み込めません" : "書き込めません";
}
