#pragma once
// The platform's file calls (platform/Files.h) that a replacement and an
// append make, behind one interface, so that a test can stand a failing disk
// in for them and prove that no step's failure loses a file. The program
// always uses the platform's own.
#include <cstddef>
#include <string>

class FileCalls {
public:
    virtual ~FileCalls() = default;
    // The calls in use: the platform's own unless a test's stand in.
    static FileCalls& Current();

    virtual int CreateTemporaryBeside(const std::string& path, std::string& tempPath);
    virtual int OpenForAppending(const std::string& path);
    virtual long long WriteSome(int fd, const void* buffer, std::size_t size);
    virtual bool SyncFile(int fd);
    virtual bool CloseFile(int fd);
    virtual bool ReplaceFile(const std::string& from, const std::string& to);

protected:
    // Puts other calls in place (null: the platform's again). Protected, so
    // only a subclass sets them: a test's failing disk.
    static void SetInstance(FileCalls* calls);
};
