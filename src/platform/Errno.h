#pragma once
// The errno values the layers above name, on every system. Windows' C
// runtime lacks a few that only POSIX systems report; they get numbers of
// their own here, which no Windows call ever leaves in errno.
#include <cerrno>

#ifndef EDQUOT
#define EDQUOT 10001
#endif
#ifndef ETXTBSY
#define ETXTBSY 10002
#endif
#ifndef ELOOP
#define ELOOP 10003
#endif
