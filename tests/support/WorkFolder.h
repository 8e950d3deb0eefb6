#pragma once
// A private working folder for one test: the program reads and writes its
// data files in the current directory, so each test runs in a fresh one.
// Its name holds a blank and Japanese; Path() is UTF-8.
#include <string>
#include <vector>

class WorkFolder {
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::string& Path() const { return path_; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
    std::string previous_;
};

// Shift_JIS bytes of a UTF-8 text (test fixtures are written readable).
std::string Sjis(const std::string& utf8);
// A table file of UTF-8 rows, converted to Shift_JIS, CR LF line ends.
std::string TableFileText(const std::vector<std::vector<std::string>>& utf8Rows);
