#pragma once
// Helpers shared by the test folders.
#include <string>
#include <vector>

namespace qmtest {

// A fresh empty folder under the system's temporary folder, removed at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> List() const; // names of the entries, sorted

private:
    std::string path_;
};

std::vector<unsigned char> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes);

} // namespace qmtest
